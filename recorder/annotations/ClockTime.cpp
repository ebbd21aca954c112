#include "recorder/annotations/ClockTime.h"

#include <time.h>

std::string ClockText(int64_t time)
{
    const __time64_t t = time;
    char text[64] = {};
    if (_ctime64_s(text, sizeof text, &t) != 0)
        return std::string();
    std::string result(text);
    if (!result.empty() && result.back() == '\n')
        result.pop_back();
    return result;
}

std::string DayText(int64_t time)
{
    return ClockText(time).substr(0, 11);
}

bool LocalTimeOf(int64_t time, std::tm& parts)
{
    const __time64_t t = time;
    std::tm converted{};
    if (_localtime64_s(&converted, &t) != 0)
        return false;
    parts = converted;
    return true;
}

bool MakeClockTime(std::tm parts, int64_t& time)
{
    const __time64_t t = _mktime64(&parts);
    if (t == -1)
        return false;
    time = t;
    return true;
}
