#include "framework/Window.h"

#include <commctrl.h>

#include <algorithm>
#include <mutex>
#include <unordered_map>

namespace {
// Which object each window belongs to. A table of our own works for windows
// of every class, including subclassed system controls and dialogs, whose
// user-data slots belong to their owners; and unlike a window property it is
// read without a round trip to the window system, which matters as it is
// read several times for every message.
std::mutex objectsLock;
std::unordered_map<HWND, TWindow*>& Objects() {
    static auto* objects = new std::unordered_map<HWND, TWindow*>;  // outlives every window
    return *objects;
}

void Bind(HWND hwnd, TWindow* window) {
    std::lock_guard<std::mutex> hold(objectsLock);
    Objects()[hwnd] = window;
}

// Only the given object's entry: the handle may be bound to another by now.
void Unbind(HWND hwnd, const TWindow* window) {
    std::lock_guard<std::mutex> hold(objectsLock);
    auto found = Objects().find(hwnd);
    if (found != Objects().end() && found->second == window) Objects().erase(found);
}
}  // namespace

TWindow* TWindow::creating_ = nullptr;

void InitCommonControlsOnce() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX controls{};
        controls.dwSize = sizeof controls;
        controls.dwICC = ICC_WIN95_CLASSES | ICC_BAR_CLASSES | ICC_HOTKEY_CLASS | ICC_UPDOWN_CLASS |
                         ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS | ICC_TAB_CLASSES;
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    (void)done;
}

bool EntryMatches(const EntryKey& key, const Message& m) {
    switch (key.kind) {
    case EntryKind::WindowMessage:
        return m.msg == key.msg && !m.enabler;
    case EntryKind::Command: {
        if (m.msg != WM_COMMAND) return false;
        const UINT id = LOWORD(m.wParam);
        const bool fromControl = m.lParam != 0;
        return id >= key.id && id <= key.idLast && (!fromControl || HIWORD(m.wParam) == BN_CLICKED);
    }
    case EntryKind::Enabler:
        return m.msg == WM_NULL && m.enabler && m.enabler->Id() == key.id;
    case EntryKind::Child:
    case EntryKind::ChildAll: {
        if (!m.lParam) return false;
        UINT id = 0;
        UINT code = 0;
        if (m.msg == WM_COMMAND) {
            id = LOWORD(m.wParam);
            code = HIWORD(m.wParam);
        } else if (m.msg == WM_HSCROLL || m.msg == WM_VSCROLL) {
            // Scroll messages are routed by the control that sent them.
            id = static_cast<UINT>(GetDlgCtrlID(reinterpret_cast<HWND>(m.lParam)));
            code = LOWORD(m.wParam);
        } else {
            return false;
        }
        return id == key.id && (key.kind == EntryKind::ChildAll || code == key.code);
    }
    case EntryKind::Notify: {
        if (m.msg != WM_NOTIFY || !m.lParam) return false;
        const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
        return header->idFrom == key.id && header->code == key.code;
    }
    case EntryKind::Registered:
        return m.msg >= 0xC000 && m.msg <= 0xFFFF && m.msg == RegisteredMessageId(key.name);
    }
    return false;
}

UINT RegisteredMessageId(const char* name) {
    static std::unordered_map<std::string, UINT> ids;
    auto found = ids.find(name);
    if (found != ids.end()) return found->second;
    const UINT id = RegisterWindowMessageA(name);
    ids.emplace(name, id);
    return id;
}

const MsgEntry<TWindow> TWindow::kMessages[] = {
    OnMessage(WM_DRAWITEM, &TWindow::EvDrawItem),
    OnClose(&TWindow::EvClose),
};

TWindow::TWindow(TWindow* parent, const std::string& title) {
    Attr.title = title;
    SetParent(parent);
}

TWindow::~TWindow() {
    for (TWindow* child : children_) child->parent_ = nullptr;
    SetParent(nullptr);
    if (hwnd_) {
        // The object goes first, so the messages of the destruction reach
        // only the window's own procedure.
        HWND hwnd = hwnd_;
        Detach();
        DestroyWindow(hwnd);
    }
}

