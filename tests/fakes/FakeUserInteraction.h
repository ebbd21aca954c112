// A scripted user-interaction service: answers message boxes and file
// dialogs from queues, records every call, never shows a window.
#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "framework/CommonDialogs.h"
#include "framework/UserInteraction.h"

class FakeUserInteraction : public UserInteraction {
public:
    struct MessageBoxCall {
        HWND owner;
        std::string text;
        std::string caption;
        UINT flags;
    };
    struct FileDialogCall {
        bool save;
        std::string filter;
        std::string initialDir;
        std::string defaultExt;
        std::string fileName;  // as the caller set it
        DWORD flags;
    };

    // Answers in order; when a queue is empty the default answer is given.
    std::deque<int> messageBoxAnswers;
    int defaultMessageBoxAnswer = IDOK;
    std::deque<std::optional<std::string>> fileDialogAnswers;  // nullopt: the user cancels
    bool answerReadOnly = false;
    bool launchSucceeds = true;
    bool shellOpenSucceeds = true;
    // Modal dialogs and sheets: each script answers one in turn (it may
    // fill in what the user would have entered); without one the default
    // answer is given, or the real dialog runs when runModals is set.
    std::deque<std::function<int(ModalRun&)>> modalScripts;
    int defaultModalAnswer = IDCANCEL;
    // What happens while a message box, file dialog or modal dialog is
    // open: each modal call runs the next one (if any) before it answers.
    std::deque<std::function<void()>> whileOpen;
    bool runModals = false;
    int modalCount = 0;

    std::vector<MessageBoxCall> messageBoxes;
    std::vector<FileDialogCall> fileDialogs;
    std::vector<std::pair<std::string, int>> launches;
    std::vector<std::pair<std::string, std::string>> shellOpens;

    int MessageBox(HWND owner, const std::string& text, const std::string& caption, UINT flags) override;
    bool OpenFileDialog(HWND, FileDialogData& data) override { return FileDialog(data, false); }
    bool SaveFileDialog(HWND, FileDialogData& data) override { return FileDialog(data, true); }
    bool Launch(const std::string& commandLine, int show) override;
    bool ShellOpen(HWND owner, const std::string& target, const std::string& parameters) override;
    int RunModal(ModalRun& modal) override;

private:
    bool FileDialog(FileDialogData& data, bool save);
    void RunWhileOpen();
};

// Installs a service for one scope and puts the previous one back.
class ScopedUi {
public:
    explicit ScopedUi(UserInteraction& service) : previous_(SetUi(&service)) {}
    ~ScopedUi() { SetUi(previous_); }
    ScopedUi(const ScopedUi&) = delete;
    ScopedUi& operator=(const ScopedUi&) = delete;

private:
    UserInteraction* previous_;
};
