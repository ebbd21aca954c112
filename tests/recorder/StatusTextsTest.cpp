#include "recorder/capture/StatusTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(StatusTexts, SizeAndLength)
{
    struct Case { uint64_t bytes; bool withLength; uint64_t seconds; const char* text; } cases[] = {
        {524288, false, 0, "0.500MB"},
        {10ull << 20, false, 0, "10.00MB"},
        {150ull << 20, false, 0, "150MB"},
        {720000, true, 90, "0.687MB  1:30"},
        {5ull << 30, true, 3725, "5120MB  1:02:05"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.text, SizeText(c.bytes, c.withLength, c.seconds));
    }
}

TEST(StatusTexts, SegmentsAndDiskSpace)
{
    EXPECT_EQ("2 of 3", SegmentText(1, 3));
    EXPECT_EQ("0 of 3", SegmentText(-1, 3));
    EXPECT_EQ("500MB free on d:", DiskSpaceText(500.4, "d:", false, 0));
    EXPECT_EQ(">1GB free on d:", DiskSpaceText(2048, "d:", false, 0));
    EXPECT_EQ("500MB free on d:  0.5MB to file limit", DiskSpaceText(500.4, "d:", true, 0.5));
    EXPECT_EQ("500MB free on d:  200MB to file limit", DiskSpaceText(500.4, "d:", true, 200));
}

TEST(StatusTexts, ClockTimeFallsBackToElapsedTime)
{
    const std::string clock = ClockTimeText(86400 * 365, 0, 5);
    EXPECT_NE(std::string::npos, clock.find("1971"));
    EXPECT_EQ('\n', clock.back());
    // Out of the calendar's range: no crash, the elapsed time instead.
    EXPECT_EQ("  1:05", ClockTimeText(int64_t{1} << 60, 0, 65));
    EXPECT_EQ("  0:05", ClockTimeText(-7200, 1, 5));
    const std::string earlier = ClockTimeText(86400 * 365 + 7200, -1, 0);
    const std::string later = ClockTimeText(86400 * 365 + 3600, 0, 0);
    EXPECT_EQ(later, earlier);  // the offset moves the clock time by whole hours
}

TEST(StatusTexts, FreeSpaceIsAskedOfTheFilesOwnFolder)
{
    EXPECT_EQ("d:\\rec\\", DirectoryOf("d:\\rec\\talk.wav"));
    EXPECT_EQ("\\\\srv\\share\\x\\", DirectoryOf("\\\\srv\\share\\x\\talk.wav"));
    EXPECT_EQ("", DirectoryOf("talk.wav"));
    EXPECT_EQ("d:", VolumeLabel("d:\\rec\\talk.wav"));
    EXPECT_EQ("\\\\srv\\share", VolumeLabel("\\\\srv\\share\\x\\talk.wav"));
    EXPECT_EQ("", VolumeLabel("talk.wav"));
}

}  // namespace
