// Finding another program's open file dialog and its name box, for the
// programs that type a file name into the recorder's real save dialog.
#pragma once

#include <windows.h>

#include <string>

struct DialogSearch {
    DWORD thread;  // the thread whose dialog is looked for
    HWND found;
};

// EnumWindows callback: the first visible dialog of search->thread.
inline BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    if (std::string(name) == "#32770" && IsWindowVisible(window) &&
        GetWindowThreadProcessId(window, nullptr) == search->thread) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// EnumChildWindows callback: the file-name box, the first visible edit
// control that is not read-only.
inline BOOL CALLBACK FindNameBox(HWND window, LPARAM param) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
    if (std::string(name) == "Edit" && IsWindowVisible(window) && !(style & ES_READONLY)) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}
