// What the Timer page's rows read and the order its columns sort in.
#include "prefs/timer/TimerRows.h"

#include <gtest/gtest.h>

#include "prefs/timer/TEventDialog.h"
#include "tests/prefs/EventBuilder.h"

namespace {

TEST(TimerRowsTest, TimeAndDayTexts) {
    struct Case {
        TimerEvent event;
        const char* text;
    };
    const Case cases[] = {
        {Event(127, 16, 0, 20, 0), "16:00-20:00 daily"},
        {Event(34, 9, 5, 10, 0), "09:05-10:00 MF"},
        {Event(0, 21, 30, 23, 0), "21:30-23:00 noDays"},
        {Event(65, 7, 0, -1, 0), "starts 07:00 weekend"},
        {Event(62, -1, 0, 8, 15), "ends 08:15 weekday"},
        {Event(127 & ~kDaySunday, -1, 0, -1, 0), "no time MTuWThFSa"},
        {Event(1 | 64, 1, 2, 3, 4), "01:02-03:04 weekend"},
        {Event(1 | 8, 1, 2, 3, 4), "01:02-03:04 SuW"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.text, EventTimeText(c.event) + EventDaysText(c.event.days));
    }
}

TEST(TimerRowsTest, NumbersReadBackFromColumnZero) {
    EXPECT_EQ("1    ", EventNumberText(0));
    EXPECT_EQ(12, EventNumberOf(EventNumberText(11)));
    EXPECT_EQ(0, EventNumberOf(""));
    EXPECT_EQ(0, EventNumberOf("-3"));
    EXPECT_EQ(0, EventNumberOf("x"));
}

class ComparatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        const TimerEvent events[] = {Event(127, 10, 0, 11, 0, true, "beta"),
                                     Event(127, -1, 0, 9, 0, false, "Alpha"),
                                     Event(127, 8, 30, 9, 0, false, "gamma")};
        PageEvents.Clear();
        for (const TimerEvent& e : events) PageEvents.Add(&e);
    }
    void TearDown() override { PageEvents.Clear(); }
    static int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }
};

TEST_F(ComparatorTest, EachColumnBothDirections) {
    struct Case {
        LPARAM column, first, second;
        int ascending;  // sign of the ascending result
    };
    const Case cases[] = {
        {kColumnNumber, 0, 2, -1},
        {kColumnTime, 1, 2, -1},  // no start sorts before any start
        {kColumnTime, 2, 0, -1},
        {kColumnNewFile, 0, 1, 1},
        {kColumnName, 1, 0, -1},  // without regard to case
        {kColumnName, 2, 2, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "column " << c.column << ": " << c.first << " vs " << c.second);
        EXPECT_EQ(c.ascending, Sign(ListComparator::Compare(c.first, c.second, c.column | kSortAscending)));
        EXPECT_EQ(-c.ascending, Sign(ListComparator::Compare(c.first, c.second, c.column)));
    }
}

TEST_F(ComparatorTest, MissingEventsCompareEqual) {
    EXPECT_EQ(0, ListComparator::Compare(0, 7, kColumnNumber | kSortAscending));
    EXPECT_EQ(0, ListComparator::Compare(-1, 1, kColumnName));
}

TEST(EventDialogParseTest, KeepsTheHourAsRead) {
    struct Case {
        const char* text;
        bool result;
        int hour, minute;
    };
    const Case cases[] = {
        {"9:30pm", true, 21, 30}, {"2300", true, 23, 0}, {"8:30AM", true, 8, 30},
        {"12:15am", true, 0, 15}, {"25:00", true, 25, 0}, {"", false, -1, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        int hour = 0, minute = 7;
        EXPECT_EQ(c.result, TEventDialog::ParseTime(c.text, hour, minute));
        EXPECT_EQ(c.hour, hour);
        EXPECT_EQ(c.minute, minute);
    }
}

}  // namespace
