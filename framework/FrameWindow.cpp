#include "framework/FrameWindow.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "framework/Application.h"

namespace {
constexpr DWORD kButtonListMs = 2000;
}  // namespace

const MsgEntry<TFrameWindow> TFrameWindow::kMessages[] = {
    OnMessage(WM_INITMENUPOPUP, &TFrameWindow::EvInitMenuPopup),
    OnSize(&TFrameWindow::EvSize),
    OnDestroy(&TFrameWindow::EvDestroy),
    OnMessage(WM_SETFOCUS, &TFrameWindow::EvSetFocus),
};

TFrameWindow::TFrameWindow(TWindow* parent, const std::string& title, std::unique_ptr<TWindow> client,
                           bool shrinkToClient)
    : TWindow(parent, title), client_(std::move(client)), shrinkToClient_(shrinkToClient) {
    if (client_) client_->SetParent(this);
}

TFrameWindow::~TFrameWindow() {
    // The client's window and the tool tip (an owned pop-up) die with the
    // frame's window, while the client's object is still there for their
    // last messages; then the object goes.
    if (hwnd_) Destroy();
    client_.reset();
}

bool TFrameWindow::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || TWindow::Dispatch(m);
}

bool TFrameWindow::Route(Message& m) {
    if (m.msg == WM_COMMAND && m.lParam == 0) return RouteCommand(m);
    if (Dispatch(m)) return true;
    TApplication* app = GetApplication();
    const bool forApplication = m.msg == WM_COPYDATA || (m.msg >= 0xC000 && m.msg <= 0xFFFF);
    return forApplication && app && app->Dispatch(m);
}

void TFrameWindow::SetupWindow() {
    InitCommonControlsOnce();
    if (menuId_) SetMenuResource(menuId_);
    if (acceleratorId_) SetAcceleratorResource(acceleratorId_);
    if (largeIconId_) SetIconResource(largeIconId_, true);
    if (smallIconId_) SetIconResource(smallIconId_, false);
    tooltip_ = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, Module(), nullptr);
    TWindow::SetupWindow();  // creates the client
    if (client_ && client_->GetHandle()) {
        if (shrinkToClient_) ShrinkToClient();
        ShowWindow(client_->GetHandle(), SW_SHOW);
    }
}

void TFrameWindow::ShrinkToClient() {
    RECT clientRect;
    GetWindowRect(client_->GetHandle(), &clientRect);
    const int width = clientRect.right - clientRect.left;
    const int height = clientRect.bottom - clientRect.top;
    RECT frame{0, 0, width, height};
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(GetWindowLongPtrA(hwnd_, GWL_EXSTYLE));
    AdjustWindowRectEx(&frame, style, GetMenu(hwnd_) != nullptr, exStyle);
    const UINT flags = SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top, flags);
    // A menu wider than the window wraps onto a second line, which the
    // adjustment above does not know about: grow by what is missing.
    RECT inside;
    GetClientRect(hwnd_, &inside);
    const int missing = height - (inside.bottom - inside.top);
    if (missing > 0) {
        SetWindowPos(hwnd_, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + missing, flags);
    }
    SetWindowPos(client_->GetHandle(), nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void TFrameWindow::SetMenuResource(int menuId) {
    menuId_ = menuId;
    if (!hwnd_) return;
    HMENU old = GetMenu(hwnd_);
    HMENU menu = LoadMenuA(Module(), MAKEINTRESOURCEA(menuId));
    if (!menu) return;
    SetMenu(hwnd_, menu);
    if (old) DestroyMenu(old);
}

void TFrameWindow::SetAcceleratorResource(int acceleratorId) {
    acceleratorId_ = acceleratorId;
    // Accelerator tables from resources are freed with the module.
    accelerators_ = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(acceleratorId));
}

bool TFrameWindow::SetIconResource(int iconId, bool large) {
    (large ? largeIconId_ : smallIconId_) = iconId;
    if (!hwnd_) return true;
    const int size = GetSystemMetrics(large ? SM_CXICON : SM_CXSMICON);
    auto icon = static_cast<HICON>(
        LoadImageA(Module(), MAKEINTRESOURCEA(iconId), IMAGE_ICON, size, size, LR_SHARED));
    if (!icon) return false;
    SetIcon(icon, large);
    return true;
}