void TWindow::SetParent(TWindow* parent) {
    if (parent_) {
        auto& siblings = parent_->children_;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    parent_ = parent;
    if (parent_) parent_->children_.push_back(this);
}

HINSTANCE TWindow::Module() { return GetModuleHandleA(nullptr); }

TWindow* TWindow::FromHandle(HWND hwnd) {
    if (!hwnd) return nullptr;
    std::lock_guard<std::mutex> hold(objectsLock);
    auto found = Objects().find(hwnd);
    return found == Objects().end() ? nullptr : found->second;
}

void TWindow::GetWindowClass(WNDCLASSEXA& wc) const {
    wc.style = CS_DBLCLKS;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
}

bool TWindow::Create() {
    if (hwnd_) return true;
    const std::string className = GetClassName();
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    const bool known = GetClassInfoExA(Module(), className.c_str(), &existing) ||
                       GetClassInfoExA(nullptr, className.c_str(), &existing);
    if (known && existing.lpfnWndProc != &TWindow::WindowProc) return CreateForeignClass(className);
    if (!known) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        GetWindowClass(wc);
        wc.lpfnWndProc = &TWindow::WindowProc;
        wc.hInstance = Module();
        wc.lpszClassName = className.c_str();
        if (!RegisterClassExA(&wc)) return false;
    }
    return CreateOwnClass();
}

bool TWindow::CreateOwnClass() {
    HWND parentHandle = parent_ ? parent_->hwnd_ : nullptr;
    HMENU idOrMenu = (Attr.style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(Attr.id)) : nullptr;
    creating_ = this;
    HWND hwnd = CreateWindowExA(Attr.exStyle, GetClassName().c_str(), Attr.title.c_str(), Attr.style,
                                Attr.x, Attr.y, Attr.w, Attr.h, parentHandle, idOrMenu, Module(), nullptr);
    creating_ = nullptr;
    return hwnd != nullptr && hwnd_ == hwnd;
}

bool TWindow::CreateForeignClass(const std::string& className) {
    InitCommonControlsOnce();
    HWND parentHandle = parent_ ? parent_->hwnd_ : nullptr;
    DWORD style = Attr.style;
    if (parentHandle) style |= WS_CHILD;
    HMENU id = (style & WS_CHILD) ? reinterpret_cast<HMENU>(static_cast<INT_PTR>(Attr.id)) : nullptr;
    int w = Attr.w == CW_USEDEFAULT ? 0 : Attr.w;
    int h = Attr.h == CW_USEDEFAULT ? 0 : Attr.h;
    int x = Attr.x == CW_USEDEFAULT ? 0 : Attr.x;
    int y = Attr.y == CW_USEDEFAULT ? 0 : Attr.y;
    HWND hwnd = CreateWindowExA(Attr.exStyle, className.c_str(), Attr.title.c_str(), style, x, y, w, h,
                                parentHandle, id, Module(), nullptr);
    if (!hwnd) return false;
    Attach(hwnd);
    SetupWindow();
    return true;
}

void TWindow::Attach(HWND hwnd) {
    hwnd_ = hwnd;
    Bind(hwnd, this);
    auto current = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    if (current != &TWindow::WindowProc) {
        previousProc_ = current;
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWindow::WindowProc));
    }
}

void TWindow::Detach() {
    if (!hwnd_) return;
    if (previousProc_) {
        SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousProc_));
        previousProc_ = nullptr;
    }
    Unbind(hwnd_, this);
    hwnd_ = nullptr;
}

void TWindow::CreateChildren() {
    // Copy: a child's set-up may add further children.
    const std::vector<TWindow*> children = children_;
    for (TWindow* child : children) {
        if (child->hwnd_ || !child->CreatedWithParent()) continue;
        if (child->attachToItem_) {
            HWND item = ::GetDlgItem(hwnd_, child->Attr.id);
            // An item already bound to another object stays with it: a second
            // subclass would tear the first one's out when either goes.
            if (!item || FromHandle(item)) continue;
            child->Attach(item);
            child->SetupWindow();
        } else {
            child->Create();
        }
    }
}

void TWindow::SetupWindow() { CreateChildren(); }

bool TWindow::CanClose() {
    const std::vector<TWindow*> children = children_;
    for (TWindow* child : children) {
        if (child->hwnd_ && !child->CanClose()) return false;
    }
    return true;
}

