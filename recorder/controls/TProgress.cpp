#include "recorder/controls/TProgress.h"

#include "resources/ResourceIds.h"

TProgress::TProgress(TWindow* parent, const char* caption, int resourceId, HINSTANCE module)
    : TDialog(parent, resourceId, module),
      status_(std::make_unique<TStatic>(this, IDC_PROGRESSSTATUS)),
      gauge_(std::make_unique<TGauge>(this, IDC_PROGRESSGAUGE)),
      cancel_(std::make_unique<TButton>(this, IDCANCEL)),
      caption_(caption ? caption : ""),
      hasCaption_(caption != nullptr) {
    TGauge::RegisterClass();  // the template names the gauge's window class
    SetupGauge();
}

TProgress::~TProgress() {
    if (cancel_->GetHandle() && GetCapture() == cancel_->GetHandle()) ReleaseCapture();
}

void TProgress::SetupGauge() {
    gauge_->SetLed(0);  // a solid bar
    gauge_->SetRange(0, 100);
}

// Until Cancel the mouse belongs to the Cancel button, so a click anywhere
// else cannot start something new while the operation runs.
void TProgress::SetupWindow() {
    TDialog::SetupWindow();
    SetupGauge();
    gauge_->SetTitle("%d%%");
    gauge_->SetValue(0);
    if (hasCaption_) SetCaption(caption_);
    if (cancel_->GetHandle()) SetCapture(cancel_->GetHandle());
}

void TProgress::SetPercent(int percent) {
    gauge_->SetValue(percent);
    if (HWND gauge = gauge_->GetHandle()) UpdateWindow(gauge);
    Invalidate(false);
}

// The window goes; the object stays for the operation's next poll.
void TProgress::CmCancel() {
    cancelled_ = true;
    if (cancel_->GetHandle() && GetCapture() == cancel_->GetHandle()) ReleaseCapture();
    TDialog::CmCancel();
}

std::unique_ptr<TProgress> OpenProgress(TWindow& parent, const char* caption) {
    auto dialog = std::make_unique<TProgress>(&parent, caption);
    if (!dialog->Create())
        return nullptr;
    if (IsWindowVisible(parent.GetHandle())) dialog->Show(SW_SHOW);
    UpdateWindow(dialog->GetHandle());
    return dialog;
}

namespace {

unsigned long long TickNow() { return GetTickCount64(); }

}  // namespace

DelayedProgress::DelayedProgress(TWindow& parent, unsigned long long (*now)())
    : parent_(parent), now_(now ? now : &TickNow) {}

void DelayedProgress::Start(const std::string& caption) {
    caption_ = caption;
    if (dialog_) {
        ShowCaption();
        return;
    }
    if (!running_) {
        started_ = now_();
        running_ = true;
    }
}

void DelayedProgress::SetCaption(const std::string& caption) {
    caption_ = caption;
    if (dialog_)
        ShowCaption();
}

void DelayedProgress::ShowCaption() {
    if (caption_ == shownCaption_)
        return;
    dialog_->SetCaption(caption_);
    shownCaption_ = caption_;
}

bool DelayedProgress::SetPercent(int percent) {
    const unsigned long long now = now_();
    if (!dialog_) {
        if (!running_ || now - started_ < kProgressDelayMs)
            return false;
        dialog_ = OpenProgress(parent_, caption_.c_str());
        if (!dialog_) {
            running_ = false;  // no dialog to be had: the operation runs without
            return false;
        }
        shownCaption_ = caption_;
        shownPercent_ = -1;
    } else if (percent == shownPercent_ && now - lastPump_ < kProgressPumpMs) {
        return false;
    }
    if (percent != shownPercent_)
        dialog_->SetPercent(percent);
    shownPercent_ = percent;
    lastPump_ = now;
    return true;
}

void DelayedProgress::Close() {
    dialog_.reset();
    running_ = false;
    shownCaption_.clear();
    shownPercent_ = -1;
}
