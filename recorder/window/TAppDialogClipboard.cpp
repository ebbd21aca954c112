// The recorder window's clipboard: whole files to and from the Windows
// clipboard with the progress dialog and the caption percentage, Paste to
// File, and the private-clipboard switch.
#include "recorder/window/TAppDialog.h"

#include <cstdio>
#include <optional>

#include "audiofile/FileNames.h"
#include "audiofile/FileSystem.h"
#include "core/AppState.h"
#include "framework/Application.h"
#include "framework/CommonDialogs.h"
#include "framework/FrameWindow.h"
#include "framework/UserInteraction.h"
#include "recorder/clipboard/ClipboardExchange.h"
#include "recorder/controls/TProgress.h"
#include "recorder/files/DiskSpace.h"
#include "recorder/files/SavePlan.h"
#include "recorder/window/TAppDialogFileSteps.h"

namespace {

constexpr char kProductCaption[] = "Larkspur-PRO";
constexpr TransferTexts kFileToClipboard{"Copying audio to clipboard...", " Copying to clipboard %d%%"};
constexpr TransferTexts kClipboardToFile{"Copying clipboard audio to disk...",
                                         " Copying to temp file %d%%"};

// The window whose caption shows the percentage: the frame, or the window.
TWindow& CaptionWindow(TAppDialog& window) {
    if (TWindow* frame = window.GetParent())
        return *frame;
    return window;
}

// The clipboard's image taken into the temp folder under a name of its own
// (a reserved temp name with the type's extension, which tells the clipboard
// format); both are removed at the end, the image unless it was renamed.
class TakenImage {
public:
    TakenImage() = default;
    TakenImage(const TakenImage&) = delete;
    TakenImage& operator=(const TakenImage&) = delete;
    ~TakenImage() {
        if (!image_.empty())
            DeleteFileA(image_.c_str());
        if (!reserved_.empty())
            DeleteFileA(reserved_.c_str());
    }
    bool Reserve(int type) {
        if (!MakeTempFileName(reserved_))
            return false;
        image_ = reserved_ + "." + PasteExtensionFor(type);
        return true;
    }
    bool Taken() const { return !image_.empty(); }
    const std::string& Path() const { return image_; }
    // A file already under the name stays as it was unless the image is
    // whole there.
    bool MoveTo(const std::string& target) const { return RenameOrCopy(image_, target); }

private:
    std::string reserved_;
    std::string image_;
};

void ShowNoRoom(TAppDialog& window) {
    Ui().MessageBox(window.GetHandle(), "Not enough disk space for this operation", kProductCaption,
                    MB_ICONHAND);
}

// Passes a transfer's steps on and remembers whether the user cancelled it.
class CancelWatch : public TransferProgress {
public:
    explicit CancelWatch(TransferProgress& inner) : inner_(inner) {}
    void Begin(const TransferTexts& texts) override { inner_.Begin(texts); }
    bool Step(int percent) override {
        const bool goOn = inner_.Step(percent);
        cancelled_ = cancelled_ || !goOn;
        return goOn;
    }
    void End() override { inner_.End(); }
    bool Cancelled() const { return cancelled_; }

private:
    TransferProgress& inner_;
    bool cancelled_ = false;
};

// Whether the name is a file the recorder has open.
bool HoldsOpen(const TAppDialog& window, const std::string& name) {
    // TempFile: during a record-insert, the user's own recording.
    const RecFile* open[] = {window.CurrentFile.get(), window.SecondaryFile.get(), window.TempFile.get(),
                             window.ContinuationFile.get(), window.PretriggerStore.get(), PasteBuffer.get()};
    for (const RecFile* file : open)
        if (file && IsSameFile(file->GetPath(), name))
            return true;
    return false;
}

HWND MainWindowHandle(TAppDialog& window) {
    TApplication* app = GetApplication();
    if (app && app->GetMainWindow() && app->GetMainWindow()->GetHandle())
        return app->GetMainWindow()->GetHandle();
    return CaptionWindow(window).GetHandle();
}

// The progress dialog and the caption percentage, both only once the
// transfer has run a moment; the title comes back at the end. Messages are
// pumped at every step from then on, so the window stays live.
class WindowTransferProgress : public TransferProgress {
public:
    explicit WindowTransferProgress(TAppDialog& window) : window_(window), progress_(window) {}
    // The transfer pumps messages between its chunks: a modal step.
    void Begin(const TransferTexts& texts) override {
        step_.emplace();
        pattern_ = texts.captionPattern;
        progress_.Start(texts.dialogTitle);
    }
    bool Step(int percent) override {
        if (Cancelled())
            return false;
        if (!progress_.SetPercent(percent))
            return true;
        char caption[64];
        std::snprintf(caption, sizeof caption, pattern_, percent);
        CaptionWindow(window_).SetCaption(caption);
        captionChanged_ = true;
        if (TApplication* app = GetApplication())
            (void)app->PumpWaitingMessages();
        return !Cancelled();
    }
    void End() override {
        if (captionChanged_)
            window_.SetTitle(nullptr, false);
        captionChanged_ = false;
        progress_.Close();
        step_.reset();
    }

private:
    bool Cancelled() const { return progress_.IsCancelled(); }

    TAppDialog& window_;
    const char* pattern_ = "%d";
    DelayedProgress progress_;
    bool captionChanged_ = false;
    std::optional<ModalStepScope> step_;
};

}  // namespace

