// An Ogg recording while it is being made: its length counts every sample
// given to the encoder, and what was encoded reaches the disk at least every
// half second of audio, so a recording that never gets closed loses little.
#include <gtest/gtest.h>

#include <ogg/ogg.h>

#include <cstdio>

#include "audiofile/OggVorbisFile.h"
#include "audiofile/SpeexFile.h"
#include "tests/audiofile/OggTestSupport.h"
#include "tests/audiofile/TempFolder.h"

namespace {

constexpr uint32_t kNew = MMIO_CREATE | MMIO_READWRITE;

// The granule position of the last whole page on disk, read through a
// stream of its own (what another program, or the file after a crash, sees).
int64_t GranuleOnDisk(const std::string& path) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return -1;
    ogg_sync_state sync;
    ogg_sync_init(&sync);
    int64_t granule = 0;
    for (;;) {
        ogg_page page;
        const int got = ogg_sync_pageout(&sync, &page);
        if (got == 1) {
            if (ogg_page_granulepos(&page) > granule)
                granule = ogg_page_granulepos(&page);
            continue;
        }
        if (got < 0)
            continue;
        char* buffer = ogg_sync_buffer(&sync, 4096);
        const size_t read = std::fread(buffer, 1, 4096, file);
        if (read == 0)
            break;
        ogg_sync_wrote(&sync, static_cast<long>(read));
    }
    ogg_sync_clear(&sync);
    std::fclose(file);
    return granule;
}

TEST(OggRecording, LengthCountsEverySampleGivenToTheEncoder) {
    TempFolder folder;
    const std::string path = folder.File("length.ogg");
    const WAVEFORMATEX format = CodecFormat(kVorbisFormatTag, 1, 8000);
    OggVorbisFile file(path.c_str(), &format, 3, kNew);
    ASSERT_TRUE(file.Open());
    for (uint32_t given = 1600; given <= 8000; given += 1600) {
        const std::vector<int16_t> pcm = SineFrames(1600, 1, 440, 8000, given - 1600);
        ASSERT_EQ(file.WriteSamples(pcm.data(), 3200), 3200u);
        EXPECT_EQ(file.GetLength(), given);
        EXPECT_EQ(file.GetSeconds(), given / 8000);
    }
    // A segment marked now starts where the next audio goes.
    file.AddTimeCode(kNoPosition, 1700000000);
    EXPECT_EQ(file.GetTimeCodePos(file.TimeCodeCount() - 1), 8000u);
    EXPECT_TRUE(file.Close());
    OggVorbisFile again(path.c_str(), nullptr, 3, MMIO_READ);
    ASSERT_TRUE(again.Open());
    EXPECT_EQ(again.GetLength(), 8000u);
}

// Quality 0 of a tone: the fewest bytes a second, the longest wait for a
// page of libogg's usual size.
template <class File>
void PagesReachTheDiskEveryHalfSecond(WORD tag, DWORD rate, uint32_t encoderDelay) {
    TempFolder folder;
    const std::string path = folder.File("paged.ogg");
    const WAVEFORMATEX format = CodecFormat(tag, 1, rate);
    File file(path.c_str(), &format, 0, kNew);
    ASSERT_TRUE(file.Open());
    const uint32_t call = rate / 5;
    for (uint32_t given = call; given <= 12 * rate; given += call) {
        const std::vector<int16_t> pcm = SineFrames(call, 1, 1000, rate, given - call);
        ASSERT_EQ(file.WriteSamples(pcm.data(), call * 2), call * 2);
        const int64_t onDisk = GranuleOnDisk(path);
        ASSERT_GE(onDisk + rate / 2 + encoderDelay, int64_t{given}) << "after " << given << " frames";
    }
    // A refresh puts on disk all the encoder gave out.
    ASSERT_TRUE(file.Flush());
    EXPECT_GE(GranuleOnDisk(path) + encoderDelay, int64_t{12} * rate);
    EXPECT_TRUE(file.Close());
    File again(path.c_str(), nullptr, 0, MMIO_READ);
    ASSERT_TRUE(again.Open());
    EXPECT_EQ(again.GetLength(), 12 * rate);
    EXPECT_NEAR(static_cast<double>(DecodeAll(again).size()), 12.0 * rate, rate / 10.0);
}

TEST(OggRecording, PagesReachTheDiskEveryHalfSecondOfAudio) {
    {
        SCOPED_TRACE("Vorbis, 8000 Hz");
        PagesReachTheDiskEveryHalfSecond<OggVorbisFile>(kVorbisFormatTag, 8000, 2048);
    }
    {
        SCOPED_TRACE("Vorbis, 22050 Hz");
        PagesReachTheDiskEveryHalfSecond<OggVorbisFile>(kVorbisFormatTag, 22050, 2048);
    }
    {
        SCOPED_TRACE("Speex, 8000 Hz");
        PagesReachTheDiskEveryHalfSecond<SpeexFile>(kSpeexFormatTag, 8000, 160);
    }
}

}  // namespace
