// Bounded format records.
#include "sound/WaveFormatBuffer.h"

#include <algorithm>
#include <cstring>

namespace {
// WAVEFORMAT/PCMWAVEFORMAT records in files end before cbSize.
constexpr size_t kRecordWithoutExtraSize = 16;
constexpr size_t kMaxExtraBytes = kMaxFormatBytes - kWaveFormatBaseBytes;
}  // namespace

WaveFormatBuffer::WaveFormatBuffer() { std::memset(bytes_, 0, sizeof bytes_); }

bool WaveFormatBuffer::Assign(const void* source, size_t sourceBytes) {
    if (!source || sourceBytes < kRecordWithoutExtraSize) return false;
    if (source == bytes_) {  // copying onto itself: only the bounds apply
        Get()->cbSize = WORD(Bytes() - kWaveFormatBaseBytes);
        return true;
    }
    std::memset(bytes_, 0, sizeof bytes_);
    if (sourceBytes < kWaveFormatBaseBytes) {
        std::memcpy(bytes_, source, kRecordWithoutExtraSize);
        Get()->cbSize = 0;
        return true;
    }
    WORD extra = 0;
    std::memcpy(&extra, static_cast<const unsigned char*>(source) + kRecordWithoutExtraSize, sizeof extra);
    const size_t available = std::min(sourceBytes, size_t(kMaxFormatBytes)) - kWaveFormatBaseBytes;
    const size_t kept = std::min(size_t(extra), available);
    std::memcpy(bytes_, source, kWaveFormatBaseBytes + kept);
    Get()->cbSize = WORD(kept);
    return true;
}

void WaveFormatBuffer::Assign(const WAVEFORMATEX& format) {
    const size_t extra = std::min(size_t(format.cbSize), kMaxExtraBytes);
    Assign(&format, kWaveFormatBaseBytes + extra);
}

size_t WaveFormatBuffer::Bytes() const {
    return kWaveFormatBaseBytes + std::min(size_t(Get()->cbSize), kMaxExtraBytes);
}

bool WaveFormatBuffer::SameAs(const WAVEFORMATEX& other) const {
    const size_t otherBytes = kWaveFormatBaseBytes + std::min(size_t(other.cbSize), kMaxExtraBytes);
    return otherBytes == Bytes() && std::memcmp(bytes_, &other, otherBytes) == 0;
}
