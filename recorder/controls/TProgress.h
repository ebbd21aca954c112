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
