#include "recorder/capture/VoxDetect.h"

#include <climits>

#include "core/AppState.h"

VoxSettings VoxSettings::From(const AppStateValues& state)
{
    VoxSettings s;
    s.threshold = state.VoxDisable ? 0 : state.SoundLevel;
    s.filter = state.VoxFilter;
    s.filterTenths = state.VoxFilterTimeTenths;
    s.discard = state.VoxDiscard;
    s.discardTenths = state.VoxDiscardTimeTenths;
    s.hangSeconds = state.TalkOff2;
    s.splitSeconds = state.TalkOff;
    s.recordMode = state.RecordMode;
    return s;
}

namespace {

bool IsShort(const VoxSettings& s, int activeBlocks, int blocksPerSecond)
{
    return s.discard && activeBlocks < s.discardTenths * blocksPerSecond / 10;
}

void QuietBlock(const VoxSettings& s, VoxCounters& c, bool active, int bps, VoxEvents& events)
{
    c.attack = 0;
    if (active)
        --c.hang;
    // Blocks after a short segment belong to it as far as keeping goes.
    if (s.discard && !active && static_cast<int64_t>(c.activeBlocks) * 10 <
                                    static_cast<int64_t>(s.discardTenths) * bps)
        events.discard = true;
    if (active && c.hang < 1) {
        events.ended = true;
        if (IsShort(s, c.activeBlocks, bps)) {
            events.discard = true;
            events.shortSegment = s.discardTenths != 0;
        }
        if (s.recordMode == 1)
            events.stopThenPlay = true;
    }
    if (c.countdown > 0) {
        --c.countdown;
        if (c.countdown < 1 && s.recordMode == 2)
            events.splitFile = true;
    }
}

}  // namespace

bool VoxDetect(const VoxSettings& s, VoxCounters& c, int levelPercent, int bps, VoxEvents& events)
{
    bool active = c.hang > 0;
    if (levelPercent < s.threshold) {
        QuietBlock(s, c, active, bps, events);
        active = active && c.hang >= 1;
    } else {
        if (!active) {
            ++c.attack;
            const bool attackDone = !s.filter || static_cast<int64_t>(s.filterTenths) * bps <=
                                                     static_cast<int64_t>(c.attack) * 10;
            if (attackDone) {
                active = true;
                events.started = true;
                c.activeBlocks = 0;
            }
        }
        if (active) {
            c.hang = bps * s.hangSeconds;
            c.countdown = s.splitSeconds * bps;
        }
    }
    // Saturates instead of wrapping: a count that went negative would make a
    // very long segment look short.
    if (active && c.activeBlocks < INT_MAX)
        ++c.activeBlocks;
    return active;
}

int VoxBlocksPerSecond(const VoxSettings& s)
{
    const bool fineFilter = s.filter && s.filterTenths < 21;
    const bool fineDiscard = s.discard && s.discardTenths < 21;
    return fineFilter || fineDiscard ? 20 : 5;
}

void VoxSubBlocks(uint32_t bytes, uint32_t blockAlign, uint32_t lengths[4])
{
    uint32_t quarter = bytes / 4;
    if (blockAlign != 0)
        quarter -= quarter % blockAlign;
    lengths[0] = lengths[1] = lengths[2] = quarter;
    lengths[3] = bytes - 3 * quarter;
}

bool MayCutSegment(const SegmentCutFacts& f)
{
    if (f.fileLooping || f.overwriteMode || !f.fileCanBeCut)
        return false;
    return f.markFound && f.segmentMarked && f.markPosition == f.segmentStart;
}
