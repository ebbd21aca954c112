// The recorder window's recording beside plain recording at the end of the
// file: record-overwrite (over the recording from its position on),
// record-insert (into a scratch file whose audio goes in at the position
// when the recording stops), and the File page's loop action, which goes on
// over the start of the file and puts the file in time order at the stop.
#include "recorder/window/TAppDialog.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "framework/UserInteraction.h"
#include "recorder/editing/AudioEdit.h"
#include "recorder/editing/AudioReorder.h"
#include "recorder/editing/EditBusy.h"
#include "recorder/editing/EditProgress.h"
#include "recorder/capture/StatusTexts.h"
#include "recorder/window/TAppDialogFileSteps.h"

namespace {

constexpr char kProductCaption[] = "Larkspur-PRO";
// The longest comment text carried over a wrap.
constexpr size_t kMaxCarriedComment = 259;

bool Editable(const RecFile* file) { return file && !file->IsReadOnly(); }

// The re-ordering's progress, with the percentage in the main window's caption.
class ReorderProgress : public EditProgress {
public:
    ReorderProgress(EditProgress& inner, TWindow& captionWindow) : inner_(inner), caption_(captionWindow) {}
    void Show(const std::string& caption) override { inner_.Show(caption); }
    void SetCaption(const std::string& text) override { inner_.SetCaption(text); }
    bool SetPercent(int percent) override {
        char text[48];
        std::snprintf(text, sizeof text, " Reordering file %d%%", percent);
        caption_.SetCaption(text);
        return inner_.SetPercent(percent);
    }
    bool IsCancelled() const override { return inner_.IsCancelled(); }
    void Close() override { inner_.Close(); }

private:
    EditProgress& inner_;
    TWindow& caption_;
};

// The file stays as it was recorded: the user must know that its audio is
// out of order, and where each part is.
std::string NotReorderedText(int result, const std::string& path, uint32_t newestSeconds) {
    const std::string why = result == kReorderCopyFailed
                                ? "its audio could not be read or written"
                                : "the file could not be replaced (another program may be using it)";
    std::string until = ElapsedText(newestSeconds);
    until.erase(0, until.find_first_not_of(' '));
    return "The looped recording could not be put in time order: " + why +
           ".\nIt is kept as it was recorded, in:\n" + path + "\nFrom its start to " + until +
           " it holds the newest audio; from there to its end, the older audio.";
}

}  // namespace

// Made as an edit makes its new files: an Ogg stream with the recording's
// own setup, so that its packets can go into the recording.
std::unique_ptr<RecFile> TAppDialog::MakeScratchRecording(const RecFile& like) {
    std::unique_ptr<RecFile> file = AudioEdit::MakeNewFile(like, nullptr, MMIO_READWRITE);
    if (file)
        file->SetTemporary(true);
    return file;
}

// ---- record-overwrite

void TAppDialog::CmRecordOverwrite() {
    if (DeferIfTransportBusy(WM_COMMAND, CM_RECORDOVERWRITE, 0))
        return;
    if (RecordInsertActive) {
        CmStop();
        return;
    }
    if (!Editable(CurrentFile.get()) || !CurrentFile->CanOverwrite() || AppState.Pretrigger != 0)
        return;
    CmStop();
    if (!Editable(CurrentFile.get()))
        return;  // the stop let the file go (record mode 4)
    OverwriteMode = 1;
    CurrentFile->SetOverwrite(true);
    Listen();
}

void TAppDialog::CeRecordOverwrite(TCommandEnabler& ce) {
    ce.Enable(Editable(CurrentFile.get()) && AppState.Pretrigger == 0 && CurrentFile->CanOverwrite());
    ce.SetCheck(OverwriteMode ? 1 : 0);
}

void TAppDialog::EndOverwrite() {
    OverwriteMode = 0;
    if (CurrentFile)
        CurrentFile->SetOverwrite(false);
}

// ---- record-insert

