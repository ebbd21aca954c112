// MPEG frame headers: the published frame lengths for every version and
// layer, the table lookups, and what is refused.
#include <gtest/gtest.h>

#include "audiofile/Mp3Frames.h"

namespace {

Mp3FrameHeader Parse(uint8_t b1, uint8_t b2, uint8_t b3 = 0x00) {
    const uint8_t header[4] = {0xFF, b1, b2, b3};
    Mp3FrameHeader frame;
    EXPECT_TRUE(ParseFrameHeader(header, frame));
    return frame;
}

}  // namespace

TEST(Mp3Frames, LengthsFollowVersionAndLayer) {
    // MPEG-1 layer 3, 128 kbit/s, 44100 Hz, padded, joint stereo.
    Mp3FrameHeader f = Parse(0xFB, 0x92, 0x44);
    EXPECT_EQ(f.version, MpegVersion::Mpeg1);
    EXPECT_EQ(f.layer, 3);
    EXPECT_EQ(f.bitRate, 128000u);
    EXPECT_EQ(f.sampleRate, 44100u);
    EXPECT_EQ(f.channels, 2);
    EXPECT_EQ(f.frameBytes, 418u);
    // MPEG-2 layer 3, 64 kbit/s, 16000 Hz, mono: 72 x br / sr.
    f = Parse(0xF3, 0x88, 0xC0);
    EXPECT_EQ(f.version, MpegVersion::Mpeg2);
    EXPECT_EQ(f.sampleRate, 16000u);
    EXPECT_EQ(f.bitRate, 64000u);
    EXPECT_EQ(f.channels, 1);
    EXPECT_EQ(f.frameBytes, 288u);
    EXPECT_EQ(f.samplesPerFrame, 576u);
    // MPEG-2.5 layer 3 at sample-rate index 1: 12000 Hz; 16 kbit/s.
    f = Parse(0xE3, 0x24, 0xC0);
    EXPECT_EQ(f.version, MpegVersion::Mpeg25);
    EXPECT_EQ(f.sampleRate, 12000u);
    EXPECT_EQ(f.frameBytes, 72u * 16000 / 12000);
    // MPEG-1 layer 1, 384 kbit/s, 48000 Hz, padded: (12 x br / sr + 1) x 4.
    f = Parse(0xFF, 0xC6);
    EXPECT_EQ(f.layer, 1);
    EXPECT_EQ(f.bitRate, 384000u);
    EXPECT_EQ(f.frameBytes, (12u * 384000 / 48000 + 1) * 4);
    // MPEG-1 layer 2, 192 kbit/s, 32000 Hz.
    f = Parse(0xFD, 0xA8);
    EXPECT_EQ(f.layer, 2);
    EXPECT_EQ(f.frameBytes, 144u * 192000 / 32000);
}

TEST(Mp3Frames, RefusesReservedFields) {
    const uint8_t bad[][4] = {
        {0xFF, 0xFB, 0x00, 0},  // free bit rate
        {0xFF, 0xFB, 0xF0, 0},  // bit-rate index 15
        {0xFF, 0xFB, 0x9C, 0},  // sample-rate index 3
        {0xFF, 0xF9, 0x90, 0},  // layer 0
        {0xFF, 0xEB, 0x90, 0},  // the reserved version
        {0xFE, 0xFB, 0x90, 0},  // no sync
    };
    for (const auto& header : bad) {
        Mp3FrameHeader frame;
        EXPECT_FALSE(ParseFrameHeader(header, frame)) << int(header[1]) << " " << int(header[2]);
    }
}

TEST(Mp3Frames, FormatsOfAFrame) {
    const Mp3FrameHeader f = Parse(0xF3, 0x88, 0xC0);
    const WAVEFORMATEX pcm = PcmFormatOfFrame(f);
    EXPECT_EQ(pcm.wFormatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(pcm.nChannels, 1);
    EXPECT_EQ(pcm.nSamplesPerSec, 16000u);
    EXPECT_EQ(pcm.nAvgBytesPerSec, 32000u);
    const MPEGLAYER3WAVEFORMAT mp3 = Mp3FormatOfFrame(f);
    EXPECT_EQ(mp3.wfx.wFormatTag, 85);
    EXPECT_EQ(mp3.wfx.nAvgBytesPerSec, 8000u);
    EXPECT_EQ(mp3.wfx.cbSize, 12);
}

TEST(Mp3Frames, SyncAndId3v2Header) {
    const uint8_t data[] = {0x00, 0xFF, 0x00, 0xFF, 0xE2, 0x00};
    EXPECT_EQ(FindFrameSync(data, sizeof data), 3u);
    EXPECT_EQ(FindFrameSync(data, 4), 4u);  // the sync's second byte lies beyond
    // A 4096-byte tag: the size field holds 4086 as a sync-safe number.
    uint8_t tag[10] = {'I', 'D', '3', 3, 0, 0, 0x00, 0x00, 0x1F, 0x76};
    EXPECT_EQ(Id3v2TagBytes(tag), 4096u);
    tag[8] = 0x9F;  // a size byte with its top bit set
    EXPECT_EQ(Id3v2TagBytes(tag), 0u);
    tag[0] = 'X';
    EXPECT_EQ(Id3v2TagBytes(tag), 0u);
}
