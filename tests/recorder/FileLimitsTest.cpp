#include "recorder/capture/FileLimits.h"

#include <gtest/gtest.h>

#include "audiofile/MediaFile.h"

namespace {

FileLimitSettings Limits(int action, int sel, int mb, int minutes)
{
    FileLimitSettings s;
    s.action = action;
    s.sizeSel = sel;
    s.sizeMb = mb;
    s.durationMinutes = minutes;
    return s;
}

TEST(FileLimits, LimitsAreComputedIn64Bits)
{
    const uint64_t noCeiling = ~0ull;
    struct Case { const char* name; FileLimitSettings limits; FileProgress progress; LimitHit hit; } cases[] = {
        {"size reached", Limits(3, 0, 20, 0), {20ull << 20, 0}, LimitHit::UserLimit},
        {"size not reached", Limits(3, 0, 20, 0), {(20ull << 20) - 1, 0}, LimitHit::None},
        // 9999 MB overflowed 32 bits and read as 4095 MB before.
        {"9999 MB not reached at 5 GB", Limits(3, 0, 9999, 0), {5000ull << 20, 0}, LimitHit::None},
        {"duration reached", Limits(2, 1, 0, 60), {0, 3600}, LimitHit::UserLimit},
        {"size 0 is no limit", Limits(3, 0, 0, 60), {1ull << 40, 99999}, LimitHit::None},
        {"no action, no limit", Limits(0, 0, 1, 0), {1ull << 30, 0}, LimitHit::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.hit, CheckFileLimit(c.limits, c.progress, noCeiling));
    }
}

TEST(FileLimits, CeilingStartsANewFileWhateverTheLimit)
{
    const uint64_t wav = FileCeilingUnits(ftWav);
    EXPECT_LT(wav, 0x7FFFFFFFull);
    EXPECT_GT(wav, 0x70000000ull);
    EXPECT_LT(FileCeilingUnits(ftMp3), 0xFFFFFFFFull);
    EXPECT_GT(FileCeilingUnits(ftMp3), wav);
    EXPECT_EQ(LimitHit::Ceiling, CheckFileLimit(Limits(0, 0, 0, 0), {wav, 0}, wav));
    EXPECT_EQ(LimitHit::Ceiling, CheckFileLimit(Limits(3, 0, 9999, 0), {wav, 0}, wav));
    EXPECT_EQ(LimitHit::UserLimit, CheckFileLimit(Limits(1, 0, 100, 0), {wav, 0}, wav));
}

TEST(FileLimits, MegabytesToTheLimit)
{
    double rest = -1;
    ASSERT_TRUE(MegabytesToLimit(Limits(3, 0, 20, 0), 19.5, 0, rest));
    EXPECT_DOUBLE_EQ(0.5, rest);
    ASSERT_TRUE(MegabytesToLimit(Limits(3, 1, 0, 60), 0, 16000, rest));
    EXPECT_NEAR(54.93, rest, 0.01);
    ASSERT_TRUE(MegabytesToLimit(Limits(3, 1, 0, 9999), 0, 2250000, rest));  // past 2^32 bytes
    EXPECT_NEAR(9999.0 * 60 * 2250000 / 1048576, rest, 1);
    ASSERT_TRUE(MegabytesToLimit(Limits(3, 1, 0, 1), 100, 16000, rest));
    EXPECT_EQ(0, rest);
    EXPECT_FALSE(MegabytesToLimit(Limits(0, 0, 20, 0), 1, 0, rest));
    EXPECT_FALSE(MegabytesToLimit(Limits(3, 1, 0, 60), 1, 0, rest));
}

}  // namespace
