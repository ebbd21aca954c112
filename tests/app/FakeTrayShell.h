// Stands in for the shell's notification area: counts adds, changes and
// removals of tray icons, and can refuse adds (no taskbar yet).
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "app/TTrayIcon.h"

class FakeTrayShell {
public:
    inline static int adds = 0;
    inline static int modifies = 0;
    inline static int deletes = 0;
    inline static bool refuseAdds = false;
    inline static UINT lastIconId = 0;

    FakeTrayShell() {
        Reset();
        previous_ = SetTrayShell(&Call);
    }
    static void Reset() {
        adds = modifies = deletes = 0;
        refuseAdds = false;
    }
    ~FakeTrayShell() { SetTrayShell(previous_); }
    FakeTrayShell(const FakeTrayShell&) = delete;
    FakeTrayShell& operator=(const FakeTrayShell&) = delete;

    // Icons the taskbar shows now.
    static int Shown() { return adds - deletes; }

private:
    static BOOL Call(DWORD message, NOTIFYICONDATAA* data) {
        lastIconId = data->uID;
        switch (message) {
        case NIM_ADD:
            if (refuseAdds) return FALSE;
            ++adds;
            return TRUE;
        case NIM_MODIFY:
            ++modifies;
            return TRUE;
        case NIM_DELETE:
            ++deletes;
            return TRUE;
        default:
            return FALSE;
        }
    }
    TrayShellCall previous_ = nullptr;
};
