// Date and time patterns: the one checked wrapper around strftime. Every
// part of the program that expands user text as a time pattern (file names,
// the File page's preview, the pattern dialog, the frame's time texts) calls
// ExpandTimePattern instead of strftime.
#pragma once

#include <ctime>
#include <string>

// True when every '%' of the pattern starts a code the C runtime's strftime
// knows (aAbBcdHIjmMpSUwWxXyYzZ and %%, each optionally with the '#' flag).
// Any other code, a lone trailing '%' included, may end the process inside
// the runtime, so such a pattern is never handed to strftime.
bool IsValidTimePattern(const std::string& pattern);

// The pattern expanded for the given local time; empty when the pattern is
// invalid or the result would not fit in 259 characters.
std::string ExpandTimePattern(const std::string& pattern, const std::tm& localTime);

// The local wall-clock time that names are made from. The program reads the
// system clock; tests install a fixed one.
class NamingClock {
public:
    virtual ~NamingClock() = default;
    virtual std::tm LocalNow() const = 0;
};
NamingClock& TheNamingClock();
// Installs a replacement (tests); null restores the system clock. Not owned.
void SetNamingClock(NamingClock* replacement);

// ExpandTimePattern with the current local time.
std::string ExpandTimePatternNow(const std::string& pattern);