void TAppDialog::CmRecordInsert() {
    if (DeferIfTransportBusy(WM_COMMAND, CM_RECORDINSERT, 0))
        return;
    if (RecordInsertActive) {
        CmStop();
        return;
    }
    if (!Editable(CurrentFile.get()) || !AudioEdit::CanRebuild(*CurrentFile))
        return;
    CmStop();
    if (!Editable(CurrentFile.get()))
        return;
    if (TempFile) {
        if (TempFile->IsTemporary())
            (void)TempFile->Delete();
        TempFile.reset();
    }
    std::unique_ptr<RecFile> insert = MakeScratchRecording(*CurrentFile);
    if (!insert || !insert->IsOpen()) {
        // The recording stays the current file and nothing is recorded:
        // audio recorded now would go into no file, or into the wrong one.
        const std::string path = insert ? insert->GetPath() : std::string();
        if (insert)
            DeleteScratchFile(insert);
        Ui().MessageBox(GetHandle(), CantOpenFileText(path), kProductCaption, MB_OK);
        return;
    }
    TempFile = std::move(CurrentFile);
    CurrentFile = std::move(insert);
    RecordInsertActive = true;
    Listen();
}

void TAppDialog::CeRecordInsert(TCommandEnabler& ce) {
    ce.Enable(Editable(CurrentFile.get()) && !RecordInsertActive && AudioEdit::CanRebuild(*CurrentFile));
    ce.SetCheck(RecordInsertActive ? 1 : 0);
}

// The recording is current again, at the position where the insert began,
// and the new audio goes in there. The paste buffer (the user's last cut or
// copy) is left alone; with the Windows clipboard in use the inserted audio
// goes onto it afterwards. The new audio is deleted only once it is in the
// recording (and, with the Windows clipboard, on it): otherwise, a cancel
// included, it stays on disk under its own name, and the user is told where.
void TAppDialog::EndRecordInsert() {
    RecordInsertActive = false;
    std::swap(CurrentFile, TempFile);
    std::unique_ptr<RecFile> recorded = std::move(TempFile);
    if (!recorded)
        return;
    if (!CurrentFile) {
        CurrentFile = std::move(recorded);
        return;
    }
    (void)recorded->Update();
    if (recorded->GetDataLength() == 0) {
        DeleteScratchFile(recorded);
        ShowAfterPaste();
        return;
    }
    const uint32_t position = CurrentFile->GetPosition();
    const int result = RunEdit([&](AudioEdit& edit) { return edit.InsertRecording(position, recorded); });
    const std::string path = recorded->GetPath();
    const bool inserted = result == kEditDone || result == kEditKeptTemporary;
    if (inserted && !AppState.UseWinClip) {
        DeleteScratchFile(recorded);
        ShowAfterPaste();
        return;
    }
    recorded->SetTemporary(false);  // closing keeps it
    recorded.reset();
    if (inserted && FileToClipboard(path.c_str())) {
        (void)DeleteFileA(path.c_str());
        (void)DeleteFileA(RecFile::JournalNameFor(path).c_str());
    } else {
        const char* what = inserted ? "The recorded audio is in the recording, but it could not be put on the "
                                      "clipboard. It is kept in:\n"
                           : result == kEditCancelled ? "The insert was cancelled. The recorded audio is kept in:\n"
                                                      : "The recorded audio could not be inserted into the "
                                                        "recording. It is kept in:\n";
        Ui().MessageBox(GetHandle(), what + path, kProductCaption, MB_OK | MB_ICONEXCLAMATION);
    }
    ShowAfterPaste();
}

// ---- the loop action and the re-ordering

