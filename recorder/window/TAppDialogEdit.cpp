// The recorder window's editing: the selection mark and its display on the
// position slider, the Edit menu's cut, copy and pastes, and their enablers.
// Every edit runs under the edit-busy state (TAppDialogEditBusy.cpp) and
// checks its enabler's condition again, since an accelerator or a message
// may arrive without a fresh enabler query.
#include "recorder/window/TAppDialog.h"

#include <algorithm>
#include <commctrl.h>

#include "core/AppState.h"
#include "framework/CommonDialogs.h"
#include "framework/UserInteraction.h"
#include "recorder/clipboard/ClipboardExchange.h"
#include "recorder/editing/AudioEdit.h"
#include "recorder/editing/EditBusy.h"
#include "recorder/files/FileFormats.h"
#include "recorder/files/SavePlan.h"
#include "recorder/window/TAppDialogFileSteps.h"

namespace {

bool Editable(const RecFile* file) { return file && !file->IsReadOnly(); }

// No file yet, or one whose kind an edit can rebuild.
bool Rebuildable(const RecFile* file) { return !file || AudioEdit::CanRebuild(*file); }

}  // namespace

// ---- the mark

void TAppDialog::CmMarkSelection() {
    MarkPosition = CurrentFile ? CurrentFile->GetPosition() : kNoPosition;
    SetSliderRange();
}

void TAppDialog::CmClearMark() {
    MarkPosition = kNoPosition;
    SetSliderRange();
}

void TAppDialog::SetSliderRange() {
    HWND slider = PositionSlider();
    if (SelRangeShown && (!CurrentFile || CurrentFile->GetDataLength() == 0))
        MarkPosition = kNoPosition;
    if (!slider)
        return;
    if (MarkPosition != kNoPosition && CurrentFile) {
        if (!SelRangeShown) {
            const LONG_PTR style = GetWindowLongPtrA(slider, GWL_STYLE);
            SetWindowLongPtrA(slider, GWL_STYLE, (style | TBS_ENABLESELRANGE) & ~static_cast<LONG_PTR>(TBS_NOTICKS));
            SelRangeShown = true;
        }
        const uint32_t half = std::max<uint32_t>(CurrentFile->GetLength() / 2, 1);
        const LPARAM mark = MulDiv(static_cast<int>(MarkPosition / 2), 1000, static_cast<int>(half));
        const LPARAM thumb = ::SendMessageA(slider, TBM_GETPOS, 0, 0);
        ::SendMessageA(slider, TBM_SETSEL, TRUE, MAKELPARAM(std::min(mark, thumb), std::max(mark, thumb)));
    } else if (SelRangeShown) {
        ::SendMessageA(slider, TBM_SETSEL, TRUE, MAKELPARAM(0, 0));
        const LONG_PTR style = GetWindowLongPtrA(slider, GWL_STYLE);
        SetWindowLongPtrA(slider, GWL_STYLE, (style & ~static_cast<LONG_PTR>(TBS_ENABLESELRANGE)) | TBS_NOTICKS);
        SelRangeShown = false;
    }
}

// ---- conditions of the enablers, asked again by the handlers

bool TAppDialog::HasSelection() const {
    return CurrentFile && Rebuildable(CurrentFile.get()) && MarkPosition != kNoPosition &&
           MarkPosition != CurrentFile->GetPosition();
}

bool TAppDialog::CanPasteInsert() {
    if (!CanInsertFile())
        return false;
    SilentProgress quiet;
    return ClipboardExchange(ClipboardOwner(), quiet).ClipboardHasAudio(CurrentFile ? CurrentFile->GetFileType() : ftWav);
}

bool TAppDialog::CanInsertFile() const {
    return !CurrentFile || (Editable(CurrentFile.get()) && Rebuildable(CurrentFile.get()));
}

void TAppDialog::CeMarkSelection(TCommandEnabler& ce) {
    ce.Enable(CurrentFile != nullptr);
    ce.SetCheck(MarkPosition != kNoPosition ? 1 : 0);
}

void TAppDialog::CeClearMark(TCommandEnabler& ce) { ce.Enable(CurrentFile && MarkPosition != kNoPosition); }

void TAppDialog::CeCut(TCommandEnabler& ce) { ce.Enable(HasSelection() && Editable(CurrentFile.get())); }

void TAppDialog::CeCopy(TCommandEnabler& ce) { ce.Enable(HasSelection()); }

void TAppDialog::CePasteInsert(TCommandEnabler& ce) { ce.Enable(CanPasteInsert()); }

void TAppDialog::CePasteFromFile(TCommandEnabler& ce) { ce.Enable(CanInsertFile()); }

// ---- the edit commands

