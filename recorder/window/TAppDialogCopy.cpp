// The recorder window's caption and the copy of Save As with its progress.
#include "recorder/window/TAppDialog.h"

#include "audiofile/FileNames.h"
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

// Reopens the file the copy started from, at the position it had.
void ReopenAfterCopy(TAppDialog& window, const std::string& path, uint32_t position) {
    window.OpenFile(path.c_str());
    window.Position(position, true);  // nothing without a file
}

}  // namespace

// Step before a rename or copy onto an existing name.
void DeleteExistingTarget(TAppDialog& window, const std::string& target) {
    if (PathExists(target) && !DeleteFileA(target.c_str()))
        window.Error(IDS_CANTDELETERENAME);
}

// The copy of Save As: the new file becomes current, the first one stays.
bool SaveCopy(TAppDialog& window, const std::string& target, uint32_t position,
              const CopyProgress& progress) {
    const std::string oldPath = window.CurrentFile->GetPath();
    window.CurrentFile.reset();  // closes it, so every byte is on disk
    DeleteExistingTarget(window, target);
    CopyOutcome outcome;
    {
        TProgress dialog(&window, "Copying audio data");
        const bool shown = dialog.Create();
        if (shown && IsWindowVisible(window.GetHandle()))
            dialog.Show(SW_SHOWNORMAL);
        ProgressDuringCopy during(shown ? &dialog : nullptr);
        outcome = CopyAudioFile(oldPath, target, progress);
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
