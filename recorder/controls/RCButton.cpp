#include "recorder/controls/RCButton.h"

const MsgEntry<RCButton> RCButton::kMessages[] = {
    OnMessage(WM_LBUTTONDOWN, &RCButton::EvLButtonDown),
    OnMessage(WM_LBUTTONDBLCLK, &RCButton::EvLButtonDown),
    OnMessage(WM_LBUTTONUP, &RCButton::EvLButtonUp),
    OnMessage(WM_TIMER, &RCButton::EvTimer),
    OnMessage(WM_CAPTURECHANGED, &RCButton::EvCaptureLost),
    OnMessage(WM_CANCELMODE, &RCButton::EvCaptureLost),
};

RCButton::RCButton(TWindow* parent, int id, UINT repeatMs, UINT message)
    : CoolButton(parent, id),
      timerId_(static_cast<UINT_PTR>(id)),
      repeatMs_(repeatMs),
      message_(message ? message : WM_USER + static_cast<UINT>(id)) {}

bool RCButton::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m) || CoolButton::Dispatch(m); }

// The button holds the mouse until it is released, so a release off the
// button still ends the repeat.
bool RCButton::EvLButtonDown(Message& m) {
    pressed_ = true;
    repeated_ = false;
    StartRepeat();
    SetCapture(GetHandle());
    SetState(kPressed, true);
    m.result = 0;
    return true;
}

bool RCButton::EvLButtonUp(Message& m) {
    const bool wasPressed = pressed_;
    const bool wasRepeated = repeated_;
    EndPress();  // before ReleaseCapture: its WM_CAPTURECHANGED must find the press over
    if (GetCapture() == GetHandle()) ReleaseCapture();
    if (wasPressed && !wasRepeated) Notify();
    SetState(kNormal, true);
    m.result = 0;
    return true;
}

bool RCButton::EvTimer(Message& m) {
    if (m.wParam != timerId_) return false;
    if (pressed_) {
        Notify();
        repeated_ = true;
    }
    m.result = 0;
    return true;
}

// Another window took the mouse, or the system cancelled the mode: the
// repeat ends where it is, and nothing more is posted.
bool RCButton::EvCaptureLost(Message&) {
    if (pressed_) {
        EndPress();
        SetState(kNormal, true);
    }
    return false;
}

void RCButton::EndPress() {
    pressed_ = false;
    StopRepeat();
}

void RCButton::Notify() const {
    HWND parent = GetHandle() ? ::GetParent(GetHandle()) : nullptr;
    if (parent) ::PostMessageA(parent, message_, static_cast<WPARAM>(GetId()), 0);
}
