// TInputDialog: asks for one line of text. The caller's buffer gives the
// initial text and receives the answer after OK; its size limits the text.
#pragma once

#include <string>

#include "framework/Dialog.h"
#include "framework/DialogTemplate.h"

class TInputDialog : public TDialog {
public:
    static constexpr int kPromptId = 4091;
    static constexpr int kEditId = 4092;

    TInputDialog(TWindow* parent, const std::string& caption, const std::string& prompt, char* buffer,
                 int bufferSize);

    void SetupWindow() override;
    void CmOk() override;

private:
    static DialogTemplate MakeTemplate();

    DialogTemplate template_;
    std::string caption_;
    std::string prompt_;
    char* buffer_;
    int bufferSize_;
};
