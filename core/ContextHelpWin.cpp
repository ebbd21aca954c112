#include "core/ContextHelpWin.h"

#include <windowsx.h>
#include <htmlhelp.h>
#include <prsht.h>

#include "core/AppState.h"
#include "core/HtmlHelp.h"
#include "framework/Application.h"
#include "framework/FrameWindow.h"

namespace {

HWND MainWindowHandle() {
    TApplication* app = GetApplication();
    return app && app->GetMainWindow() ? app->GetMainWindow()->GetHandle() : nullptr;
}

DWORD ControlIdOf(HWND window) { return window ? static_cast<DWORD>(GetDlgCtrlID(window)) : 0; }

// The control under a screen point: the visible, enabled-or-not child of
// self at that point; null on self's own background.
HWND ChildAt(HWND self, POINT screen) {
    POINT client = screen;
    if (!ScreenToClient(self, &client)) return nullptr;
    HWND child = ChildWindowFromPointEx(self, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    return child == self ? nullptr : child;
}

}  // namespace

DWORD LookUpHelpId(const HelpPair* table, DWORD controlId) {
    if (!table || controlId == 0) return 0;
    for (const HelpPair* pair = table; pair->controlId != 0; ++pair) {
        if (pair->controlId == controlId) return pair->helpId ? pair->helpId : pair->controlId;
    }
    return 0;
}

void ContextHelpWin::ShowHelpPopup(DWORD helpId, HWND owner) {
    if (AppState.HelpPopupSource[0] == '\0' || helpId == 0) return;
    HH_POPUP popup{};
    popup.cbStruct = sizeof popup;
    popup.idString = helpId;
    GetCursorPos(&popup.pt);
    popup.clrForeground = static_cast<COLORREF>(-1);
    popup.clrBackground = 0xD0FFFF;  // pale yellow
    popup.rcMargins = RECT{5, 5, 5, 5};
    Help().Call(owner, AppState.HelpPopupSource, kHelpDisplayTextPopup, reinterpret_cast<DWORD_PTR>(&popup));
}

void ContextHelpWin::ShowFor(DWORD controlId) const {
    const DWORD helpId = table_ ? LookUpHelpId(table_, controlId) : controlId;
    if (helpId) ShowHelpPopup(helpId, MainWindowHandle());
}

void ContextHelpWin::EvHelp(HWND, const HELPINFO& info) {
    if (info.iContextType != HELPINFO_WINDOW) return;
    DWORD controlId = static_cast<DWORD>(info.iCtrlId);
    if (table_ && controlId == 0) controlId = ControlIdOf(static_cast<HWND>(info.hItemHandle));
    ShowFor(controlId);
}

void ContextHelpWin::EvContextMenu(HWND self, HWND clicked, POINT screen) {
    // (-1, -1) comes from the keyboard (Shift+F10, the menu key): the
    // control meant is the one with the focus.
    if (screen.x == -1 && screen.y == -1) {
        HWND focus = GetFocus();
        if (focus && IsChild(self, focus)) ShowFor(ControlIdOf(focus));
        return;
    }
    if (!table_) {
        ShowFor(ControlIdOf(clicked == self ? nullptr : clicked));
        return;
    }
    ShowFor(ControlIdOf(ChildAt(self, screen)));
}

void ContextHelpWin::CmHelp(HWND) {
    if (AppState.HelpFile[0] == '\0') return;
    if (helpContext_) {
        Help().Call(MainWindowHandle(), AppState.HelpFile, kHelpContext, helpContext_);
    } else {
        static const char kControlsTopic[] = "Controls.html";
        Help().Call(MainWindowHandle(), AppState.HelpFile, kHelpDisplayTopic,
                    reinterpret_cast<DWORD_PTR>(kControlsTopic));
    }
}

bool ContextHelpWin::DispatchContextHelp(Message& m) {
    if (m.enabler) return false;
    switch (m.msg) {
    case WM_HELP:
        if (m.lParam) EvHelp(m.hwnd, *reinterpret_cast<const HELPINFO*>(m.lParam));
        m.result = TRUE;
        return true;
    case WM_CONTEXTMENU: {
        // Signed: monitors left of or above the primary one have negative
        // coordinates.
        const POINT screen{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)};
        EvContextMenu(m.hwnd, reinterpret_cast<HWND>(m.wParam), screen);
        m.result = 0;
        return true;
    }
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
        if (!header || header->code != static_cast<UINT>(PSN_HELP)) return false;
        CmHelp(m.hwnd);
        m.result = 0;
        return true;
    }
    default:
        return false;
    }
}
