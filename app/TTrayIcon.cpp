#include "app/TTrayIcon.h"

#include <algorithm>
#include <cstring>

namespace {

TrayShellCall shellCall = nullptr;

BOOL CallShell(DWORD message, NOTIFYICONDATAA* data) {
    return shellCall ? shellCall(message, data) : Shell_NotifyIconA(message, data);
}

HINSTANCE ProgramModule() { return GetModuleHandleA(nullptr); }

std::string StringOf(UINT id) {
    char text[128] = {};
    const int length = LoadStringA(ProgramModule(), id, text, sizeof text);
    return length > 0 ? std::string(text, static_cast<size_t>(length)) : std::string();
}

void CopyTip(char (&tip)[128], const std::string& text) {
    const size_t length = std::min(text.size(), sizeof tip - 1);
    std::memcpy(tip, text.data(), length);
    tip[length] = '\0';
}

}  // namespace

TrayShellCall SetTrayShell(TrayShellCall call) {
    TrayShellCall previous = shellCall;
    shellCall = call;
    return previous;
}

TTrayIcon::TTrayIcon(HWND owner, UINT id) : owner_(owner) {
    // The size the shell of every supported Windows understands, with a
    // 128-character tooltip.
    data_.cbSize = NOTIFYICONDATAA_V3_SIZE;
    data_.hWnd = owner;
    data_.uID = id;
    CopyTip(data_.szTip, StringOf(id));
}

TTrayIcon::~TTrayIcon() { Notify(nullptr, std::string()); }

void TTrayIcon::SetWindow(HWND owner, UINT callbackMessage) {
    owner_ = owner;
    data_.hWnd = owner;
    data_.uCallbackMessage = callbackMessage;
}

bool TTrayIcon::SetIcon(UINT iconId) {
    iconId_ = iconId;
    if (iconId == 0) return Notify(nullptr, std::string());
    const std::string tip = StringOf(iconId);
    const int size = GetSystemMetrics(SM_CXSMICON);
    // Shared: resource icons are freed with the module, never by us.
    auto icon = static_cast<HICON>(LoadImageA(ProgramModule(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, size,
                                              size, LR_SHARED));
    return Notify(icon, tip.empty() ? std::string(data_.szTip) : tip);
}

bool TTrayIcon::Notify(HICON icon, const std::string& tip) {
    if (!icon) {
        if (shown_) CallShell(NIM_DELETE, &data_);
        shown_ = false;
        return true;
    }
    CopyTip(data_.szTip, tip);
    data_.hIcon = icon;
    data_.uFlags = NIF_ICON;
    if (data_.szTip[0]) data_.uFlags |= NIF_TIP;
    if (data_.uCallbackMessage && data_.hWnd) data_.uFlags |= NIF_MESSAGE;
    const BOOL done = CallShell(shown_ ? NIM_MODIFY : NIM_ADD, &data_);
    shown_ = done != FALSE;
    return shown_;
}

bool TTrayIcon::Restore() {
    if (iconId_ == 0) return false;
    shown_ = false;  // the new taskbar knows nothing of the old icon
    return SetIcon(iconId_);
}

LRESULT TTrayIcon::EvTrayNotify(WPARAM id, LPARAM mouseMessage) {
    const UINT mouse = static_cast<UINT>(mouseMessage);
    if (id != data_.uID) return 0;
    if (mouse != WM_LBUTTONUP && mouse != WM_LBUTTONDBLCLK && mouse != WM_RBUTTONUP) return 0;
    if (mouse == WM_RBUTTONUP) {
        ShowMenu();
    } else if (mouse == WM_LBUTTONDBLCLK) {
        HMENU menu = LoadMenuA(ProgramModule(), MAKEINTRESOURCEA(data_.uID));
        HMENU popup = menu ? GetSubMenu(menu, 0) : nullptr;
        const UINT first = popup ? GetMenuItemID(popup, 0) : 0;
        if (menu) DestroyMenu(menu);
        if (first != 0 && first != static_cast<UINT>(-1)) SendMessageA(owner_, WM_COMMAND, first, 0);
    }
    lastMouse_ = mouse;
    return 0;
}

void TTrayIcon::ShowMenu() {
    HMENU menu = LoadMenuA(ProgramModule(), MAKEINTRESOURCEA(data_.uID));
    if (!menu) return;
    HMENU popup = GetSubMenu(menu, 0);
    if (popup) {
        SetMenuDefaultItem(popup, 0, TRUE);
        POINT cursor{};
        GetCursorPos(&cursor);
        // The menu closes when the user clicks elsewhere only when the owner
        // is in the foreground; the posted message after it lets the menu
        // go away on the first click.
        SetForegroundWindow(owner_);
        TrackPopupMenu(popup, TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, owner_, nullptr);
        PostMessageA(owner_, WM_NULL, 0, 0);
    }
    DestroyMenu(menu);
}
