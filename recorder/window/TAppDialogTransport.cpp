// The recorder window's stop and its record/stop requests from outside the
// window: the Stop command and button, the record toggle (hot key, tray, the
// /L start-up switch) and the stop a second copy asks for (/F /T). Recording
// itself starts in Listen (TAppDialogCapture.cpp).
#include "recorder/window/TAppDialog.h"

#include <algorithm>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "recorder/controls/CoolButton.h"

namespace {

void Repaint(const std::unique_ptr<CoolButton>& button)
{
    if (button && button->GetHandle())
        button->Invalidate(false);
}

void FocusOn(const std::unique_ptr<CoolButton>& button)
{
    if (button && button->GetHandle())
        ::SetFocus(button->GetHandle());
}

}  // namespace

void TAppDialog::CmStop()
{
    // A stop that arrives while Listen, a restart or a stop is under way
    // (through a message pump inside them) runs when that has ended.
    if (DeferIfTransportBusy(WM_COMMAND, CM_STOP, 0))
        return;
    Log("stop");
    if (StopButton && StopButton->GetHandle())
        StopButton->SetState(CoolButton::kPressed, true);
    if (Recording)
        FocusOn(RecordButton);
    else if (Playing)
        FocusOn(PlayButton);
    BnStop();
}

void TAppDialog::BnStop()
{
    // Closing the codec stream pumps messages: a record or open request
    // arriving then waits until the stop and its new file are done.
    TransportBusyScope busy(*this);
    EndPlaySpeed();
    SoundByteMode = 0;
    // The buffers the device gives back at the stop still belong to the
    // segment running: the voice counters are cleared after them.
    const bool wasRecording = hWaveIn.IsOpen();
    if (wasRecording)
        StopRecordingPart();
    Capture.Vox().ClearForStart();
    // Also after a start that never opened the device: no mode outlives a stop.
    FinishRecordingModes();
    StopPlaybackPart();
    AcmClose();
    Recording = 0;
    if (CurrentFile)
        (void)CurrentFile->Update();
    ShowLevel(0);
    SetItemText(IDC_LEVELTEXT, "");
    LastPeakShown = 0xFFFFFFFFu;  // the next recording draws its first level
    if (wasRecording && AppState.RecordMode == 4) {
        (void)SaveFile(nullptr, true);
        OpenFile(nullptr);
    }
    if (const TWindow* frame = GetParent())
        ::PostMessage(frame->GetHandle(), WM_RECORDSTATECHANGED, 0, 0);
}

// The device, the buffers it gave back, the codec's tail, the /N notice and
// the marks are the capture road's; then the read-outs follow the file.
void TAppDialog::StopRecordingPart()
{
    StopCapture();
    if (CurrentFile)
        Position(CurrentFile->GetPosition(), true);
}

void TAppDialog::EndPlaySpeed()
{
    if (SpeedMode <= 0)
        return;
    if (PlayButton && PlayButton->GetHandle()) {
        PlayButton->SetCaption("Pla&y");
        PlayButton->SetNoCaption(true);
        PlayButton->Invalidate(false);
    }
    SpeedMode = 0;
}

// Recording is about to start: the playback ends as a stop ends it, with
// its speed, its timer, its tally, its device and its decode stream.
void TAppDialog::StopPlaying()
{
    EndPlaySpeed();
    StopPlaybackPart();
    AcmClose();
}

// The device gives back every buffer and closes; the file goes back to the
// end of what was heard.
void TAppDialog::StopPlaybackPart()
{
    Playing = 0;
    DisarmTimer(TIMER_PLAYSTART);
    const bool reachedEnd = PlayReachedEnd;
    PlayReachedEnd = false;
    if (!hWaveOut.IsOpen())
        return;
    EndPlayTally();
    // At the end of the file every buffer is back, the silence after the
    // last one included; on a device that reports blocks early its sound may
    // still be on its way: the device stays open a while instead of being reset.
    if (reachedEnd && BuffersWithPlayDevice() == 0 && hWaveOut.UnprepareAll() == MMSYSERR_NOERROR &&
        hWaveOut.HandOver(PlayTail))
        ArmTimer(TIMER_PLAYTAIL, kPlayTailMs);
    else
        LogPlayDeviceClosed(hWaveOut.Close());
    if (CurrentFile)
        Position(PlayedPosition, true);
}

void TAppDialog::Position(uint32_t position, bool moveSlider)
{
    if (!CurrentFile)
        return;
    const uint32_t length = CurrentFile->GetLength();
    if (length == 0) {
        ShowTime(0);
        SetPositionSlider(1000);
        return;
    }
    const uint32_t block = FileFormat->nBlockAlign;
    if (!AppState.UnalignedPositions && block > 1)
        position -= position % block;
    position = std::min(position, length);
    if (!CurrentFile->Position(position)) {
        Warn(IDS_CANTSEEK);
        return;
    }
    if (moveSlider)
        SetPositionSlider(length < 2 ? 1000 : static_cast<int>(uint64_t{position} * 1000 / length));
    if (!Recording)
        ShowTime(position);
    ShowAnnotation(position);
    ShowSegment(position);
}

LRESULT TAppDialog::EvToggleRecord(WPARAM wParam, LPARAM lParam)
{
    if (DeferIfTransportBusy(WM_TOGGLERECORD, wParam, lParam))
        return 0;
    if (Recording)
        CmStop();
    else
        Listen();
    Repaint(RecordButton);
    Repaint(StopButton);
    return 0;
}

LRESULT TAppDialog::EvStopTransport(WPARAM, LPARAM)
{
    if (!Playing && !Recording && !hWaveIn.IsOpen() && !hWaveOut.IsOpen())
        return 0;
    CmStop();
    RepaintTransportButtons();
    return 0;
}
