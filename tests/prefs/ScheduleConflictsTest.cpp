#include "schedule/ScheduleConflicts.h"

#include <gtest/gtest.h>

#include "tests/fakes/FakeUserInteraction.h"
#include "tests/prefs/EventBuilder.h"

namespace {

TEST(ScheduleConflictsTest, PairsAreReportedLaterEventFirst) {
    struct Case {
        const char* what;
        TimerEvent first, second;
        bool conflict;
    };
    const Case cases[] = {
        {"daily and weekdays overlap", Event(127, 10, 0, 12, 0), Event(62, 11, 0, 13, 0), true},
        {"back to back", Event(127, 10, 0, 11, 0), Event(127, 11, 0, 12, 0), false},
        {"no common day", Event(62, 10, 0, 12, 0), Event(65, 10, 0, 12, 0), false},
        {"start without stop", Event(127, 11, 0, -1, 0), Event(127, 10, 0, 12, 0), false},
        {"overnight into a late event", Event(127, 22, 0, 2, 0), Event(127, 23, 0, 23, 30), true},
        {"overnight into a morning event", Event(127, 22, 0, 2, 0), Event(127, 1, 0, 3, 0), true},
        {"Friday night into Saturday morning", Event(32, 23, 0, 1, 0), Event(64, 0, 30, 2, 0), true},
        {"Saturday night into Sunday morning", Event(64, 23, 0, 1, 0), Event(1, 0, 30, 2, 0), true},
        {"Friday night against Friday morning", Event(32, 23, 0, 1, 0), Event(32, 0, 30, 2, 0),
         false},
        {"two overnight events", Event(127, 22, 0, 2, 0), Event(127, 23, 0, 1, 0), true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EventList list;
        list.Add(&c.first);
        list.Add(&c.second);
        EXPECT_EQ(c.conflict ? "\nSchedule conflict between events 2 and 1" : "",
                  ScheduleConflictText(list));
    }
}

TEST(ScheduleConflictsTest, ManyConflictsKeepOnlyWholeLinesBelowTheLimit) {
    EventList list;
    const TimerEvent daily = Event(127, 10, 0, 12, 0);
    for (int i = 0; i < 30; ++i) list.Add(&daily);
    const std::string text = ScheduleConflictText(list);
    EXPECT_LT(text.size(), 1999u);
    EXPECT_GT(text.size(), 1999u - 60);
    EXPECT_EQ(0u, text.find("\nSchedule conflict between events 2 and 1\n"));
    // Every line is whole: the text ends with a complete pair of numbers.
    const size_t lastLine = text.rfind('\n');
    int later = 0, earlier = 0;
    ASSERT_EQ(2, std::sscanf(text.c_str() + lastLine, "\nSchedule conflict between events %d and %d",
                             &later, &earlier));
    EXPECT_GT(later, earlier);
}

TEST(ScheduleConflictsTest, BoxOverThePageListOnlyWhenEventsOverlap) {
    FakeUserInteraction ui;
    ScopedUi scoped(ui);
    const HWND page = reinterpret_cast<HWND>(0x1234);
    PageEvents.Clear();
    const TimerEvent daily = Event(127, 10, 0, 12, 0);
    const TimerEvent later = Event(127, 12, 0, 13, 0);
    PageEvents.Add(&daily);
    PageEvents.Add(&later);
    CheckScheduleConflicts(page);
    EXPECT_TRUE(ui.messageBoxes.empty());

    PageEvents.Add(&daily);
    CheckScheduleConflicts(page);
    ASSERT_EQ(1u, ui.messageBoxes.size());
    EXPECT_EQ(page, ui.messageBoxes[0].owner);
    EXPECT_EQ("\nSchedule conflict between events 3 and 1", ui.messageBoxes[0].text);
    EXPECT_EQ("Schedule conflict", ui.messageBoxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_OK), ui.messageBoxes[0].flags);
    PageEvents.Clear();
}

}  // namespace
