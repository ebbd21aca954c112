#include "recorder/playback/SpeedConvert.h"

#include <algorithm>
#include <cstring>

SampleLayout SampleLayout::Of(const WAVEFORMATEX& format)
{
    SampleLayout layout;
    layout.sampleBytes = std::max<uint32_t>(1, (format.wBitsPerSample + 7) / 8);
    layout.frameBytes = std::max<uint32_t>(layout.sampleBytes * std::max<WORD>(format.nChannels, 1),
                                           format.nBlockAlign);
    return layout;
}

namespace {

constexpr float kSlowThreshold = 0.95f;
constexpr float kFastThreshold = 1.05f;

// The high (sign-carrying) byte of the left sample of the frame at p.
int HighByte(const uint8_t* p, const SampleLayout& layout)
{
    return static_cast<int8_t>(p[layout.sampleBytes - 1]);
}

}  // namespace

uint32_t FindZeroCrossing(const uint8_t* from, const uint8_t* end, const SampleLayout& layout)
{
    const uint32_t step = layout.frameBytes;
    if (!from || end <= from || step == 0)
        return 0;
    const uint32_t span = static_cast<uint32_t>(end - from);
    for (uint32_t at = step; at + layout.sampleBytes <= span; at += step) {
        const uint8_t* now = from + at;
        const uint8_t* before = now - step;
        if (layout.sampleBytes == 1) {
            if (*now >= 127 && *before < 130)
                return at;
        } else if (HighByte(now, layout) >= 0 && HighByte(before, layout) < 1) {
            return at;
        }
    }
    return 0;
}

namespace {

// Walks the input copy in wave groups: a piece of whole frames, then on up
// to the next zero crossing.
class WaveGroups {
public:
    WaveGroups(const uint8_t* input, uint32_t length, const SampleLayout& layout)
        : input_(input), length_(length), layout_(layout)
    {
        // A piece is at least one frame, so every group moves forward.
        piece_ = length / 8;
        piece_ -= piece_ % layout.frameBytes;
        piece_ = std::max(piece_, layout.frameBytes);
    }
    // The length of the group starting at `at` (0 only at the end).
    uint32_t GroupAt(uint32_t at) const
    {
        if (at >= length_)
            return 0;
        const uint32_t n = std::min(length_ - at, piece_);
        return n + FindZeroCrossing(input_ + at + n, input_ + length_, layout_);
    }

private:
    const uint8_t* input_;
    uint32_t length_;
    const SampleLayout& layout_;
    uint32_t piece_ = 1;
};

}  // namespace

uint32_t SpeedConvert(uint8_t* data, uint32_t length, uint8_t* work, const SampleLayout& layout,
                      float rate, uint32_t outputLimit, SpeedBalance* balance)
{
    if (!data || !work || length == 0 || layout.frameBytes == 0)
        return 0;
    std::memcpy(work, data, length);
    const WaveGroups groups(work, length, layout);
    uint32_t in = 0, out = 0;
    // Copies a group of the input to the output; false when it does not fit.
    const auto emit = [&](uint32_t from, uint32_t bytes) {
        if (bytes == 0 || out + bytes > outputLimit)
            return false;
        std::memmove(data + out, work + from, bytes);
        out += bytes;
        return true;
    };
    const uint32_t first = groups.GroupAt(0);
    if (!emit(0, std::min(first, outputLimit)))
        return 0;
    in = std::min(first, outputLimit);
    const uint64_t earlierIn = balance ? balance->in : 0;
    const uint64_t earlierOut = balance ? balance->out : 0;
    const auto ratioNow = [&] { return float(double(earlierIn + in) / double(earlierOut + out)); };
    while (in < length && out < outputLimit) {
        const uint32_t start = in;
        const uint32_t group = groups.GroupAt(start);
        if (group == 0 || !emit(start, group))
            break;
        in += group;
        float ratio = ratioNow();
        if (rate < kSlowThreshold) {
            while (ratio > rate && emit(start, group))
                ratio = ratioNow();
        } else if (rate > kFastThreshold && ratio < rate && in < length) {
            in += groups.GroupAt(in);  // cut one group out
        }
    }
    if (balance) {
        balance->in += in;
        balance->out += out;
    }
    return out;
}
