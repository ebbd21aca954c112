#include "schedule/TimerEventText.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

bool ParseTime(const char* text, int& hour, int& minute, bool hourModulo24) {
    if (!text || !*text) {
        hour = -1;
        return false;
    }
    int h = 0, m = 0, digits = 0;
    bool inHours = true;
    for (const char* c = text; *c; ++c) {
        if (*c == ':') {
            inHours = false;
        } else if (*c == 'a' || *c == 'A') {
            if (h == 12) h = 0;
        } else if (*c == 'p' || *c == 'P') {
            if (h != 12 && h < INT_MAX - 12) h += 12;
        } else if (*c >= '0' && *c <= '9') {
            const int digit = *c - '0';
            if (++digits == 3) inHours = false;  // "2130": the third digit begins the minutes
            if (inHours) {
                h = h * 10 + digit;
            } else {
                // Reduced as it grows: the same result modulo 60, and a long
                // run of digits cannot overflow.
                m = (m * 10 + digit) % 60;
            }
        }
    }
    if (digits == 0) {
        hour = -1;
        minute = 0;
        return true;
    }
    hour = hourModulo24 ? h % 24 : h;
    minute = m;
    return true;
}

}  // namespace

bool ParseClockTime(const char* text, int& hour, int& minute) {
    return ParseTime(text, hour, minute, true);
}

bool ParseClockTimeKeepHour(const char* text, int& hour, int& minute) {
    return ParseTime(text, hour, minute, false);
}

std::string FormatClockTime(int hour, int minute) {
    if (hour < 0) return std::string();
    char text[32];
    std::snprintf(text, sizeof text, "%d:%2.2d", hour, minute);
    return text;
}

std::string FormatEventText(const TimerEvent& event) {
    char text[100];
    std::snprintf(text, sizeof text, "%d %d %d %d %d %d", event.days, event.startHour,
                  event.startMinute, event.stopHour, event.stopMinute, event.newFile ? 1 : 0);
    return text;
}

int ParseEventText(const char* text, TimerEvent& event) {
    if (!text) return 0;
    int* const numbers[] = {&event.days, &event.startHour, &event.startMinute, &event.stopHour,
                            &event.stopMinute};
    const char* at = text;
    int read = 0;
    for (; read < 6; ++read) {
        char* end = nullptr;
        errno = 0;
        const long long value = std::strtoll(at, &end, 10);
        // Out of range stops the parse: sscanf's %d would have no defined result.
        if (end == at || errno == ERANGE || value < INT_MIN || value > INT_MAX) break;
        at = end;
        if (read < 5) {
            *numbers[read] = static_cast<int>(value);
        } else {
            event.newFile = value != 0;
        }
    }
    return read;
}
