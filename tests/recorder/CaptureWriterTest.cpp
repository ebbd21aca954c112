#include "audiofile/PcmFormat.h"
#include "recorder/capture/CaptureWriter.h"

#include <gtest/gtest.h>

#include <vector>

#include "audiofile/MediaFile.h"
#include "recorder/capture/CaptureBuffers.h"

namespace {

// The current file as a list of what was written and marked.
struct FakeSink : CaptureSink {
    std::vector<uint8_t> data;
    std::vector<std::pair<uint32_t, int64_t>> marks;  // position, time code
    uint32_t samplesAdded = 0;
    int writes = 0, sampleWrites = 0;
    bool failWrites = false;

    int32_t Write(const void* d, uint32_t n) override
    {
        ++writes;
        if (failWrites)
            return -1;
        auto p = static_cast<const uint8_t*>(d);
        data.insert(data.end(), p, p + n);
        return static_cast<int32_t>(n);
    }
    uint32_t WriteSamples(const int16_t* pcm, uint32_t n) override
    {
        ++sampleWrites;
        return static_cast<uint32_t>(Write(pcm, n));
    }
    void AddSamples(uint32_t samples) override { samplesAdded += samples; }
    uint32_t MarkSegment(int64_t t) override
    {
        marks.push_back({static_cast<uint32_t>(data.size()), t});
        return static_cast<uint32_t>(data.size());
    }
};

WAVEFORMATEX Mono8k()  // 8000 bytes per second, 1-byte frames
{
    return PcmFormat(1, 8000, 8);
}

std::vector<uint8_t> Block(uint8_t value, size_t bytes = 1600) { return std::vector<uint8_t>(bytes, value); }

BlockVerdict Idle() { return {}; }
BlockVerdict Start() { return {true, true, false}; }
BlockVerdict Active() { return {true, false, false}; }

TEST(CaptureWriter, KindFollowsFormatAndType)
{
    EXPECT_EQ(WriteKind::Pcm, WriteKindFor(WAVE_FORMAT_PCM, ftWav));
    EXPECT_EQ(WriteKind::Samples, WriteKindFor(6771, ftOgg));
    EXPECT_EQ(WriteKind::Samples, WriteKindFor(41225, ftSpeex));
    EXPECT_EQ(WriteKind::Converted, WriteKindFor(85, ftMp3));
    EXPECT_EQ(WriteKind::Converted, WriteKindFor(17, ftWav));
    EXPECT_EQ(WriteKind::None, WriteKindFor(1, ftWmv));
}

TEST(CaptureWriter, QuietBlocksWithoutPretriggerWriteNothing)
{
    CaptureWriter writer;
    writer.Begin(Mono8k(), WriteKind::Pcm, nullptr, 0, false);
    FakeSink file;
    const auto block = Block(1);
    const WriteReport r = writer.Write(file, Idle(), nullptr, block.data(), 1600, 1000);
    EXPECT_FALSE(r.wrote);
    EXPECT_EQ(0, file.writes);
}

TEST(CaptureWriter, MarkComesBeforeTheSegmentsFirstBytes)
{
    CaptureWriter writer;
    writer.Begin(Mono8k(), WriteKind::Pcm, nullptr, 0, false);
    FakeSink file;
    const auto a = Block(1), b = Block(2);
    writer.Write(file, Start(), nullptr, a.data(), 1600, 1000);
    writer.Write(file, Idle(), nullptr, a.data(), 1600, 1001);
    writer.Write(file, Start(), nullptr, b.data(), 1600, 1002);
    ASSERT_EQ(2u, file.marks.size());
    EXPECT_EQ(0u, file.marks[0].first);
    EXPECT_EQ(1600u, file.marks[1].first);
    EXPECT_EQ(1002, file.marks[1].second);
    uint32_t mark = 0;
    ASSERT_TRUE(writer.SegmentMark(mark));
    EXPECT_EQ(1600u, mark);
}

TEST(CaptureWriter, PretriggerIsCopiedInTimeOrderForEveryKind)
{
    for (WriteKind kind : {WriteKind::Pcm, WriteKind::Samples}) {
        SCOPED_TRACE(static_cast<int>(kind));
        CaptureWriter writer;
        writer.Begin(Mono8k(), kind, nullptr, 1, false);  // one second: five blocks
        FakeSink file;
        for (uint8_t v = 1; v <= 7; ++v) {
            const auto quiet = Block(v);
            writer.Write(file, Idle(), nullptr, quiet.data(), 1600, 100);
        }
        const auto loud = Block(9);
        writer.Write(file, Start(), nullptr, loud.data(), 1600, 100);
        ASSERT_EQ(6u * 1600u, file.data.size());
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(3 + i, file.data[i * 1600]) << "block " << i;  // blocks 3..7
        EXPECT_EQ(9, file.data.back());
        ASSERT_EQ(1u, file.marks.size());
        EXPECT_EQ(0u, file.marks[0].first);
        EXPECT_EQ(99, file.marks[0].second);  // heard one second before the trigger
        EXPECT_EQ(0u, writer.Store().Bytes());
        EXPECT_EQ(kind == WriteKind::Samples, file.sampleWrites > 0);
    }
}

TEST(CaptureWriter, DiscardedBlocksAreNotWritten)
{
    CaptureWriter writer;
    writer.Begin(Mono8k(), WriteKind::Pcm, nullptr, 0, false);
    FakeSink file;
    const auto block = Block(1);
    writer.Write(file, {true, false, true}, nullptr, block.data(), 1600, 0);
    EXPECT_TRUE(file.data.empty());
}

TEST(CaptureWriter, FailedWriteWarnsAndTheNextBlockIsWritten)
{
    CaptureWriter writer;
    writer.Begin(Mono8k(), WriteKind::Pcm, nullptr, 0, false);
    FakeSink file;
    const auto block = Block(1);
    file.failWrites = true;
    WriteReport r = writer.Write(file, Start(), nullptr, block.data(), 1600, 0);
    EXPECT_EQ(kWarnWaveWrite, r.warnings[0]);
    file.failWrites = false;
    r = writer.Write(file, Active(), nullptr, block.data(), 1600, 0);
    EXPECT_EQ(0, r.warnings[0]);
    EXPECT_EQ(1600u, file.data.size());
}

TEST(CaptureWriter, NoMarksDuringRecordOverwrite)
{
    CaptureWriter writer;
    writer.Begin(Mono8k(), WriteKind::Pcm, nullptr, 0, true);
    FakeSink file;
    const auto block = Block(1);
    writer.Write(file, Start(), nullptr, block.data(), 1600, 0);
    EXPECT_TRUE(file.marks.empty());
    EXPECT_EQ(1600u, file.data.size());
}

// A codec halving its input in whole 4-byte blocks (the end flag takes the rest).
struct HalvingCodec {
    std::vector<DWORD> flags;
    MMRESULT operator()(ACMSTREAMHEADER& rec, DWORD f)
    {
        flags.push_back(f);
        const DWORD used = (f & ACM_STREAMCONVERTF_END) ? rec.cbSrcLength : rec.cbSrcLength / 4 * 4;
        for (DWORD i = 0; i < used / 2; ++i)
            rec.pbDst[i] = rec.pbSrc[2 * i];
        rec.cbSrcLengthUsed = used;
        rec.cbDstLengthUsed = used / 2;
        return MMSYSERR_NOERROR;
    }
};

TEST(CaptureWriter, ConvertedSegmentsStartFlaggedAndLoseNothingAtStop)
{
    AudioRing ring;
    ASSERT_TRUE(ring.Allocate(true));
    HalvingCodec codec;
    CaptureWriter writer;
    writer.Begin(Mono8k(), WriteKind::Converted, [&](ACMSTREAMHEADER& r, DWORD f) { return codec(r, f); },
                 0, false);
    FakeSink file;
    const auto block = Block(3, 1602);  // leaves 2 bytes each time
    writer.Write(file, Start(), ring.Conversion(0), block.data(), 1602, 0);
    writer.Write(file, Active(), ring.Conversion(1), block.data(), 1602, 0);
    writer.Write(file, Idle(), ring.Conversion(2), block.data(), 1602, 0);  // segment ends: flushed
    writer.Write(file, Start(), ring.Conversion(3), block.data(), 1602, 0);
    writer.End(file, ring.Conversion(4));

    ASSERT_EQ(5u, codec.flags.size());
    EXPECT_TRUE(codec.flags[0] & ACM_STREAMCONVERTF_START);
    EXPECT_FALSE(codec.flags[1] & ACM_STREAMCONVERTF_START);
    EXPECT_TRUE(codec.flags[2] & ACM_STREAMCONVERTF_END);
    EXPECT_TRUE(codec.flags[3] & ACM_STREAMCONVERTF_START);
    EXPECT_TRUE(codec.flags[4] & ACM_STREAMCONVERTF_END);
    EXPECT_EQ(3u * 1602u / 2u, file.data.size());  // every captured byte of both segments
    EXPECT_EQ(3u * 1602u, file.samplesAdded);
    ASSERT_EQ(2u, file.marks.size());
    EXPECT_EQ(1602u, file.marks[1].first);  // after the first segment's flushed tail
}

}  // namespace
