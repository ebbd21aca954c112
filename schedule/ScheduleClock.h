// The local wall clock as the schedule checks read it. The program uses the
// system's local time; tests install a clock they set by hand.
#pragma once

struct WallClockTime {
    int dayOfWeek = 0;  // 0 Sunday .. 6 Saturday, the bit number of the event day masks
    int hour = 0;       // 0..23
    int minute = 0;     // 0..59
};

class ScheduleClock {
public:
    virtual ~ScheduleClock() = default;
    virtual WallClockTime Now() const = 0;
};

// The clock in use; never null (the system's local time until replaced).
ScheduleClock& TheScheduleClock();
// Installs a replacement (tests); null restores the system clock. Not owned.
void SetScheduleClock(ScheduleClock* replacement);
