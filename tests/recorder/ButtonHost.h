// A hidden dialog with the five transport buttons (ids 150-154) for the
// button tests, and a way to collect what the buttons post to it.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/Dialog.h"
#include "framework/DialogTemplate.h"

class ButtonHost {
public:
    // Build the button objects on Dialog() first, then Create() attaches them.
    ButtonHost();
    ~ButtonHost();
    bool Create() { return dialog_->Create(); }
    TDialog& Dialog() { return *dialog_; }
    HWND Handle() const { return dialog_->GetHandle(); }
    HWND Item(int id) const { return GetDlgItem(Handle(), id); }
    // Removes and counts the posted messages of one kind waiting for the host.
    int TakePosted(UINT message) const;

private:
    DialogTemplate template_;
    std::unique_ptr<TDialog> dialog_;
};
