// Opening the clipboard. Another program (a clipboard viewer, a remote
// desktop client, another copy of this one) may hold it open for a moment,
// so an open is tried again for a short while before it counts as refused.
#pragma once

#include <windows.h>

// OpenClipboard(owner), retried every 10 ms for up to withinMs.
bool OpenClipboardPatiently(HWND owner, DWORD withinMs = 1000);
