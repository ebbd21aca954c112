// The Timer page in a hidden sheet, its event dialogs answered by scripts
// that fill the real dialog and press its buttons.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "core/AppState.h"
#include "prefs/timer/TEventDialog.h"
#include "prefs/timer/TSetTimer.h"
#include "prefs/timer/TimerRows.h"
#include "resources/ResourceIds.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/prefs/DialogDriving.h"
#include "tests/prefs/EventBuilder.h"

namespace {

// Runs the event dialog modeless, lets fill change it, presses OK (or
// Cancel); the dialog's answer is IDOK when OK closed it.
std::function<int(ModalRun&)> EventScript(std::function<void(TEventDialog&)> fill, int button = IDOK) {
    return [fill, button](ModalRun& modal) {
        auto& dialog = static_cast<TEventDialog&>(modal);
        if (!dialog.Create()) return -1;
        if (fill) fill(dialog);
        Press(dialog.GetHandle(), button);
        if (dialog.IsWindow()) {
            dialog.Destroy();
            return IDCANCEL;
        }
        return button;
    };
}

class TimerPageTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppState.Reset();
        const TimerEvent events[] = {Event(127, 10, 0, 11, 0, false, "charlie"),
                                     Event(34, 12, 0, 13, 0, true, "alpha"),
                                     Event(65, 14, 0, 15, 0, false, "bravo")};
        for (const TimerEvent& e : events) AppState.Events.Add(&e);
        AppState.TimerEnable = true;
    }
    void Open() {
        page = &static_cast<TSetTimer&>(sheet.AddPage(std::make_unique<TSetTimer>()));
        ASSERT_TRUE(sheet.Create());
    }
    void TearDown() override {
        PageEvents.Clear();
        AppState.Reset();
    }
    std::string Row(int row, int column = kColumnTime) const { return page->list.GetItemText(row, column); }
    void SelectOnly(std::initializer_list<int> rows) {
        for (int i = 0; i < page->list.GetItemCount(); ++i) page->list.SetSelected(i, false);
        for (int row : rows) page->list.SetSelected(row, true);
    }
    void ClickColumn(int column) {
        NMLISTVIEW click{};
        click.hdr.hwndFrom = page->list.GetHandle();
        click.hdr.idFrom = IDC_TIMERLIST;
        click.hdr.code = LVN_COLUMNCLICK;
        click.iItem = -1;
        click.iSubItem = column;
        SendMessageA(page->GetHandle(), WM_NOTIFY, IDC_TIMERLIST, reinterpret_cast<LPARAM>(&click));
    }

    FakeUserInteraction ui;
    ScopedUi scoped{ui};
    TPropertySheet sheet{nullptr, "Options", true, false};
    TSetTimer* page = nullptr;
};

TEST_F(TimerPageTest, ShowsTheScheduleAndNewAddsTheDefaultEvent) {
    AppState.Events.Clear();
    Open();
    EXPECT_EQ(0, page->list.GetItemCount());
    EXPECT_TRUE(page->enableBox.IsChecked());
    ui.modalScripts.push_back(EventScript(nullptr));
    Press(page->GetHandle(), IDC_TIMERNEW);
    ASSERT_EQ(1, page->list.GetItemCount());
    EXPECT_EQ("1    ", Row(0, kColumnNumber));
    EXPECT_EQ("16:00-20:00 daily", Row(0));
    EXPECT_EQ("", Row(0, kColumnNewFile));
    EXPECT_EQ("", Row(0, kColumnName));
    ASSERT_EQ(1, PageEvents.Count());
    EXPECT_TRUE(ui.messageBoxes.empty());  // no conflict
}

TEST_F(TimerPageTest, NewTakesWhatTheDialogEnteredAndCancelKeepsAll) {
    Open();
    ui.modalScripts.push_back(EventScript([](TEventDialog& d) {
        d.name.SetText("news");
        d.start.SetText("9:30pm");
        d.stop.SetText("2300");
        d.newFile.Check();
        for (int day = 0; day < 7; ++day) CheckDlgButton(d.GetHandle(), IDC_EVENTSUNDAY + day, day == 1 || day == 5);
    }));
    ui.modalScripts.push_back(EventScript(nullptr, IDCANCEL));
    Press(page->GetHandle(), IDC_TIMERNEW);
    Press(page->GetHandle(), IDC_TIMERNEW);
    ASSERT_EQ(4, page->list.GetItemCount());
    EXPECT_EQ("4    ", Row(3, kColumnNumber));
    EXPECT_EQ("21:30-23:00 MF", Row(3));
    EXPECT_EQ("x", Row(3, kColumnNewFile));
    EXPECT_EQ("news", Row(3, kColumnName));
    ASSERT_EQ(4, PageEvents.Count());
    EXPECT_EQ(34, PageEvents.Get(3)->stopDays);  // the stop falls on the start's days
}

