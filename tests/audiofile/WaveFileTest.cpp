// WAV files written through the interface, read back from disk.
#include <gtest/gtest.h>

#include "audiofile/FileNames.h"
#include "audiofile/WaveFile.h"
#include "tests/audiofile/TempFolder.h"
#include "tests/audiofile/WaveTestSupport.h"

namespace {

constexpr uint32_t kCreate = MMIO_READWRITE | MMIO_CREATE;

// Ten seconds of 16-bit stereo at 44.1 kHz in 200 ms buffers, as the recorder writes.
void RecordTenSeconds(WaveFile& file) {
    const std::vector<char> buffer = Pattern(35280, 1);
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(file.Write(buffer.data(), static_cast<uint32_t>(buffer.size())), 35280);
        file.AddSamples(8820);
    }
}

TEST(WaveFile, RecordingRoundTripKeepsFormatFactAnnotationsAndSignature) {
    TempFolder folder;
    const std::string name = folder.File("take.wav");
    const WAVEFORMATEX format = PcmFormat(2, 44100, 16);
    {
        WaveFile file(name.c_str(), &format, kCreate);
        ASSERT_TRUE(file.Open());
        file.AddTimeCode(0, 1700000000);
        RecordTenSeconds(file);
        file.AddTimeCode(kNoPosition, 1700000010);  // a second stretch would start here
        file.AddComment("intro", 176400, 0);
        EXPECT_TRUE(file.Update());
        EXPECT_TRUE(file.Close());
    }
    const std::string bytes = ReadAllBytes(name);
    const std::vector<WalkedChunk> chunks = WalkRiff(bytes);
    ASSERT_EQ(chunks.size(), 4u);
    EXPECT_EQ(chunks[0].id, "fmt ");
    EXPECT_EQ(chunks[0].size, 18u);
    EXPECT_EQ(chunks[1].id, "fact");
    EXPECT_EQ(Le32(bytes, chunks[1].offset), 441000u);
    EXPECT_EQ(chunks[2].id, "data");
    EXPECT_EQ(chunks[2].size, 1764000u);
    EXPECT_EQ(chunks[3].id, "DISP");
    EXPECT_EQ(8 + Le32(bytes, 4), bytes.size()) << "RIFF size covers the file exactly";

    WaveFile reopened(name.c_str(), nullptr, MMIO_READWRITE);
    ASSERT_TRUE(reopened.Open());
    EXPECT_EQ(reopened.GetFormat()->nChannels, 2);
    EXPECT_EQ(reopened.GetFormat()->nSamplesPerSec, 44100u);
    EXPECT_EQ(reopened.GetDataLength(), 1764000u);
    EXPECT_EQ(reopened.GetSeconds(), 10u);
    EXPECT_EQ(reopened.GetFactCount(), 441000u);
    // The segment at the very end has no audio and is not kept.
    ASSERT_EQ(reopened.TimeCodeCount(), 1);
    EXPECT_EQ(reopened.GetTimeCodeAt(0), 1700000000);
    ASSERT_EQ(reopened.CommentCount(), 1);
    EXPECT_EQ(reopened.GetCommentText(0), "intro");
    EXPECT_EQ(reopened.VerifySignature(), SignatureCheck::Match);
    EXPECT_FALSE(reopened.IsNewFile());
}

