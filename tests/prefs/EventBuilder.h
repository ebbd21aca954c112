// Timer events for the scheduler tests, built in one line with their stop
// days derived as the program derives them.
#pragma once

#include "core/TimerEvent.h"

inline TimerEvent Event(int days, int startHour, int startMinute, int stopHour, int stopMinute,
                        bool newFile = false, const char* name = "") {
    TimerEvent e;
    e.days = days;
    e.startHour = startHour;
    e.startMinute = startMinute;
    e.stopHour = stopHour;
    e.stopMinute = stopMinute;
    e.newFile = newFile;
    e.name = name;
    TimerEvent::Normalize(e);
    return e;
}
