// Clock times of segments and comments (seconds since 1970 UTC) as the
// report and the position dialog show them, in local time. The runtime's
// 64-bit conversions fail outside their range (before 1970, after 3000);
// every function here says so instead of leaving garbage.
#pragma once

#include <cstdint>
#include <ctime>
#include <string>

// The 24-character ctime form ("Wed Jan 02 02:03:55 1980"), without its line
// break; empty when the time cannot be converted.
std::string ClockText(int64_t time);

// The weekday, month, day of the month and a blank: the first 11 characters
// of ClockText; empty when the time cannot be converted.
std::string DayText(int64_t time);

// Local broken-down time; false (parts untouched) when out of range.
bool LocalTimeOf(int64_t time, std::tm& parts);

// The time of a local broken-down time, normalised as mktime does (75
// seconds are the next minute and 15 seconds); false when out of range.
bool MakeClockTime(std::tm parts, int64_t& time);
