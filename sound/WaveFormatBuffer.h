// A format record with room for the largest format the program keeps
// (kMaxFormatBytes, extra bytes included) plus headroom, whatever the codec
// manager reports as its largest size. Every copy into it is bounded by the
// bytes the source really holds and by kMaxFormatBytes, so a format read from
// a file or a setting can never run past the buffer.
#pragma once

#include "sound/AcmServices.h"

#include <cstddef>

class WaveFormatBuffer {
public:
    static constexpr size_t kCapacityBytes = kMaxFormatBytes + 40;

    WaveFormatBuffer();  // all zero: tag 0, no extra bytes
    explicit WaveFormatBuffer(const WAVEFORMATEX& format) : WaveFormatBuffer() { Assign(format); }

    // Copies 18 + cbSize bytes of a format record that lies in sourceBytes
    // bytes. A record of 16 bytes (no cbSize) is taken with no extra bytes;
    // cbSize is lowered to what fits in sourceBytes and in kMaxFormatBytes.
    // False, and the buffer unchanged, when sourceBytes is below 16.
    bool Assign(const void* source, size_t sourceBytes);
    // Copies a record whose extra bytes follow it in memory (cbSize trusted
    // up to kMaxFormatBytes).
    void Assign(const WAVEFORMATEX& format);

    WAVEFORMATEX* Get() { return reinterpret_cast<WAVEFORMATEX*>(bytes_); }
    const WAVEFORMATEX* Get() const { return reinterpret_cast<const WAVEFORMATEX*>(bytes_); }
    WAVEFORMATEX* operator->() { return Get(); }
    const WAVEFORMATEX* operator->() const { return Get(); }

    // 18 + cbSize: the bytes that make up the record.
    size_t Bytes() const;
    // The room a codec may fill (acmFormatSuggest, acmFormatEnum buffers).
    static constexpr DWORD RoomBytes() { return kMaxFormatBytes; }
    // Byte-for-byte equality of the two records, extra bytes included.
    bool SameAs(const WAVEFORMATEX& other) const;

private:
    alignas(WAVEFORMATEX) unsigned char bytes_[kCapacityBytes];
};
