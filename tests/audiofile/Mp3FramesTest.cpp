// MPEG frame headers: the published frame lengths for every version and
// layer, the table lookups, and what is refused.
#include <gtest/gtest.h>

#include <vector>

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

namespace {

// An ID3v2 tag of one frame (id, flags, content) and some padding.
std::vector<uint8_t> TagOfFrame(uint8_t version, const char* id, uint16_t flags, std::vector<uint8_t> content,
                                uint8_t tagFlags = 0) {
    const bool v22 = version == 2;
    std::vector<uint8_t> frame(id, id + (v22 ? 3 : 4));
    const size_t size = content.size();
    for (int shift = v22 ? 16 : 24; shift >= 0; shift -= 8)
        frame.push_back(static_cast<uint8_t>(size >> shift));
    if (!v22) {
        frame.push_back(static_cast<uint8_t>(flags >> 8));
        frame.push_back(static_cast<uint8_t>(flags));
    }
    frame.insert(frame.end(), content.begin(), content.end());
    frame.resize(frame.size() + 16, 0);
    std::vector<uint8_t> tag = {'I', 'D', '3', version, 0, tagFlags};
    for (int shift = 21; shift >= 0; shift -= 7)
        tag.push_back(static_cast<uint8_t>((frame.size() >> shift) & 0x7F));
    tag.insert(tag.end(), frame.begin(), frame.end());
    return tag;
}

bool Fits(const std::vector<uint8_t>& tag) { return Id3v2ExpansionsFit(tag.data(), tag.size()); }

}  // namespace

// id3lib allocates what a compressed frame claims before inflating it: a
// claim past the limit marks the tag as one not to give it.
TEST(Mp3Frames, CompressedFramesClaimingTooMuchAreFound) {
    const std::vector<uint8_t> small = {0x00, 0x00, 0x04, 0x00, 0x78, 0x9C, 0x03, 0x00};
    const std::vector<uint8_t> huge = {0xAF, 0x9E, 0x23, 0x81, 0x78, 0x9C, 0x03, 0x00};
    EXPECT_TRUE(Fits(TagOfFrame(3, "COMM", 0x0080, small)));
    EXPECT_FALSE(Fits(TagOfFrame(3, "COMM", 0x00A0, huge)));
    EXPECT_FALSE(Fits(TagOfFrame(4, "TIT2", 0x0080, huge)));
    EXPECT_TRUE(Fits(TagOfFrame(3, "COMM", 0x0000, huge)));  // not compressed: nothing to inflate
    // Unsynchronised: the 0xFF 0x00 pairs are undone first.
    EXPECT_FALSE(Fits(TagOfFrame(3, "COMM", 0x0080, {0xFF, 0x00, 0xFF, 0xFF, 0x00, 0xFF}, 0x80)));
    // Version 2.2: the compressed-frames frame.
    std::vector<uint8_t> cdm = {'z'};
    cdm.insert(cdm.end(), huge.begin(), huge.end());
    EXPECT_FALSE(Fits(TagOfFrame(2, "CDM", 0, cdm)));
    // A tag cut short claims nothing it does not hold.
    const std::vector<uint8_t> cut = TagOfFrame(3, "COMM", 0x0080, huge);
    EXPECT_TRUE(Id3v2ExpansionsFit(cut.data(), 20));
}
