// The file open and save dialogs. One data record carries what the caller
// sets (filter with "|" separators, file name, initial folder, default
// extension, flags) and what the dialog gives back (the chosen name, the
// read-only box). The dialogs run through the user-interaction seam, so
// tests answer them without a window.
#pragma once

#include <windows.h>
#include <commdlg.h>

#include <string>

#include "framework/Dialog.h"

struct FileDialogData {
    DWORD flags = OFN_HIDEREADONLY | OFN_EXPLORER;
    std::string filter;  // "Wave files (*.wav)|*.wav|All files|*.*|"
    int filterIndex = 1;
    char fileName[MAX_PATH] = {};
    std::string initialDir;
    std::string defaultExt;
    std::string title;
    bool readOnly = false;  // the read-only box, read back after OK

    // The classic dialog with a hook and a custom template (no OFN_EXPLORER).
    LPOFNHOOKPROC hook = nullptr;
    LPARAM hookData = 0;
    int templateId = 0;
    HINSTANCE templateModule = nullptr;

    void SetFileName(const std::string& name);
    std::string FileName() const { return fileName; }
};

// The platform's record for data; filterBuffer keeps the converted filter alive.
void FillOpenFileName(FileDialogData& data, HWND owner, std::string& filterBuffer, OPENFILENAMEA& ofn);
// What the platform's dialog gave back, into data.
void ReadBackOpenFileName(const OPENFILENAMEA& ofn, FileDialogData& data);

// A file dialog object for callers that adjust the dialog's window: the
// classic hook-and-template variant. SetupWindow runs after the dialog is
// initialised; CmOk runs the dialog's own OK handling (see TDialog).
class TFileDialog : public TDialog {
public:
    TFileDialog(TWindow* parent, FileDialogData& data, bool save, int templateId = 0,
                HINSTANCE module = nullptr);
    // IDOK or IDCANCEL.
    int Execute();
    void CmOk() override;
    void CmCancel() override;
    FileDialogData& Data() { return data_; }

private:
    // The button's click, handled by the dialog's own procedure.
    void PassClick(int buttonId);
    static UINT_PTR CALLBACK HookProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    FileDialogData& data_;
    bool save_;
};

class TFileOpenDialog : public TFileDialog {
public:
    TFileOpenDialog(TWindow* parent, FileDialogData& data, int templateId = 0, HINSTANCE module = nullptr)
        : TFileDialog(parent, data, false, templateId, module) {}
};

class TFileSaveDialog : public TFileDialog {
public:
    TFileSaveDialog(TWindow* parent, FileDialogData& data, int templateId = 0, HINSTANCE module = nullptr)
        : TFileDialog(parent, data, true, templateId, module) {}
};
