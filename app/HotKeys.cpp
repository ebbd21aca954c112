#include "app/HotKeys.h"

#include <commctrl.h>

#include "core/AppState.h"

UINT HotKeyModifiers(WORD hotKey) {
    const BYTE flags = HIBYTE(hotKey);
    UINT modifiers = 0;
    if (flags & HOTKEYF_SHIFT) modifiers |= MOD_SHIFT;
    if (flags & HOTKEYF_CONTROL) modifiers |= MOD_CONTROL;
    if (flags & HOTKEYF_ALT) modifiers |= MOD_ALT;
    return modifiers;
}

void RegisterHotKeys(HWND window) {
    const WORD keys[] = {AppState.KeyPlay, AppState.KeyRecord, AppState.KeyActivate};
    for (int id = 0; id < 3; ++id) {
        UnregisterHotKey(window, id);
        // A word of 0 names no key: registering it would fail anyway.
        if (LOBYTE(keys[id]) != 0) RegisterHotKey(window, id, HotKeyModifiers(keys[id]), LOBYTE(keys[id]));
    }
}
