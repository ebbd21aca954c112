// The text forms in which timer events are stored: a clock time ("21:30",
// "9:30pm", "2130") and the compact six-number form of one event.
#pragma once

#include <string>

#include "core/TimerEvent.h"

// Reads a clock time as users type it: "9:30pm" 21:30, "12:15am" 00:15,
// "2130" 21:30, "25:70" 01:10 (hour modulo 24, minute modulo 60).
// Null or empty text: hour := -1 (no time), minute unchanged, false.
// Text without any digit: hour := -1, minute := 0, true.
bool ParseClockTime(const char* text, int& hour, int& minute);
// As ParseClockTime but the hour stays as read (25:00 keeps hour 25), as the
// event dialog enters it.
bool ParseClockTimeKeepHour(const char* text, int& hour, int& minute);

// "%d:%2.2d" (7:05), or "" when hour is negative (no time).
std::string FormatClockTime(int hour, int minute);

// "days startHour startMinute stopHour stopMinute newFile", newFile as 1 or 0.
std::string FormatEventText(const TimerEvent& event);
// Parses the six numbers of FormatEventText into event, in that order, up to
// the first that is missing or not a number within int range; the fields not
// reached are left as they are. Returns how many numbers were read.
int ParseEventText(const char* text, TimerEvent& event);