TEST_F(TimerPageTest, DeletesExactlyTheSelectedEventsAndRenumbers) {
    Open();
    SelectOnly({1, 2});
    Press(page->GetHandle(), IDC_TIMERDELETE);
    ASSERT_EQ(1, PageEvents.Count());
    EXPECT_EQ("charlie", PageEvents.Get(0)->name);
    ASSERT_EQ(1, page->list.GetItemCount());
    EXPECT_EQ("1    ", Row(0, kColumnNumber));
}

TEST_F(TimerPageTest, AfterSortingEditAndDeleteHitTheEventShown) {
    Open();
    ClickColumn(kColumnName);  // alpha (2), bravo (3), charlie (1)
    ASSERT_EQ("alpha", Row(0, kColumnName));
    EXPECT_EQ("2    ", Row(0, kColumnNumber));
    SelectOnly({0});
    ui.modalScripts.push_back(EventScript([](TEventDialog& d) {
        EXPECT_EQ("alpha", d.name.GetText());
        d.name.SetText("alpha2");
    }));
    Press(page->GetHandle(), IDC_TIMEREDIT);
    EXPECT_EQ("alpha2", Row(0, kColumnName));
    EXPECT_EQ("2    ", Row(0, kColumnNumber));
    EXPECT_EQ("alpha2", PageEvents.Get(1)->name);
    EXPECT_EQ("charlie", PageEvents.Get(0)->name);

    SelectOnly({0});
    Press(page->GetHandle(), IDC_TIMERDELETE);
    ASSERT_EQ(2, PageEvents.Count());
    EXPECT_EQ("charlie", PageEvents.Get(0)->name);
    EXPECT_EQ("bravo", PageEvents.Get(1)->name);
}

TEST_F(TimerPageTest, TimeColumnSortsAscendingThenDescending) {
    AppState.Events.Get(1)->startHour = -1;  // alpha without a start
    Open();
    ClickColumn(kColumnTime);
    EXPECT_EQ("alpha", Row(0, kColumnName));
    EXPECT_EQ("bravo", Row(2, kColumnName));
    ClickColumn(kColumnTime);
    EXPECT_EQ("bravo", Row(0, kColumnName));
    EXPECT_EQ("alpha", Row(2, kColumnName));
}

TEST_F(TimerPageTest, ApplyHandsThePageListToTheSchedule) {
    Open();
    SelectOnly({0});
    Press(page->GetHandle(), IDC_TIMERDELETE);
    page->enableBox.Uncheck();
    EXPECT_EQ(3, AppState.Events.Count());  // untouched until confirmed
    Press(sheet.GetHandle(), IDOK);
    EXPECT_TRUE(sheet.IsFinished());
    ASSERT_EQ(2, AppState.Events.Count());
    EXPECT_EQ("alpha", AppState.Events.Get(0)->name);
    EXPECT_FALSE(AppState.TimerEnable);
    EXPECT_EQ(0, PageEvents.Count());
}

TEST_F(TimerPageTest, CancelLeavesTheSchedule) {
    Open();
    SelectOnly({0, 1, 2});
    Press(page->GetHandle(), IDC_TIMERDELETE);
    Press(sheet.GetHandle(), IDCANCEL);
    EXPECT_EQ(3, AppState.Events.Count());
    EXPECT_TRUE(AppState.TimerEnable);
}

TEST_F(TimerPageTest, RefusesAnEventBeyondTheStoredLimit) {
    AppState.Events.Clear();
    const TimerEvent e = Event(127, 1, 0, 2, 0);
    for (int i = 0; i < TSetTimer::kMaxStoredEvents; ++i) AppState.Events.Add(&e);
    Open();
    Press(page->GetHandle(), IDC_TIMERNEW);
    EXPECT_EQ(0, ui.modalCount);
    ASSERT_EQ(1u, ui.messageBoxes.size());
    EXPECT_NE(std::string::npos, ui.messageBoxes[0].text.find("1000"));
    EXPECT_EQ(TSetTimer::kMaxStoredEvents, PageEvents.Count());
}

