// Drives the running program's preferences sheet from outside, as a user
// would through the menus: one step per run, so a script can take a
// screenshot between steps.
//   sheet_driver open            Options menu: Preferences..., wait for the sheet
//   sheet_driver page N          show the N-th page (from 0); prints its title
//   sheet_driver show ID         show the page that holds control ID
//   sheet_driver text ID [TEXT]  print (or set) the text of control ID
//   sheet_driver click ID        click the button ID of the page shown
//   sheet_driver pick ID PREFIX  choose the first entry of combo ID beginning with PREFIX
//   sheet_driver ok              press OK and wait until the sheet is gone
//   sheet_driver saveas PATH     File: "Save settings as..." into PATH
//   sheet_driver answer CAPTION  press OK in the program's dialog of that caption
// Exit code 0 on success, 1 with a message otherwise.
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "resources/ResourceIds.h"

namespace {

constexpr int kWaitMs = 15000;
// A format page's set-up asks every codec about its formats: seconds.
constexpr UINT kSendTimeoutMs = 30000;

HWND Frame() { return FindWindowA("Larkspur-PRO", nullptr); }

// A visible dialog titled title, owned by the program's frame.
HWND OwnedDialog(const char* title) {
    HWND frame = Frame();
    for (HWND w = FindWindowA("#32770", title); w; w = FindWindowExA(nullptr, w, "#32770", title)) {
        if (GetWindow(w, GW_OWNER) == frame && IsWindowVisible(w)) return w;
    }
    return nullptr;
}

HWND WaitFor(const char* title) {
    for (int waited = 0; waited < kWaitMs; waited += 100) {
        if (HWND w = OwnedDialog(title)) return w;
        Sleep(100);
    }
    return nullptr;
}

LRESULT Send(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(w, msg, wp, lp, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

int Fail(const std::string& why) {
    std::fprintf(stderr, "sheet_driver: %s\n", why.c_str());
    return 1;
}

HWND CurrentPage(HWND sheet) { return reinterpret_cast<HWND>(Send(sheet, PSM_GETCURRENTPAGEHWND, 0, 0)); }

// WM_GETTEXT itself: GetWindowText does not ask a window of another
// process, it reads the caption the system keeps (empty for an edit's text).
std::string TextOf(HWND w) {
    char text[512] = {};
    Send(w, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

int Open() {
    if (!Frame()) return Fail("the program's window is not there");
    if (OwnedDialog("Options")) return 0;
    PostMessageA(Frame(), WM_COMMAND, MAKEWPARAM(CM_PREFERENCES, 0), 0);
    return WaitFor("Options") ? 0 : Fail("no preferences sheet appeared");
}

int Page(HWND sheet, int index) {
    if (!Send(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0)) return Fail("no page " + std::to_string(index));
    Sleep(300);  // let the page paint before a screenshot
    std::printf("%s\n", TextOf(CurrentPage(sheet)).c_str());
    return 0;
}

int Show(HWND sheet, int controlId) {
    for (int index = 0; index < 32; ++index) {
        if (!Send(sheet, PSM_SETCURSEL, static_cast<WPARAM>(index), 0)) break;
        if (GetDlgItem(CurrentPage(sheet), controlId)) return 0;
    }
    return Fail("no page holds control " + std::to_string(controlId));
}

int Text(HWND sheet, int controlId, const char* text) {
    HWND control = GetDlgItem(CurrentPage(sheet), controlId);
    if (!control) return Fail("the page shown has no control " + std::to_string(controlId));
    if (text) {
        Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    } else {
        std::printf("%s\n", TextOf(control).c_str());
    }
    return 0;
}

HWND PageControl(HWND sheet, int controlId) { return GetDlgItem(CurrentPage(sheet), controlId); }

int Click(HWND sheet, int controlId) {
    HWND button = PageControl(sheet, controlId);
    if (!button) return Fail("the page shown has no control " + std::to_string(controlId));
    Send(button, BM_CLICK, 0, 0);
    return 0;
}

LRESULT SendW(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
    return static_cast<LRESULT>(result);
}

// Chooses as the user does: the selection, then the combo's notification
// to its page. The list is asked in wide characters: its ANSI texts do not
// cross from one process to another under Wine.
int Pick(HWND sheet, int controlId, const char* prefix) {
    HWND combo = PageControl(sheet, controlId);
    if (!combo) return Fail("the page shown has no control " + std::to_string(controlId));
    wchar_t wide[256] = {};
    MultiByteToWideChar(CP_ACP, 0, prefix, -1, wide, 255);
    const LRESULT index = SendW(combo, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(wide));
    if (index < 0 || Send(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0) != index) {
        const LRESULT count = Send(combo, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count && i < 40; ++i) {
            wchar_t text[512] = {};
            SendW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            std::fprintf(stderr, "  %ls\n", text);
        }
        return Fail(std::string("no entry begins with ") + prefix);
    }
    Send(CurrentPage(sheet), WM_COMMAND, MAKEWPARAM(controlId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
    return 0;
}

int Ok(HWND sheet) {
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    for (int waited = 0; waited < kWaitMs; waited += 100) {
        if (!IsWindow(sheet) || !IsWindowVisible(sheet)) return 0;
        Sleep(100);
    }
    return Fail("the sheet stayed open");
}

int SaveAs(const char* path) {
    if (!Frame()) return Fail("the program's window is not there");
    PostMessageA(Frame(), WM_COMMAND, MAKEWPARAM(CM_SAVESETTINGSAS, 0), 0);
    HWND dialog = WaitFor("Save As");
    if (!dialog) return Fail("no file dialog appeared");
    Sleep(500);
    // The file-name box of the common file dialog: an edit (edt1), or the
    // edit inside the combo box cmb13 of the Explorer-style dialog.
    HWND name = GetDlgItem(dialog, 0x480);
    for (HWND box = GetDlgItem(dialog, 0x47c); !name && box; box = FindWindowExA(box, nullptr, nullptr, nullptr)) {
        char cls[32] = {};
        GetClassNameA(box, cls, sizeof cls);
        if (lstrcmpiA(cls, "Edit") == 0) name = box;
    }
    if (!name) return Fail("the file dialog has no name field");
    Send(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    for (int waited = 0; waited < kWaitMs; waited += 100) {
        if (GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES && !IsWindow(dialog)) return 0;
        Sleep(100);
    }
    return Fail(std::string("nothing was saved as ") + path);
}

// A question the program asks on its own (the category of a recording at
// closing): OK, as the user would press it.
int Answer(const char* caption) {
    DWORD program = 0;
    if (HWND frame = Frame()) GetWindowThreadProcessId(frame, &program);
    if (!program) return Fail("the program's window is not there");
    for (int waited = 0; waited < kWaitMs; waited += 100) {
        for (HWND w = FindWindowA("#32770", caption); w; w = FindWindowExA(nullptr, w, "#32770", caption)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(w, &owner);
            if (owner != program || !IsWindowVisible(w)) continue;
            PostMessageA(w, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(w, IDOK)));
            for (int gone = 0; gone < kWaitMs && IsWindow(w); gone += 100) Sleep(100);
            return IsWindow(w) ? Fail(std::string("the dialog ") + caption + " stayed open") : 0;
        }
        Sleep(100);
    }
    return Fail(std::string("no dialog ") + caption + " appeared");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Fail("usage: sheet_driver open|page N|show ID|text ID [TEXT]|click ID|pick ID PREFIX|ok|saveas PATH|answer CAPTION");
    const std::string step = argv[1];
    if (step == "open") return Open();
    if (step == "saveas" && argc > 2) return SaveAs(argv[2]);
    if (step == "answer" && argc > 2) return Answer(argv[2]);
    HWND sheet = OwnedDialog("Options");
    if (!sheet) return Fail("the preferences sheet is not open");
    if (step == "page" && argc > 2) return Page(sheet, std::atoi(argv[2]));
    if (step == "show" && argc > 2) return Show(sheet, std::atoi(argv[2]));
    if (step == "text" && argc > 2) return Text(sheet, std::atoi(argv[2]), argc > 3 ? argv[3] : nullptr);
    if (step == "click" && argc > 2) return Click(sheet, std::atoi(argv[2]));
    if (step == "pick" && argc > 3) return Pick(sheet, std::atoi(argv[2]), argv[3]);
    if (step == "ok") return Ok(sheet);
    return Fail("unknown step " + step);
}