bool TFrameWindow::AddTool(HWND tool, const std::string& text) {
    if (!tooltip_ || !tool) return false;
    TTTOOLINFOA info{};
    info.cbSize = TTTOOLINFOA_V2_SIZE;  // understood by every version of the control
    info.uFlags = TTF_IDISHWND;
    info.hwnd = hwnd_;
    info.uId = reinterpret_cast<UINT_PTR>(tool);
    info.lpszText = const_cast<char*>(text.c_str());
    return ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&info)) != 0;
}

bool TFrameWindow::PreProcessMsg(MSG& msg) {
    if (accelerators_ && TranslateAcceleratorA(hwnd_, accelerators_, &msg)) return true;
    if (client_ && client_->GetHandle()) {
        char className[16] = {};
        ::GetClassNameA(client_->GetHandle(), className, sizeof className);
        if (lstrcmpA(className, "#32770") == 0 && IsDialogMessageA(client_->GetHandle(), &msg)) return true;
    }
    return false;
}

bool TFrameWindow::IdleAction(long idleCount) {
    if (idleCount == 0) UpdateButtons();
    return TWindow::IdleAction(idleCount);
}

void TFrameWindow::CloseWindow(int result) {
    TApplication* app = GetApplication();
    if (app && app->GetMainWindow() == this) {
        if (app->CanClose()) Destroy();
        return;
    }
    TWindow::CloseWindow(result);
}

std::vector<TWindow*> TFrameWindow::FocusChain() const {
    std::vector<TWindow*> chain;
    HWND focus = GetFocus();
    if (focus && IsChild(hwnd_, focus)) {
        for (HWND hwnd = focus; hwnd && hwnd != hwnd_; hwnd = ::GetParent(hwnd)) {
            if (TWindow* window = FromHandle(hwnd)) chain.push_back(window);
        }
    }
    return chain;
}

bool TFrameWindow::RouteToChain(Message& m, const std::vector<TWindow*>* focusChain) {
    std::vector<TWindow*> asked;
    auto ask = [&](TWindow* window) {
        asked.push_back(window);
        const HWND saved = m.hwnd;
        m.hwnd = window->GetHandle();
        const bool handled = window->Dispatch(m);
        m.hwnd = saved;
        return handled;
    };
    const std::vector<TWindow*> ownChain = focusChain ? std::vector<TWindow*>() : FocusChain();
    for (TWindow* window : focusChain ? *focusChain : ownChain) {
        if (ask(window)) return true;
    }
    if (ask(this)) return true;
    if (client_ && std::find(asked.begin(), asked.end(), client_.get()) == asked.end() && ask(client_.get())) {
        return true;
    }
    TApplication* app = GetApplication();
    return app && app->Dispatch(m);
}

TCommandEnabler TFrameWindow::QueryEnabler(UINT id, HMENU menu) { return QueryEnabler(id, menu, FocusChain()); }

TCommandEnabler TFrameWindow::QueryEnabler(UINT id, HMENU menu, const std::vector<TWindow*>& focusChain) {
    TCommandEnabler enabler(id, menu);
    Message m;
    m.hwnd = hwnd_;
    m.msg = WM_NULL;
    m.enabler = &enabler;
    RouteToChain(m, &focusChain);
    return enabler;
}

bool TFrameWindow::HasCommandHandler(UINT id) {
    Message m;
    m.hwnd = hwnd_;
    m.msg = WM_COMMAND;
    m.wParam = MAKEWPARAM(id, 0);
    m.probe = true;
    return RouteToChain(m);
}

bool TFrameWindow::RouteCommand(Message& m) {
    const TCommandEnabler enabler = QueryEnabler(LOWORD(m.wParam));
    if (enabler.Enabled() && !*enabler.Enabled()) return true;  // a disabled command never runs
    return RouteToChain(m);
}

