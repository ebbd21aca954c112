// The recorder window's files: saving, naming a finished recording (Save As,
// the naming pattern, a category), copying to a new name, closing, and the
// window caption.
#include "recorder/window/TAppDialog.h"

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "framework/Application.h"
#include "framework/CommonDialogs.h"
#include "framework/UserInteraction.h"
#include "recorder/files/AudioFileCopy.h"
#include "recorder/controls/CoolButton.h"
#include "recorder/files/FileNaming.h"
#include "recorder/files/SavePlan.h"
#include "recorder/window/TAppDialogFileSteps.h"
#include "recorder/files/TSubjectDialog.h"

namespace {

const char* SaveFilterFor(int fileType) {
    switch (fileType) {
    case ftMp3: return "MP3 files (*.mp3)|*.mp3|";
    case ftOgg: return "Vorbis files (*.ogg)|*.ogg|";
    case ftSpeex: return "Speex files (*.spx)|*.spx|";
    default: return "Wave files (*.wav)|*.wav|";
    }
}

// The file itself: delete it when temporary, let the object go.
void EndCurrentFile(TAppDialog& window, bool deleteFromDisk) {
    if (deleteFromDisk && window.CurrentFile)
        (void)window.CurrentFile->Delete();
    window.CurrentFile.reset();
    window.SetTitle(nullptr, false);
    window.ShowAnnotation();
    window.ShowFormat();
    window.ShowSize();
    window.ShowSegment(kNoPosition);
    window.CmClearMark();
}

// The file takes the new name; it stays under its old one when that fails.
// A temporary file that is let go unmodified is deleted, so one that could
// not be renamed loses its mark and stays under its old name.
void MoveTo(TAppDialog& window, const std::string& target) {
    if (window.CurrentFile->Rename(target)) {
        RememberRecentFile(*window.CurrentFile);
        return;
    }
    window.CurrentFile->SetTemporary(false);
    window.Error(IDS_SAVECOPYFAILED);
}

}  // namespace

bool TAppDialog::AskCategory(std::string& category) {
    TSubjectDialog dialog(this, "AutoPrompt", "Please enter category for recording:", category,
                          AppState.DefaultDirectory);
    return dialog.Execute() == IDOK;
}

namespace {

// Save As at closing: the chosen name, or "" when cancelled.
std::string AskSaveAsName(TAppDialog& window) {
    FileDialogData data;
    data.initialDir = AppState.DefaultDirectory;
    data.filter = SaveFilterFor(window.CurrentFile->GetFileType());
    data.defaultExt = "wav";
    data.flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    return Ui().SaveFileDialog(window.GetHandle(), data) ? data.FileName() : std::string();
}

}  // namespace

namespace {

// A temporary file named in the Save As dialog; Cancel, or its own name,
// keeps the name it has and makes it final.
void NameBySaveAs(TAppDialog& window) {
    const std::string chosen = AskSaveAsName(window);
    if (chosen.empty() || IsSameFile(chosen, window.CurrentFile->GetPath()))
        (void)window.CurrentFile->Rename(window.CurrentFile->GetPath());
    else
        MoveTo(window, chosen);
}

SaveSituation SituationOf(const RecFile& file, const char* newName, bool close) {
    SaveSituation situation;
    situation.hasFile = true;
    situation.temporary = file.IsTemporary();
    situation.dataLength = file.GetDataLength();
    situation.currentPath = file.GetPath();
    situation.newName = newName ? newName : "";
    situation.close = close;
    situation.autoName = AppState.AutoName;
    situation.autoPrompt = AppState.AutoPrompt;
    return situation;
}

}  // namespace

// False when a cancelled category prompt ends the saving at closing: the
// recording is let go but stays on disk under its temporary name.
bool TAppDialog::NameByCategory(bool close) {
    std::string category = "none";
    if (!AskCategory(category) && close) {
        CurrentFile->SetTemporary(false);  // else letting it go would delete it
        SavedRecordingPath = CurrentFile->GetPath();
        EndCurrentFile(*this, false);
        return false;
    }
    std::string name;
    (void)NewFileName(category.empty() ? "none" : category.c_str(), name, false,
                      CurrentFile->GetFileType());
    MoveTo(*this, name);
    return true;
}

// The stop of a recording whose file is about to be copied: the capture's
// own stop, the recording's modes finished as any stop finishes them (a
// looped file put in time order with its older lap's marks, a record-insert
// put in) and the transport's look, but never a new file after it (the copy
// becomes the current file).
void TAppDialog::StopCaptureForSave() {
    StopCapture();
    FinishRecordingModes();
    if (CurrentFile)
        (void)CurrentFile->Update();
    if (StopButton && StopButton->GetHandle())
        StopButton->SetState(CoolButton::kPressed, true);
    if (const TWindow* frame = GetParent())
        ::PostMessage(frame->GetHandle(), WM_RECORDSTATECHANGED, 0, 0);
}

