#include "schedule/ScheduleCheck.h"

#include "core/AppState.h"

namespace {

// Program-wide, each remembering its own minute for the whole run.
ScheduleCheck stopCheck(ScheduleEdge::Stop);
ScheduleCheck startCheck(ScheduleEdge::Start);

}  // namespace

int CheckTimerStop() {
    return stopCheck.Check(AppState.TimerEnable, AppState.Events, TheScheduleClock().Now());
}

int CheckTimerStart() {
    return startCheck.Check(AppState.TimerEnable, AppState.Events, TheScheduleClock().Now());
}

int ScheduleCheck::Check(bool timerEnable, const EventList& events, const WallClockTime& now) {
    if (!timerEnable) return 0;
    if (now.dayOfWeek == rememberedDay_ && now.hour == rememberedHour_ &&
        now.minute == rememberedMinute_) {
        return 0;
    }
    rememberedDay_ = now.dayOfWeek;
    rememberedHour_ = now.hour;
    rememberedMinute_ = now.minute;

    if (now.dayOfWeek < 0 || now.dayOfWeek > 6) return 0;
    const int dayBit = 1 << now.dayOfWeek;
    for (int i = 0; i < events.Count(); ++i) {
        if (IsDue(*events.Get(i), dayBit, now)) return i + 1;
    }
    return 0;
}

bool ScheduleCheck::IsDue(const TimerEvent& event, int dayBit, const WallClockTime& now) const {
    if (edge_ == ScheduleEdge::Start) {
        return (event.days & dayBit) && event.startHour == now.hour &&
               event.startMinute == now.minute;
    }
    // A stop after midnight falls on the next day: stopDays says which.
    return (event.stopDays & dayBit) && event.stopHour == now.hour &&
           event.stopMinute == now.minute;
}
