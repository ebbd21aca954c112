// The "Timer" preference page. For now the class holds the schedule's
// storage (TimerEnable, EventCount and Events of the settings record); the
// page window joins it later.
//
// Stored forms: section "Timer" of an INI file, every event as "Event%d"
// ("days startHour startMinute stopHour stopMinute newFile") with
// "EventName%d"; or values under the settings key, where the first three list
// positions keep the older single-event values ("TimeStartEC", "TimeStopEC",
// "TimeNewFile", "TimeNewFilePrefix", "TimeDay", then the same with 2 and 3)
// and later events use "Event%d" from 3 on. stopDays is never stored; it is
// derived again on loading. Events without any time are neither written nor
// loaded.
#pragma once

#include <windows.h>

#include <string>

class SettingsStore;
class TimerEvent;

class TSetTimer {
public:
    // At most this many events are read, whatever count the store claims: a
    // damaged or hostile count must not make loading run for hours.
    static constexpr int kMaxStoredEvents = 1000;

    // The INI file's section "Timer" when ini is non-empty, else values under
    // key. Loading replaces Events; store errors read as missing values.
    static void Load(HKEY key, const std::string& ini);
    // Writes are not checked: a failed write leaves the old value.
    static void Save(HKEY key, const std::string& ini);

private:
    static void LoadIni(const SettingsStore& store);
    static void SaveIni(const SettingsStore& store);
    static void LoadRegistry(const SettingsStore& store);
    static void SaveRegistry(const SettingsStore& store);
    static void LoadOlderSet(const SettingsStore& store, int set);
    static void SaveOlderSet(const SettingsStore& store, int set, const TimerEvent* event);

    // The compact form shared by both stores: "Event%d" and "EventName%d".
    static void LoadCompactEvent(const SettingsStore& store, int n);
    static void SaveCompactEvent(const SettingsStore& store, int n, const TimerEvent& event);
    // Derives stopDays and appends event to Events when it has a time.
    static void Accept(TimerEvent& event);
};