const char* PasteFilterFor(int type) {
    switch (type) {
    case ftMp3: return "Mp3 file (*.mp3)|*.mp3|";
    case ftOgg: return "Vorbis file (*.ogg)|*.ogg|";
    case ftSpeex: return "Speex file (*.spx)|*.spx|";
    default: return "Wave file (*.wav)|*.wav|";
    }
}

const char* PasteExtensionFor(int type) {
    switch (type) {
    case ftMp3: return "mp3";
    case ftOgg: return "ogg";
    case ftSpeex: return "spx";
    default: return "wav";
    }
}

HWND TAppDialog::ClipboardOwner() { return MainWindowHandle(*this); }

std::unique_ptr<TransferProgress> TAppDialog::MakeTransferProgress() {
    return std::make_unique<WindowTransferProgress>(*this);
}

bool TAppDialog::DiskFreeBytes(uint64_t bytes) const {
    return DiskHasFreeBytes(bytes, AppState.DefaultDirectory, DiskFreeSpaceEx);
}

bool TAppDialog::DiskFreeBesideRecording(uint64_t bytes) const {
    std::string where = CurrentFile ? FullPath(CurrentFile->GetPath()) : std::string();
    if (where.empty())
        (void)GetTempDirectory(where);
    return DiskHasFreeBytes(bytes, where.c_str(), DiskFreeSpaceEx);
}

bool TAppDialog::FileToClipboard(const char* path) {
    if (!path)
        return false;
    const auto progress = MakeTransferProgress();
    return PutFileOnClipboard(MainWindowHandle(*this), path, kFileToClipboard, *progress);
}

bool TAppDialog::ClipboardToFile(const char* path) {
    if (!path)
        return false;
    const auto progress = MakeTransferProgress();
    const ClipboardGet result = GetFileFromClipboard(
        MainWindowHandle(*this), path, kClipboardToFile, *progress,
        [this](uint64_t bytes) { return DiskFreeBytes(bytes); });
    if (result == ClipboardGet::NoRoom)
        ShowNoRoom(*this);
    return result == ClipboardGet::Done;
}

void TAppDialog::CmPasteToFile() { PasteToFile(nullptr); }

// Saves the clipboard's audio, or the paste buffer's under the private
// clipboard, under the chosen name. Nothing goes through a second file slot,
// which a record-insert may be holding: the clipboard's image waits for the
// name in a temp file of its own.
void TAppDialog::PasteToFile(const char* name) {
    const auto shown = MakeTransferProgress();
    CancelWatch progress(*shown);
    bool noRoom = false;
    ClipboardExchange exchange(MainWindowHandle(*this), progress, [this, &noRoom](uint64_t bytes) {
        noRoom = !DiskFreeBytes(bytes);
        return !noRoom;
    });
    const int currentType = CurrentFile ? CurrentFile->GetFileType() : ftWav;
    int type = currentType;
    if (AppState.UseWinClip) {
        if (!exchange.ClipboardHasAudio(type))
            return;
    } else {
        if (!PasteBuffer)
            return;
        type = PasteBuffer->GetFileType();
    }
    const auto reportFailure = [&](const std::string& written) {
        if (progress.Cancelled()) {
            // The part written so far would read as a damaged recording.
            DeleteFileA(written.c_str());
        } else if (noRoom) {
            ShowNoRoom(*this);
        } else {
            Error(IDS_PASTETOFILEFAILED, MB_ICONHAND);
        }
    };
    FileDialogData data;
    TakenImage taken;
    if (name) {
        data.SetFileName(name);
    } else {
        // What is pasted is what the clipboard holds now, when the user asks:
        // while the dialog is open another program may replace it or empty it.
        if (AppState.UseWinClip && (!taken.Reserve(type) || !exchange.GetFromClipboard(taken.Path()))) {
            reportFailure(taken.Path());
            return;
        }
        data.filter = PasteFilterFor(type);
        data.defaultExt = PasteExtensionFor(type);
        data.initialDir = AppState.DefaultDirectory;
        data.flags = OFN_EXPLORER | OFN_OVERWRITEPROMPT;
        if (!Ui().SaveFileDialog(MainWindowHandle(*this), data))
            return;
    }
    if (HoldsOpen(*this, data.FileName())) {
        // Written over, the file would change under its object, which later
        // writes its own idea of the file back: the recording would be lost.
        Error(IDS_PASTETOFILEFAILED, MB_ICONHAND);
        return;
    }
    const int saved = taken.Taken() ? (taken.MoveTo(data.FileName()) ? kClipboardSaved : kClipboardNotWritten)
                                    : exchange.SaveClipboardAs(data.FileName(), currentType);
    SetTitle(nullptr, false);
    if (saved != kClipboardSaved)
        reportFailure(data.FileName());
}

void TAppDialog::CePasteToFile(TCommandEnabler& ce) {
    SilentProgress quiet;
    ce.Enable(ClipboardExchange(MainWindowHandle(*this), quiet).ClipboardHasAudio(-1));
}

void TAppDialog::CmPrivateClipboard() { AppState.UseWinClip = !AppState.UseWinClip; }

void TAppDialog::CePrivateClipboard(TCommandEnabler& ce) {
    ce.Enable(true);
    ce.SetCheck(AppState.UseWinClip ? 0 : 1);
}