// The lap's marks and comments go into a scratch file that holds them for
// the re-ordering; the file goes on from its start, overwriting the oldest
// audio. False (nothing changed) when that file cannot be made: the lap's
// marks would be lost, so the caller goes on in a new file instead.
bool TAppDialog::LoopToFileStart() {
    if (!CurrentFile || !CurrentFile->CanOverwrite())
        return false;
    std::unique_ptr<RecFile> lap = MakeScratchRecording(*CurrentFile);
    if (!lap || !lap->IsOpen()) {
        if (lap)
            DeleteScratchFile(lap);
        Log("loop: no file for the lap's marks, going on in a new file");
        return false;
    }
    for (const TimeCodeRec& segment : CurrentFile->TimeCodes())
        lap->AddTimeCode(segment.position, segment.timeCode, true);
    for (const CommentRec& comment : CurrentFile->Comments())
        lap->AddComment(comment.text, comment.start, comment.end, true);
    const uint32_t position = CurrentFile->GetPosition();
    std::string running = CurrentFile->FindComment(position).value_or(std::string());
    if (running.size() > kMaxCarriedComment)
        running.resize(kMaxCarriedComment);
    CurrentFile->ClearComments();
    CurrentFile->ClearTimeCodes();
    Capture.Vox().hang = 0;
    Capture.Vox().countdown = 0;
    if (ContinuationFile)
        DeleteScratchFile(ContinuationFile);
    ContinuationFile = std::move(lap);
    WrapPoint = position;
    Log("loop: back to the start at byte " + std::to_string(position));
    CurrentFile->SetOverwrite(true);
    (void)CurrentFile->Position(0);
    if (!running.empty())
        CurrentFile->AddComment(running, 0, kNoPosition);
    ShowSegment(kNoPosition);
    return true;
}

bool TAppDialog::ReorderFile() {
    if (!CurrentFile || !CurrentFile->GetOverwrite())
        return true;
    const std::string path = CurrentFile->GetPath();
    const uint32_t stoppedAt = CurrentFile->GetPosition();
    const uint32_t newestSeconds = CurrentFile->GetSeconds(stoppedAt);
    Log("re-ordering the looped file: the older audio from byte " + std::to_string(stoppedAt) + " to " +
        std::to_string(std::max(WrapPoint, CurrentFile->GetLength())) + " first");
    int result;
    {
        EditBusyScope editing;
        TransportBusyScope busy(*this);
        const auto shown = MakeEditProgress();
        TWindow* frame = GetParent();
        ReorderProgress progress(*shown, frame ? *frame : static_cast<TWindow&>(*this));
        const RoomCheck room = [this](uint64_t bytes) { return DiskFreeBesideRecording(bytes); };
        result = ReorderWrappedFile(CurrentFile, ContinuationFile.get(), WrapPoint, progress, room);
    }
    if (result == kReorderNoRoom)
        Ui().MessageBox(GetHandle(), "Not enough disk space to re-order file", kProductCaption, MB_ICONHAND);
    else if (result == kReorderNewFileFailed)
        Ui().MessageBox(GetHandle(), CantOpenFileText(path), kProductCaption, MB_OK);
    else if (result == kReorderKeptTemporary && CurrentFile)
        Ui().MessageBox(GetHandle(),
                        "The re-ordered recording could not take its old name; it is kept under a "
                        "temporary name:\n" + CurrentFile->GetPath(),
                        kProductCaption, MB_OK | MB_ICONEXCLAMATION);
    else if (result == kReorderCopyFailed || result == kReorderNotReplaced)
        Ui().MessageBox(GetHandle(), NotReorderedText(result, path, newestSeconds), kProductCaption,
                        MB_OK | MB_ICONEXCLAMATION);
    // Whatever happened, the older lap's marks are in the file now.
    if (ContinuationFile)
        DeleteScratchFile(ContinuationFile);
    WrapPoint = 0;
    CmClearMark();
    SetTitle(nullptr, false);
    if (CurrentFile) {
        ShowSegment(kNoPosition);
        ShowSize();
        Position(CurrentFile->GetPosition(), true);
    }
    return result == kReorderDone || result == kReorderNotWrapped;
}

void TAppDialog::FinishRecordingModes() {
    if (CurrentFile && CurrentFile->GetOverwrite() && !OverwriteMode)
        (void)ReorderFile();
    if (RecordInsertActive)
        EndRecordInsert();
    else if (OverwriteMode)
        EndOverwrite();
}
