#include "audiofile/Mp3Frames.h"

#include <vector>

namespace {

// kbit/s by bit-rate index 1..14; columns MPEG-1 layer 1, 2, 3, then
// MPEG-2/2.5 layer 1, 2, 3.
constexpr uint16_t kBitRates[14][6] = {
    {32, 32, 32, 32, 8, 8},         {64, 48, 40, 48, 16, 16},      {96, 56, 48, 56, 24, 24},
    {128, 64, 56, 64, 32, 32},      {160, 80, 64, 80, 40, 40},     {192, 96, 80, 96, 48, 48},
    {224, 112, 96, 112, 56, 56},    {256, 128, 112, 128, 64, 64},  {288, 160, 128, 144, 80, 80},
    {320, 192, 160, 160, 96, 96},   {352, 224, 192, 176, 112, 112}, {384, 256, 224, 192, 128, 128},
    {416, 320, 256, 224, 144, 144}, {448, 384, 320, 256, 160, 160},
};

// Samples per second by sample-rate index 0..2; columns MPEG-1, -2, -2.5.
constexpr uint32_t kSampleRates[3][3] = {
    {44100, 22050, 11025},
    {48000, 24000, 12000},
    {32000, 16000, 8000},
};

uint32_t ReadBe(const uint8_t* bytes, int count) {
    uint32_t value = 0;
    for (int i = 0; i < count; ++i)
        value = (value << 8) | bytes[i];
    return value;
}

// The frames from data[start] on: false at a frame that claims too much.
bool FramesFit(const std::vector<uint8_t>& data, size_t start, bool v22) {
    const size_t headerBytes = v22 ? 6 : 10;
    for (size_t at = start; at + headerBytes <= data.size() && data[at] != 0;) {
        const uint8_t* frame = data.data() + at;
        const size_t size = ReadBe(frame + (v22 ? 3 : 4), v22 ? 3 : 4);
        const size_t body = at + headerBytes;
        // id3lib reads the expanded size even from a frame too short to hold it.
        if (v22 && frame[0] == 'C' && frame[1] == 'D' && frame[2] == 'M' && body + 5 <= data.size() &&
            data[body] == 'z' && ReadBe(&data[body + 1], 4) > kMaxId3v2ExpandedFrame)
            return false;
        if (!v22 && (frame[9] & 0x80) && body + 4 <= data.size() && ReadBe(&data[body], 4) > kMaxId3v2ExpandedFrame)
            return false;
        if (size > data.size() - body)
            break;  // id3lib stops at a frame larger than what is left
        at = body + size;
    }
    return true;
}

}  // namespace

bool Id3v2ExpansionsFit(const uint8_t* tag, size_t bytes) {
    if (bytes < 10 || tag[0] != 'I' || tag[1] != 'D' || tag[2] != '3')
        return true;
    uint32_t size = 0;
    for (int i = 6; i < 10; ++i)
        size = (size << 7) | (tag[i] & 0x7F);  // as id3lib reads it
    const uint8_t version = tag[3], flags = tag[5];
    const size_t end = bytes - 10 < size ? bytes : size_t{size} + 10;
    std::vector<uint8_t> data;
    data.reserve(end - 10);
    for (size_t i = 10; i < end; ++i) {
        // Unsynchronisation put a zero after every 0xFF: id3lib drops it.
        if ((flags & 0x80) && tag[i] == 0 && i > 10 && tag[i - 1] == 0xFF)
            continue;
        data.push_back(tag[i]);
    }
    // An extended header comes first: try each length id3lib or the
    // version's layout may give it.
    std::vector<size_t> starts = {0};
    if (flags & 0x40) {
        starts.insert(starts.end(), {10, 14});
        if (data.size() >= 4)
            starts.push_back(size_t{data[0] & 0x7Fu} << 21 | size_t{data[1] & 0x7Fu} << 14 |
                             size_t{data[2] & 0x7Fu} << 7 | (data[3] & 0x7Fu));
    }
    for (size_t start : starts)
        if (!FramesFit(data, start, version == 2))
            return false;
    return true;
}