bool TWindow::PreProcessMsg(MSG&) { return false; }

bool TWindow::IdleAction(long idleCount) {
    bool more = false;
    const std::vector<TWindow*> children = children_;
    for (TWindow* child : children) {
        if (child->hwnd_) more = child->IdleAction(idleCount) || more;
    }
    return more;
}

void TWindow::CloseWindow(int) {
    if (CanClose()) Destroy();
}

void TWindow::Destroy() {
    if (hwnd_) DestroyWindow(hwnd_);
}

bool TWindow::DrawItem(DRAWITEMSTRUCT&) { return false; }

bool TWindow::EvDrawItem(Message& m) {
    auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(m.lParam);
    if (!item || item->CtlType == ODT_MENU) return false;
    TWindow* control = FromHandle(item->hwndItem);
    if (!control || !control->DrawItem(*item)) return false;
    m.result = TRUE;
    return true;
}

void TWindow::EvClose() { CloseWindow(); }

void TWindow::SetCaption(const std::string& caption) {
    Attr.title = caption;
    if (hwnd_) SetWindowTextA(hwnd_, caption.c_str());
}

std::string TWindow::GetCaption() const { return hwnd_ ? WindowText(hwnd_) : Attr.title; }

std::string TWindow::WindowText(HWND hwnd) {
    if (!hwnd) return std::string();
    std::string text(static_cast<size_t>(GetWindowTextLengthA(hwnd)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(hwnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

bool TWindow::SetTimer(UINT_PTR timerId, UINT periodMs) {
    return hwnd_ && ::SetTimer(hwnd_, timerId, periodMs, nullptr) != 0;
}

bool TWindow::KillTimer(UINT_PTR timerId) { return hwnd_ && ::KillTimer(hwnd_, timerId); }

bool TWindow::PostMessage(UINT msg, WPARAM wp, LPARAM lp) const {
    return hwnd_ && ::PostMessageA(hwnd_, msg, wp, lp);
}

LRESULT TWindow::SendMessage(UINT msg, WPARAM wp, LPARAM lp) const {
    return hwnd_ ? ::SendMessageA(hwnd_, msg, wp, lp) : 0;
}

void TWindow::Invalidate(bool erase) const {
    if (hwnd_) InvalidateRect(hwnd_, nullptr, erase);
}

bool TWindow::EnableWindow(bool enable) const { return hwnd_ && ::EnableWindow(hwnd_, enable); }

void TWindow::SetIcon(HICON icon, bool large) {
    SendMessage(WM_SETICON, large ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

bool TWindow::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m); }

LRESULT TWindow::DefaultProcessing(const Message& m) {
    if (previousProc_) return CallWindowProcA(previousProc_, m.hwnd, m.msg, m.wParam, m.lParam);
    return DefWindowProcA(m.hwnd, m.msg, m.wParam, m.lParam);
}

LRESULT TWindow::ReceiveMessage(UINT msg, WPARAM wp, LPARAM lp) {
    Message m;
    m.hwnd = hwnd_;
    m.msg = msg;
    m.wParam = wp;
    m.lParam = lp;
    const HWND hwnd = hwnd_;
    bool handled = false;
    try {
        if (msg == WM_CREATE && !previousProc_) {
            SetupWindow();
            return 0;
        }
        handled = Route(m);
    } catch (...) {
        // Nothing may unwind through Windows: the message counts as handled.
        handled = true;
        m.result = 0;
    }
    // A handler may have destroyed the window, or deleted this object with
    // it: then only the default procedure is left, and it needs neither.
    if (FromHandle(hwnd) != this) return handled ? m.result : DefWindowProcA(hwnd, msg, wp, lp);
    if (handled && msg != WM_NCDESTROY) return m.result;
    const LRESULT result = DefaultProcessing(m);
    if (msg == WM_NCDESTROY) Detach();
    return result;
}

LRESULT CALLBACK TWindow::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    TWindow* window = FromHandle(hwnd);
    if (!window && creating_) {
        window = creating_;
        creating_ = nullptr;
        window->hwnd_ = hwnd;
        Bind(hwnd, window);
    }
    if (!window) return DefWindowProcA(hwnd, msg, wp, lp);
    return window->ReceiveMessage(msg, wp, lp);
}
