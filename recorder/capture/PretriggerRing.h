// The sound heard while no segment is active, kept so that a segment can
// begin a few seconds before the sound that started it. Held as PCM in the
// capture format, whatever the file's format, so that it can be copied into
// any kind of file through the ordinary write path. A ring in memory: once
// full, each block replaces the oldest sound.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class PretriggerRing {
public:
    // Room for seconds x bytesPerSecond, rounded down to whole blocks (64-bit
    // product, bounded by kMaxBytes). False (and no store) when that is 0 or
    // the memory cannot be had.
    [[nodiscard]] bool Create(uint32_t seconds, uint32_t bytesPerSecond, uint32_t blockAlign);
    void Destroy();
    bool Exists() const { return capacity_ != 0; }

    // Keeps the newest sound; a block larger than the store keeps its end.
    void Add(const uint8_t* data, uint32_t bytes);
    // Bytes held (at most the capacity).
    uint32_t Bytes() const { return filled_; }
    uint32_t Capacity() const { return capacity_; }

    // Hands the held sound to sink in time order, oldest first, in pieces of
    // at most maxPiece bytes (whole blocks), then empties the store.
    void Drain(uint32_t maxPiece, const std::function<void(const uint8_t*, uint32_t)>& sink);

    // Bounds the memory a store may take (60 s at the highest byte rate).
    static constexpr uint64_t kMaxBytes = 60ull * 2250000ull;

private:
    void DrainRange(uint32_t from, uint32_t bytes, uint32_t maxPiece,
                    const std::function<void(const uint8_t*, uint32_t)>& sink);

    std::unique_ptr<uint8_t[]> buffer_;
    uint32_t capacity_ = 0;
    uint32_t blockAlign_ = 1;
    uint32_t next_ = 0;    // where the next byte goes
    uint32_t filled_ = 0;
};
