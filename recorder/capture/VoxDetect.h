// Voice activation: block by block, whether the captured sound belongs to a
// segment. A plain decision over plain state: the caller measures the level,
// feeds it here, and carries out what the returned events ask for (marks,
// the user command, the pre-trigger copy, cutting a short segment, posting
// the follow-up messages).
#pragma once

#include <cstdint>

struct AppStateValues;

struct VoxSettings {
    int threshold = 0;      // percent 0..100; 0 makes every block loud
    bool filter = false;    // attack filter: the sound must stay loud for filterTenths
    int filterTenths = 0;
    bool discard = false;   // segments shorter than discardTenths are not kept
    int discardTenths = 0;
    int hangSeconds = 1;    // quiet time that ends a segment
    int splitSeconds = 0;   // quiet time before a new file (record mode 2)
    int recordMode = 0;     // 1 play back after each segment, 2 new file after quiet

    // The settings of the record and voice-activation pages; the threshold is
    // the sound level, or 0 when voice activation is switched off.
    static VoxSettings From(const AppStateValues& state);
};

struct VoxCounters {
    int hang = 0;          // blocks of quiet left in the segment; active while > 0
    int countdown = 0;     // blocks of quiet left before a new file is due
    int activeBlocks = 0;  // blocks since the segment started; never 0 once counting
    int attack = 0;        // loud blocks in a row while no segment is active

    // A new recording run keeps activeBlocks (the length of the last segment).
    void ClearForStart() { hang = countdown = attack = 0; }
};

// What happened during one or more blocks; flags are only ever set.
struct VoxEvents {
    bool started = false;       // a segment started: mark it, run the command, copy the pre-trigger
    bool ended = false;         // a segment ended
    bool discard = false;       // the segment being judged is too short to keep
    bool shortSegment = false;  // the ended segment is shorter than the discard time
    bool stopThenPlay = false;  // record mode 1: play the segment back
    bool splitFile = false;     // record mode 2: the quiet lasted long enough for a new file
};

// Judges one block of the given level (percent 0..100) at blocksPerSecond
// (5 for whole 200 ms buffers, 20 for quarters). Returns whether a segment
// is active after the block.
bool VoxDetect(const VoxSettings& settings, VoxCounters& counters, int levelPercent,
               int blocksPerSecond, VoxEvents& events);

// 20 when a filter or discard time of 2.0 s or less needs a finer clock, else 5.
int VoxBlocksPerSecond(const VoxSettings& settings);

// The lengths of the four sub-blocks of a block judged at 20 blocks per
// second: three of a quarter rounded down to whole sample blocks, the last
// taking the rest.
void VoxSubBlocks(uint32_t bytes, uint32_t blockAlign, uint32_t lengths[4]);

// Whether an ended short segment may be cut from the file: never while the
// file loops or a record-overwrite runs, never for a file that cannot be cut,
// and only back to the mark the segment itself made.
struct SegmentCutFacts {
    bool fileLooping = false;      // loop action and the file already wrapped
    bool overwriteMode = false;    // a record-overwrite is running
    bool fileCanBeCut = false;     // the file supports cutting its data
    bool markFound = false;        // a segment mark lies at or before the position
    uint32_t markPosition = 0;
    uint32_t segmentStart = 0;     // where this segment's mark was made
    bool segmentMarked = false;    // this segment made a mark
};
bool MayCutSegment(const SegmentCutFacts& facts);
