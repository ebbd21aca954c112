// The capture writer recording into a real Speex file: segment marks and the
// pre-trigger sound land at sample-frame positions.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "audiofile/PcmFormat.h"
#include "audiofile/SpeexFile.h"
#include "recorder/capture/CaptureWriter.h"
#include "recorder/capture/RecFileSink.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

std::vector<int16_t> ToneBlock(uint32_t frames) {
    std::vector<int16_t> pcm(frames);
    for (uint32_t i = 0; i < frames; ++i)
        pcm[i] = static_cast<int16_t>(8000 * std::sin(i * 0.3));
    return pcm;
}

TEST(OggCapture, PretriggerAndMarksCountSampleFrames) {
    FilesTestFolder folder;
    const std::string path = folder / "vox.spx";
    const WAVEFORMATEX capture = PcmFormat(1, 8000, 16);
    WAVEFORMATEX format = capture;
    format.wFormatTag = kSpeexFormatTag;
    const std::vector<int16_t> block = ToneBlock(1600);  // a fifth of a second
    const auto* bytes = reinterpret_cast<const uint8_t*>(block.data());
    const BlockVerdict idle{}, start{true, true, false}, active{true, false, false};
    {
        SpeexFile file(path.c_str(), &format, 4, MMIO_CREATE | MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        ASSERT_EQ(WriteKindFor(format.wFormatTag, file.GetFileType()), WriteKind::Samples);
        RecFileSink sink(file);
        CaptureWriter writer;
        writer.Begin(capture, WriteKind::Samples, nullptr, 1, false);
        for (int i = 0; i < 3; ++i)
            writer.Write(sink, idle, nullptr, bytes, 3200, 1000);
        writer.Write(sink, start, nullptr, bytes, 3200, 1000);
        for (int i = 0; i < 2; ++i)
            EXPECT_FALSE(writer.Write(sink, active, nullptr, bytes, 3200, 1001).warnings[0]);
        writer.Write(sink, idle, nullptr, bytes, 3200, 1002);
        writer.Write(sink, idle, nullptr, bytes, 3200, 1002);
        writer.Write(sink, start, nullptr, bytes, 3200, 1003);
        writer.End(sink, nullptr);
        EXPECT_EQ(file.GetLength(), 9u * 1600);
        EXPECT_TRUE(file.Close());
    }
    SpeexFile file(path.c_str(), nullptr, -1, MMIO_READ);
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.GetLength(), 9u * 1600);
    ASSERT_EQ(file.TimeCodeCount(), 2);
    EXPECT_EQ(file.GetTimeCodePos(0), 0u);
    EXPECT_EQ(file.GetTimeCodePos(1), 6u * 1600);  // before the two kept blocks
    EXPECT_EQ(file.GetTimeCodeAt(1), 1003);
    EXPECT_EQ(file.SegmentLength(1), 3u * 1600);
}

}  // namespace
