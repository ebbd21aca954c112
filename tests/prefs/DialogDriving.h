// Driving a dialog the way the user's clicks and keystrokes reach it.
#pragma once

#include <windows.h>

#include <string>

// A button's click, as the button sends it to its dialog.
inline void Press(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Each character typed into an edit.
inline void Type(HWND edit, const std::string& text) {
    for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 0);
}
