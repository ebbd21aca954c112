#include "framework/Clipboard.h"

bool OpenClipboardPatiently(HWND owner, DWORD withinMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (OpenClipboard(owner)) return true;
        if (GetTickCount() - start >= withinMs) return false;
        Sleep(10);
    }
}
