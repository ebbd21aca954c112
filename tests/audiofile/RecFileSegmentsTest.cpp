// Segments, comments and positions of the recording layer.
#include <gtest/gtest.h>

#include "tests/audiofile/MemoryRecFile.h"

namespace {

constexpr uint32_t kRate = 44100;  // bytes per second of the test format

TEST(RecFileSegments, FirstClockTimedSegmentInAFileWithDataGetsAnUntimedStart) {
    MemoryRecFile file;
    file.SetLength(10 * kRate);
    file.AddTimeCode(44100, 1000);
    ASSERT_EQ(file.TimeCodeCount(), 2);
    EXPECT_EQ(file.GetTimeCodePos(0), 0u);
    EXPECT_EQ(file.GetTimeCodeAt(0), 0);
    EXPECT_EQ(file.GetTimeCodeAt(1), 1000);
    file.AddTimeCode(44100, 1000);
    EXPECT_EQ(file.TimeCodeCount(), 2) << "the same segment twice is kept once";
    EXPECT_TRUE(file.IsModified());
}

TEST(RecFileSegments, QueriesOutsideTheListAreSafe) {
    MemoryRecFile file;
    file.SetLength(10 * kRate);
    for (int index : {-1, 0, 1, 5}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(file.GetTimeCodePos(index), kNoPosition);
        EXPECT_EQ(file.GetTimeCodeAt(index), 0);
        EXPECT_EQ(file.SegmentLength(index), 0u);
    }
    EXPECT_EQ(file.FindTimeCode(100), -1);
    EXPECT_EQ(file.GetTimeCode(100), 0);
    file.AddTimeCode(2 * kRate, 500);  // (0,0) and (2 s, 500)
    for (int index : {2, 3, -2}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(file.GetTimeCodePos(index), kNoPosition);
        EXPECT_EQ(file.GetTimeCodeAt(index), 0);
    }
    EXPECT_EQ(file.SegmentLength(2), 0u) << "index equal to the count";
    file.DeleteTimeCode(2);
    file.DeleteTimeCode(-1);
    EXPECT_EQ(file.TimeCodeCount(), 2);
}

TEST(RecFileSegments, SegmentNavigation) {
    MemoryRecFile file;
    file.SetLength(10 * kRate);
    file.AddTimeCode(0, 100);
    file.AddTimeCode(4 * kRate, 200);
    struct Case { const char* what; uint32_t result, expected; };
    const Case cases[] = {
        {"next inside the last", file.NextSegmentPosition(6 * kRate), 10 * kRate},
        {"next inside the first", file.NextSegmentPosition(kRate), 4 * kRate},
        {"prev half a second in", file.PrevSegmentPosition(4 * kRate + kRate / 2), 0},
        {"prev two seconds in", file.PrevSegmentPosition(6 * kRate), 4 * kRate},
        {"length of the last", file.SegmentLength(1), 6 * kRate},
        {"find at a start", static_cast<uint32_t>(file.FindTimeCode(4 * kRate)), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.result, c.expected);
    }
    MemoryRecFile none;
    none.SetLength(5 * kRate);
    EXPECT_EQ(none.NextSegmentPosition(kRate), 5 * kRate) << "no segments";
    EXPECT_EQ(none.PrevSegmentPosition(kRate), 0u);
}

TEST(RecFileSegments, CleaningDropsEmptySegments) {
    MemoryRecFile file;
    file.SetLength(4 * kRate);
    file.AddTimeCode(0, 100);
    file.AddTimeCode(kRate, 200);
    file.AddTimeCode(kRate + 0, 300);  // replaces the one at 1 s
    file.AddTimeCode(4 * kRate, 400);  // at the very end: empty
    file.CleanTimeCodes();
    ASSERT_EQ(file.TimeCodeCount(), 2);
    EXPECT_EQ(file.GetTimeCodeAt(1), 300);
}

TEST(RecFilePositions, RelativePositionAndClockTimes) {
    MemoryRecFile file;
    file.SetLength(20 * kRate);
    ASSERT_TRUE(file.Position(5 * kRate));
    EXPECT_EQ(file.RelativePosition(-10), 0u);
    ASSERT_TRUE(file.Position(19 * kRate));
    EXPECT_EQ(file.RelativePosition(10), 20 * kRate);
    EXPECT_EQ(file.RelativePosition(-100000), 0u) << "seconds x rate beyond 32 bits";
    EXPECT_EQ(file.RelativePosition(100000), 20 * kRate);

    const int64_t year2100 = 4102444800LL;
    file.AddTimeCode(0, year2100);
    file.AddTimeCode(10 * kRate, year2100 + 3600);
    EXPECT_EQ(file.GetTimeCode(3 * kRate), year2100 + 3);
    EXPECT_EQ(file.GetTimeCode(12 * kRate), year2100 + 3602);
    ASSERT_TRUE(file.Position(13 * kRate));
    EXPECT_EQ(file.GetTimeCode(kNoPosition), year2100 + 3603) << "the current position";
    EXPECT_EQ(file.TimeCodeToPosition(year2100 + 3602), 12 * kRate);
    EXPECT_EQ(file.TimeCodeToPosition(year2100 + 1000), 10 * kRate - 1) << "gap: nearest edge";
    EXPECT_EQ(file.TimeCodeToPosition(year2100 - 50), 0u);
    EXPECT_EQ(file.TimeCodeToPosition(year2100 + 99999), 20 * kRate);
}

TEST(RecFilePositions, SecondsWithoutAUsableFormatAreZero) {
    MemoryRecFile noRate(nullptr, 0);
    noRate.SetLength(1000);
    EXPECT_EQ(noRate.GetSeconds(), 0u);
    MemoryRecFile noFormat;
    noFormat.SetLength(1000);
    noFormat.SetNoFormat();
    EXPECT_EQ(noFormat.GetSeconds(), 0u);
}

TEST(RecFileComments, AddingFindingAndEnding) {
    MemoryRecFile file;
    file.SetLength(100 * kRate);
    file.AddComment("later", 50, 0);
    file.AddComment("first", 10, 0);
    EXPECT_EQ(file.GetCommentEnd(0), 50u) << "runs up to the next comment";
    EXPECT_EQ(file.GetCommentEnd(1), 0u) << "the last stays open";
    file.AddComment("replaced", 10, 20);
    ASSERT_EQ(file.CommentCount(), 2);
    EXPECT_EQ(file.GetCommentText(0), "replaced");
    struct Case { uint32_t position; const char* text; };
    const Case cases[] = {{5, nullptr}, {10, "replaced"}, {25, nullptr}, {60, "later"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.position);
        const std::optional<std::string> found = file.FindComment(c.position);
        EXPECT_EQ(found.has_value(), c.text != nullptr);
        if (c.text) {
            EXPECT_EQ(*found, c.text);
        }
    }
    EXPECT_EQ(file.FindCommentByText("LATER"), 50u);
    EXPECT_EQ(file.FindCommentByText("nothing"), kNoPosition);
    EXPECT_EQ(file.NextComment(10), 50u);
    EXPECT_EQ(file.NextComment(50), kNoPosition);
    EXPECT_EQ(file.PrevComment(50), 10u);
    EXPECT_EQ(file.PrevComment(5), 0u);
    file.EndComment(70);
    EXPECT_EQ(file.GetCommentEnd(1), 70u);
}

TEST(RecFileComments, IndexQueriesAndDeletionOutsideTheList) {
    MemoryRecFile file;
    EXPECT_EQ(file.NextComment(5), 0u);
    EXPECT_EQ(file.PrevComment(5), 0u);
    file.AddComment("a", 1, 2);
    for (int index : {-1, 1, 7}) {
        SCOPED_TRACE(index);
        EXPECT_EQ(file.GetCommentStart(index), 0u);
        EXPECT_EQ(file.GetCommentEnd(index), 0u);
        EXPECT_EQ(file.GetCommentText(index), "");
        file.DeleteComment(index);
    }
    EXPECT_EQ(file.CommentCount(), 1);
    file.Update();
    file.DeleteComment(0);
    EXPECT_TRUE(file.IsModified()) << "a deletion must be saved";
    file.AddComment("b", 1, 5);
    file.DeleteCommentAt(3);
    EXPECT_EQ(file.CommentCount(), 0);
}

TEST(RecFileComments, ReadOnlyFilesTakeNoEdits) {
    MemoryRecFile file;
    file.SetLength(1000);
    file.SetReadOnly(true);
    file.AddComment("x", 10, 20);
    file.AddTimeCode(10, 5);
    EXPECT_EQ(file.CommentCount(), 0);
    EXPECT_EQ(file.TimeCodeCount(), 0);
    file.AddComment("forced", 10, 20, true);
    file.AddTimeCode(10, 5, true);
    EXPECT_EQ(file.CommentCount(), 1);
    file.DeleteComment(0);
    file.DeleteTimeCode(0);
    EXPECT_EQ(file.CommentCount(), 1);
    EXPECT_FALSE(file.IsModified());
}

}  // namespace
