#include "prefs/timer/TimerRows.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

std::string EventTimeText(const TimerEvent& event) {
    char text[80];
    if (event.HasStart() && event.HasStop()) {
        std::snprintf(text, sizeof text, "%2.2d:%2.2d-%2.2d:%2.2d ", event.startHour,
                      event.startMinute, event.stopHour, event.stopMinute);
    } else if (event.HasStart()) {
        std::snprintf(text, sizeof text, "starts %2.2d:%2.2d ", event.startHour, event.startMinute);
    } else if (event.HasStop()) {
        std::snprintf(text, sizeof text, "ends %2.2d:%2.2d ", event.stopHour, event.stopMinute);
    } else {
        return "no time ";
    }
    return text;
}

std::string EventDaysText(int days) {
    switch (days) {
    case kEveryDay: return "daily";
    case 0: return "noDays";
    case kWeekend: return "weekend";
    case kWeekdays: return "weekday";
    default: break;
    }
    static const char* const kLetters[] = {"Su", "M", "Tu", "W", "Th", "F", "Sa"};
    std::string text;
    for (int day = 0; day < 7; ++day) {
        if (days & (1 << day)) text += kLetters[day];
    }
    return text;
}

std::string EventNumberText(int position) {
    char text[32];
    std::snprintf(text, sizeof text, "%d    ", position + 1);
    return text;
}

int EventNumberOf(const std::string& text) {
    const long number = std::strtol(text.c_str(), nullptr, 10);
    return number > 0 && number <= 1000000 ? static_cast<int>(number) : 0;
}

int ListComparator::Compare(LPARAM first, LPARAM second, LPARAM how) {
    const TimerEvent* a = PageEvents.Get(static_cast<int>(first));
    const TimerEvent* b = PageEvents.Get(static_cast<int>(second));
    if (!a || !b) return 0;
    int result = 0;
    switch (how & 0xFF) {
    case kColumnNumber:
        result = static_cast<int>(first - second);
        break;
    case kColumnTime: {
        // The minutes are 64-bit: a stored hour may be any int.
        const long long difference = a->StartMinuteOfDay() - b->StartMinuteOfDay();
        result = difference < 0 ? -1 : difference > 0 ? 1 : 0;
        break;
    }
    case kColumnNewFile:
        result = (a->newFile ? 1 : 0) - (b->newFile ? 1 : 0);
        break;
    case kColumnName:
        result = _stricmp(a->name.c_str(), b->name.c_str());
        break;
    default:
        break;
    }
    return (how & kSortAscending) ? result : -result;
}
