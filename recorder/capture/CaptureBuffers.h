// The ring of five audio buffers that capture and playback share, and the
// plain helpers that work on captured blocks: the capture buffer length, the
// ring order in which filled buffers are taken back, the stall watch, channel
// extraction and the peak level.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <array>
#include <cstdint>
#include <memory>

constexpr int kRingSlots = 5;
// Every ring data block and every block-sized copy of the recorder.
constexpr uint32_t kRingBlockBytes = 450000;
// Data messages in a row that take nothing back before capture is restarted.
constexpr int kStallLimit = 4;

// One fifth of a second of the format, rounded down to whole sample blocks;
// 0 when the format has no byte rate or a buffer would not fit a ring block.
uint32_t CaptureBufferBytes(const WAVEFORMATEX& format);

// The format the input device is opened with: a mono capture format is
// widened to stereo when one channel is to be kept (recordChannel -1 left,
// +1 right); widened tells whether that happened.
WAVEFORMATEX CaptureDeviceFormat(const WAVEFORMATEX& capture, int recordChannel, bool& widened);

// The five buffer headers with their data blocks and, when codecs may be
// used, one conversion record per slot with its source and destination
// blocks. Addresses stay fixed while allocated (headers are lent to devices).
class AudioRing {
public:
    AudioRing() = default;
    ~AudioRing() { Free(); }
    AudioRing(const AudioRing&) = delete;
    AudioRing& operator=(const AudioRing&) = delete;

    // All or nothing: a failed allocation frees what was made and returns false.
    [[nodiscard]] bool Allocate(bool withConversion);
    void Free();
    bool IsAllocated() const { return data_[0] != nullptr; }
    bool HasConversion() const { return convBuffers_[0] != nullptr; }

    WAVEHDR& Header(int slot) { return headers_[slot]; }
    const WAVEHDR& Header(int slot) const { return headers_[slot]; }
    // Null without conversion records.
    ACMSTREAMHEADER* Conversion(int slot) { return HasConversion() ? &conversions_[slot] : nullptr; }

    // Makes a header ready to lend again: length, no flags, dwUser = its slot.
    void ResetHeader(int slot, uint32_t bufferBytes);

private:
    std::array<WAVEHDR, kRingSlots> headers_{};
    std::array<std::unique_ptr<uint8_t[]>, kRingSlots> data_;
    std::array<ACMSTREAMHEADER, kRingSlots> conversions_{};
    std::array<std::unique_ptr<uint8_t[]>, 2 * kRingSlots> convBuffers_;
};

// The slot a header belongs to (its dwUser), or -1 for a foreign header.
int RingSlotOf(const WAVEHDR& header);

// The next slot to take back in ring order after lastSlot (-1 = none yet):
// only when it is done and its successor is done too, so that one done
// buffer is always held back. -1 when nothing is ready.
int NextReadySlot(int lastSlot, const std::array<bool, kRingSlots>& done);

// After a reset every lent buffer is back: the slots holding recorded data,
// in ring order after lastSlot. Returns how many were put into slots.
int DrainOrder(int lastSlot, const std::array<uint32_t, kRingSlots>& bytesRecorded,
               std::array<int, kRingSlots>& slots);

// Counts data messages that took nothing back.
class StallWatch {
public:
    void Clear() { stalls_ = 0; }
    // True when this message makes the stall count reach the limit (once per
    // stall, so one restart is asked for, not one per further message).
    bool Note(bool advanced);
    int Count() const { return stalls_; }

private:
    int stalls_ = 0;
};

// Keeps the left or right channel of interleaved stereo PCM (8 or 16 bits)
// in place at the start of data; returns the bytes that remain.
uint32_t ExtractChannel(uint8_t* data, uint32_t bytes, int bitsPerSample, bool keepRight);

// Peak level of a PCM block: mono 0..127 (8 bits) or 0..128 (16 bits: the
// high byte); stereo left level * 256 + right level.
uint32_t PeakLevel(const uint8_t* data, uint32_t bytes, const WAVEFORMATEX& format);

// The louder channel of a peak value in percent of full scale (0..100).
int PeakPercent(uint32_t peak);