TEST_F(TimerPageTest, AnOverlapIsReported) {
    Open();
    ui.modalScripts.push_back(EventScript([](TEventDialog& d) {
        d.start.SetText("10:30");
        d.stop.SetText("10:45");
    }));
    Press(page->GetHandle(), IDC_TIMERNEW);
    ASSERT_EQ(1u, ui.messageBoxes.size());
    EXPECT_EQ("Schedule conflict", ui.messageBoxes[0].caption);
}

TEST_F(TimerPageTest, ResizingKeepsTheButtonRowAtTheBottomAndStretchesTheList) {
    Open();
    const HWND window = page->GetHandle();
    auto rectOf = [window](HWND child) {
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    RECT client{};
    GetClientRect(window, &client);
    const RECT boxBefore = rectOf(page->enableBox.GetHandle());
    const RECT editBefore = rectOf(GetDlgItem(window, IDC_TIMEREDIT));
    const RECT listBefore = rectOf(page->list.GetHandle());
    RECT frame{};
    GetWindowRect(window, &frame);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + 40,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT grown{};
    GetClientRect(window, &grown);
    const int taller = grown.bottom - client.bottom;
    ASSERT_GT(taller, 0);
    EXPECT_EQ(boxBefore.top + taller, rectOf(page->enableBox.GetHandle()).top);
    EXPECT_EQ(editBefore.top + taller, rectOf(GetDlgItem(window, IDC_TIMEREDIT)).top);
    EXPECT_EQ(editBefore.left, rectOf(GetDlgItem(window, IDC_TIMEREDIT)).left);
    const RECT listAfter = rectOf(page->list.GetHandle());
    EXPECT_EQ(listBefore.bottom - listBefore.top + taller, listAfter.bottom - listAfter.top);
    EXPECT_EQ(listBefore.right - listBefore.left, listAfter.right - listAfter.left);
}

class EventDialogTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Create()); }
    void TearDown() override {
        if (dialog.IsWindow()) dialog.Destroy();
    }
    FakeUserInteraction ui;
    ScopedUi scoped{ui};
    TimerEvent event = Event(2, 7, 5, -1, 0, true, "old");
    TEventDialog dialog{nullptr, &event};
};

TEST_F(EventDialogTest, ShowsTheEvent) {
    EXPECT_EQ("old", dialog.name.GetText());
    EXPECT_EQ("07:05", dialog.start.GetText());
    EXPECT_EQ("", dialog.stop.GetText());
    EXPECT_TRUE(dialog.newFile.IsChecked());
    EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog.GetHandle(), IDC_EVENTSUNDAY + 1));
    EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog.GetHandle(), IDC_EVENTSUNDAY));
}

TEST_F(EventDialogTest, TimesAndNamesRefuseOtherCharacters) {
    dialog.start.SetText("");
    Type(dialog.start.GetHandle(), "9x:3;0 pM");
    EXPECT_EQ("9:30 pM", dialog.start.GetText());
    dialog.name.SetText("");
    Type(dialog.name.GetHandle(), "a:b*c?d<e>f|g\"h/i");
    EXPECT_EQ("abcdefgh/i", dialog.name.GetText());
}

// Only typing is refused: a name stored with such characters (older
// versions took any) is confirmed as it stands.
TEST_F(EventDialogTest, ConfirmsAStoredNameAsItStands) {
    dialog.Destroy();
    event.name = "a:b*c?d<e>f|g\"h";
    ASSERT_TRUE(dialog.Create());
    Press(dialog.GetHandle(), IDOK);
    EXPECT_FALSE(dialog.IsWindow());
    EXPECT_TRUE(ui.messageBoxes.empty());
    EXPECT_EQ("a:b*c?d<e>f|g\"h", event.name);
}

TEST_F(EventDialogTest, HoursAbove23AreRefusedAndNothingChanges) {
    dialog.start.SetText("25:00");
    Press(dialog.GetHandle(), IDOK);
    EXPECT_TRUE(dialog.IsWindow());
    ASSERT_EQ(1u, ui.messageBoxes.size());
    EXPECT_EQ(7, event.startHour);
    EXPECT_EQ("old", event.name);
}

TEST_F(EventDialogTest, EmptyTimesAndNoDaysAreAccepted) {
    dialog.start.SetText("");
    CheckDlgButton(dialog.GetHandle(), IDC_EVENTSUNDAY + 1, BST_UNCHECKED);
    dialog.newFile.Uncheck();
    Press(dialog.GetHandle(), IDOK);
    EXPECT_FALSE(dialog.IsWindow());
    EXPECT_EQ(-1, event.startHour);
    EXPECT_EQ(-1, event.stopHour);
    EXPECT_EQ(0, event.days);
    EXPECT_FALSE(event.newFile);
}

}  // namespace
