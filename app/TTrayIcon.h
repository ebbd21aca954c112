// TTrayIcon: the frame's icon in the notification area and its pop-up menu.
// The icon id doubles as the resource id of the pop-up menu and of the
// first tooltip text.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>

// Shell_NotifyIconA, replaceable so tests can count adds and refuse them.
using TrayShellCall = BOOL (*)(DWORD message, NOTIFYICONDATAA* data);
// Installs a replacement; null restores the shell. Returns the one before.
TrayShellCall SetTrayShell(TrayShellCall call);

class TTrayIcon {
public:
    // owner: the window whose commands the menu sends; id: the icon's id,
    // its menu's resource id and its first tooltip's string id.
    TTrayIcon(HWND owner, UINT id);
    virtual ~TTrayIcon();
    TTrayIcon(const TTrayIcon&) = delete;
    TTrayIcon& operator=(const TTrayIcon&) = delete;

    void SetWindow(HWND owner, UINT callbackMessage);
    // Shows the icon resource iconId (its string, when there is one, becomes
    // the tooltip); 0 removes the icon. True when the shell shows it.
    bool SetIcon(UINT iconId);
    // With an icon: modify when one is shown, else add; without: delete.
    bool Notify(HICON icon, const std::string& tip);
    // The shell shows our icon.
    bool IsShown() const { return shown_; }
    // The taskbar was created again (Explorer restarted, or started late):
    // adds the icon last asked for again.
    bool Restore();

    // The callback message: the mouse message of the shell for our id.
    virtual LRESULT EvTrayNotify(WPARAM id, LPARAM mouseMessage);
    UINT LastMouseMessage() const { return lastMouse_; }

private:
    void ShowMenu();

    NOTIFYICONDATAA data_{};
    HWND owner_;
    UINT iconId_ = 0;   // the icon last asked for
    HICON icon_ = nullptr;
    bool shown_ = false;
    UINT lastMouse_ = 0;
};
