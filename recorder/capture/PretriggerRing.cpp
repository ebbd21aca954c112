#include "recorder/capture/PretriggerRing.h"

#include <algorithm>
#include <cstring>
#include <new>

bool PretriggerRing::Create(uint32_t seconds, uint32_t bytesPerSecond, uint32_t blockAlign)
{
    Destroy();
    blockAlign_ = blockAlign ? blockAlign : 1;
    uint64_t bytes = std::min<uint64_t>(uint64_t{seconds} * bytesPerSecond, kMaxBytes);
    bytes -= bytes % blockAlign_;
    if (bytes == 0)
        return false;
    buffer_.reset(new (std::nothrow) uint8_t[bytes]);
    if (!buffer_)
        return false;
    capacity_ = static_cast<uint32_t>(bytes);
    return true;
}

void PretriggerRing::Destroy()
{
    buffer_.reset();
    capacity_ = next_ = filled_ = 0;
}

void PretriggerRing::Add(const uint8_t* data, uint32_t bytes)
{
    if (!Exists())
        return;
    if (bytes > capacity_) {
        data += bytes - capacity_;
        bytes = capacity_;
    }
    const uint32_t first = std::min(bytes, capacity_ - next_);
    std::memcpy(buffer_.get() + next_, data, first);
    std::memcpy(buffer_.get(), data + first, bytes - first);
    next_ = (next_ + bytes) % capacity_;
    filled_ = std::min(capacity_, filled_ + bytes);
}

void PretriggerRing::Drain(uint32_t maxPiece,
                            const std::function<void(const uint8_t*, uint32_t)>& sink)
{
    maxPiece -= maxPiece % blockAlign_;
    if (Exists() && maxPiece > 0) {
        // When full, the oldest sound lies from the write position on.
        const uint32_t oldest = filled_ == capacity_ ? next_ : 0;
        const uint32_t olderPart = filled_ == capacity_ ? capacity_ - next_ : 0;
        DrainRange(oldest, olderPart, maxPiece, sink);
        DrainRange(0, filled_ - olderPart, maxPiece, sink);
    }
    next_ = filled_ = 0;
}

void PretriggerRing::DrainRange(uint32_t from, uint32_t bytes, uint32_t maxPiece,
                                 const std::function<void(const uint8_t*, uint32_t)>& sink)
{
    while (bytes > 0) {
        const uint32_t piece = std::min(bytes, maxPiece);
        sink(buffer_.get() + from, piece);
        from += piece;
        bytes -= piece;
    }
}
