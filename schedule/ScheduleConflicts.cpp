#include "schedule/ScheduleConflicts.h"

#include <cstdio>

namespace {

constexpr long long kMinutesPerDay = 24 * 60;
constexpr long long kMinutesPerWeek = 7 * kMinutesPerDay;
constexpr size_t kTextLimit = 1999;

bool RunsOvernight(const TimerEvent& e) {
    return e.HasStart() && e.HasStop() && e.StopMinuteOfDay() < e.StartMinuteOfDay();
}

// Minute-of-the-week intervals [begin, end) that an event with both times
// records in, one per start day; a run past Saturday midnight wraps to Sunday.
struct WeekSpan {
    long long begin;
    long long end;
};

bool SpansOverlap(const WeekSpan& a, const WeekSpan& b) {
    return a.begin < b.end && b.begin < a.end;
}

// At most two spans per day of the week.
struct WeekSpans {
    WeekSpan span[14];
    int count = 0;
    void Add(long long begin, long long end) { span[count++] = {begin, end}; }
};

WeekSpans SpansOfWeek(const TimerEvent& e) {
    WeekSpans spans;
    for (int day = 0; day < 7; ++day) {
        if (!(e.days & (1 << day))) continue;
        const long long begin = day * kMinutesPerDay + e.StartMinuteOfDay();
        long long end = day * kMinutesPerDay + e.StopMinuteOfDay();
        if (end < begin) end += kMinutesPerDay;
        if (end <= kMinutesPerWeek) {
            spans.Add(begin, end);
        } else {
            spans.Add(begin, kMinutesPerWeek);
            spans.Add(0, end - kMinutesPerWeek);
        }
    }
    return spans;
}

bool WeekSpansOverlap(const TimerEvent& a, const TimerEvent& b) {
    const WeekSpans spansA = SpansOfWeek(a);
    const WeekSpans spansB = SpansOfWeek(b);
    for (int x = 0; x < spansA.count; ++x) {
        for (int y = 0; y < spansB.count; ++y) {
            if (SpansOverlap(spansA.span[x], spansB.span[y])) return true;
        }
    }
    return false;
}

bool EventsConflict(const TimerEvent& a, const TimerEvent& b) {
    // Comparing minutes of the day alone misses an overnight event running
    // into another (22:00-02:00 against 23:00-23:30, or into the next day's
    // morning event): such pairs are compared over the week instead.
    const bool bothTimed = a.HasStart() && a.HasStop() && b.HasStart() && b.HasStop();
    if (bothTimed && (RunsOvernight(a) || RunsOvernight(b))) return WeekSpansOverlap(a, b);
    // A missing time takes part with its hour as stored (-1), so an event
    // without a stop never appears to overlap one that has both times.
    return (a.days & b.days) && a.StartMinuteOfDay() < b.StopMinuteOfDay() &&
           b.StartMinuteOfDay() < a.StopMinuteOfDay();
}

}  // namespace

std::string ScheduleConflictText(const EventList& events) {
    std::string text;
    for (int i = 0; i < events.Count(); ++i) {
        for (int j = 0; j < i; ++j) {
            if (!EventsConflict(*events.Get(i), *events.Get(j))) continue;
            char line[260];
            const int length = std::snprintf(line, sizeof line,
                                             "\nSchedule conflict between events %d and %d",
                                             i + 1, j + 1);
            if (length > 0 && text.size() + static_cast<size_t>(length) < kTextLimit) {
                text += line;
            }
        }
    }
    return text;
}
