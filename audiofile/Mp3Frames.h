// MPEG audio frame headers: the version, layer, bit-rate and sample-rate
// tables, the frame length, and the formats a frame implies. Pure functions
// over four header bytes, shared by the MP3 file and its tools.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>

#include <cstddef>
#include <cstdint>

enum class MpegVersion { Mpeg1, Mpeg2, Mpeg25 };

struct Mp3FrameHeader {
    MpegVersion version = MpegVersion::Mpeg1;
    int layer = 3;             // 1, 2 or 3
    uint32_t bitRate = 0;      // bits per second
    uint32_t sampleRate = 0;   // samples per second
    bool padded = false;
    uint16_t channels = 2;     // 1 for the single-channel mode
    uint32_t frameBytes = 0;   // the whole frame, header included
    uint32_t samplesPerFrame = 0;
};

// Decodes four header bytes; false for a header that is not a valid MPEG
// audio frame (no sync, reserved version or layer, free or bad bit rate,
// reserved sample rate).
bool ParseFrameHeader(const uint8_t header[4], Mp3FrameHeader& frame);

// True when the two bytes start a frame sync (0xFF, then three top bits set).
inline bool IsFrameSync(uint8_t first, uint8_t second) {
    return first == 0xFF && (second & 0xE0) == 0xE0;
}

// Offset of the first frame sync in data[0..size), or size when none starts
// there (a sync whose second byte lies beyond the buffer is not counted).
size_t FindFrameSync(const uint8_t* data, size_t size);

// The 16-bit PCM format the frame decodes to.
WAVEFORMATEX PcmFormatOfFrame(const Mp3FrameHeader& frame);
// The file's MPEG Layer-3 format as the codec drivers describe it
// (MPEGLAYER3WAVEFORMAT: format tag 85, 12 extra bytes).
MPEGLAYER3WAVEFORMAT Mp3FormatOfFrame(const Mp3FrameHeader& frame);

// Size of an ID3v2 tag from its 10-byte header (header included), or 0 when
// the bytes are no ID3v2 header or a size byte has its top bit set.
uint32_t Id3v2TagBytes(const uint8_t header[10]);

// The most a compressed ID3v2 frame may claim to expand to. id3lib
// allocates the claimed size at once (up to 4 GiB) before it inflates.
constexpr uint32_t kMaxId3v2ExpandedFrame = 16u << 20;

// False when a frame of the ID3v2 tag (bytes from the file's start, the
// tag header included) claims to expand past kMaxId3v2ExpandedFrame: a
// compressed frame (v2.3 and v2.4) or a compressed-frames frame (v2.2).
// The frames are walked as id3lib walks them, after undoing the tag's
// unsynchronisation.
bool Id3v2ExpansionsFit(const uint8_t* tag, size_t bytes);
