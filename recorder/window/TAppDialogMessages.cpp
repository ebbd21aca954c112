// The recorder window driven from outside its buttons: the private messages
// of the frame, of a second copy and of its own code, the joystick, the
// double clicks and the Close command. Each maps the request onto the
// transport and file operations.
#include "recorder/window/TAppDialog.h"

#include <algorithm>
#include <cstdint>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "recorder/controls/CoolButton.h"
#include "recorder/playback/TransportKeys.h"

namespace {

constexpr UINT kJoystickPeriodMs = 100;
constexpr int kJoystickStepSeconds = 3;

void Repaint(const std::unique_ptr<CoolButton>& button)
{
    if (button && button->GetHandle())
        button->Invalidate(false);
}

}  // namespace

void TAppDialog::CmTogglePlay()
{
    if (hWaveOut.IsOpen())
        CmStop();
    else
        CmPlay();
    Repaint(RecordButton);
    Repaint(StopButton);
    Repaint(PlayButton);
}

LRESULT TAppDialog::EvTogglePlay(WPARAM, LPARAM)
{
    CmTogglePlay();
    return 0;
}

// A double click on Play plays the start of each segment.
void TAppDialog::BnPlayDoubleClicked()
{
    SoundByteMode = 1;
    CmPlay();
}

// lParam: signed seconds, negative back.
LRESULT TAppDialog::EvReposition(WPARAM wParam, LPARAM lParam)
{
    if (DeferIfTransportBusy(WM_REPOSITION, wParam, lParam))
        return 0;
    const auto seconds = static_cast<int32_t>(lParam);
    const int64_t count = seconds < 0 ? -int64_t{seconds} : int64_t{seconds};
    Reposition(1, seconds >= 0, static_cast<int>(std::min<int64_t>(count, INT32_MAX)));
    return 0;
}

LRESULT TAppDialog::EvStopThenPlay(WPARAM wParam, LPARAM lParam)
{
    if (DeferIfTransportBusy(WM_STOPTHENPLAY, wParam, lParam))
        return 0;
    CmStop();
    CmPlay();
    return 0;
}

// Echo mode records each segment into a new file: a temporary one is thrown
// away, a file with a name (one the user opened) is saved and closed.
LRESULT TAppDialog::EvStopThenRecord(WPARAM wParam, LPARAM lParam)
{
    if (Recording)
        return 0;
    if (DeferIfTransportBusy(WM_STOPTHENRECORD, wParam, lParam))
        return 0;
    CmStop();
    if (CurrentFile && AppState.RecordMode == 1) {
        if (CurrentFile->IsTemporary()) {
            (void)CurrentFile->Delete();
            CurrentFile.reset();
        } else {
            (void)SaveFile(nullptr, true);
        }
    }
    Listen();
    RepaintTransportButtons();
    return 0;
}

LRESULT TAppDialog::EvRewind(WPARAM, LPARAM)
{
    CmRewind();
    return 0;
}

LRESULT TAppDialog::EvFastForward(WPARAM, LPARAM)
{
    CmFastForward();
    return 0;
}

// After the preferences or a settings file were applied.
LRESULT TAppDialog::EvSettingsChanged(WPARAM wParam, LPARAM lParam)
{
    if (DeferIfTransportBusy(WM_SETTINGSCHANGED, wParam, lParam))
        return 0;
    // An unused temporary file takes on the new format and file type.
    if (CurrentFile && CurrentFile->GetDataLength() == 0 && !CurrentFile->IsModified() &&
        CurrentFile->IsTemporary()) {
        const bool wasRecording = Recording != 0;
        if (wasRecording)
            CmStop();
        (void)SaveFile(nullptr, true);
        OpenFile(nullptr);
        if (wasRecording)
            Listen();
    }
    SpinTimer();
    ShowVoxControls(!AppState.VoxHide);
    if (AppState.JoyEnable)
        (void)joySetCapture(GetHandle(), JOYSTICKID1, kJoystickPeriodMs, FALSE);
    else
        (void)joyReleaseCapture(JOYSTICKID1);
    CheckDefaultDirectory();
    return 0;
}

LRESULT TAppDialog::EvJoyButton(WPARAM wParam, LPARAM lParam)
{
    if (DeferIfTransportBusy(MM_JOY1BUTTONDOWN, wParam, lParam))
        return 0;
    const int settings[4] = {AppState.JoyButton1, AppState.JoyButton2, AppState.JoyButton3,
                             AppState.JoyButton4};
    for (int button = 1; button <= 4; ++button) {
        if (!(wParam & JoyChangeBit(button)))
            continue;
        switch (JoyButtonAction(settings[button - 1], (wParam & JoyStateBit(button)) != 0)) {
        case JoyAction::Record: EvStopThenRecord(0, 0); break;
        case JoyAction::Play: EvStopThenPlay(0, 0); break;
        case JoyAction::Stop: EvStopTransport(0, 0); break;
        case JoyAction::Back3Seconds: StepSeconds(-kJoystickStepSeconds); break;
        case JoyAction::Forward3Seconds: StepSeconds(kJoystickStepSeconds); break;
        case JoyAction::None: break;
        }
    }
    return 0;
}

void TAppDialog::CmClose()
{
    if (DeferIfTransportBusy(WM_COMMAND, CM_CLOSE, 0))
        return;
    EvStopAndSave(0, 0);
    ShowTime(0);
    ShowAnnotation();  // cleared through the field's memory, so the next file's comment shows
    SetItemText(IDC_SIZETEXT, "");
    ShowFormat();
}

void TAppDialog::CeClose(TCommandEnabler& ce)
{
    ce.Enable(CurrentFile != nullptr);
}

void TAppDialog::EndSession()
{
    // StopCapture inside Listen's pump would end the capture under the
    // start: the stop waits until the start is done.
    if (IsTransportBusy()) {
        (void)DeferIfTransportBusy(WM_ENDSESSIONREQUEST, 0, 0);
        return;
    }
    // The session cannot wait for a dialog: it is ended as Cancel would end
    // it, and the handler that opened it finds the file gone when it returns.
    // The dialog's loop goes on until this returns, so the stop, with the
    // work of a record-insert or a loop, runs now rather than after it.
    CancelModalSteps();
    EndingSession = true;
    // The capture's own stop first: it writes the buffers the device gives
    // back, whatever the transport's stop does besides.
    StopCapture();
    CmStop();
    EndingSession = false;
    if (!CurrentFile)
        return;
    // Closing an unmodified temporary file deletes it, and the stop has just
    // brought the file up to date: a recording that has no final name yet
    // stays on disk under its temporary one instead.
    CurrentFile->SetTemporary(false);
    CurrentFile->Close();
    CurrentFile.reset();
}

LRESULT TAppDialog::EvEndSessionRequest(WPARAM, LPARAM)
{
    EndSession();
    return 0;
}