bool TAppDialog::SaveFile(const char* newName, bool close) {
    if (!CurrentFile)
        return true;
    // The questions and the copy's progress pump messages: a request that
    // arrives then (open, record) waits until this file is dealt with.
    TransportBusyScope busy(*this);
    SavedRecordingPath.clear();
    const uint32_t position = CurrentFile->GetPosition();
    (void)CurrentFile->Update();
    const SaveSituation situation = SituationOf(*CurrentFile, newName, close);
    switch (PlanSave(situation)) {
    case SaveRoute::Nothing:
        return true;
    case SaveRoute::DiscardEmpty:
        EndCurrentFile(*this, situation.temporary);
        return true;
    case SaveRoute::CopyTo:
        // The copy closes the file and pumps messages: a running capture
        // ends in it first, or its buffers would find no file to go to.
        // Finishing its modes can change the file: it is planned again.
        if (hWaveIn.IsOpen()) {
            StopCaptureForSave();
            return SaveFile(newName, close);
        }
        return SaveCopy(*this, situation.newName, position,
                        [this](int percent) { return ReportCopyProgress(percent); });
    case SaveRoute::MoveTo:
        // Onto another drive the move copies every byte with no pause for
        // the device, whose buffers hold one second: a capture ends first.
        if (hWaveIn.IsOpen() &&
            OnDifferentDrives(LongFullPath(situation.currentPath), LongFullPath(situation.newName))) {
            StopCaptureForSave();
            return SaveFile(newName, close);
        }
        // An existing file of the new name is replaced only by the whole file.
        MoveTo(*this, situation.newName);
        break;
    case SaveRoute::UpdateOnly:
    case SaveRoute::ClaimName:
        // Its own path: only brings it up to date and makes the name final.
        (void)CurrentFile->Rename(CurrentFile->GetPath());
        break;
    case SaveRoute::AskName:
        NameBySaveAs(*this);
        break;
    case SaveRoute::AskCategory:
        if (!NameByCategory(close))
            return false;
        break;
    case SaveRoute::KeepName:
        break;
    }
    if (close) {
        if (CurrentFile)
            SavedRecordingPath = CurrentFile->GetPath();
        EndCurrentFile(*this, false);
    } else if (CurrentFile) {
        Position(position, true);
        SetTitle(nullptr, false);
    }
    return true;
}

bool TAppDialog::FileCanClose() {
    // "Do you want to save?" is a modal step: an open request arriving
    // meanwhile waits, so it cannot replace the file the answer is about.
    const bool hasFile = CurrentFile != nullptr;
    const CloseRoute route =
        PlanFileCanClose(hasFile, hasFile && CurrentFile->IsTemporary(),
                         hasFile && CurrentFile->GetDataLength() > 0, AppState.AutoName);
    switch (route) {
    case CloseRoute::Nothing:
        return true;
    case CloseRoute::Save:
        (void)SaveFile(nullptr, true);
        return true;
    case CloseRoute::AskToSave: {
        const int answer = Ui().MessageBox(GetHandle(), TextOf(IDS_WANTTOSAVE),
                                           TextOf(IDS_SOUNDCHANGED), MB_YESNOCANCEL | MB_ICONQUESTION);
        // Only the end of the session takes the file away meanwhile.
        if (answer == IDCANCEL || !CurrentFile)
            return answer != IDCANCEL;
        if (answer == IDYES) {
            (void)SaveFile(nullptr, true);
            return true;
        }
        if (!CurrentFile->Delete())
            Error(IDS_CANTDELETETEMP);
        EndCurrentFile(*this, false);
        return true;
    }
    case CloseRoute::DeleteTemporary:
        EndCurrentFile(*this, true);
        return true;
    }
    return true;
}

void TAppDialog::CmSaveAs() {
    FileDialogData data;
    data.initialDir = AppState.DefaultDirectory;
    data.filter = CurrentFile ? SaveFilterFor(CurrentFile->GetFileType()) : SaveFilterFor(ftWav);
    data.defaultExt = "wav";
    data.flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    if (Ui().SaveFileDialog(GetHandle(), data))
        (void)SaveFile(data.FileName().c_str(), false);
}

void TAppDialog::CmSave() {
    if (CurrentFile && CurrentFile->IsTemporary())
        CmSaveAs();
    else
        (void)SaveFile(nullptr, false);
    if (AppState.SaveCommand[0] != '\0' && CurrentFile) {
        // Quoted, so a path with blanks reaches the command as one argument.
        Ui().Launch(std::string(AppState.SaveCommand) + " \"" + CurrentFile->GetPath() + "\"",
                    SW_SHOWNORMAL);
    }
}

void TAppDialog::CeSave(TCommandEnabler& ce) {
    ce.Enable(CurrentFile && !CurrentFile->IsReadOnly());
}
