// The registry form of the schedule: the first three list positions in the
// older single-event values, later events in the compact "Event%d" form.
#include <algorithm>
#include <cstdio>

#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "prefs/timer/TSetTimer.h"
#include "schedule/TimerEventText.h"

namespace {

constexpr int kOlderSets = 3;

// The older values of set 0, 1, 2: "TimeStartEC", "TimeStart2EC", "TimeStart3EC" ...
struct OlderSetNames {
    char start[32], stop[32], newFile[32], prefix[32], day[32];

    explicit OlderSetNames(int set) {
        char number[4] = "";
        if (set > 0) std::snprintf(number, sizeof number, "%d", set + 1);
        std::snprintf(start, sizeof start, "TimeStart%sEC", number);
        std::snprintf(stop, sizeof stop, "TimeStop%sEC", number);
        std::snprintf(newFile, sizeof newFile, "TimeNewFile%s", number);
        std::snprintf(prefix, sizeof prefix, "TimeNewFilePrefix%s", number);
        std::snprintf(day, sizeof day, "TimeDay%s", number);
    }
};

// The stored count: the one-byte "EventCount", or "EventCountLong" where the
// byte has wrapped (the long count is then larger and at least 121).
long StoredCount(const SettingsStore& store) {
    long count = store.SmallOr("EventCount", 0);
    long longCount = 0;
    if (store.GetLong("EventCountLong", longCount) && longCount > count && longCount >= 121) {
        count = longCount;
    }
    return count;
}

}  // namespace

void TSetTimer::LoadRegistry(const SettingsStore& store) {
    long count = StoredCount(store);
    AppState.TimerEnable = store.SmallOr("TimerEnable", 0) != 0;
    for (int set = 0; set < kOlderSets; ++set) LoadOlderSet(store, set);
    if (count == 0) count = AppState.Events.Count();
    count = std::min<long>(count, kMaxStoredEvents);
    for (int n = kOlderSets; n < count; ++n) LoadCompactEvent(store, n);
}

void TSetTimer::LoadOlderSet(const SettingsStore& store, int set) {
    const OlderSetNames names(set);
    TimerEvent event;
    char text[SettingsStore::kTextSize] = {};
    // A missing or empty time text leaves that time out (hour -1).
    if (!store.GetString(names.start, text) ||
        !ParseClockTime(text, event.startHour, event.startMinute)) {
        event.startHour = -1;
    }
    text[0] = 0;
    if (!store.GetString(names.stop, text) ||
        !ParseClockTime(text, event.stopHour, event.stopMinute)) {
        event.stopHour = -1;
    }
    event.newFile = store.SmallOr(names.newFile, 0) != 0;
    store.GetStdString(names.prefix, event.name, "");
    event.days = static_cast<int>(store.SmallOr(names.day, 127) & 0xFF);
    Accept(event);
}

void TSetTimer::SaveRegistry(const SettingsStore& store) {
    const EventList& events = AppState.Events;
    store.SetSmall("TimerEnable", AppState.TimerEnable ? 1 : 0);
    int timedInOlderSets = 0;
    for (int set = 0; set < kOlderSets; ++set) {
        const TimerEvent* event = events.Get(set);
        if (event && event->HasTime()) ++timedInOlderSets;
        SaveOlderSet(store, set, event);
    }
    int later = 0;
    for (int i = kOlderSets; i < events.Count(); ++i) {
        if (!events.Get(i)->HasTime()) continue;
        SaveCompactEvent(store, kOlderSets + later, *events.Get(i));
        ++later;
    }
    const long stored = later > 0 ? kOlderSets + later : timedInOlderSets;
    store.SetSmall("EventCount", stored & 0xFF);
    store.SetLong("EventCountLong", stored);
}

// Writes one older set; an absent event (null) clears the set.
void TSetTimer::SaveOlderSet(const SettingsStore& store, int set, const TimerEvent* event) {
    const OlderSetNames names(set);
    const TimerEvent none;
    const TimerEvent& e = event ? *event : none;
    store.SetString(names.start, event ? FormatClockTime(e.startHour, e.startMinute).c_str() : "");
    store.SetString(names.stop, event ? FormatClockTime(e.stopHour, e.stopMinute).c_str() : "");
    store.SetSmall(names.newFile, e.newFile ? 1 : 0);
    store.SetString(names.prefix, e.name.c_str());
    store.SetSmall(names.day, e.days & 0xFF);
}
