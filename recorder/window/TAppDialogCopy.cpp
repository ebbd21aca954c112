// The recorder window's caption and the copy of Save As with its progress.
#include "recorder/window/TAppDialog.h"

#include "audiofile/FileNames.h"
#include "audiofile/FileSystem.h"
#include "audiofile/RecFile.h"
#include "framework/Application.h"
#include "framework/UserInteraction.h"
#include "recorder/files/FileNaming.h"
#include "recorder/window/TAppDialogFileSteps.h"
#include "recorder/controls/TProgress.h"

namespace {

constexpr char kProduct[] = "Larkspur-PRO";

// The progress dialog of the copy under way, while it runs; none otherwise.
TProgress* copyProgress = nullptr;

struct ProgressDuringCopy {
    explicit ProgressDuringCopy(TProgress* dialog) { copyProgress = dialog; }
    ~ProgressDuringCopy() { copyProgress = nullptr; }
    ProgressDuringCopy(const ProgressDuringCopy&) = delete;
    ProgressDuringCopy& operator=(const ProgressDuringCopy&) = delete;
};

// The window whose caption shows the file: the frame, or this window alone.
TWindow& CaptionWindow(TAppDialog& window) {
    if (TWindow* frame = window.GetParent())
        return *frame;
    return window;
}

void SetMainCaption(TAppDialog& window, const std::string& caption) {
    CaptionWindow(window).SetCaption(caption);
}

// Reopens the file the copy started from, at the position it had; one that
// has gone meanwhile is not made again as an empty recording.
void ReopenAfterCopy(TAppDialog& window, const std::string& path, uint32_t position) {
    if (!PathExists(path))
        return;
    window.OpenFile(path.c_str());
    window.Position(position, true);  // nothing without a file
}

// The finished copy beside an existing file takes its name in one step; an
// existing file that cannot be replaced (another program holds it) stays,
// and the copy is deleted (3195).
bool PutCopyInPlace(TAppDialog& window, const std::string& copy, const std::string& target) {
    const std::string journal = RecFile::JournalNameFor(copy);
    const bool withJournal = !journal.empty() && PathExists(journal);
    if (Files().Replace(copy, target)) {
        // The replaced file's journal is not the copy's: the copy's own
        // takes its place, or it goes.
        const std::string targetJournal = RecFile::JournalNameFor(target);
        if (withJournal)
            (void)Files().Replace(journal, targetJournal);
        else if (!targetJournal.empty() && PathExists(targetJournal))
            (void)Files().Delete(targetJournal);
        return true;
    }
    (void)Files().Delete(copy);
    if (withJournal)
        (void)Files().Delete(journal);
    window.Error(IDS_CANTDELETERENAME);
    return false;
}

}  // namespace

// The copy of Save As: the new file becomes current, the first one stays.
// A file already under the new name stays whole until the copy is.
bool SaveCopy(TAppDialog& window, const std::string& target, uint32_t position,
              const CopyProgress& progress) {
    const std::string oldPath = window.CurrentFile->GetPath();
    window.CurrentFile.reset();  // closes it, so every byte is on disk
    const bool replacing = PathExists(target);
    const std::string copy = replacing ? ScratchNameBeside(target) : target;
    CopyOutcome outcome = CopyOutcome::CannotOpenOutput;
    {
        TProgress dialog(&window, "Copying audio data");
        const bool shown = dialog.Create();
        if (shown && IsWindowVisible(window.GetHandle()))
            dialog.Show(SW_SHOWNORMAL);
        ProgressDuringCopy during(shown ? &dialog : nullptr);
        if (!copy.empty())
            outcome = CopyAudioFile(oldPath, copy, progress);
    }
    if (outcome == CopyOutcome::Done && replacing && !PutCopyInPlace(window, copy, target)) {
        window.SetTitle(nullptr, false);
        ReopenAfterCopy(window, oldPath, position);
        return false;
    }
    window.SetTitle(nullptr, false);
    switch (outcome) {
    case CopyOutcome::Done:
        ReopenAfterCopy(window, target, position);
        return true;
    case CopyOutcome::Cancelled:
        ReopenAfterCopy(window, oldPath, position);
        return true;
    case CopyOutcome::CannotOpenInput:
    case CopyOutcome::CannotOpenOutput: {
        const bool input = outcome == CopyOutcome::CannotOpenInput;
        Ui().MessageBox(window.GetHandle(),
                        input ? "Can't open input file for rename/copy"
                              : "Can't open output file for rename/copy",
                        "rename", MB_OK);
        // The recording must not vanish from the window because a copy failed.
        ReopenAfterCopy(window, oldPath, position);
        return false;
    }
    default:
        window.Error(IDS_SAVECOPYFAILED);
        ReopenAfterCopy(window, oldPath, position);
        return false;
    }
}

bool TAppDialog::ReportCopyProgress(int percent) {
    if (copyProgress && copyProgress->IsCancelled())
        return false;
    SetMainCaption(*this, " Copying audio file " + std::to_string(percent) + "%");
    if (copyProgress)
        copyProgress->SetPercent(percent);
    if (TApplication* app = GetApplication())
        (void)app->PumpWaitingMessages();
    return !(copyProgress && copyProgress->IsCancelled());
}

void TAppDialog::SetTitle(const char* name, bool temporary) {
    const std::string caption = CaptionWindow(*this).GetCaption();
    const size_t at = caption.find(kProduct);
    const std::string product = at == std::string::npos ? kProduct : caption.substr(at);
    std::string shown;
    if (CurrentFile) {
        shown = FileNamePart(CurrentFile->GetPath());
        temporary = CurrentFile->IsTemporary();
        if (temporary) shown = "[" + shown + "]";
        if (CurrentFile->IsReadOnly()) shown += " R";
    } else if (name && *name) {
        shown = FileNamePart(name);
        if (temporary) shown = "[" + shown + "]";
    } else if (SecondaryFile) {
        return;  // an operation on the second file owns the caption
    }
    SetMainCaption(*this, shown.empty() ? product : shown + " " + product);
}
