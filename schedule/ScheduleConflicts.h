// Warns on the Timer page when two events of its working list overlap. The
// check only informs: the events stay as they are.
#pragma once

#include <windows.h>

#include <string>

#include "core/TimerEvent.h"

// One "\nSchedule conflict between events %d and %d" line per overlapping
// pair (the later event's number first, numbers being positions + 1), as many
// whole lines as fit below 1999 characters; empty when nothing overlaps.
std::string ScheduleConflictText(const EventList& events);

// Shows ScheduleConflictText(PageEvents) in a message box owned by owner,
// captioned "Schedule conflict"; shows nothing when there is no conflict.
void CheckScheduleConflicts(HWND owner);
