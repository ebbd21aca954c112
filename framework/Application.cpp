#include "framework/Application.h"

#include "framework/FrameWindow.h"
#include "framework/Gauge.h"
#include "framework/UserInteraction.h"

namespace {
TApplication* theApplication = nullptr;
}

TApplication* GetApplication() { return theApplication; }

TApplication::TApplication(const std::string& name, HINSTANCE instance, int showCommand)
    : name_(name), instance_(instance ? instance : GetModuleHandleA(nullptr)), showCommand_(showCommand) {
    theApplication = this;
    InitCommonControlsOnce();
    // Dialog templates may name the gauge's class before any gauge object exists.
    TGauge::RegisterClass();
}

TApplication::~TApplication() {
    DestroyMainWindow();
    if (theApplication == this) theApplication = nullptr;
}

void TApplication::SetMainWindow(std::unique_ptr<TFrameWindow> frame) { mainWindow_ = std::move(frame); }

void TApplication::DestroyMainWindow() {
    if (!mainWindow_) return;
    mainWindow_->Destroy();
    mainWindow_.reset();
}

bool TApplication::CanClose() { return !mainWindow_ || mainWindow_->CanClose(); }

bool TApplication::IdleAction(long idleCount) {
    return mainWindow_ && mainWindow_->GetHandle() && mainWindow_->IdleAction(idleCount);
}

bool TApplication::ProcessAppMsg(MSG& msg) {
    for (HWND hwnd = msg.hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        TWindow* window = TWindow::FromHandle(hwnd);
        if (window && window->PreProcessMsg(msg)) return true;
    }
    return false;
}

void TApplication::DispatchOne(MSG& msg) {
    if (ProcessAppMsg(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

bool TApplication::PumpWaitingMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Leave it for the loop, which ends the program.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        DispatchOne(msg);
    }
    return true;
}

bool TApplication::Idle(long& idleCount) {
    MSG msg;
    while (!PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
        bool more = false;
        try {
            more = IdleAction(idleCount++);
        } catch (...) {
            more = false;
        }
        if (!more) return true;
    }
    return false;
}

int TApplication::Run() {
    InitMainWindow();
    if (!mainWindow_ || !mainWindow_->Create()) return 1;
    mainWindow_->Show(showCommand_);
    long idleCount = 0;
    MSG msg{};
    running_ = true;
    for (;;) {
        if (Idle(idleCount)) WaitMessage();
        if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) continue;
        if (msg.message == WM_QUIT) break;
        idleCount = 0;
        DispatchOne(msg);
    }
    running_ = false;
    DestroyMainWindow();
    return static_cast<int>(msg.wParam);
}

int TApplication::MessageBox(const std::string& text, const std::string& caption, UINT flags) {
    HWND owner = mainWindow_ ? mainWindow_->GetHandle() : nullptr;
    return Ui().MessageBox(owner, text, caption.empty() ? name_ : caption, flags);
}
