#include "recorder/playback/PlayTally.h"

#include <algorithm>
#include <cstdio>

void PlayBufferTally::Begin()
{
    *this = PlayBufferTally{};
}

void PlayBufferTally::Handed(int slot, bool accepted)
{
    if (slot < 0 || slot >= kRingSlots)
        return;
    // A buffer is lent again only once the device has given it back.
    Returned(slot);
    ++tally_.handed;
    if (accepted)
        handedAs_[slot] = ++handOrder_;
    else
        ++tally_.lost;
}

void PlayBufferTally::Returned(int slot)
{
    if (slot < 0 || slot >= kRingSlots || handedAs_[slot] == 0)
        return;
    ++tally_.played;
    newestReturned_ = std::max(newestReturned_, handedAs_[slot]);
    handedAs_[slot] = 0;
}

void PlayBufferTally::End(const std::array<bool, kRingSlots>& done)
{
    for (int slot = 0; slot < kRingSlots; ++slot)
        if (done[slot])
            Returned(slot);
    for (uint32_t& order : handedAs_) {
        if (order == 0)
            continue;
        if (order < newestReturned_)
            ++tally_.lost;
        else
            ++tally_.stopped;
        order = 0;
    }
}

std::string PlayTallyText(const PlayTally& tally)
{
    char line[120];
    std::snprintf(line, sizeof line, "Play buffers: %u handed, %u played, %u cut by the stop, %u lost",
                  tally.handed, tally.played, tally.stopped, tally.lost);
    return line;
}
