// The frame's help: F1 over the frame and the Getting Started topic.
#include "app/SDIDecFrame.h"

#include "core/AppState.h"
#include "core/ContextHelpWin.h"
#include "core/HtmlHelp.h"

LRESULT SDIDecFrame::EvShowGettingStarted(WPARAM, LPARAM) {
    if (AppState.LHMode & 1) return 0;
    if (AppState.HelpFile[0] == '\0') return 0;
    static const char kTopic[] = "Getting_Started.html";
    Help().Call(hwnd_, AppState.HelpFile, kHelpDisplayTopic, reinterpret_cast<DWORD_PTR>(kTopic));
    return 0;
}

LRESULT SDIDecFrame::EvHelp(WPARAM, LPARAM lParam) {
    const auto* info = reinterpret_cast<const HELPINFO*>(lParam);
    if (!info || AppState.HelpFile[0] == '\0') return 0;
    const DWORD id = info->iContextType == HELPINFO_WINDOW
                         ? static_cast<DWORD>(GetDlgCtrlID(static_cast<HWND>(info->hItemHandle)))
                         : static_cast<DWORD>(info->iCtrlId);
    ContextHelpWin::ShowHelpPopup(id, hwnd_);
    return 0;
}
