// The "Timer" preference page: the list of scheduled events, the switch of
// the scheduler, and New, Delete and Edit through the event dialog. The page
// works on PageEvents and hands it to Events only when the sheet is
// confirmed. Its static part keeps the schedule (TimerEnable, EventCount and
// Events of the settings record) in the settings store.
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
#include <vector>

#include "core/ContextHelpWin.h"
#include "framework/CommonControls.h"
#include "framework/Control.h"
#include "framework/PropertySheet.h"

class SettingsStore;
class TimerEvent;

class TSetTimer : public TPropertyPage, public ContextHelpWin {
public:
    // Fills PageEvents afresh with copies of the events of Events.
    TSetTimer();

    void SetupWindow() override;
    int Apply() override;
    bool CanClose() override { return true; }
    void CmCancel() override;
    void Reset() override { CmCancel(); }
    bool Dispatch(Message& m) override;

    void CmNew();
    void CmEdit();
    void DeleteSelected();
    LRESULT LvnColumnClick(NMHDR& header);
    LRESULT EvSize(WPARAM kind, LPARAM size);
    // Every row again from PageEvents, numbered 1, 2, ... in list order.
    void RefillList();
    void FillRow(const TimerEvent& event, int position, int row);

    TListView list;
    TCheckBox enableBox;

    // At most this many events are read, whatever count the store claims: a
    // damaged or hostile count must not make loading run for hours.
    static constexpr int kMaxStoredEvents = 1000;

    // The INI file's section "Timer" when ini is non-empty, else values under
    // key. Loading replaces Events; store errors read as missing values.
    static void Load(HKEY key, const std::string& ini);
    // Writes are not checked: a failed write leaves the old value.
    static void Save(HKEY key, const std::string& ini);

private:
    // Sorts the rows by column, flipping the direction on a repeated click.
    void SortBy(int column);
    // The numbers in column 0 of the selected rows, top to bottom, up to the
    // first row without a valid number.
    std::vector<int> SelectedNumbers() const;

    // The layout kept on resizing, measured on set-up (pixels): from the
    // page's bottom edge to the top of the button row, and the page's height
    // minus the list's. Zero until measured.
    int buttonRowFromBottom_ = 0;
    int heightBesideList_ = 0;
    bool enable_ = false;
    int sortColumn_ = -1;
    bool sortAscending_ = true;
    static const MsgEntry<TSetTimer> kMessages[];

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
