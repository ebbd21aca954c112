// WM_COPYDATA from a second copy of the program: reload settings, open a
// file, go to a comment, add a comment.
#include "app/App.h"

#include <algorithm>
#include <cstring>
#include <limits>

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
    // Under a dialog or message box, or while the recorder keeps its own
    // requests for later (a start, stop or save pumping messages), the
    // request waits with a copy of its text, in its place among them.
    const LPARAM serial = ++copyDataSerial_;
    heldCopyData_.push_back({serial, data.dwData, CopyDataText(data)});
    if (WaitsInOrder(serial)) return true;
    if (heldCopyData_.size() > 1) {
        PostHeldCopyData();  // behind those taken earlier, which have not run yet
        return true;
    }
    const HeldCopyData now = heldCopyData_.back();
    heldCopyData_.pop_back();
    RunCopyData(now.code, now.text);
    return true;
}

namespace {

// The frame's own timer: held requests look again after an edit.
constexpr UINT_PTR TIMER_HELDCOPYDATA = 1;
constexpr UINT kHeldCopyDataRetryMs = 100;

void CALLBACK RetryHeldCopyData(HWND frame, UINT, UINT_PTR timerId, DWORD);

}  // namespace

// The kept requests up to upTo go back among the recorder's for later.
bool App::WaitsInOrder(LPARAM upTo) {
    RecorderLink* recorder = Recorder();
    TWindow* main = GetMainWindow();
    const HWND frame = main ? main->GetHandle() : nullptr;
    if (recorder && frame && recorder->HoldInOrder(frame, RegisterWindowMessageA(kHeldCopyDataMessage), 0, upTo))
        return true;
    if (!IsModalStepOpen()) return false;
    // A recorder that keeps nothing of its own: they wait for the step's end.
    if (!copyDataWatch_) copyDataWatch_ = std::make_unique<ModalStepWatch>([this] { PostHeldCopyData(); });
    return true;
}

LRESULT App::EvHeldCopyData(WPARAM, LPARAM upTo) {
    while (!heldCopyData_.empty() && heldCopyData_.front().serial <= upTo) {
        RecorderLink* recorder = Recorder();
        if (!recorder) break;
        // What ran before may have opened a dialog or started the transport.
        if (WaitsInOrder(upTo)) break;
        if (recorder->IsEditing()) {
            // The sender was told they were taken: they wait for the edit
            // to end, looked at again every little while (the edit pumps
            // messages, so the timer comes while it runs too).
            TWindow* main = GetMainWindow();
            if (main && main->GetHandle())
                SetTimer(main->GetHandle(), TIMER_HELDCOPYDATA, kHeldCopyDataRetryMs, &RetryHeldCopyData);
            break;
        }
        const HeldCopyData next = heldCopyData_.front();
        heldCopyData_.erase(heldCopyData_.begin());
        RunCopyData(next.code, next.text);
    }
    return 0;
}

void App::PostHeldCopyData() {
    TWindow* main = GetMainWindow();
    if (!heldCopyData_.empty() && main && main->GetHandle())
        PostMessageA(main->GetHandle(), RegisterWindowMessageA(kHeldCopyDataMessage), 0, heldCopyData_.back().serial);
}

namespace {

void CALLBACK RetryHeldCopyData(HWND frame, UINT, UINT_PTR timerId, DWORD) {
    KillTimer(frame, timerId);
    // Every request still kept: none of them is among the recorder's.
    PostMessageA(frame, RegisterWindowMessageA(App::kHeldCopyDataMessage), 0, std::numeric_limits<LPARAM>::max());
}

}  // namespace

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
