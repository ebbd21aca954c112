#include "core/TimePattern.h"

#include <cstring>

#include "audiofile/FileNames.h"

namespace {

// The codes msvcrt's strftime accepts; C99 additions such as %e, %F or %T
// are refused there (by the invalid-parameter handler, which ends the process).
constexpr char kTimeCodes[] = "aAbBcdHIjmMpSUwWxXyYzZ";

bool IsTimeCode(char c) {
    return c != '\0' && std::strchr(kTimeCodes, c) != nullptr;
}

// strftime checks the fields too; a broken clock must not end the process.
bool IsSaneTime(const std::tm& t) {
    return t.tm_sec >= 0 && t.tm_sec <= 60 && t.tm_min >= 0 && t.tm_min <= 59 &&
           t.tm_hour >= 0 && t.tm_hour <= 23 && t.tm_mday >= 1 && t.tm_mday <= 31 &&
           t.tm_mon >= 0 && t.tm_mon <= 11 && t.tm_year >= 0 && t.tm_year <= 8099 &&
           t.tm_wday >= 0 && t.tm_wday <= 6 && t.tm_yday >= 0 && t.tm_yday <= 365;
}

class SystemNamingClock : public NamingClock {
public:
    std::tm LocalNow() const override {
        const std::time_t now = std::time(nullptr);
        const std::tm* local = std::localtime(&now);
        return local ? *local : std::tm{};
    }
};

SystemNamingClock systemClock;
NamingClock* installedClock = nullptr;

}  // namespace

bool IsValidTimePattern(const std::string& pattern) {
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%')
            continue;
        ++i;
        if (i < pattern.size() && pattern[i] == '%')
            continue;
        if (i < pattern.size() && pattern[i] == '#')
            ++i;
        if (i >= pattern.size() || !IsTimeCode(pattern[i]))
            return false;
    }
    return true;
}

std::string ExpandTimePattern(const std::string& pattern, const std::tm& localTime) {
    if (pattern.empty() || !IsValidTimePattern(pattern) || !IsSaneTime(localTime))
        return std::string();
    char buffer[kMaxPathChars + 1] = {};
    const size_t length = std::strftime(buffer, sizeof buffer, pattern.c_str(), &localTime);
    return std::string(buffer, length);
}

NamingClock& TheNamingClock() {
    return installedClock ? *installedClock : systemClock;
}

void SetNamingClock(NamingClock* replacement) {
    installedClock = replacement;
}

std::string ExpandTimePatternNow(const std::string& pattern) {
    return ExpandTimePattern(pattern, TheNamingClock().LocalNow());
}
