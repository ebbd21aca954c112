// Run by sox_interop.sh, which makes WAV files with sox in a folder, passes it
// in LARKSPUR_SOX_DIR and checks with sox what this test writes there.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <vector>

#include "audiofile/WaveFile.h"
#include "tests/audiofile/WaveTestSupport.h"

namespace {

std::string SoxDir() {
    const char* dir = std::getenv("LARKSPUR_SOX_DIR");
    return dir ? dir : "";
}

TEST(SoxInterop, WritesAFileForSox) {
    if (SoxDir().empty())
        GTEST_SKIP() << "run through sox_interop.sh";
    const WAVEFORMATEX format = PcmFormat(2, 44100, 16);
    WaveFile file((SoxDir() + "\\written.wav").c_str(), &format, MMIO_READWRITE | MMIO_CREATE);
    ASSERT_TRUE(file.Open());
    ASSERT_TRUE(file.SetTag("artist", "Larkspur test"));
    file.AddTimeCode(0, 1700000000);
    std::vector<int16_t> block(8820 * 2);
    for (int buffer = 0; buffer < 5; ++buffer) {
        for (size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<int16_t>(8000 * std::sin((buffer * 8820 + i / 2) * 0.0627));
        ASSERT_EQ(file.Write(block.data(), static_cast<uint32_t>(block.size() * 2)), 35280);
        file.AddSamples(8820);
    }
    file.AddComment("tone", 0, 0);
    EXPECT_TRUE(file.Close());
}

TEST(SoxInterop, OpensFilesMadeBySox) {
    if (SoxDir().empty())
        GTEST_SKIP() << "run through sox_interop.sh";
    struct Case { const char* name; WORD tag; WORD channels; DWORD rate; WORD bits; uint32_t bytes; };
    const Case cases[] = {
        {"sox16.wav", WAVE_FORMAT_PCM, 2, 44100, 16, 2 * 44100 * 4},
        {"sox8.wav", WAVE_FORMAT_PCM, 1, 8000, 8, 8000},
        {"soxfloat.wav", WAVE_FORMAT_IEEE_FLOAT, 1, 22050, 32, 11025 * 4},
        {"soxulaw.wav", WAVE_FORMAT_MULAW, 1, 8000, 8, 8000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WaveFile file((SoxDir() + "\\" + c.name).c_str(), nullptr, MMIO_READ);
        ASSERT_TRUE(file.Open()) << file.GetError();
        EXPECT_EQ(file.GetFormat()->wFormatTag, c.tag);
        EXPECT_EQ(file.GetFormat()->nChannels, c.channels);
        EXPECT_EQ(file.GetFormat()->nSamplesPerSec, c.rate);
        EXPECT_EQ(file.GetFormat()->wBitsPerSample, c.bits);
        EXPECT_EQ(file.GetDataLength(), c.bytes);
        EXPECT_EQ(file.TimeCodeCount(), 0);
        std::vector<char> all(c.bytes + 100);
        EXPECT_EQ(file.Read(all.data(), c.bytes + 100), static_cast<int32_t>(c.bytes));
    }
}

}  // namespace
