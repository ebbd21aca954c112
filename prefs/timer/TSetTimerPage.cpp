// The window part of the Timer page.
#include <algorithm>

#include "core/AppState.h"
#include "framework/UserInteraction.h"
#include "schedule/ScheduleConflicts.h"
#include "prefs/timer/TEventDialog.h"
#include "prefs/timer/TSetTimer.h"
#include "prefs/timer/TimerRows.h"
#include "resources/ResourceIds.h"

namespace {

const HelpPair kHelpTable[] = {
    {IDC_TIMERLIST, IDC_TIMERLIST},     {IDC_TIMERENABLE, IDC_TIMERENABLE},
    {IDC_TIMERNEW, IDC_TIMERNEW},       {IDC_TIMERDELETE, IDC_TIMERDELETE},
    {IDC_TIMEREDIT, IDC_TIMEREDIT},     {0, 0},
};

const int kButtonRow[] = {IDC_TIMERENABLE, IDC_TIMERNEW, IDC_TIMERDELETE, IDC_TIMEREDIT};

// A child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND parent, HWND child) {
    RECT rect{};
    GetWindowRect(child, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

}  // namespace

const MsgEntry<TSetTimer> TSetTimer::kMessages[] = {
    OnClicked(IDC_TIMERNEW, &TSetTimer::CmNew),
    OnClicked(IDC_TIMEREDIT, &TSetTimer::CmEdit),
    OnClicked(IDC_TIMERDELETE, &TSetTimer::DeleteSelected),
    OnCommand(IDCANCEL, &TSetTimer::CmCancel),
    OnNotify(IDC_TIMERLIST, LVN_COLUMNCLICK, &TSetTimer::LvnColumnClick),
    OnMessage(WM_SIZE, &TSetTimer::EvSize),
};

TSetTimer::TSetTimer()
    : TPropertyPage(IDD_TIMERPAGE, "Timer"),
      ContextHelpWin(kHelpTable),
      list(this, IDC_TIMERLIST),
      enableBox(this, IDC_TIMERENABLE),
      enable_(AppState.TimerEnable) {
    PageEvents.Clear();
    for (int i = 0; i < AppState.Events.Count(); ++i) PageEvents.Add(AppState.Events.Get(i));
}

bool TSetTimer::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || DispatchContextHelp(m) || TPropertyPage::Dispatch(m);
}

void TSetTimer::SetupWindow() {
    TPropertyPage::SetupWindow();
    list.SetExtendedStyle(LVS_EX_FULLROWSELECT);
    list.InsertColumn(kColumnNumber, "Event", 45);
    list.InsertColumn(kColumnTime, "Time", 120);
    list.InsertColumn(kColumnNewFile, "New file", 60);
    list.InsertColumn(kColumnName, "Prefix", 100);
    RefillList();
    enableBox.SetCheck(enable_ ? BST_CHECKED : BST_UNCHECKED);

    RECT page{};
    GetClientRect(GetHandle(), &page);
    const RECT box = ChildRect(GetHandle(), enableBox.GetHandle());
    const RECT rows = ChildRect(GetHandle(), list.GetHandle());
    buttonRowFromBottom_ = page.bottom - box.top;
    heightBesideList_ = page.bottom - (rows.bottom - rows.top);
}

void TSetTimer::FillRow(const TimerEvent& event, int position, int row) {
    const int index = list.InsertItem(row, EventNumberText(position), position);
    if (index < 0) return;
    list.SetItemText(index, kColumnTime, EventTimeText(event) + EventDaysText(event.days));
    list.SetItemText(index, kColumnNewFile, event.newFile ? "x" : "");
    list.SetItemText(index, kColumnName, event.name);
}

void TSetTimer::RefillList() {
    list.DeleteAllItems();
    for (int i = 0; i < PageEvents.Count(); ++i) FillRow(*PageEvents.Get(i), i, i);
}

