// The seam for everything modal or external: message boxes, file dialogs,
// program launches and shell opens. The program installs the real one, which
// calls Win32; tests install a scripted fake so nothing ever blocks.
#pragma once

#include <windows.h>

#include <string>

struct FileDialogData;  // framework/CommonDialogs.h

// Something that runs modally: a dialog, a property sheet.
class ModalRun {
public:
    virtual ~ModalRun() = default;
    // Runs it; returns the id of the button that ended it.
    virtual int RunModal() = 0;
};

class UserInteraction {
public:
    virtual ~UserInteraction() = default;

    // MessageBoxA: returns the button pressed (IDOK, IDYES, ...).
    virtual int MessageBox(HWND owner, const std::string& text, const std::string& caption,
                           UINT flags) = 0;
    // GetOpenFileNameA / GetSaveFileNameA on the data record; false when cancelled.
    virtual bool OpenFileDialog(HWND owner, FileDialogData& data) = 0;
    virtual bool SaveFileDialog(HWND owner, FileDialogData& data) = 0;
    // WinExec: true when the program started.
    virtual bool Launch(const std::string& commandLine, int show) = 0;
    // ShellExecuteA with the "open" verb: true when the shell accepted it.
    virtual bool ShellOpen(HWND owner, const std::string& target, const std::string& parameters) = 0;
    // Every modal dialog and sheet (TDialog::Execute, TPropertySheet::Execute):
    // the real service runs it; a fake answers for it.
    virtual int RunModal(ModalRun& modal) { return modal.RunModal(); }
};

// The service in use; never null (the real one until a test replaces it).
// Each of its modal calls is a modal step (framework/ModalSteps.h).
UserInteraction& Ui();
// Installs a replacement (tests); null restores the real one. Not owned.
// Returns the replacement installed before (null: the real one).
UserInteraction* SetUi(UserInteraction* replacement);
