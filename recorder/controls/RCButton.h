// RCButton: a CoolButton that repeats while it is held. A press takes the
// mouse capture and starts a timer; every tick posts the notification message
// to the parent; the release posts it once more only when no tick did (so a
// quick click posts exactly one). Losing the capture (another window took it,
// a menu or dialog cancelled the mode) stops the repeat without posting.
#pragma once

#include "recorder/controls/CoolButton.h"

class RCButton : public CoolButton {
public:
    // message 0: WM_USER + id (WM_REWIND for 152, WM_FASTFORWARD for 153).
    RCButton(TWindow* parent, int id, UINT repeatMs, UINT message = 0);

    bool Dispatch(Message& m) override;

    bool IsPressed() const { return pressed_; }
    UINT RepeatMs() const { return repeatMs_; }
    UINT NotificationMessage() const { return message_; }

protected:
    // The repeat timer; tests replace it to tick by hand.
    virtual bool StartRepeat() { return SetTimer(timerId_, repeatMs_); }
    virtual void StopRepeat() { KillTimer(timerId_); }

private:
    bool EvLButtonDown(Message& m);
    bool EvLButtonUp(Message& m);
    bool EvTimer(Message& m);
    bool EvCaptureLost(Message& m);
    void Notify() const;
    void EndPress();
    static const MsgEntry<RCButton> kMessages[];

    UINT_PTR timerId_;
    bool pressed_ = false;
    bool repeated_ = false;
    UINT repeatMs_;
    UINT message_;
};
