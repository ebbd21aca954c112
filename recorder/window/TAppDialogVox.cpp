// The recorder window's voice activation: the threshold slider, and what
// happens at the start and the end of a segment (the decision itself is
// VoxDetect, run by the capture session).
#include "recorder/window/TAppDialog.h"

#include <commctrl.h>

#include <ctime>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "framework/UserInteraction.h"

void TAppDialog::EvVoxLevelNotify(UINT)
{
    const int position = static_cast<int>(::SendMessage(VoxSlider(), TBM_GETPOS, 0, 0));
    AppState.SoundLevel = 100 - position;
    SetItemText(IDC_VOXLEVEL, std::to_string(AppState.SoundLevel));
}

void TAppDialog::VoxSegmentStarted()
{
    RefreshMarks(true);
    // With voice activation off (threshold 0) every block is loud: no command.
    if (!AppState.VoxDisable && AppState.SoundLevel > 0 && !AppState.VoxCommand.empty())
        (void)Ui().Launch(AppState.VoxCommand, SW_SHOWNORMAL);
}

void TAppDialog::VoxSegmentEnded(const VoxEvents& events, bool marked, uint32_t markPosition)
{
    RefreshMarks(false);
    if (AppState.RecordMode == 1) {
        PostMessage(WM_STOPTHENPLAY);
    } else if (CurrentFile && !(AppState.FileAction == 1 && CurrentFile->GetOverwrite())) {
        if (events.shortSegment)
            CutShortSegment(marked, markPosition);
        CurrentFile->Update();
        CurrentFile->Flush();
    }
    if (AppState.NotifyWindow)
        ::PostMessage(AppState.NotifyWindow, WM_SEGMENTENDED, 1, 1);
}

// Cuts a segment that was too short back to its own mark. Nothing is cut
// during a record-overwrite or a loop, in a file that cannot be cut, or when
// the mark found is not the one this segment made.
void TAppDialog::CutShortSegment(bool marked, uint32_t markPosition)
{
    const int index = CurrentFile->FindTimeCode(kNoPosition);
    SegmentCutFacts facts;
    facts.fileLooping = AppState.FileAction == 1 && CurrentFile->GetOverwrite();
    facts.overwriteMode = OverwriteMode != 0 || CurrentFile->GetOverwrite();
    facts.fileCanBeCut = CurrentFile->CanOverwrite();
    facts.markFound = index >= 0;
    facts.markPosition = index >= 0 ? CurrentFile->GetTimeCodePos(index) : 0;
    facts.segmentMarked = marked;
    facts.segmentStart = markPosition;
    if (!MayCutSegment(facts))
        return;
    if (!CurrentFile->Position(facts.markPosition))
        return;
    CurrentFile->SetDataLength(facts.markPosition);
    CurrentFile->DeleteTimeCode(index);
    ShowSegment(kNoPosition);
    ShowSize();
}

void TAppDialog::RefreshMarks(bool flag)
{
    const bool segmentWasOpen = MarksFlag;
    MarksFlag = flag;
    if (!OverwriteMode || !CurrentFile || !CurrentFile->GetOverwrite())
        return;
    // The stop ends a segment that a quiet end may have ended already; with
    // no segment open there is no overwritten stretch to mark.
    if (!flag && !segmentWasOpen)
        return;
    if (flag) {
        OverwriteSegmentStart = CurrentFile->GetPosition();
        OverwriteSegmentTime = static_cast<int64_t>(std::time(nullptr));
        return;
    }
    const uint32_t position = CurrentFile->GetPosition();
    CurrentFile->AddTimeCode(position, CurrentFile->GetTimeCode(position));
    CurrentFile->AddTimeCode(OverwriteSegmentStart, OverwriteSegmentTime);
    // The marks the overwritten stretch held are gone with its sound.
    for (int i = CurrentFile->TimeCodeCount() - 1; i >= 0; --i) {
        const uint32_t at = CurrentFile->GetTimeCodePos(i);
        if (at > OverwriteSegmentStart && at < position)
            CurrentFile->DeleteTimeCode(i);
    }
    ShowSegment(kNoPosition);
}
