// WM_COPYDATA from a second copy of the program: reload settings, open a
// file, go to a comment, add a comment.
#include "app/App.h"

#include <algorithm>
#include <cstring>

#include "core/CommandLine.h"
#include "core/PrivateMessages.h"
#include "audiofile/RecFile.h"
#include "framework/FrameWindow.h"
#include "framework/ModalSteps.h"

std::string App::CopyDataText(const COPYDATASTRUCT& data) {
    if (!data.lpData || data.cbData == 0) return {};
    // The sender chose the size and need not have ended the text with a
    // zero: read no further than either allows.
    const size_t limit = std::min<size_t>(data.cbData, kMaxCopyDataText);
    const char* text = static_cast<const char*>(data.lpData);
    return std::string(text, strnlen(text, limit));
}

bool App::EvCopyData(HWND, const COPYDATASTRUCT& data) {
    RecorderLink* recorder = Recorder();
    if (!recorder) return true;
    // The sender's data live only for this call, so nothing can wait for
    // the edit to end: the request is refused.
    if (recorder->IsEditing()) return false;
    const std::string text = CopyDataText(data);
    // Under a dialog or message box the request waits, with a copy of its
    // text, until the step has ended.
    if (IsModalStepOpen() || !heldCopyData_.empty()) {
        heldCopyData_.emplace_back(data.dwData, text);
        if (!copyDataWatch_) copyDataWatch_ = std::make_unique<ModalStepWatch>([this] { PostHeldCopyData(); });
        if (!IsModalStepOpen()) PostHeldCopyData();
        return true;
    }
    RunCopyData(data.dwData, text);
    return true;
}

namespace {

// The frame's own timer: held requests look again after an edit.
constexpr UINT_PTR TIMER_HELDCOPYDATA = 1;
constexpr UINT kHeldCopyDataRetryMs = 100;

void CALLBACK RetryHeldCopyData(HWND frame, UINT, UINT_PTR timerId, DWORD) {
    KillTimer(frame, timerId);
    PostMessageA(frame, RegisterWindowMessageA(App::kHeldCopyDataMessage), 0, 0);
}

}  // namespace

LRESULT App::EvHeldCopyData(WPARAM, LPARAM) {
    while (!heldCopyData_.empty() && !IsModalStepOpen()) {
        RecorderLink* recorder = Recorder();
        if (!recorder) break;
        if (recorder->IsEditing()) {
            // The sender was told they were taken: they wait for the edit
            // to end, looked at again every little while (the edit pumps
            // messages, so the timer comes while it runs too).
            TWindow* main = GetMainWindow();
            if (main && main->GetHandle())
                SetTimer(main->GetHandle(), TIMER_HELDCOPYDATA, kHeldCopyDataRetryMs, &RetryHeldCopyData);
            break;
        }
        const auto [code, text] = heldCopyData_.front();
        heldCopyData_.erase(heldCopyData_.begin());
        RunCopyData(code, text);
    }
    return 0;
}

void App::PostHeldCopyData() {
    TWindow* main = GetMainWindow();
    if (!heldCopyData_.empty() && main && main->GetHandle())
        PostMessageA(main->GetHandle(), RegisterWindowMessageA(kHeldCopyDataMessage), 0, 0);
}

void App::RunCopyData(ULONG_PTR code, const std::string& text) {
    RecorderLink* recorder = Recorder();
    if (!recorder) return;
    switch (code) {
    case COPYDATA_LOADSETTINGS:
        if (!text.empty()) LoadSettingsFileReloading(text);
        break;
    case COPYDATA_OPENFILE:
        if (!text.empty()) recorder->OpenFile(text);
        break;
    case COPYDATA_GOTOCOMMENT:
        GoToComment(text);
        break;
    case COPYDATA_ADDCOMMENT:
        AddComment(text);
        break;
    default:
        break;  // not ours: another program's record
    }
}

void App::LoadSettingsFileReloading(const std::string& path) {
    RecorderLink* recorder = Recorder();
    const bool wasRecording = recorder->IsRecording();
    const bool wasPlaying = recorder->IsPlaying();
    if (wasRecording || wasPlaying) recorder->Stop();
    LoadSettings(path);
    // As after "Open settings file...": the tray icon, top-most state and
    // hot keys follow the new settings, and the recorder re-reads them.
    ApplyChangedSettings();
    if (wasPlaying) {
        recorder->Play();
    } else if (wasRecording) {
        recorder->Listen();
    }
}

void App::GoToComment(const std::string& text) {
    RecorderLink* recorder = Recorder();
    RecFile* file = recorder->CurrentFile();
    // Moving the position under a running recording would write over it.
    if (!file || recorder->IsRecording()) return;
    const uint32_t start = file->FindCommentByText(text);
    if (start == kNoPosition) return;
    const bool wasPlaying = recorder->IsPlaying();
    if (wasPlaying) recorder->Stop();
    recorder->GoTo(start);
    if (wasPlaying) recorder->Play();
}

void App::AddComment(const std::string& text) {
    RecorderLink* recorder = Recorder();
    RecFile* file = recorder->CurrentFile();
    if (!file) return;
    file->AddComment(text, kNoPosition, kNoPosition);
    recorder->ShowAnnotation();
}
