// Text formatting used by the pages and the recorder window.
#pragma once

#include <cstdarg>
#include <ctime>
#include <string>

// The local time at `when` (0: now) through ExpandTimePattern, at most 259
// characters. An empty result when the text would not fit, the time is
// invalid or the format holds a code strftime does not know.
std::string FormatTime(const char* format, time_t when = 0);

// printf-style into a growable text; a null format gives "".
std::string FormatStringV(const char* format, va_list args);
std::string FormatString(const char* format, ...) __attribute__((format(gnu_printf, 1, 2)));