int TAppDialog::RunEdit(const std::function<int(AudioEdit&)>& operation) {
    const bool hadFile = CurrentFile != nullptr;
    int result;
    {
        EditBusyScope editing;
        TransportBusyScope busy(*this);
        const auto progress = MakeEditProgress();
        const auto transfer = MakeTransferProgress();
        const RoomCheck room = [this](uint64_t bytes) { return DiskFreeBytes(bytes); };
        const RoomCheck besideRecording = [this](uint64_t bytes) { return DiskFreeBesideRecording(bytes); };
        ClipboardExchange clipboard(ClipboardOwner(), *transfer, room);
        AudioEdit edit(CurrentFile, *progress, clipboard, besideRecording);
        result = operation(edit);
    }
    if (!hadFile && CurrentFile && CurrentFile->GetFormat()) {
        // A paste made the recording: its format is the window's now.
        FileFormat.Assign(*CurrentFile->GetFormat());
        CaptureFormat = CaptureFormatFor(*FileFormat.Get());
        ShowFormat();
    }
    if (result == kEditKeptTemporary && CurrentFile)
        Ui().MessageBox(GetHandle(),
                        "The edited recording could not take its old name; it is kept under a "
                        "temporary name:\n" + CurrentFile->GetPath(),
                        "Larkspur-PRO", MB_OK | MB_ICONEXCLAMATION);
    return result;
}

// The transport stops first (playback moves the position); the range runs
// from the lower to the higher of the mark and the position then.
bool TAppDialog::StopForSelection(uint32_t& start, uint32_t& end) {
    CmStop();
    if (!HasSelection())
        return false;
    const uint32_t position = CurrentFile->GetPosition();
    start = std::min(MarkPosition, position);
    end = std::max(MarkPosition, position);
    return true;
}

void TAppDialog::CmCut() {
    if (DeferIfTransportBusy(WM_COMMAND, CM_CUT, 0) || !HasSelection() || !Editable(CurrentFile.get()))
        return;
    uint32_t start = 0, end = 0;
    if (!StopForSelection(start, end))
        return;
    (void)RunEdit([&](AudioEdit& edit) { return edit.CutSelection(start, end); });
    CmClearMark();
    if (CurrentFile) {
        (void)CurrentFile->Position(start);
        ShowSegment(kNoPosition);
        ShowSize();
        Position(CurrentFile->GetPosition(), true);
    }
    SetTitle(nullptr, false);
}

void TAppDialog::CmCopy() {
    if (DeferIfTransportBusy(WM_COMMAND, CM_COPY, 0) || !HasSelection())
        return;
    uint32_t start = 0, end = 0;
    if (!StopForSelection(start, end))
        return;
    (void)RunEdit([&](AudioEdit& edit) { return edit.CopySelection(start, end); });
    CmClearMark();
    SetTitle(nullptr, false);
    if (CurrentFile)
        Position(CurrentFile->GetPosition(), true);
}

// After a paste: the read-outs of the file as it is now.
void TAppDialog::ShowAfterPaste() {
    SetTitle(nullptr, false);
    if (!CurrentFile)
        return;
    ShowSegment(kNoPosition);
    ShowSize();
    Position(CurrentFile->GetPosition(), true);
}

void TAppDialog::CmPasteInsert() {
    if (DeferIfTransportBusy(WM_COMMAND, CM_PASTEINSERT, 0) || !CanPasteInsert())
        return;
    // The file is replaced: nothing may be recording into it or playing it.
    CmStop();
    const uint32_t position = CurrentFile ? CurrentFile->GetPosition() : 0;
    (void)RunEdit([&](AudioEdit& edit) { return edit.PasteInsert(position); });
    ShowAfterPaste();
}

void TAppDialog::CmPasteFromFile() {
    if (DeferIfTransportBusy(WM_COMMAND, CM_PASTEFROMFILE, 0) || !CanInsertFile())
        return;
    CmStop();
    const uint32_t position = CurrentFile ? CurrentFile->GetPosition() : 0;
    const int type = CurrentFile ? CurrentFile->GetFileType() : ftWav;
    FileDialogData data;
    data.filter = PasteFilterFor(type);
    data.defaultExt = PasteExtensionFor(type);
    data.initialDir = AppState.DefaultDirectory;
    data.flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY;
    if (!Ui().OpenFileDialog(ClipboardOwner(), data))
        return;
    // The dialog pumped messages: the file may have changed meanwhile.
    if (!CanInsertFile())
        return;
    const std::string path = data.FileName();
    if (CurrentFile && IsSameFile(path, CurrentFile->GetPath())) {
        // The recording cannot be read while it is being rebuilt.
        Error(IDS_PASTETOFILEFAILED, MB_ICONHAND);
        return;
    }
    (void)RunEdit([&](AudioEdit& edit) { return edit.InsertFile(position, path); });
    ShowAfterPaste();
}
