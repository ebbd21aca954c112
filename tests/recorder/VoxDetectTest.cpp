#include "recorder/capture/VoxDetect.h"

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr int kLoud = 80;
constexpr int kQuiet = 5;

VoxSettings Vox(int threshold = 50)
{
    VoxSettings s;
    s.threshold = threshold;
    s.hangSeconds = 1;
    return s;
}

// Feeds levels given as a pattern: 'L' loud, 'q' quiet. Returns the blocks
// (1-based) at which events happened, as text.
struct VoxRun {
    VoxCounters counters;
    std::string trace;  // one char per block: 'S' start, 'E' end, 'a' active, '.' idle
    VoxEvents all;

    void Feed(const VoxSettings& s, const std::string& pattern, int bps = 5)
    {
        for (char c : pattern) {
            VoxEvents e;
            const bool active = VoxDetect(s, counters, c == 'L' ? kLoud : kQuiet, bps, e);
            trace += e.started ? 'S' : e.ended ? 'E' : active ? 'a' : '.';
            all.started |= e.started;
            all.ended |= e.ended;
            all.discard |= e.discard;
            all.shortSegment |= e.shortSegment;
            all.stopThenPlay |= e.stopThenPlay;
            all.splitFile |= e.splitFile;
        }
    }
};

TEST(VoxDetect, SegmentEndsOnFifthQuietBlock)
{
    VoxRun run;
    run.Feed(Vox(), "qLqqqqqq");
    EXPECT_EQ(".SaaaaE.", run.trace);
    EXPECT_EQ(5, run.counters.activeBlocks);  // the hang blocks count too
}

TEST(VoxDetect, DisabledMakesEveryBlockLoud)
{
    VoxRun run;
    run.Feed(Vox(0), "qqqq");
    EXPECT_EQ("Saaa", run.trace);
}

TEST(VoxDetect, AttackFilterNeedsTheSoundToStayLoud)
{
    VoxSettings s = Vox();
    s.filter = true;
    s.filterTenths = 3;
    ASSERT_EQ(20, VoxBlocksPerSecond(s));
    VoxRun run;
    run.Feed(s, "LLLLLqLLLLLL", 20);  // five loud quarters are not enough; a quiet one resets
    EXPECT_EQ("...........S", run.trace);
}

TEST(VoxDetect, ShortSegmentIsMarkedForDiscard)
{
    VoxSettings s = Vox();
    s.discard = true;
    s.discardTenths = 30;  // 15 blocks at 5 per second
    ASSERT_EQ(5, VoxBlocksPerSecond(s));
    struct Case { int loud; bool isShort; } cases[] = {{10, true}, {11, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.loud);
        VoxRun run;
        run.Feed(s, std::string(c.loud, 'L') + "qqqqq");
        EXPECT_TRUE(run.all.ended);
        EXPECT_EQ(c.isShort, run.all.shortSegment);
        EXPECT_EQ(c.isShort, run.all.discard);
    }
}

TEST(VoxDetect, RecordModesAskForFollowUps)
{
    VoxSettings echo = Vox();
    echo.recordMode = 1;
    VoxRun played;
    played.Feed(echo, "Lqqqqq");
    EXPECT_TRUE(played.all.stopThenPlay);

    VoxSettings split = Vox();
    split.recordMode = 2;
    split.splitSeconds = 3;
    VoxRun run;
    run.Feed(split, "L" + std::string(14, 'q'));
    EXPECT_FALSE(run.all.splitFile);
    VoxEvents fifteenth;
    VoxDetect(split, run.counters, kQuiet, 5, fifteenth);
    EXPECT_TRUE(fifteenth.splitFile);
    VoxEvents after;
    VoxDetect(split, run.counters, kQuiet, 5, after);
    EXPECT_FALSE(after.splitFile);  // once only
}

TEST(VoxDetect, ActiveCountNeverWrapsToZeroOrBelow)
{
    VoxCounters c;
    c.hang = 5;
    c.activeBlocks = 2147483647;
    VoxEvents e;
    EXPECT_TRUE(VoxDetect(Vox(), c, kLoud, 5, e));
    EXPECT_GT(c.activeBlocks, 0);
}

TEST(VoxDetect, SubBlocksAreWholeFramesWithTheRestLast)
{
    uint32_t lengths[4];
    VoxSubBlocks(35280, 4, lengths);
    EXPECT_EQ(8820u, lengths[0]);
    EXPECT_EQ(8820u, lengths[3]);
    VoxSubBlocks(8888, 4, lengths);
    EXPECT_EQ(2220u, lengths[0]);
    EXPECT_EQ(8888u - 3 * 2220u, lengths[3]);
}

TEST(VoxDetect, ShortSegmentIsCutOnlyBackToItsOwnMark)
{
    SegmentCutFacts ok;
    ok.fileCanBeCut = ok.markFound = ok.segmentMarked = true;
    ok.markPosition = ok.segmentStart = 4000;
    EXPECT_TRUE(MayCutSegment(ok));

    struct Case { const char* name; SegmentCutFacts facts; } refused[] = {
        {"looping file", ok}, {"record-overwrite", ok}, {"file cannot be cut", ok},
        {"no mark found", ok}, {"someone else's mark", ok}, {"segment made no mark", ok},
    };
    refused[0].facts.fileLooping = true;
    refused[1].facts.overwriteMode = true;
    refused[2].facts.fileCanBeCut = false;
    refused[3].facts.markFound = false;
    refused[4].facts.markPosition = 1000;
    refused[5].facts.segmentMarked = false;
    for (const Case& c : refused) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(MayCutSegment(c.facts));
    }
}

}  // namespace