bool ParseFrameHeader(const uint8_t header[4], Mp3FrameHeader& frame) {
    if (!IsFrameSync(header[0], header[1]))
        return false;
    const uint8_t b1 = header[1], b2 = header[2], b3 = header[3];
    int versionColumn;
    if (b1 & 0x08) {
        if (!(b1 & 0x10))
            return false;  // the reserved version
        frame.version = MpegVersion::Mpeg1;
        versionColumn = 0;
    } else {
        frame.version = (b1 & 0x10) ? MpegVersion::Mpeg2 : MpegVersion::Mpeg25;
        versionColumn = (b1 & 0x10) ? 1 : 2;
    }
    const int layerBits = (b1 >> 1) & 3;
    if (layerBits == 0)
        return false;
    frame.layer = 4 - layerBits;
    const int bitRateIndex = b2 >> 4;
    const int rateIndex = (b2 >> 2) & 3;
    if (bitRateIndex == 0 || bitRateIndex == 15 || rateIndex == 3)
        return false;
    const int column = (versionColumn == 0 ? 0 : 3) + frame.layer - 1;
    frame.bitRate = uint32_t{kBitRates[bitRateIndex - 1][column]} * 1000;
    frame.sampleRate = kSampleRates[rateIndex][versionColumn];
    frame.padded = (b2 & 0x02) != 0;
    frame.channels = (b3 >> 6) == 3 ? 1 : 2;
    const uint32_t pad = frame.padded ? 1 : 0;
    const bool mpeg1 = frame.version == MpegVersion::Mpeg1;
    if (frame.layer == 1) {
        frame.frameBytes = (12 * frame.bitRate / frame.sampleRate + pad) * 4;
        frame.samplesPerFrame = 384;
    } else if (frame.layer == 2 || mpeg1) {
        frame.frameBytes = 144 * frame.bitRate / frame.sampleRate + pad;
        frame.samplesPerFrame = 1152;
    } else {
        frame.frameBytes = 72 * frame.bitRate / frame.sampleRate + pad;
        frame.samplesPerFrame = 576;
    }
    return true;
}

size_t FindFrameSync(const uint8_t* data, size_t size) {
    for (size_t i = 0; i + 1 < size; ++i) {
        if (IsFrameSync(data[i], data[i + 1]))
            return i;
    }
    return size;
}

WAVEFORMATEX PcmFormatOfFrame(const Mp3FrameHeader& frame) {
    WAVEFORMATEX pcm{};
    pcm.wFormatTag = WAVE_FORMAT_PCM;
    pcm.nChannels = frame.channels;
    pcm.nSamplesPerSec = frame.sampleRate;
    pcm.wBitsPerSample = 16;
    pcm.nBlockAlign = static_cast<WORD>(frame.channels * 2);
    pcm.nAvgBytesPerSec = pcm.nBlockAlign * frame.sampleRate;
    pcm.cbSize = 0;
    return pcm;
}

MPEGLAYER3WAVEFORMAT Mp3FormatOfFrame(const Mp3FrameHeader& frame) {
    MPEGLAYER3WAVEFORMAT mp3{};
    mp3.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    mp3.wfx.nChannels = frame.channels;
    mp3.wfx.nSamplesPerSec = frame.sampleRate;
    mp3.wfx.nAvgBytesPerSec = frame.bitRate / 8;
    mp3.wfx.nBlockAlign = 1;
    mp3.wfx.wBitsPerSample = 0;
    mp3.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    mp3.wID = MPEGLAYER3_ID_MPEG;
    mp3.fdwFlags = MPEGLAYER3_FLAG_PADDING_ISO;
    mp3.nBlockSize = static_cast<WORD>(frame.frameBytes - (frame.padded ? 1 : 0));
    mp3.nFramesPerBlock = 1;
    mp3.nCodecDelay = 1393;
    return mp3;
}

uint32_t Id3v2TagBytes(const uint8_t header[10]) {
    if (header[0] != 'I' || header[1] != 'D' || header[2] != '3')
        return 0;
    uint32_t size = 0;
    for (int i = 6; i < 10; ++i) {
        if (header[i] & 0x80)
            return 0;
        size = (size << 7) | header[i];
    }
    return 10 + size;
}
