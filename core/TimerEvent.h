// One scheduled recording and the ordered list that holds the schedule.
//
// `AppState::Events` is the live schedule (filled by the Timer page's Load,
// read by the schedule checks); `PageEvents` is the Timer page's working copy
// while the preferences sheet is open. Both live on the GUI thread only.
#pragma once

#include <string>
#include <vector>

// Day bits: bit n is the platform's day-of-week number n (Sunday = 0).
constexpr int kDaySunday = 1 << 0;
constexpr int kDaySaturday = 1 << 6;
constexpr int kEveryDay = 127;
constexpr int kWeekdays = 62;  // Monday to Friday
constexpr int kWeekend = 65;   // Saturday and Sunday

class TimerEvent {
public:
    TimerEvent() = default;
    TimerEvent(const TimerEvent&) = default;
    TimerEvent& operator=(const TimerEvent&) = default;
    virtual ~TimerEvent() = default;

    // Derives stopDays from days: the stop falls on the start's day, or on the
    // next day when the stop's minute of the day is before the start's.
    static void Normalize(TimerEvent& event);

    // An hour below zero means "no such time".
    bool HasStart() const { return startHour >= 0; }
    bool HasStop() const { return stopHour >= 0; }
    bool HasTime() const { return HasStart() || HasStop(); }
    // hour * 60 + minute, with the hour as stored (a missing time gives a
    // negative value). 64-bit: a damaged settings file may hold any int hour.
    long long StartMinuteOfDay() const { return startHour * 60LL + startMinute; }
    long long StopMinuteOfDay() const { return stopHour * 60LL + stopMinute; }

    int days = 0;         // bit mask of the days on which the event starts
    int startHour = 0;    // 0..23; -1 = no start
    int startMinute = 0;  // 0..59
    int stopHour = 0;     // 0..23; -1 = no stop
    int stopDays = 0;     // days on which the stop falls; derived by Normalize, never stored
    int stopMinute = 0;   // 0..59
    bool newFile = false; // start records into a file of its own, stop closes it
    std::string name;     // also the first part of the names of the event's recordings
};

// Positions count from 0; users see position + 1.
class EventList {
public:
    EventList() = default;
    EventList(const EventList&) = default;
    EventList& operator=(const EventList&) = default;
    virtual ~EventList() = default;

    int Count() const { return static_cast<int>(events_.size()); }
    // Event i, owned by the list and valid until the list changes; null when
    // i is outside 0..Count()-1.
    TimerEvent* Get(int i);
    const TimerEvent* Get(int i) const;
    // Copies event into position i; ignored when i is out of range.
    void Set(int i, const TimerEvent& event);
    // Appends a copy; null does nothing. event may be an element of this list.
    void Add(const TimerEvent* event);
    // Removes event i, later events move forward; ignored when out of range.
    void Erase(int i);
    void Clear() { events_.clear(); }

private:
    bool InRange(int i) const { return i >= 0 && i < Count(); }

    std::vector<TimerEvent> events_;
};

// The Timer page's working copy of the schedule, program-wide.
extern EventList PageEvents;
