// The three system-wide hot keys of the frame window (settings KeyPlay,
// KeyRecord, KeyActivate: low byte virtual key, high byte HOTKEYF_ flags).
#pragma once

#include <windows.h>

constexpr int HOTKEY_TOGGLEPLAY = 0;
constexpr int HOTKEY_TOGGLERECORD = 1;
constexpr int HOTKEY_ACTIVATE = 2;

// MOD_ flags of a hot-key word's HOTKEYF_ flags; other bits are ignored.
UINT HotKeyModifiers(WORD hotKey);
// Unregisters ids 0-2 on window, then registers each key that is set.
// Failures (a key held by another program) are not reported.
void RegisterHotKeys(HWND window);
