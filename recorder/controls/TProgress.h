// TProgress: the small modeless dialog (IDD_PROGRESS) shown while a long file
// or clipboard operation runs on the window's thread: a percentage gauge and
// a Cancel button. The operation creates it, feeds it with SetPercent and
// polls IsCancelled between steps. Cancel closes the window but never the
// object, so the operation's next poll still finds the flag.
#pragma once

#include <memory>
#include <string>

#include "framework/Control.h"
#include "framework/Dialog.h"
#include "framework/Gauge.h"

class TProgress : public TDialog {
public:
    // caption may be null: the resource's (empty) title stays.
    TProgress(TWindow* parent, const char* caption, int resourceId = 1800, HINSTANCE module = nullptr);
    ~TProgress() override;

    void SetupWindow() override;
    void CmCancel() override;

    // 0..100; the gauge repaints at once.
    void SetPercent(int percent);
    bool IsCancelled() const { return cancelled_; }
    int GetPercent() const { return gauge_->GetValue(); }
    std::string GaugeText() const { return gauge_->TitleText(); }

private:
    void SetupGauge();

    std::unique_ptr<TStatic> status_;
    std::unique_ptr<TGauge> gauge_;
    std::unique_ptr<TButton> cancel_;
    bool cancelled_ = false;
    std::string caption_;
    bool hasCaption_;
};

// Makes the dialog over parent with that caption, shown at once when the
// parent is visible (a hidden window's operation shows nothing); null when
// it cannot be created.
std::unique_ptr<TProgress> OpenProgress(TWindow& parent, const char* caption);

// How long an operation runs before its progress dialog appears.
constexpr unsigned kProgressDelayMs = 500;
// Once it is up, how often waiting messages are pumped while the percentage
// stays the same (so Cancel and the window stay live).
constexpr unsigned kProgressPumpMs = 50;

// The progress of one operation, whose dialog appears only once the
// operation has run kProgressDelayMs: a short one shows no window, pumps no
// messages (what the user typed meanwhile waits in the queue and runs after
// it) and never waits on the window system for a window to be shown.
class DelayedProgress {
public:
    // now: milliseconds of a steady clock (GetTickCount64 unless tests
    // give their own).
    explicit DelayedProgress(TWindow& parent, unsigned long long (*now)() = nullptr);
    DelayedProgress(const DelayedProgress&) = delete;
    DelayedProgress& operator=(const DelayedProgress&) = delete;

    // The clock starts; the caption waits for the dialog.
    void Start(const std::string& caption);
    void SetCaption(const std::string& caption);
    // Shows the dialog once it is due, then sets its percentage. True when
    // the caller should pump messages: the dialog is up and the percentage
    // changed or kProgressPumpMs passed since the last time. Each repaint of
    // the dialog costs a round trip to the window system, far more than
    // copying one chunk: a long copy of small chunks must not pay it for
    // every chunk.
    bool SetPercent(int percent);
    bool IsCancelled() const { return dialog_ && dialog_->IsCancelled(); }
    bool IsShown() const { return dialog_ != nullptr; }
    void Close();

private:
    void ShowCaption();

    TWindow& parent_;
    unsigned long long (*now_)();
    unsigned long long started_ = 0;
    bool running_ = false;
    std::string caption_;
    std::string shownCaption_;
    int shownPercent_ = -1;
    unsigned long long lastPump_ = 0;
    std::unique_ptr<TProgress> dialog_;
};
