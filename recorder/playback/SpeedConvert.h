// Playing at another speed without changing the pitch: whole waves of a
// block are cut out (faster) or played twice (slower), always cut at the
// start of an upward zero crossing so the joins do not click.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

// How the samples of a PCM block lie: bytes per frame (all channels) and
// per sample. 24- and 32-bit PCM step by their own sample size.
struct SampleLayout {
    uint32_t frameBytes = 1;
    uint32_t sampleBytes = 1;
    static SampleLayout Of(const WAVEFORMATEX& format);
};

// The distance in bytes from `from` to the first frame whose left (or only)
// sample starts an upward crossing; 0 when none lies before `end`.
// 8 bits (unsigned): a byte of at least 127 after one below 130. Wider
// samples: a high byte of 0 or more (signed) after one below 1.
uint32_t FindZeroCrossing(const uint8_t* from, const uint8_t* end, const SampleLayout& layout);

// The output limit of a converted block, inside its 450000-byte buffer.
constexpr uint32_t kSpeedOutputLimit = 449800;

// The bytes taken in and given out by the blocks of one play converted so
// far. A block cuts or repeats whole groups of an eighth of it, so alone it
// can only come near the rate (1.6 for 1.5); counted on over the blocks, the
// next one makes up for the last and the play keeps the rate.
struct SpeedBalance {
    uint64_t in = 0;
    uint64_t out = 0;
};

// Converts the block of `length` bytes in `data` for the speed `rate`
// (0.2 .. 2.0) in place; `work` (at least `length` bytes) holds the copy of
// the input. Returns the bytes now in data (at most outputLimit). With a
// balance the ratio counts the earlier blocks too, and this block is added.
uint32_t SpeedConvert(uint8_t* data, uint32_t length, uint8_t* work, const SampleLayout& layout,
                      float rate, uint32_t outputLimit = kSpeedOutputLimit, SpeedBalance* balance = nullptr);