TEST(WaveFile, AudioReadsBackAsWrittenAndReadStopsAtTheEnd) {
    TempFolder folder;
    const std::string name = folder.File("a.wav");
    const std::vector<char> audio = Pattern(10001, 3);
    {
        WaveFile file(name.c_str(), nullptr, kCreate);
        ASSERT_TRUE(file.Open());
        ASSERT_EQ(file.Write(audio.data(), 10001), 10001);
    }
    WaveFile file(name.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(file.Open());
    EXPECT_TRUE(file.IsReadOnly());
    std::vector<char> back(20000);
    ASSERT_TRUE(file.Position(0));
    EXPECT_EQ(file.Read(back.data(), 20000), 10001);
    EXPECT_EQ(file.GetPosition(), 10001u);
    EXPECT_TRUE(std::equal(audio.begin(), audio.end(), back.begin()));
    EXPECT_EQ(file.Read(back.data(), 100), 0);
    // The odd-sized data chunk is padded before the annotation chunk.
    const std::vector<WalkedChunk> chunks = WalkRiff(ReadAllBytes(name));
    ASSERT_EQ(chunks.size(), 4u);
    EXPECT_EQ(chunks[3].id, "DISP");
}

TEST(WaveFile, PositionsAreWholeBlocksWithinTheData) {
    TempFolder folder;
    const WAVEFORMATEX format = PcmFormat(2, 44100, 16);
    WaveFile file(folder.File("p.wav").c_str(), &format, kCreate);
    ASSERT_TRUE(file.Open());
    const std::vector<char> audio = Pattern(4000, 2);
    file.Write(audio.data(), 4000);
    struct Case { uint32_t asked, expected; };
    const Case cases[] = {{1001, 1000}, {1000, 1000}, {3, 0}, {999999, 4000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.asked);
        EXPECT_TRUE(file.Position(c.asked));
        EXPECT_EQ(file.GetPosition(), c.expected);
    }
}

TEST(WaveFile, OverwriteModeSurvivesTheRefreshEvery600Writes) {
    TempFolder folder;
    const std::string name = folder.File("o.wav");
    WaveFile file(name.c_str(), nullptr, kCreate);
    ASSERT_TRUE(file.Open());
    const std::vector<char> ones(100, 1);
    for (int i = 0; i < 700; ++i)
        file.Write(ones.data(), 100);
    ASSERT_EQ(file.GetDataLength(), 70000u);
    file.SetOverwrite(true);
    ASSERT_TRUE(file.Position(1000));
    const std::vector<char> twos(10, 2);
    for (int i = 0; i < RecFile::kRefreshWrites + 10; ++i)
        ASSERT_EQ(file.Write(twos.data(), 10), 10) << "write " << i;
    EXPECT_TRUE(file.GetOverwrite());
    EXPECT_EQ(file.GetPosition(), 1000u + 6100u);
    EXPECT_EQ(file.GetDataLength(), 70000u) << "overwriting must not append";
    // The refresh brought the sizes on disk up to date and wrote the journal.
    const std::string bytes = ReadAllBytes(name);
    const std::vector<WalkedChunk> chunks = WalkRiff(bytes);
    ASSERT_EQ(chunks.size(), 3u);
    EXPECT_EQ(chunks[2].size, 70000u);
    EXPECT_EQ(Le32(bytes, 4) + 8, chunks[2].offset + 70000u) << "RIFF ends after the data";
    EXPECT_TRUE(FileExists(RecFile::JournalNameFor(name)));
}

TEST(WaveFile, CompressedFormatsCountSamplesReported) {
    TempFolder folder;
    const std::string name = folder.File("c.wav");
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_IMA_ADPCM;
    format.nChannels = 1;
    format.nSamplesPerSec = 8000;
    format.nAvgBytesPerSec = 4055;
    format.nBlockAlign = 256;
    format.wBitsPerSample = 4;
    {
        WaveFile file(name.c_str(), &format, kCreate);
        ASSERT_TRUE(file.Open());
        const std::vector<char> block = Pattern(256, 5);
        for (int i = 0; i < 16; ++i) {
            file.Write(block.data(), 256);
            file.AddSamples(500);
        }
    }
    const std::string bytes = ReadAllBytes(name);
    const std::vector<WalkedChunk> chunks = WalkRiff(bytes);
    ASSERT_GE(chunks.size(), 2u);
    EXPECT_EQ(Le32(bytes, chunks[1].offset), 8000u);
    WaveFile reopened(name.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(reopened.Open());
    EXPECT_EQ(reopened.GetFormat()->wFormatTag, WAVE_FORMAT_IMA_ADPCM);
    EXPECT_EQ(reopened.GetFactCount(), 8000u);
}

TEST(WaveFile, PcmFormatIgnoresItsExtraSizeField) {
    TempFolder folder;
    const std::string name = folder.File("pcm.wav");
    WAVEFORMATEX format = PcmFormat(1, 8000, 16);
    format.cbSize = 0xCCCC;  // what a PCMWAVEFORMAT leaves behind
    WaveFile file(name.c_str(), &format, kCreate);
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.GetFormat()->cbSize, 0);
    file.Close();
    const std::vector<WalkedChunk> chunks = WalkRiff(ReadAllBytes(name));
    ASSERT_FALSE(chunks.empty());
    EXPECT_EQ(chunks[0].size, 18u);
}

// A recording made over a longer file keeps none of its bytes, not even
// while it is still being written (a crash then would leave them after the
// audio, where the close no longer trims them).
TEST(WaveFile, ANewRecordingOverAnExistingFileHoldsOnlyItself) {
    TempFolder folder;
    const std::string name = folder.File("take.wav");
    ASSERT_TRUE(WriteAllBytes(name, std::string(100000, 'x')));
    const WAVEFORMATEX format = PcmFormat(1, 8000, 16);
    {
        WaveFile file(name.c_str(), &format, kCreate);
        ASSERT_TRUE(file.Open());
        const std::vector<char> buffer = Pattern(1000, 2);
        ASSERT_EQ(file.Write(buffer.data(), 1000), 1000);
        EXPECT_TRUE(file.Update());
        EXPECT_LT(FileSize(name), 2000u);
        EXPECT_TRUE(file.Close());
    }
    const std::string bytes = ReadAllBytes(name);
    EXPECT_EQ(8 + Le32(bytes, 4), bytes.size()) << "nothing of the old file after the RIFF chunk";
    EXPECT_LT(bytes.size(), 2000u);
    WaveFile reopened(name.c_str(), nullptr, MMIO_READ);
    ASSERT_TRUE(reopened.Open());
    EXPECT_EQ(reopened.GetDataLength(), 1000u);
}

// What another program reads from a recording still being written (or left
// by a crash): its sizes on disk say all but at most a second of the audio.
TEST(WaveFile, SizesOnDiskFollowTheRecordingWithinASecond) {
    TempFolder folder;
    const std::string name = folder.File("live.wav");
    const WAVEFORMATEX format = PcmFormat(1, 22050, 16);
    WaveFile file(name.c_str(), &format, kCreate);
    ASSERT_TRUE(file.Open());
    const std::vector<char> buffer = Pattern(8820, 4);  // 200 ms, as the recorder writes
    for (uint32_t written = 8820; written <= 20 * 8820; written += 8820) {
        SCOPED_TRACE(written);
        ASSERT_EQ(file.Write(buffer.data(), 8820), 8820);
        const std::string bytes = ReadAllBytes(name);
        const std::vector<WalkedChunk> chunks = WalkRiff(bytes);
        ASSERT_EQ(chunks.size(), 3u);
        ASSERT_EQ(chunks[2].id, "data");
        EXPECT_LE(chunks[2].size, written);
        EXPECT_LT(written - chunks[2].size, format.nAvgBytesPerSec);
        EXPECT_EQ(8 + Le32(bytes, 4), chunks[2].offset + chunks[2].size) << "RIFF ends with the data";
    }
}

TEST(WaveFile, EmptyNameMakesATemporaryFileRemovedWhenUnused) {
    WaveFile file(nullptr, nullptr, kCreate);
    ASSERT_TRUE(file.Open());
    EXPECT_TRUE(file.IsTemporary());
    const std::string name = file.GetPath();
    EXPECT_NE(FileNamePart(name).find("RIF"), std::string::npos);
    EXPECT_TRUE(file.Update());
    EXPECT_TRUE(file.Close());
    EXPECT_FALSE(FileExists(name));
}

TEST(WaveFile, ClosedFileCanBeDeletedSoNoHandleIsLeft) {
    TempFolder folder;
    const std::string name = folder.File("leak.wav");
    {
        WaveFile file(name.c_str(), nullptr, kCreate);
        ASSERT_TRUE(file.Open());
        file.Write("abcd", 4);
        file.AddComment("note", 0, 0);
        EXPECT_TRUE(file.Close());
        EXPECT_TRUE(DeleteFileA(name.c_str())) << GetLastError();
    }
    EXPECT_TRUE(folder.Names().empty()) << "journal left: " << folder.Names().size();
}

TEST(WaveFile, WriteRefusesBeforeTheFileWouldPassTwoGigabytes) {
    TempFolder folder;
    WaveFile file(folder.File("big.wav").c_str(), nullptr, kCreate);
    ASSERT_TRUE(file.Open());
    // The data chunk's content starts at 44: 5 more bytes would pass the limit.
    file.SetDataLength(RiffFile::kMaxFileOffset - 44 - 5);
    EXPECT_EQ(file.Write("0123456789", 10), -1);
    EXPECT_TRUE(file.Delete());
}

}  // namespace
