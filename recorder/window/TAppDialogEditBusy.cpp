// While an edit rebuilds the current recording its progress pumps every
// waiting message, and nothing may touch the recording meanwhile: commands
// of the window (file, transport, edit; menus, accelerators and buttons)
// are refused and their enablers gray them, the private messages of the
// frame and of a second copy are kept and posted again when the edit ends
// (the transport-busy state of the edit does that), the position slider,
// drops, double clicks and the joystick are ignored and the window refuses
// to close. The scheduler tick only arms itself again (SchedulerPoll waits
// while the transport is busy). Also the edit's progress dialog.
#include "recorder/window/TAppDialog.h"

#include <shellapi.h>

#include "core/PrivateMessages.h"
#include "framework/Application.h"
#include "recorder/controls/TProgress.h"
#include "recorder/editing/EditBusy.h"
#include "recorder/editing/EditProgress.h"

namespace {

// The progress dialog (1800) of one edit, shared by its passes; it appears
// only when the edit is still running after a moment.
class WindowEditProgress : public EditProgress {
public:
    explicit WindowEditProgress(TAppDialog& window) : progress_(window) {}
    void Show(const std::string& caption) override { progress_.Start(caption); }
    void SetCaption(const std::string& text) override { progress_.SetCaption(text); }
    bool SetPercent(int percent) override {
        if (progress_.SetPercent(percent))
            PumpMessages();
        return !IsCancelled();
    }
    bool IsCancelled() const override { return progress_.IsCancelled(); }
    void Close() override { progress_.Close(); }

private:
    static void PumpMessages() {
        if (TApplication* app = GetApplication()) {
            (void)app->PumpWaitingMessages();
            return;
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    DelayedProgress progress_;
};

// Requests from the frame, the window's own buttons and a second copy that
// act on the transport or the file: kept while an edit runs.
bool IsKeptRequest(UINT msg) {
    switch (msg) {
    case WM_TOGGLERECORD:
    case WM_TOGGLEPLAY:
    case WM_STOPTRANSPORT:
    case WM_REPOSITION:
    case WM_FILELIMIT:
    case WM_SETTINGSCHANGED:
    case WM_STOPANDSAVE:
    case WM_STOPTHENPLAY:
    case WM_STOPTHENRECORD:
    case WM_SPLITFILE:
    case WM_RESTARTRECORDING:
    case WM_OPENFILEREQUEST:
    case WM_ENDSESSIONREQUEST:
    case WM_LATESCHEDULE:
    case WM_FLUSHFILES:
        return true;
    default:
        return false;
    }
}

// Acted on at once or never: held buttons repeat, clicks and drops are the
// user's and are simply refused.
bool IsRefusedInput(UINT msg) {
    switch (msg) {
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_DROPFILES:
    case WM_LBUTTONDBLCLK:
    case WM_REWIND:
    case WM_FASTFORWARD:
    case MM_JOY1BUTTONDOWN:
    case MM_JOY1BUTTONUP:
    case WM_CLOSE:
        return true;
    default:
        return false;
    }
}

}  // namespace

std::unique_ptr<EditProgress> TAppDialog::MakeEditProgress() {
    return std::make_unique<WindowEditProgress>(*this);
}

bool TAppDialog::RefuseWhileEditing(Message& m) {
    if (!IsEditBusy())
        return false;
    if (m.enabler) {
        m.enabler->Enable(false);
        m.enabler->MarkHandled();
        return true;
    }
    if (IsRefusedInput(m.msg)) {
        // A refused drop is still the window's to let go.
        if (m.msg == WM_DROPFILES && !m.probe)
            DragFinish(reinterpret_cast<HDROP>(m.wParam));
        return true;
    }
    if (IsKeptRequest(m.msg)) {
        if (!m.probe)
            (void)DeferIfTransportBusy(m.msg, m.wParam, m.lParam);
        return true;
    }
    return false;
}
