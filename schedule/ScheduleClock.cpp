#include "schedule/ScheduleClock.h"

#include <windows.h>

namespace {

class SystemScheduleClock final : public ScheduleClock {
public:
    WallClockTime Now() const override {
        SYSTEMTIME local{};
        GetLocalTime(&local);
        WallClockTime now;
        now.dayOfWeek = local.wDayOfWeek;  // Sunday = 0, as the day masks count
        now.hour = local.wHour;
        now.minute = local.wMinute;
        return now;
    }
};

SystemScheduleClock systemClock;
ScheduleClock* installedClock = nullptr;

}  // namespace

ScheduleClock& TheScheduleClock() {
    return installedClock ? *installedClock : systemClock;
}

void SetScheduleClock(ScheduleClock* replacement) {
    installedClock = replacement;
}
