#include "framework/CommonDialogs.h"

#include <algorithm>

#include "framework/UserInteraction.h"

void FileDialogData::SetFileName(const std::string& name) {
    lstrcpynA(fileName, name.c_str(), sizeof fileName);
}

void FillOpenFileName(FileDialogData& data, HWND owner, std::string& filterBuffer, OPENFILENAMEA& ofn) {
    // "a|b|" becomes "a\0b\0\0", the platform's form.
    filterBuffer = data.filter;
    std::replace(filterBuffer.begin(), filterBuffer.end(), '|', '\0');
    filterBuffer.append(2, '\0');
    ofn = OPENFILENAMEA{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = data.filter.empty() ? nullptr : filterBuffer.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(data.filterIndex);
    ofn.lpstrFile = data.fileName;
    ofn.nMaxFile = sizeof data.fileName;
    ofn.lpstrInitialDir = data.initialDir.empty() ? nullptr : data.initialDir.c_str();
    ofn.lpstrDefExt = data.defaultExt.empty() ? nullptr : data.defaultExt.c_str();
    ofn.lpstrTitle = data.title.empty() ? nullptr : data.title.c_str();
    ofn.Flags = data.flags;
    if (data.readOnly) ofn.Flags |= OFN_READONLY;
    if (data.hook) {
        ofn.Flags |= OFN_ENABLEHOOK;
        ofn.lpfnHook = data.hook;
        ofn.lCustData = data.hookData;
    }
    if (data.templateId) {
        ofn.Flags |= OFN_ENABLETEMPLATE;
        ofn.hInstance = data.templateModule ? data.templateModule : GetModuleHandleA(nullptr);
        ofn.lpTemplateName = MAKEINTRESOURCEA(data.templateId);
    }
}

void ReadBackOpenFileName(const OPENFILENAMEA& ofn, FileDialogData& data) {
    data.readOnly = (ofn.Flags & OFN_READONLY) != 0;
    data.filterIndex = static_cast<int>(ofn.nFilterIndex);
}

TFileDialog::TFileDialog(TWindow* parent, FileDialogData& data, bool save, int templateId, HINSTANCE module)
    : TDialog(parent, DialogResource(templateId), module), data_(data), save_(save) {}

int TFileDialog::Execute() {
    // Only the classic dialog with our template is adjusted through its
    // window; the plain dialogs need no hook.
    if (GetResource().id) {
        data_.hook = &TFileDialog::HookProc;
        data_.hookData = reinterpret_cast<LPARAM>(this);
        data_.templateId = GetResource().id;
        data_.templateModule = module_;
    }
    HWND owner = GetParent() ? GetParent()->GetHandle() : nullptr;
    const bool chosen = save_ ? Ui().SaveFileDialog(owner, data_) : Ui().OpenFileDialog(owner, data_);
    data_.hook = nullptr;
    data_.templateId = 0;
    return chosen ? IDOK : IDCANCEL;
}

UINT_PTR CALLBACK TFileDialog::HookProc(HWND hwnd, UINT msg, WPARAM, LPARAM lp) {
    if (msg != WM_INITDIALOG || FromHandle(hwnd)) return FALSE;
    const auto* ofn = reinterpret_cast<const OPENFILENAMEA*>(lp);
    InitDialogObject(reinterpret_cast<TFileDialog*>(ofn->lCustData), hwnd);
    return TRUE;
}

void TFileDialog::CmOk() { PassClick(IDOK); }

void TFileDialog::CmCancel() { PassClick(IDCANCEL); }

void TFileDialog::PassClick(int buttonId) {
    Message m;
    m.hwnd = hwnd_;
    m.msg = WM_COMMAND;
    m.wParam = MAKEWPARAM(buttonId, BN_CLICKED);
    m.lParam = reinterpret_cast<LPARAM>(GetDlgItem(buttonId));
    DefaultProcessing(m);
}
