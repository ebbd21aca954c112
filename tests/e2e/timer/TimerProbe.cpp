// Makes one timer event the way a user does, through the Timer page and its
// event dialog driven by sent messages, and saves the schedule into an INI
// file for the real program to run.
//   timer_probe SETTINGS.ini START STOP NAME     (times as "14:05")
// Exit code 0 when the page took the event and the file was written.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <memory>
#include <string>

#include "core/AppState.h"
#include "framework/PropertySheet.h"
#include "framework/UserInteraction.h"
#include "prefs/timer/TSetTimer.h"
#include "resources/ResourceIds.h"
#include "tests/prefs/DialogDriving.h"

namespace {

void SetText(HWND dialog, int id, const std::string& text) {
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

// Answers the page's event dialog: shown modeless, filled and confirmed.
class EventEntry : public UserInteraction {
public:
    EventEntry(std::string start, std::string stop, std::string name)
        : start_(std::move(start)), stop_(std::move(stop)), name_(std::move(name)) {}
    int MessageBox(HWND, const std::string& text, const std::string&, UINT) override {
        std::fprintf(stderr, "message: %s\n", text.c_str());
        return IDOK;
    }
    bool OpenFileDialog(HWND, FileDialogData&) override { return false; }
    bool SaveFileDialog(HWND, FileDialogData&) override { return false; }
    bool Launch(const std::string&, int) override { return false; }
    bool ShellOpen(HWND, const std::string&, const std::string&) override { return false; }
    int RunModal(ModalRun& modal) override {
        auto& dialog = static_cast<TDialog&>(modal);
        if (!dialog.Create()) return IDCANCEL;
        const HWND window = dialog.GetHandle();
        SetText(window, IDC_EVENTNAME, name_);
        SetText(window, IDC_EVENTSTART, start_);
        SetText(window, IDC_EVENTSTOP, stop_);
        SendMessageA(GetDlgItem(window, IDC_EVENTNEWFILE), BM_SETCHECK, BST_CHECKED, 0);
        Press(window, IDOK);
        if (IsWindow(window)) {
            dialog.Destroy();
            return IDCANCEL;
        }
        return IDOK;
    }

private:
    std::string start_, stop_, name_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: timer_probe SETTINGS.ini START STOP NAME\n");
        return 2;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
    AppState.Reset();
    EventEntry entry(argv[2], argv[3], argv[4]);
    SetUi(&entry);
    int rows = 0;
    {
        TPropertySheet sheet(nullptr, "Options", true, false);
        auto& page = static_cast<TSetTimer&>(sheet.AddPage(std::make_unique<TSetTimer>()));
        if (!sheet.Create()) return 1;
        Press(page.GetHandle(), IDC_TIMERNEW);
        SendMessageA(page.enableBox.GetHandle(), BM_SETCHECK, BST_CHECKED, 0);
        rows = page.list.GetItemCount();
        std::printf("row: %s\n", page.list.GetItemText(0, 1).c_str());
        Press(sheet.GetHandle(), IDOK);
        if (!sheet.IsFinished()) return 1;
    }
    SetUi(nullptr);
    if (rows != 1 || AppState.Events.Count() != 1 || !AppState.TimerEnable) return 1;
    TSetTimer::Save(nullptr, argv[1]);
    return 0;
}
