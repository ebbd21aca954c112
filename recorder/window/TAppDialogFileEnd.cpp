// TAppDialog: the messages that end the current file and go on, or make it
// safe on disk: the file limit, the split at the ceiling of the file format,
// stop-and-save and the flush asked for from outside.
#include "recorder/window/TAppDialog.h"

#include "core/AppState.h"
#include "core/PrivateMessages.h"

namespace {
constexpr int kFileActionNothing = 0;
constexpr int kFileActionLoop = 1;
constexpr int kFileActionStop = 2;
constexpr int kFileActionNewFile = 3;
// WM_FILELIMIT's wParam when the loop action falls back to a new file.
constexpr WPARAM kLimitInNewFile = 1;
}  // namespace

// The file reached the File page's size or time limit.
LRESULT TAppDialog::EvFileLimit(WPARAM wParam, LPARAM lParam) {
    switch (AppState.FileAction) {
    case kFileActionNothing:
        return 0;
    case kFileActionStop:
        if (!DeferIfTransportBusy(WM_FILELIMIT, wParam, lParam)) CmStop();
        return 0;
    case kFileActionNewFile:
        if (!DeferIfTransportBusy(WM_FILELIMIT, wParam, lParam)) ContinueInNewFileAtLimit();
        return 0;
    case kFileActionLoop:
        // Wrapping under a dialog or a start would rewrite the file's marks
        // under it; once the recording has stopped there is no lap to end.
        // The limit is asked on every buffer: kept once, it is not asked again
        // until the kept request has run.
        if (DeferIfTransportBusy(WM_FILELIMIT, wParam, lParam)) {
            LimitPosted = true;
            return 0;
        }
        if (wParam != kLimitInNewFile) LimitPosted = false;
        if (!Recording) return 0;
        // Ogg Vorbis and Speex files cannot be overwritten, and a lap whose
        // marks cannot be kept is not overwritten: the file ends there and
        // the recording goes on in a new one, as with the new-file action.
        if (wParam != kLimitInNewFile) {
            if (!LoopToFileStart() && !LimitPosted) {
                LimitPosted = true;
                PostMessage(WM_FILELIMIT, kLimitInNewFile, 0);
            }
            return 0;
        }
        if (!DeferIfTransportBusy(WM_FILELIMIT, wParam, lParam)) ContinueInNewFileAtLimit();
        return 0;
    default:
        return 0;
    }
}

void TAppDialog::ContinueInNewFileAtLimit() {
    if (!Recording || !CurrentFile) return;
    const LimitHit hit = CheckFileLimit(FileLimitSettings::From(AppState), FileProgressOf(*CurrentFile),
                                        FileCeilingUnits(CurrentFile->GetFileType()));
    if (hit != LimitHit::UserLimit) return;
    // Stopping and starting the device would lose the audio of the restart:
    // the recording goes on in the new file between two buffers. A looped
    // file is put in time order by the stop first.
    if (NextFileTakesSameAudio() && !CurrentFile->GetOverwrite()) {
        (void)SwitchRecordingFile();
        return;
    }
    CmStop();
    // A temporary recording that holds audio is kept under its name: closing
    // it unmodified would delete it.
    DropCurrentFileKeepingData();
    OpenFile(nullptr);
    Listen();
}

// The file is near the largest size its format can hold: save it and go on
// recording in a new automatically named file.
LRESULT TAppDialog::EvSplitFile(WPARAM wParam, LPARAM lParam) {
    if (DeferWhileTransportBusy(WM_SPLITFILE, wParam, lParam)) return 0;
    // A record-insert or record-overwrite edits its recording: a split would
    // save part of the edit's audio away as a file of its own.
    if (InEditRecording()) return 0;
    // Saving a named file, or a temporary one that takes its own name as
    // final, asks nothing: the recording goes on in the new file between two
    // buffers, under an open dialog too (the file refuses every block past
    // its ceiling). A save that asks for a name is done with the device
    // stopped, and waits for the dialog.
    const bool savingAsksNothing =
        CurrentFile && (!CurrentFile->IsTemporary() || (AppState.AutoName && !AppState.AutoPrompt));
    if (Recording && savingAsksNothing && NextFileTakesSameAudio()) {
        (void)SwitchRecordingFile();
        return 0;
    }
    if (DeferIfTransportBusy(WM_SPLITFILE, wParam, lParam)) return 0;
    CmStop();
    (void)SaveFile(nullptr, true);
    OpenFile(nullptr);
    Listen();
    return 0;
}

LRESULT TAppDialog::EvStopAndSave(WPARAM wParam, LPARAM lParam) {
    if (DeferIfTransportBusy(WM_STOPANDSAVE, wParam, lParam)) return 0;
    CmStop();
    (void)SaveFile(nullptr, true);
    return 0;
}

LRESULT TAppDialog::EvFlushFiles(WPARAM, LPARAM) {
    if (CurrentFile) (void)CurrentFile->Flush();
    if (SecondaryFile) (void)SecondaryFile->Flush();
    return 0;
}
