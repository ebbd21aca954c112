#include "framework/InputDialog.h"

DialogTemplate TInputDialog::MakeTemplate() {
    DialogTemplate t("", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 0, 0, 200, 66);
    t.AddControl("Static", "", kPromptId, SS_LEFT | WS_VISIBLE, 7, 7, 186, 10);
    t.AddControl("Edit", "", kEditId, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_VISIBLE, 7, 20, 186, 13);
    t.AddControl("Button", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 89, 44, 50, 14);
    t.AddControl("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP | WS_VISIBLE, 143, 44, 50, 14);
    return t;
}

TInputDialog::TInputDialog(TWindow* parent, const std::string& caption, const std::string& prompt, char* buffer,
                           int bufferSize)
    : TDialog(parent, DialogResource(0)), template_(MakeTemplate()), caption_(caption), prompt_(prompt),
      buffer_(buffer), bufferSize_(bufferSize) {
    // The template is a member: it lives as long as the dialog.
    SetTemplate(template_);
}

void TInputDialog::SetupWindow() {
    TDialog::SetupWindow();
    SetCaption(caption_);
    SetItemText(kPromptId, prompt_);
    if (bufferSize_ > 0) {
        SendDlgItemMessageA(hwnd_, kEditId, EM_LIMITTEXT, static_cast<WPARAM>(bufferSize_ - 1), 0);
        SetItemText(kEditId, buffer_);
    }
}

void TInputDialog::CmOk() {
    if (bufferSize_ > 0) lstrcpynA(buffer_, GetItemText(kEditId).c_str(), bufferSize_);
    TDialog::CmOk();
}
