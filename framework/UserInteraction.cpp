#include "framework/UserInteraction.h"

#include <shellapi.h>

#include "framework/CommonDialogs.h"
#include "framework/ModalSteps.h"

namespace {

// The real service: straight Win32 calls.
class Win32UserInteraction : public UserInteraction {
public:
    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) override {
        // windows.h renames this member to MessageBoxA: the platform call must be
        // qualified, or it would call the member itself without end.
        return ::MessageBoxA(owner, text.c_str(), caption.c_str(), flags);
    }
    bool OpenFileDialog(HWND owner, FileDialogData& data) override { return RunFileDialog(owner, data, false); }
    bool SaveFileDialog(HWND owner, FileDialogData& data) override { return RunFileDialog(owner, data, true); }
    bool Launch(const std::string& commandLine, int show) override {
        return WinExec(commandLine.c_str(), static_cast<UINT>(show)) > 31;
    }
    bool ShellOpen(HWND owner, const std::string& target, const std::string& parameters) override {
        const auto result = reinterpret_cast<INT_PTR>(ShellExecuteA(
            owner, "open", target.c_str(), parameters.empty() ? nullptr : parameters.c_str(), nullptr,
            SW_SHOWNORMAL));
        return result > 32;
    }

private:
    static bool RunFileDialog(HWND owner, FileDialogData& data, bool save) {
        std::string filterBuffer;
        OPENFILENAMEA ofn;
        FillOpenFileName(data, owner, filterBuffer, ofn);
        const std::string nameBefore = data.FileName();
        const BOOL chosen = save ? GetSaveFileNameA(&ofn) : GetOpenFileNameA(&ofn);
        if (!chosen) {
            // A name too long for the buffer gets the size it needs written
            // over its first bytes: keep the caller's name instead.
            data.SetFileName(nameBefore);
            return false;
        }
        ReadBackOpenFileName(ofn, data);
        return true;
    }
};

Win32UserInteraction realService;
UserInteraction* current = nullptr;

UserInteraction& Installed() { return current ? *current : realService; }

// What every caller gets: the installed service, each modal call of it a
// modal step (ModalSteps.h), whoever answers it.
class ModalStepsUi : public UserInteraction {
public:
    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) override {
        ModalStepScope step;
        return Installed().MessageBox(owner, text, caption, flags);
    }
    bool OpenFileDialog(HWND owner, FileDialogData& data) override {
        ModalStepScope step;
        return Installed().OpenFileDialog(owner, data);
    }
    bool SaveFileDialog(HWND owner, FileDialogData& data) override {
        ModalStepScope step;
        return Installed().SaveFileDialog(owner, data);
    }
    bool Launch(const std::string& commandLine, int show) override { return Installed().Launch(commandLine, show); }
    bool ShellOpen(HWND owner, const std::string& target, const std::string& parameters) override {
        return Installed().ShellOpen(owner, target, parameters);
    }
    int RunModal(ModalRun& modal) override {
        ModalStepScope step;
        return Installed().RunModal(modal);
    }
};

ModalStepsUi service;

}  // namespace

UserInteraction& Ui() { return service; }

UserInteraction* SetUi(UserInteraction* replacement) {
    UserInteraction* previous = current;
    current = replacement;
    return previous;
}
