// Run by ogg_interop.sh, which makes a file with oggenc in a folder, passes
// it in LARKSPUR_OGG_DIR and checks with the Ogg tools what this test writes.
#include <gtest/gtest.h>

#include <cstdlib>

#include "audiofile/OggVorbisFile.h"
#include "audiofile/SpeexFile.h"
#include "tests/audiofile/OggTestSupport.h"

namespace {

std::string OggDir() {
    const char* dir = std::getenv("LARKSPUR_OGG_DIR");
    return dir ? dir : "";
}

TEST(OggInterop, WritesFilesForTheTools) {
    if (OggDir().empty())
        GTEST_SKIP() << "run through ogg_interop.sh";
    const WAVEFORMATEX vorbis = CodecFormat(kVorbisFormatTag, 2, 44100);
    OggVorbisFile ogg((OggDir() + "\\ours.ogg").c_str(), &vorbis, 4, MMIO_CREATE | MMIO_READWRITE);
    ASSERT_TRUE(ogg.Open());
    ogg.AddTimeCode(0, 1700000000);
    ASSERT_TRUE(WriteTone(ogg, 2, 2, 44100, 8820));
    ogg.AddComment("interop note", 1000, 0);
    EXPECT_TRUE(ogg.Close());

    const WAVEFORMATEX speex = CodecFormat(kSpeexFormatTag, 1, 16000);
    SpeexFile spx((OggDir() + "\\ours.spx").c_str(), &speex, 8, MMIO_CREATE | MMIO_READWRITE);
    ASSERT_TRUE(spx.Open());
    ASSERT_TRUE(WriteTone(spx, 2, 1, 16000, 3200));
    spx.AddComment("speex note", 100, 0);
    EXPECT_TRUE(spx.Close());
}

TEST(OggInterop, AddsACommentToAFileOfAnotherEncoder) {
    if (OggDir().empty())
        GTEST_SKIP() << "run through ogg_interop.sh";
    const std::string path = OggDir() + "\\foreign.ogg";
    {
        OggVorbisFile file(path.c_str(), nullptr, 3, MMIO_READWRITE);
        ASSERT_TRUE(file.Open()) << file.GetError();
        EXPECT_EQ(file.GetLength(), 3u * 44100);
        EXPECT_EQ(file.GetTag("TITLE").value_or(""), "x=y");
        file.AddComment("foreign note", 0, 0);
        EXPECT_TRUE(file.Close());
    }
    OggVorbisFile file(path.c_str(), nullptr, 3, MMIO_READ);
    ASSERT_TRUE(file.Open());
    ASSERT_EQ(file.CommentCount(), 1);
    EXPECT_EQ(file.GetTag("title").value_or(""), "x=y");
    const std::vector<int16_t> pcm = DecodeAll(file);
    EXPECT_NEAR(static_cast<double>(pcm.size()), 3.0 * 44100, 2048);
    EXPECT_NEAR(ToneFrequency(pcm, 1, 44100), 440, 3);
}

}  // namespace
