// The recorder window's transport moves: Play, the Back and Forward buttons
// with the step chosen from the keys, the position commands, and the speed
// commands.
#include "recorder/window/TAppDialog.h"

#include <algorithm>
#include <cstdio>
#include <new>

#include "core/AppState.h"
#include "recorder/controls/CoolButton.h"
#include "recorder/playback/PlayBlocks.h"
#include "recorder/playback/TransportKeys.h"

namespace {

constexpr int kLargestSecondRetry = 9;  // back one second tries up to 9 times the step

// The keys as they were when the key press or click that asked for the move
// was made (the thread's key state), not as they are when the move runs: a
// key handled late keeps its own step.
RepositionStep StepFromKeys()
{
    return StepForKeys(KeyHeld(GetKeyState(VK_SHIFT)), KeyHeld(GetKeyState(VK_CONTROL)), AppState.LHMode);
}

// The position command that makes one step of that kind.
UINT PositionCommandOf(RepositionStep step, bool forward)
{
    switch (step) {
    case RepositionStep::Second: return forward ? CM_FORWARD1SECOND : CM_BACK1SECOND;
    case RepositionStep::Segment: return forward ? CM_FORWARD1SEGMENT : CM_BACK1SEGMENT;
    case RepositionStep::Comment: return forward ? CM_FORWARD1COMMENT : CM_BACK1COMMENT;
    case RepositionStep::Minute: break;
    }
    return forward ? CM_FORWARD1MINUTE : CM_BACK1MINUTE;
}

}  // namespace

void TAppDialog::CmPlay()
{
    if (DeferIfTransportBusy(WM_COMMAND, CM_PLAY, 0))
        return;
    Log("play");
    if (PlayButton && PlayButton->GetHandle())
        PlayButton->SetState(CoolButton::kPressed, true);
    BnPlay();
    if (StopButton && StopButton->GetHandle() && Playing)
        ::SetFocus(StopButton->GetHandle());
}

void TAppDialog::Reposition(int mode, bool forward, int count)
{
    if (!CurrentFile)
        return;
    const bool wasPlaying = Playing != 0;
    if (Recording)
        CmStop();
    else if (Playing)
        BnStop();
    if (!CurrentFile)
        return;
    RecFile& file = *CurrentFile;
    const uint32_t here = file.GetPosition();
    if (!forward) {
        switch (mode) {
        case 2: PositionPrevSegment(true); break;
        case 1:
            Position(file.RelativePosition(-count), true);
            // A coarse format may round a one-second step back to where it was.
            for (int k = 2; k <= kLargestSecondRetry && here != 0 && file.GetPosition() == here; ++k)
                Position(file.RelativePosition(-k * count), true);
            break;
        case 0: Position(file.RelativePosition(-60 * count), true); break;
        case 3: Position(file.PrevComment(here), true); break;
        default: break;
        }
    } else {
        switch (mode) {
        case 2: Position(file.NextSegmentPosition(here), true); break;
        case 1: Position(file.RelativePosition(count), true); break;
        case 0: Position(file.RelativePosition(60 * count), true); break;
        case 3:
            // Without comments there is nothing to go to: stay.
            if (file.CommentCount() > 0)
                Position(std::min(file.NextComment(here), file.GetLength()), true);
            break;
        default: break;
        }
    }
    if (wasPlaying)
        BnPlay();
}

void TAppDialog::PositionPrevSegment(bool previous)
{
    if (!CurrentFile)
        return;
    Position(previous ? CurrentFile->PrevSegmentPosition(CurrentFile->GetPosition()) : 0, true);
}

void TAppDialog::StepSeconds(int seconds)
{
    if (CurrentFile)
        Position(CurrentFile->RelativePosition(seconds), true);
}

// The step is chosen now; a move held while the transport is busy keeps it.
void TAppDialog::MoveByKeys(bool forward)
{
    const RepositionStep step = StepFromKeys();
    if (!DeferIfTransportBusy(WM_COMMAND, PositionCommandOf(step, forward), 0))
        Reposition(static_cast<int>(step), forward, 1);
}

void TAppDialog::CmRewind() { MoveByKeys(false); }
void TAppDialog::CmFastForward() { MoveByKeys(true); }

// The position commands, each one step of its kind.
void TAppDialog::PositionCommand(UINT id, int mode, bool forward)
{
    if (!DeferIfTransportBusy(WM_COMMAND, id, 0))
        Reposition(mode, forward, 1);
}

void TAppDialog::CmForward1Second() { PositionCommand(CM_FORWARD1SECOND, 1, true); }
void TAppDialog::CmBack1Second() { PositionCommand(CM_BACK1SECOND, 1, false); }
void TAppDialog::CmForward1Segment() { PositionCommand(CM_FORWARD1SEGMENT, 2, true); }
void TAppDialog::CmBack1Segment() { PositionCommand(CM_BACK1SEGMENT, 2, false); }
void TAppDialog::CmForward1Minute() { PositionCommand(CM_FORWARD1MINUTE, 0, true); }
void TAppDialog::CmBack1Minute() { PositionCommand(CM_BACK1MINUTE, 0, false); }
void TAppDialog::CmForward1Comment() { PositionCommand(CM_FORWARD1COMMENT, 3, true); }
void TAppDialog::CmBack1Comment() { PositionCommand(CM_BACK1COMMENT, 3, false); }

// The minute and segment rows of the menu name the key that makes each move.
void TAppDialog::CeBack1Minute(TCommandEnabler& ce) { ce.SetText(MoveMenuText(RepositionStep::Minute, false, AppState.LHMode)); }
void TAppDialog::CeForward1Minute(TCommandEnabler& ce) { ce.SetText(MoveMenuText(RepositionStep::Minute, true, AppState.LHMode)); }
void TAppDialog::CeBack1Segment(TCommandEnabler& ce) { ce.SetText(MoveMenuText(RepositionStep::Segment, false, AppState.LHMode)); }
void TAppDialog::CeForward1Segment(TCommandEnabler& ce) { ce.SetText(MoveMenuText(RepositionStep::Segment, true, AppState.LHMode)); }

void TAppDialog::CmPlayAtSpeed()
{
    if (!CurrentFile)
        return;
    SpeedMode = SpeedMode == 0 ? 2 : 0;
    CmPlay();
}

void TAppDialog::CePlayAtSpeed(TCommandEnabler& ce)
{
    char text[40];
    std::snprintf(text, sizeof text, "Play at speed %1.1f", double(AppState.PlayRate));
    ce.SetText(text);
    ce.Enable(CurrentFile && CurrentFile->GetDataLength() > 0);
    ce.SetCheck(SpeedMode != 0 ? 1 : 0);
}

namespace {

// While playing, the next blocks play at the new speed and the Play button shows it.
void ShowNewSpeed(TAppDialog& window)
{
    if (!window.hWaveOut.IsOpen())
        return;
    window.SpeedMode = 1;
    if (!window.PlayButton || !window.PlayButton->GetHandle())
        return;
    char caption[16];
    std::snprintf(caption, sizeof caption, "%1.1f", double(AppState.PlayRate));
    window.PlayButton->SetCaption(caption);
    window.PlayButton->SetNoCaption(false);
    window.PlayButton->Invalidate(false);
}

}  // namespace

void TAppDialog::CmSpeedUp()
{
    AppState.PlayRate = SpeedStepUp(AppState.PlayRate);
    ShowNewSpeed(*this);
    EnsureSpeedWork();
}

void TAppDialog::CmSpeedDown()
{
    AppState.PlayRate = SpeedStepDown(AppState.PlayRate);
    ShowNewSpeed(*this);
    EnsureSpeedWork();
}
