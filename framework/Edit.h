// TEdit: an edit control, optionally with a validator that refuses bad
// typing and bad pastes, and whose check runs when the window closes
// (CanClose) or the page applies.
#pragma once

#include <memory>
#include <string>

#include "framework/Control.h"
#include "framework/Validators.h"

class TEdit : public TControl {
public:
    TEdit(TWindow* parent, int id, int textLimit = 0);
    TEdit(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h, int textLimit = 0);
    std::string GetClassName() const override { return "EDIT"; }

    void SetValidator(std::unique_ptr<TValidator> validator) { validator_ = std::move(validator); }
    TValidator* GetValidator() const { return validator_.get(); }
    // The validator's whole-text check; with report, its complaint is shown
    // and the edit gets the focus.
    bool IsValid(bool report);
    bool CanClose() override { return IsValid(true); }

    void SetupWindow() override;
    void LimitText(int chars);
    void SetSelection(int start, int end) { SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end); }
    void GetSelection(int& start, int& end) const;
    // Replaces the selection (or inserts at the caret).
    void Insert(const std::string& text);
    int GetTextLimit() const { return textLimit_; }

    bool Dispatch(Message& m) override;

private:
    bool EvChar(Message& m);
    bool EvPaste(Message& m);
    bool EvKeyDown(Message& m);
    static const MsgEntry<TEdit> kMessages[];

    std::unique_ptr<TValidator> validator_;
    int textLimit_;
};
