// The schedule's start and stop checks. The scheduler has no timer of its
// own: the recorder window polls CheckTimerStop and then CheckTimerStart every
// few seconds and acts on what they report (stop recording, start recording
// in a new file named after the event). Each check reports at most once per
// wall-clock minute.
#pragma once

#include "schedule/ScheduleClock.h"
#include "core/TimerEvent.h"

enum class ScheduleEdge { Start, Stop };

// One check with its own remembered minute (none at first).
class ScheduleCheck {
public:
    explicit ScheduleCheck(ScheduleEdge edge) : edge_(edge) {}

    // 0 = nothing to do; n > 0 = the start (or stop) of event n - 1 of events
    // is due at now. When two events are due in the same minute only the first
    // in list order is reported; a minute that was never checked is not made up.
    // With timerEnable clear the result is 0 and the remembered minute stays.
    int Check(bool timerEnable, const EventList& events, const WallClockTime& now);

private:
    bool IsDue(const TimerEvent& event, int dayBit, const WallClockTime& now) const;

    ScheduleEdge edge_;
    // The minute last looked at. The day takes part too, so a check that was
    // not called for a day (timer switched off, machine asleep) still reports
    // the same clock minute of another day.
    int rememberedDay_ = -1;
    int rememberedHour_ = -1;
    int rememberedMinute_ = -1;
};

// The recorder window's poll, over TimerEnable and Events of the settings
// record and TheScheduleClock(). Results as ScheduleCheck::Check.
int CheckTimerStop();
int CheckTimerStart();
