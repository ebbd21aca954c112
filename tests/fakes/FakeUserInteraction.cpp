#include "tests/fakes/FakeUserInteraction.h"

int FakeUserInteraction::MessageBox(HWND owner, const std::string& text, const std::string& caption,
                                    UINT flags) {
    messageBoxes.push_back({owner, text, caption, flags});
    RunWhileOpen();
    if (messageBoxAnswers.empty()) return defaultMessageBoxAnswer;
    const int answer = messageBoxAnswers.front();
    messageBoxAnswers.pop_front();
    return answer;
}

bool FakeUserInteraction::FileDialog(FileDialogData& data, bool save) {
    fileDialogs.push_back({save, data.filter, data.initialDir, data.defaultExt, data.fileName, data.flags});
    RunWhileOpen();
    if (fileDialogAnswers.empty()) return false;
    const std::optional<std::string> answer = fileDialogAnswers.front();
    fileDialogAnswers.pop_front();
    if (!answer) return false;
    data.SetFileName(*answer);
    data.readOnly = answerReadOnly;
    return true;
}

int FakeUserInteraction::RunModal(ModalRun& modal) {
    ++modalCount;
    RunWhileOpen();
    if (!modalScripts.empty()) {
        const auto script = modalScripts.front();
        modalScripts.pop_front();
        return script(modal);
    }
    return runModals ? modal.RunModal() : defaultModalAnswer;
}

bool FakeUserInteraction::Launch(const std::string& commandLine, int show) {
    launches.emplace_back(commandLine, show);
    return launchSucceeds;
}

bool FakeUserInteraction::ShellOpen(HWND, const std::string& target, const std::string& parameters) {
    shellOpens.emplace_back(target, parameters);
    return shellOpenSucceeds;
}

void FakeUserInteraction::RunWhileOpen() {
    if (whileOpen.empty()) return;
    const auto events = whileOpen.front();
    whileOpen.pop_front();
    events();
}