void TFrameWindow::UpdateMenu(HMENU menu) {
    // Ids first: an enabler may insert items (the recent-files list does).
    std::vector<UINT> ids;
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.hSubMenu || (info.fType & MFT_SEPARATOR)) continue;
        ids.push_back(info.wID);
    }
    const std::vector<TWindow*> focusChain = FocusChain();
    for (UINT id : ids) {
        const TCommandEnabler enabler = QueryEnabler(id, menu, focusChain);
        const bool enable = enabler.Enabled().value_or(enabler.Handled() || HasCommandHandler(id));
        EnableMenuItem(menu, id, MF_BYCOMMAND | (enable ? MF_ENABLED : MF_GRAYED));
        if (enabler.Check()) {
            CheckMenuItem(menu, id, MF_BYCOMMAND | (*enabler.Check() ? MF_CHECKED : MF_UNCHECKED));
        }
        if (enabler.Text()) {
            MENUITEMINFOA info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_STRING;
            info.dwTypeData = const_cast<char*>(enabler.Text()->c_str());
            SetMenuItemInfoA(menu, id, FALSE, &info);
        }
    }
}

const std::vector<HWND>& TFrameWindow::ClientButtons() {
    const HWND client = client_->GetHandle();
    const DWORD now = GetTickCount();
    if (!buttons_.empty() && client == buttonsClient_ && now - buttonsListedAt_ < kButtonListMs) return buttons_;
    buttons_.clear();
    buttonsClient_ = client;
    buttonsListedAt_ = now;
    for (HWND child = GetWindow(client, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = {};
        ::GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Button") == 0 && GetDlgCtrlID(child) > 0) buttons_.push_back(child);
    }
    return buttons_;
}

// Runs after every burst of messages: everything here that asks the window
// system (the list of buttons, the focus) is asked once a pass or less.
void TFrameWindow::UpdateButtons() {
    if (!client_ || !client_->GetHandle()) return;
    const HWND client = client_->GetHandle();
    const std::vector<TWindow*> focusChain = FocusChain();
    const std::vector<HWND> buttons = ClientButtons();  // a copy: an enabler may list them again
    for (HWND child : buttons) {
        if (!::IsWindow(child) || ::GetParent(child) != client) continue;  // gone since listed
        const TCommandEnabler enabler = QueryEnabler(static_cast<UINT>(GetDlgCtrlID(child)), nullptr, focusChain);
        if (!enabler.Handled()) continue;  // buttons without enablers keep their state
        if (enabler.Enabled() && (IsWindowEnabled(child) != FALSE) != *enabler.Enabled()) {
            ::EnableWindow(child, *enabler.Enabled());
        }
        const WPARAM check = enabler.Check() ? static_cast<WPARAM>(*enabler.Check()) : 0;
        if (enabler.Check() && static_cast<WPARAM>(::SendMessageA(child, BM_GETCHECK, 0, 0)) != check) {
            ::SendMessageA(child, BM_SETCHECK, check, 0);
        }
        if (enabler.Text() && WindowText(child) != *enabler.Text()) SetWindowTextA(child, enabler.Text()->c_str());
    }
}

bool TFrameWindow::EvInitMenuPopup(Message& m) {
    if (HIWORD(m.lParam)) return false;  // the system menu keeps its own states
    UpdateMenu(reinterpret_cast<HMENU>(m.wParam));
    return true;
}

void TFrameWindow::EvSize(UINT sizeType, SIZE clientSize) {
    if (sizeType == SIZE_MINIMIZED || !client_ || !client_->GetHandle()) return;
    SetWindowPos(client_->GetHandle(), nullptr, 0, 0, clientSize.cx, clientSize.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
}

void TFrameWindow::EvDestroy() {
    tooltip_ = nullptr;  // destroyed with its owner; the handle may be reused
    TApplication* app = GetApplication();
    if (app && app->GetMainWindow() == this && app->IsRunning()) PostQuitMessage(0);
}

bool TFrameWindow::EvSetFocus(Message&) {
    if (!client_ || !client_->GetHandle()) return false;
    ::SetFocus(client_->GetHandle());
    return true;
}
