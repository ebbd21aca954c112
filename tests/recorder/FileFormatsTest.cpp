#include "recorder/files/FileFormats.h"
#include "audiofile/PcmFormat.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

WAVEFORMATEX Format(WORD tag, WORD channels, DWORD rate, WORD bits, DWORD bytesPerSecond) {
    WAVEFORMATEX f{};
    f.wFormatTag = tag;
    f.nChannels = channels;
    f.nSamplesPerSec = rate;
    f.wBitsPerSample = bits;
    f.nAvgBytesPerSec = bytesPerSecond;
    return f;
}

TEST(FileFormatsTest, FormatReadout) {
    const struct {
        WAVEFORMATEX format;
        int recordChannel;
        const char* expected;
    } cases[] = {
        {PcmFormat(2, 44100, 16), 0, "44kHz 16 bit ST 1411kbps"},
        {PcmFormat(1, 8000, 8), 1, "8kHz 8 bit Right 64kbps"},
        {PcmFormat(1, 8000, 8), -1, "8kHz 8 bit Left 64kbps"},
        {PcmFormat(1, 999, 16), 0, "999Hz 16 bit 15kbps"},
        {PcmFormat(2, 48000, 24), 1, "48kHz ST 2304kbps"},
        {Format(85, 2, 44100, 0, 16000), 0, "44kHz ST 128kbps"},
        {Format(2, 1, 22050, 4, 11155), 0, "22kHz 89kbps"},
        {Format(1, 1, 8000, 16, 0xFFFFFFFFu), 0, "8kHz 16 bit 34359738kbps"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected);
        EXPECT_EQ(FormatReadoutText(c.format, c.recordChannel), c.expected);
    }
    EXPECT_EQ(CodecReadoutName("lame mp3"), "MP3");
    EXPECT_EQ(CodecReadoutName("MPEG Layer-3"), "MPEG Layer-3");
}

TEST(FileFormatsTest, TypeByName) {
    const struct {
        const char* name;
        int type, forOpen, forFactory;
    } cases[] = {
        {"talk.OGA", 0, 3, 3}, {"talk.mp3", 3, 1, 1}, {"x.Spx", 0, 4, 4},
        {"x.WAV", 3, 0, 0},    {"x.mp", 3, 3, 0},     {".mp3", 0, 0, 1},
        {"ab", 4, 4, 4},       {nullptr, 1, 1, 1},    {"a.wmv", 2, 2, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(null)");
        EXPECT_EQ(FileTypeForOpen(c.name, c.type), c.forOpen);
        EXPECT_EQ(FileTypeForFactory(c.name, c.type), c.forFactory);
    }
}

TEST(FileFormatsTest, CapturePcmFollowsTheFile) {
    const WAVEFORMATEX pcm8 = CaptureFormatFor(PcmFormat(1, 11025, 8));
    EXPECT_EQ(pcm8.wBitsPerSample, 8);
    EXPECT_EQ(pcm8.nAvgBytesPerSec, 11025u);
    const WAVEFORMATEX adpcm = CaptureFormatFor(Format(0x11, 2, 22050, 4, 22311));
    EXPECT_EQ(adpcm.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(adpcm.wBitsPerSample, 16);
    EXPECT_EQ(adpcm.nBlockAlign, 4);
    EXPECT_EQ(adpcm.nAvgBytesPerSec, 88200u);
}

TEST(FileFormatsTest, NewFileFormatsFromSettings) {
    AppStateValues settings{};
    settings.SampleRate = 22050;
    settings.Stereo = true;
    settings.Resolution = true;
    settings.VorSampleRate = 44100;
    settings.VorByteRate = 10750;
    settings.SpxSampleRate = 16000;
    settings.SpxByteRate = 2000;

    NewFileFormats wav = FormatsForNewFile(0, settings);
    EXPECT_EQ(wav.codecCheck, NewFileCodecCheck::None);
    EXPECT_TRUE(wav.fileFormat.SameAs(wav.captureFormat));
    EXPECT_EQ(wav.captureFormat.nAvgBytesPerSec, 88200u);
    EXPECT_STREQ(wav.codecReadout, kPcmCodecReadout);

    std::strcpy(settings.ACMDriver, "No compression");
    EXPECT_EQ(FormatsForNewFile(0, settings).codecCheck, NewFileCodecCheck::None);
    std::strcpy(settings.ACMDriver, "IMA ADPCM");
    settings.ACMFormatTag = 0x11;
    *settings.WaveFormat.get() = PcmFormat(1, 8000, 16);
    const NewFileFormats adpcm = FormatsForNewFile(0, settings);
    EXPECT_EQ(adpcm.codecCheck, NewFileCodecCheck::SuggestOnly);
    EXPECT_EQ(adpcm.fileFormat->wFormatTag, 0x11);
    EXPECT_EQ(adpcm.captureFormat.nChannels, 2);

    const NewFileFormats vorbis = FormatsForNewFile(3, settings);
    EXPECT_EQ(vorbis.fileFormat->wFormatTag, kFormatTagVorbis);
    EXPECT_EQ(vorbis.fileFormat->nAvgBytesPerSec, 10750u);
    EXPECT_EQ(vorbis.fileFormat->nChannels, 1);
    EXPECT_EQ(vorbis.captureFormat.nSamplesPerSec, 44100u);
    EXPECT_EQ(vorbis.captureFormat.wBitsPerSample, 16);
    const NewFileFormats speex = FormatsForNewFile(4, settings);
    EXPECT_EQ(speex.fileFormat->wFormatTag, kFormatTagSpeex);
    EXPECT_EQ(speex.fileFormat->nBlockAlign, 1);
    EXPECT_EQ(speex.fileFormat->nAvgBytesPerSec, 2000u);
    EXPECT_EQ(FormatsForNewFile(1, settings).codecCheck, NewFileCodecCheck::PlainThenSuggest);
}

}  // namespace
