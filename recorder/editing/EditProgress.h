// Progress of one edit operation: a dialog shown with the first copy of the
// operation, retitled by every pass, fed with percentages (which pump the
// thread's messages) and closed at the end. The window's implementation
// wraps TProgress; tests and the benchmark use scripted or silent ones.
#pragma once

#include <string>

class EditProgress {
public:
    virtual ~EditProgress() = default;
    // Makes the dialog with that caption, or retitles the one shown.
    virtual void Show(const std::string& caption) = 0;
    // The dialog's caption while it stays up.
    virtual void SetCaption(const std::string& text) = 0;
    // 0..100; pumps waiting messages. False once Cancel was pressed.
    virtual bool SetPercent(int percent) = 0;
    virtual bool IsCancelled() const = 0;
    // Destroys the dialog; nothing when none is shown.
    virtual void Close() = 0;
};

// Shows nothing and never cancels.
class SilentEditProgress : public EditProgress {
public:
    void Show(const std::string&) override {}
    void SetCaption(const std::string&) override {}
    bool SetPercent(int) override { return true; }
    bool IsCancelled() const override { return false; }
    void Close() override {}
};
