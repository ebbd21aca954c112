#include "prefs/timer/TSetTimer.h"

#include <algorithm>
#include <cstdio>

#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "schedule/TimerEventText.h"

namespace {

const char kSection[] = "Timer";

// An event as read before any field is known: no times.
TimerEvent UnreadEvent() {
    TimerEvent event;
    event.startHour = -1;
    event.stopHour = -1;
    return event;
}

// An INI value is one line: a line break in a name would start new keys.
std::string OneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\r', ' ');
    std::replace(text.begin(), text.end(), '\n', ' ');
    return text;
}

}  // namespace

void TSetTimer::Load(HKEY key, const std::string& ini) {
    const SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    AppState.Events.Clear();
    if (store.UsesIni()) {
        LoadIni(store);
    } else if (store.Key()) {
        LoadRegistry(store);
    }
    AppState.EventCount = AppState.Events.Count();
}

void TSetTimer::Save(HKEY key, const std::string& ini) {
    const SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    AppState.EventCount = AppState.Events.Count();
    if (store.UsesIni()) {
        SaveIni(store);
    } else if (store.Key()) {
        SaveRegistry(store);
    }
}

void TSetTimer::Accept(TimerEvent& event) {
    if (!event.HasTime()) return;
    TimerEvent::Normalize(event);
    AppState.Events.Add(&event);
}

void TSetTimer::LoadCompactEvent(const SettingsStore& store, int n) {
    char name[32];
    std::snprintf(name, sizeof name, "Event%d", n);
    char text[SettingsStore::kTextSize] = {};
    // A missing value stays empty: no times, so the event is skipped.
    store.GetString(name, text, "");
    // Every event starts from nothing: a short text must not inherit the
    // previous event's minutes or new-file flag.
    TimerEvent event = UnreadEvent();
    ParseEventText(text, event);
    std::snprintf(name, sizeof name, "EventName%d", n);
    store.GetStdString(name, event.name, "");
    Accept(event);
}

void TSetTimer::SaveCompactEvent(const SettingsStore& store, int n, const TimerEvent& event) {
    char name[32];
    std::snprintf(name, sizeof name, "Event%d", n);
    store.SetString(name, FormatEventText(event).c_str());
    std::snprintf(name, sizeof name, "EventName%d", n);
    store.SetString(name, OneLine(event.name).c_str());
}

void TSetTimer::LoadIni(const SettingsStore& store) {
    AppState.TimerEnable = store.GetInt("TimerEnable", 0) != 0;
    const long count = std::min<long>(store.GetInt("EventCount", 0), kMaxStoredEvents);
    for (int n = 0; n < count; ++n) LoadCompactEvent(store, n);
}

void TSetTimer::SaveIni(const SettingsStore& store) {
    const EventList& events = AppState.Events;
    int timed = 0;
    for (int i = 0; i < events.Count(); ++i) {
        if (events.Get(i)->HasTime()) ++timed;
    }
    store.SetInt("TimerEnable", AppState.TimerEnable ? 1 : 0);
    store.SetInt("EventCount", timed);
    int n = 0;
    for (int i = 0; i < events.Count(); ++i) {
        if (events.Get(i)->HasTime()) SaveCompactEvent(store, n++, *events.Get(i));
    }
}
