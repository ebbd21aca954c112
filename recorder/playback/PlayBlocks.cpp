#include "recorder/playback/PlayBlocks.h"

#include <algorithm>

uint32_t PlayBlockBytes(const WAVEFORMATEX& format, bool atSpeed, float rate, uint32_t position,
                        uint32_t length)
{
    uint64_t n = format.nAvgBytesPerSec / 5;
    if (atSpeed) {
        n = static_cast<uint64_t>(double(n) * double(rate));
        if (n > kRingBlockBytes)
            n = kLargestPlayBlock;
    }
    if (format.nBlockAlign != 0) {
        n -= n % format.nBlockAlign;
        // A codec block longer than a fifth of a second is still read whole,
        // or nothing would ever be read.
        n = std::max<uint64_t>(n, format.nBlockAlign);
    }
    const uint32_t left = position < length ? length - position : 0;
    return static_cast<uint32_t>(std::min<uint64_t>(n, left));
}

uint32_t DecodedPlayBlockBytes(const WAVEFORMATEX& format)
{
    const uint64_t bytes = uint64_t{format.nSamplesPerSec} * 2 * format.nChannels / 5;
    return static_cast<uint32_t>(std::min<uint64_t>(bytes - bytes % 2, kRingBlockBytes));
}

float SpeedStepUp(float rate)
{
    return std::min(rate + 0.1f, kFastestRate);
}

float SpeedStepDown(float rate)
{
    return std::max(rate - 0.1f, kSlowestRate);
}

int QueueOrder(int queued, int decoded, const std::array<bool, kRingSlots>& converted,
               const std::array<bool, kRingSlots>& headerFree, std::array<int, kRingSlots>& slots)
{
    int count = 0;
    int slot = (queued + 1 + kRingSlots) % kRingSlots;
    for (int step = 0; step < kRingSlots; ++step) {
        if (!converted[slot] || !headerFree[slot])
            break;
        slots[count++] = slot;
        if (slot == decoded)
            break;
        slot = (slot + 1) % kRingSlots;
    }
    return count;
}

int RefillOrder(int decoded, int done, std::array<int, kRingSlots>& slots)
{
    int count = 0;
    for (int slot = (decoded + 1 + kRingSlots) % kRingSlots; slot != done && count < kRingSlots;
         slot = (slot + 1) % kRingSlots)
        slots[count++] = slot;
    return count;
}