void TSetTimer::CmNew() {
    if (PageEvents.Count() >= kMaxStoredEvents) {
        Ui().MessageBox(GetHandle(), "The schedule is full: it holds at most 1000 events.", "Timer",
                        MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    TimerEvent event;
    event.days = kEveryDay;
    event.startHour = 16;
    event.stopHour = 20;
    TimerEvent::Normalize(event);
    TEventDialog dialog(this, &event);
    if (dialog.Execute() != IDOK) return;
    FillRow(event, PageEvents.Count(), list.GetItemCount());
    PageEvents.Add(&event);
    CheckScheduleConflicts(GetHandle());
}

void TSetTimer::CmEdit() {
    bool edited = false;
    for (int row = list.GetNextSelected(); row >= 0; row = list.GetNextSelected(row)) {
        const int number = EventNumberOf(list.GetItemText(row, kColumnNumber));
        if (number < 1) break;
        const TimerEvent* stored = PageEvents.Get(number - 1);
        if (!stored) break;
        TimerEvent copy = *stored;
        TEventDialog dialog(this, &copy);
        if (dialog.Execute() != IDOK) continue;
        list.DeleteItem(row);
        FillRow(copy, number - 1, row);
        list.SetSelected(row, true);  // the walk goes on below it
        PageEvents.Set(number - 1, copy);
        edited = true;
    }
    if (edited) CheckScheduleConflicts(GetHandle());
}

std::vector<int> TSetTimer::SelectedNumbers() const {
    std::vector<int> numbers;
    for (int row = list.GetNextSelected(); row >= 0; row = list.GetNextSelected(row)) {
        const int number = EventNumberOf(list.GetItemText(row, kColumnNumber));
        if (number < 1) break;
        numbers.push_back(number);
    }
    return numbers;
}

void TSetTimer::DeleteSelected() {
    std::vector<int> numbers = SelectedNumbers();
    // Highest first, so that no removal shifts an event still to be removed.
    std::sort(numbers.rbegin(), numbers.rend());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    for (int number : numbers) PageEvents.Erase(number - 1);
    RefillList();
}

LRESULT TSetTimer::LvnColumnClick(NMHDR& header) {
    SortBy(reinterpret_cast<NMLISTVIEW&>(header).iSubItem);
    return 0;
}

void TSetTimer::SortBy(int column) {
    if (column == sortColumn_) {
        sortAscending_ = !sortAscending_;
    } else {
        sortColumn_ = column;
        sortAscending_ = true;
    }
    const LPARAM how = (column & 0xFF) | (sortAscending_ ? kSortAscending : 0);
    list.SortItems([how](LPARAM a, LPARAM b) { return ListComparator::Compare(a, b, how); });
}

LRESULT TSetTimer::EvSize(WPARAM kind, LPARAM size) {
    if (kind != SIZE_RESTORED || heightBesideList_ == 0) return 0;
    const int height = HIWORD(size);
    const int rowTop = height - buttonRowFromBottom_;
    for (int id : kButtonRow) {
        const HWND control = GetDlgItem(id);
        const RECT rect = ChildRect(GetHandle(), control);
        SetWindowPos(control, nullptr, rect.left, rowTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    const RECT rows = ChildRect(GetHandle(), list.GetHandle());
    SetWindowPos(list.GetHandle(), nullptr, 0, 0, rows.right - rows.left,
                 std::max(0, height - heightBesideList_), SWP_NOMOVE | SWP_NOZORDER);
    return 0;
}

int TSetTimer::Apply() {
    AppState.TimerEnable = enableBox.IsChecked();
    AppState.Events.Clear();
    for (int i = 0; i < PageEvents.Count(); ++i) AppState.Events.Add(PageEvents.Get(i));
    AppState.EventCount = AppState.Events.Count();
    PageEvents.Clear();
    return TPropertyPage::Apply();
}

void TSetTimer::CmCancel() { PageEvents.Clear(); }
