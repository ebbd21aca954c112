#include "schedule/TimerEventText.h"

#include <gtest/gtest.h>

namespace {

TEST(TimerEventTextTest, ParseClockTimeReadsWhatUsersType) {
    struct Case {
        const char* text;
        bool result;
        int hour, minute;  // minute starts at 42 to show when it is left alone
    };
    const Case cases[] = {
        {"9:30pm", true, 21, 30},  {"12:15am", true, 0, 15},  {"2130", true, 21, 30},
        {"12pm", true, 12, 0},     {"25:70", true, 1, 10},    {"8:30AM", true, 8, 30},
        {"7:05", true, 7, 5},      {"0:00", true, 0, 0},      {"  6 : 45 ", true, 6, 45},
        {"pm", true, -1, 0},       {"", false, -1, 42},       {nullptr, false, -1, 42},
        {"1:99999999999999999999999", true, 1, 39},  // long runs must not overflow
        {"1ppppppppppppppppppppppppppppppppppppppppppppppppppppppppppp", true, 13, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text ? c.text : "(null)");
        int hour = 99, minute = 42;
        EXPECT_EQ(c.result, ParseClockTime(c.text, hour, minute));
        EXPECT_EQ(c.hour, hour);
        EXPECT_EQ(c.minute, minute);
    }
    int hour = 0, minute = 0;
    EXPECT_TRUE(ParseClockTimeKeepHour("25:00", hour, minute));
    EXPECT_EQ(25, hour);
}

TEST(TimerEventTextTest, ClockTimeTextRoundTrips) {
    EXPECT_EQ("7:00", FormatClockTime(7, 0));
    EXPECT_EQ("", FormatClockTime(-1, 30));
    for (int hour = 0; hour < 24; ++hour) {
        for (int minute = 0; minute < 60; minute += 7) {
            int h = -5, m = -5;
            ASSERT_TRUE(ParseClockTime(FormatClockTime(hour, minute).c_str(), h, m));
            ASSERT_EQ(hour, h);
            ASSERT_EQ(minute, m);
        }
    }
}

TEST(TimerEventTextTest, EventTextParsesUpToTheFirstBadNumber) {
    struct Case {
        const char* text;
        int read;
        int days, startHour, startMinute, stopHour, stopMinute;
        bool newFile;
    };
    // The event starts as 1 2 3 4 5 with newFile set, to show what is left alone.
    const Case cases[] = {
        {"62 8 0 17 30 1", 6, 62, 8, 0, 17, 30, true},
        {"  65 -1 0 18 5 0 junk", 6, 65, -1, 0, 18, 5, false},
        {"127 9", 2, 127, 9, 3, 4, 5, true},
        {"", 0, 1, 2, 3, 4, 5, true},
        {"x 1 2", 0, 1, 2, 3, 4, 5, true},
        {"62 99999999999 0 17 30 1", 1, 62, 2, 3, 4, 5, true},
        {"62 8 0 17 30 7", 6, 62, 8, 0, 17, 30, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TimerEvent e;
        e.days = 1, e.startHour = 2, e.startMinute = 3, e.stopHour = 4, e.stopMinute = 5;
        e.newFile = true;
        EXPECT_EQ(c.read, ParseEventText(c.text, e));
        EXPECT_EQ(c.days, e.days);
        EXPECT_EQ(c.startHour, e.startHour);
        EXPECT_EQ(c.startMinute, e.startMinute);
        EXPECT_EQ(c.stopHour, e.stopHour);
        EXPECT_EQ(c.stopMinute, e.stopMinute);
        EXPECT_EQ(c.newFile, e.newFile);
    }
}

}  // namespace
