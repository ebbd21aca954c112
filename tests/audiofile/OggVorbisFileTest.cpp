#include "audiofile/OggVorbisFile.h"

#include <gtest/gtest.h>

#include "audiofile/Annotations.h"
#include "audiofile/FileNames.h"
#include "tests/audiofile/OggTestSupport.h"
#include "tests/audiofile/TempFolder.h"
#include "tests/audiofile/WaveTestSupport.h"

namespace {

WAVEFORMATEX VorbisFormat(int channels, DWORD rate) { return CodecFormat(kVorbisFormatTag, channels, rate); }

constexpr uint32_t kNew = MMIO_CREATE | MMIO_READWRITE;

TEST(OggVorbisFileTest, ToneSurvivesEncodeReopenAndDecode) {
    TempFolder folder;
    const std::string path = folder.File("tone.ogg");
    const WAVEFORMATEX format = VorbisFormat(1, 44100);
    {
        OggVorbisFile file(path.c_str(), &format, 4, kNew);
        ASSERT_TRUE(file.Open());
        EXPECT_EQ(file.GetFileType(), ftOgg);
        EXPECT_FALSE(file.CanOverwrite());
        EXPECT_EQ(file.GetAvgBytesPerSec(), static_cast<uint32_t>(VorbisBitrateFor(4, 44100, 1) / 8));
        ASSERT_TRUE(WriteTone(file, 5, 1, 44100, 8820));
        EXPECT_TRUE(file.Close());
    }
    OggVorbisFile file(path.c_str(), nullptr, 4, MMIO_READ);
    ASSERT_TRUE(file.Open());
    EXPECT_TRUE(file.IsReadOnly());
    EXPECT_EQ(file.GetFormat()->nSamplesPerSec, 44100u);
    EXPECT_EQ(file.GetLength(), 5u * 44100);
    EXPECT_EQ(file.GetSeconds(), 5u);
    EXPECT_EQ(file.Comments().PacketSize(), kOggCommentLimit);
    EXPECT_EQ(file.GetTag("bar").value_or(""), "foofoo");
    const std::vector<int16_t> pcm = DecodeAll(file);
    EXPECT_NEAR(static_cast<double>(pcm.size()), 5.0 * 44100, 2048);
    EXPECT_NEAR(ToneFrequency(pcm, 1, 44100), 440, 3);
    // Back to the start and again: the decoder restarts.
    ASSERT_TRUE(file.Position(0));
    EXPECT_NEAR(ToneFrequency(DecodeAll(file), 1, 44100), 440, 3);
}

TEST(OggVorbisFileTest, AnnotationsGoInPlaceAndTheStreamContinues) {
    TempFolder folder;
    const std::string path = folder.File("twice.ogg");
    const WAVEFORMATEX format = VorbisFormat(2, 22050);
    int serial = 0;
    {
        OggVorbisFile file(path.c_str(), &format, 3, kNew);
        ASSERT_TRUE(file.Open());
        serial = file.SerialNumber();
        ASSERT_TRUE(WriteTone(file, 1, 2, 22050, 4410));
        file.AddTimeCode(0, 1700000000);
        EXPECT_TRUE(file.Close());
    }
    const uint64_t size = FileSize(path);
    {
        OggVorbisFile file(path.c_str(), nullptr, 3, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        EXPECT_EQ(file.TimeCodeCount(), 1);
        file.AddComment("a=b note", 100, 0);
        EXPECT_TRUE(file.Close());
    }
    EXPECT_EQ(FileSize(path), size);  // the comment page was replaced in place
    {
        OggVorbisFile file(path.c_str(), nullptr, 3, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        ASSERT_EQ(file.CommentCount(), 1);
        EXPECT_EQ(file.GetCommentText(0), "a=b note");
        EXPECT_TRUE(file.CanAppend());
        file.AddTimeCode(file.GetLength(), 1700000100);
        ASSERT_TRUE(WriteTone(file, 1, 2, 22050, 4410));
        EXPECT_TRUE(file.Close());
    }
    OggVorbisFile file(path.c_str(), nullptr, 3, MMIO_READ);
    ASSERT_TRUE(file.Open());
    EXPECT_EQ(file.SerialNumber(), serial);
    EXPECT_NEAR(file.GetLength(), 2.0 * 22050, 2048);
    EXPECT_EQ(file.TimeCodeCount(), 2);
    EXPECT_EQ(file.CommentCount(), 1);
    const std::vector<int16_t> pcm = DecodeAll(file);
    EXPECT_NEAR(static_cast<double>(pcm.size()) / 2, 2.0 * 22050, 4096);
    EXPECT_NEAR(ToneFrequency(pcm, 2, 22050), 440, 3);
}

TEST(OggVorbisFileTest, LongAnnotationRewritesTheHeaders) {
    TempFolder folder;
    const std::string path = folder.File("long.ogg");
    const WAVEFORMATEX format = VorbisFormat(1, 16000);
    {
        OggVorbisFile file(path.c_str(), &format, 2, kNew);
        ASSERT_TRUE(file.Open());
        ASSERT_TRUE(WriteTone(file, 1, 1, 16000, 3200));
        EXPECT_TRUE(file.Close());
    }
    const std::string longText(200, 'n');
    {
        OggVorbisFile file(path.c_str(), nullptr, 2, MMIO_READWRITE);
        ASSERT_TRUE(file.Open());
        for (uint32_t i = 0; i < 15; ++i)
            file.AddComment(longText, i * 100, 0);
        EXPECT_TRUE(file.Close());
    }
    EXPECT_EQ(folder.Names().size(), 1u) << "no temporary file is left";
    OggVorbisFile file(path.c_str(), nullptr, 2, MMIO_READ);
    ASSERT_TRUE(file.Open());
    ASSERT_EQ(file.CommentCount(), 15);
    EXPECT_EQ(file.GetCommentText(14), longText);
    EXPECT_NEAR(ToneFrequency(DecodeAll(file), 1, 16000), 440, 3);
}

TEST(OggVorbisFileTest, ManagedBitRateAndBadFormats) {
    TempFolder folder;
    WAVEFORMATEX format = VorbisFormat(1, 8000);
    format.nAvgBytesPerSec = 0;  // as a new Vorbis format has
    OggVorbisFile managed(folder.File("m.ogg").c_str(), &format, -5, kNew);
    ASSERT_TRUE(managed.Open());
    EXPECT_NE(managed.GetAvgBytesPerSec(), 0u);
    EXPECT_TRUE(WriteTone(managed, 0.5, 1, 8000, 1600));
    EXPECT_TRUE(managed.Close());

    format.nChannels = 0;
    OggVorbisFile bad(folder.File("bad.ogg").c_str(), &format, 3, kNew);
    EXPECT_FALSE(bad.Open());
    EXPECT_EQ(bad.GetError(), statusCannotOpen);
    OggVorbisFile missing(folder.File("none\\x.ogg").c_str(), nullptr, 3, MMIO_READ);
    EXPECT_FALSE(missing.Open());
    EXPECT_EQ(missing.ReadSamples(nullptr, 100), 0u);
}

}  // namespace

namespace {

TEST(OggVorbisFileTest, ClockTimesMapToSampleFrames) {
    TempFolder folder;
    const std::string path = folder.File("clock.ogg");
    const WAVEFORMATEX format = VorbisFormat(1, 8000);
    OggVorbisFile file(path.c_str(), &format, 2, kNew);
    ASSERT_TRUE(file.Open());
    file.AddTimeCode(0, 1700000000);
    ASSERT_TRUE(WriteTone(file, 3, 1, 8000, 1600));
    ASSERT_TRUE(file.Flush());
    EXPECT_EQ(file.TimeCodeToPosition(1700000002), 16000u);
    EXPECT_EQ(file.GetTimeCode(16000), 1700000002);
    EXPECT_EQ(file.RelativePosition(-10), 0u);
    EXPECT_TRUE(file.Close());
    OggVorbisFile again(path.c_str(), nullptr, 2, MMIO_READ);
    ASSERT_TRUE(again.Open());
    EXPECT_EQ(again.GetSeconds(), 3u);
    EXPECT_EQ(again.RelativePosition(2), 16000u);
}

}  // namespace

namespace {

// Onto an older file with a journal of its own, which goes with that file.
TEST(OggVorbisFileTest, RenameKeepsTheRecordingAndItsPosition) {
    TempFolder folder;
    const WAVEFORMATEX format = VorbisFormat(1, 8000);
    OggVorbisFile file(folder.File("first.ogg").c_str(), &format, 3, kNew);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(WriteTone(file, 2, 1, 8000, 1600));
    file.AddComment("own", 100, 0);
    const std::string staleJournal = RecFile::JournalNameFor(folder.File("second.ogg"));
    ASSERT_TRUE(WriteAllBytes(folder.File("second.ogg"), "an older file of that name"));
    ASSERT_TRUE(WriteAllBytes(staleJournal, BuildJournalImage({}, {{5, 0, "stale"}})));
    ASSERT_TRUE(file.Rename(folder.File("second.ogg")));
    EXPECT_FALSE(FileExists(folder.File("first.ogg")));
    EXPECT_FALSE(FileExists(staleJournal));
    EXPECT_TRUE(file.IsOpen());
    EXPECT_GE(file.GetPosition(), 15000u);
    EXPECT_EQ(file.GetLength(), 16000u);
    // The renamed file is continued, not started again.
    ASSERT_TRUE(WriteTone(file, 1, 1, 8000, 1600));
    EXPECT_TRUE(file.Close());
    OggVorbisFile again(folder.File("second.ogg").c_str(), nullptr, 3, MMIO_READ);
    ASSERT_TRUE(again.Open());
    EXPECT_NEAR(again.GetLength(), 24000.0, 2048);
    ASSERT_EQ(again.CommentCount(), 1);
    EXPECT_EQ(again.GetCommentText(0), "own");
}

}  // namespace
