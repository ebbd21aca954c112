#include "schedule/ScheduleCheck.h"

#include "core/AppState.h"
#include "tests/prefs/EventBuilder.h"

#include <gtest/gtest.h>

namespace {

constexpr int kSunday = 0, kMonday = 1, kFriday = 5, kSaturday = 6;

WallClockTime At(int day, int hour, int minute) {
    WallClockTime t;
    t.dayOfWeek = day;
    t.hour = hour;
    t.minute = minute;
    return t;
}

EventList ListOf(std::initializer_list<TimerEvent> events) {
    EventList list;
    for (const TimerEvent& e : events) list.Add(&e);
    return list;
}

// Each step is one call of the check at a clock time, with its expected result.
struct Step {
    WallClockTime now;
    int expected;
    bool enabled = true;
};

void RunSteps(ScheduleEdge edge, const EventList& events, std::initializer_list<Step> steps) {
    ScheduleCheck check(edge);
    int n = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(testing::Message() << "step " << n++ << " day " << step.now.dayOfWeek << " "
                                        << step.now.hour << ":" << step.now.minute);
        EXPECT_EQ(step.expected, check.Check(step.enabled, events, step.now));
    }
}

TEST(ScheduleCheckTest, StartIsReportedOncePerMinute) {
    const EventList events = ListOf({Event(1 << kMonday, 8, 15, 9, 0)});
    RunSteps(ScheduleEdge::Start, events,
             {{At(kMonday, 8, 14), 0},
              {At(kMonday, 8, 15), 1},
              {At(kMonday, 8, 15), 0},
              {At(kMonday, 8, 16), 0},
              {At(kSunday, 8, 15), 0}});
}

TEST(ScheduleCheckTest, SameMinuteOfAnotherDayIsANewMinute) {
    // Switched off within the reported minute and back on a week-day later.
    const EventList events = ListOf({Event(kEveryDay, 8, 15, 9, 0)});
    RunSteps(ScheduleEdge::Start, events,
             {{At(kMonday, 8, 15), 1},
              {At(kMonday, 8, 16), 0, false},
              {At(kFriday, 8, 15), 1}});
}

TEST(ScheduleCheckTest, OnlyTheFirstOfTwoEventsInTheSameMinuteIsReported) {
    const EventList events = ListOf({Event(kEveryDay, 7, 0, 7, 30), Event(kEveryDay, 6, 0, 6, 30),
                                     Event(kEveryDay, 9, 0, 10, 0), Event(kEveryDay, 1, 0, 2, 0),
                                     Event(kEveryDay, 3, 0, 4, 0), Event(kEveryDay, 9, 0, 10, 0)});
    RunSteps(ScheduleEdge::Start, events,
             {{At(kMonday, 9, 0), 3}, {At(kMonday, 9, 0), 0}, {At(kMonday, 9, 1), 0}});
    RunSteps(ScheduleEdge::Stop, events, {{At(kMonday, 10, 0), 3}, {At(kMonday, 10, 0), 0}});
}

TEST(ScheduleCheckTest, OvernightStopFallsOnTheNextDay) {
    const EventList friday = ListOf({Event(1 << kFriday, 23, 0, 1, 0)});
    RunSteps(ScheduleEdge::Stop, friday,
             {{At(kFriday, 1, 0), 0}, {At(kSaturday, 1, 0), 1}, {At(kSaturday, 1, 0), 0}});
    RunSteps(ScheduleEdge::Start, friday, {{At(kSaturday, 23, 0), 0}, {At(kFriday, 23, 0), 1}});

    const EventList weekend = ListOf({Event(kWeekend, 23, 30, 0, 15)});
    RunSteps(ScheduleEdge::Stop, weekend,
             {{At(kSunday, 0, 15), 1}, {At(kMonday, 0, 15), 1}, {At(kSaturday, 0, 15), 0}});
}

TEST(ScheduleCheckTest, WeekdayAndWeekendMasks) {
    const EventList events = ListOf({Event(kWeekdays, 8, 0, 17, 0), Event(kWeekend, 8, 0, 12, 0)});
    for (int day = 0; day < 7; ++day) {
        SCOPED_TRACE(day);
        const bool weekend = day == kSunday || day == kSaturday;
        RunSteps(ScheduleEdge::Start, events, {{At(day, 8, 0), weekend ? 2 : 1}});
        RunSteps(ScheduleEdge::Stop, events, {{At(day, 17, 0), weekend ? 0 : 1},
                                              {At(day, 12, 0), weekend ? 2 : 0}});
    }
}

TEST(ScheduleCheckTest, DisabledTimerReportsNothingAndKeepsTheRememberedMinute) {
    const EventList events = ListOf({Event(kEveryDay, 8, 15, 8, 15)});
    for (ScheduleEdge edge : {ScheduleEdge::Start, ScheduleEdge::Stop}) {
        RunSteps(edge, events,
                 {{At(kMonday, 8, 15), 0, false},
                  {At(kMonday, 8, 15), 1},
                  {At(kMonday, 8, 16), 0, false},
                  {At(kMonday, 8, 15), 0}});
    }
}

}  // namespace

namespace {

class FakeScheduleClock final : public ScheduleClock {
public:
    WallClockTime Now() const override { return now; }
    WallClockTime now;
};

// The recorder's poll reads the settings record and the installed clock.
TEST(ScheduleCheckTest, PollReadsTheSettingsRecordAndTheInstalledClock) {
    FakeScheduleClock clock;
    SetScheduleClock(&clock);
    AppState.Reset();
    AppState.TimerEnable = true;
    const TimerEvent first = Event(1 << kSaturday, 9, 0, 11, 0);
    const TimerEvent second = Event(1 << kSaturday, 11, 0, 12, 0);
    AppState.Events.Add(&first);
    AppState.Events.Add(&second);

    clock.now = At(kSaturday, 11, 0);  // one stops as the next starts
    EXPECT_EQ(1, CheckTimerStop());
    EXPECT_EQ(2, CheckTimerStart());
    EXPECT_EQ(0, CheckTimerStop());
    EXPECT_EQ(0, CheckTimerStart());

    clock.now = At(kSaturday, 12, 0);
    AppState.TimerEnable = false;
    EXPECT_EQ(0, CheckTimerStop());
    AppState.TimerEnable = true;
    EXPECT_EQ(2, CheckTimerStop());

    SetScheduleClock(nullptr);
    AppState.Reset();
}

}  // namespace
