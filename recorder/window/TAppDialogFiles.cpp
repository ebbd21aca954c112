// The recorder window's files: naming new recordings, opening and creating
// the current file, and the format and codec read-outs.
#include "recorder/window/TAppDialog.h"

#include <cstring>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "audiofile/FileNames.h"
#include "audiofile/Mp3File.h"
#include "framework/Application.h"
#include "framework/RecentFiles.h"
#include "framework/UserInteraction.h"
#include "recorder/files/FileFactory.h"
#include "recorder/files/FileFormats.h"
#include "recorder/files/FileNaming.h"
#include "recorder/window/TAppDialogFileSteps.h"

namespace {

constexpr char kProductCaption[] = "Larkspur-PRO";

// The text with its "%s" replaced by the path: the path is never a format.
std::string WithPath(std::string text, const std::string& path) {
    const size_t at = text.find("%s");
    if (at != std::string::npos)
        text.replace(at, 2, path.substr(0, kMaxPathChars));
    return text;
}

std::string OpenFailureText(int status) {
    switch (status) {
    case statusNoFormat: return "Cannot read audio format for this file.\n   %s";
    case statusNoConversion: return "Cannot open system codec needed for file:\n   %s";
    case statusNoCodecFormat:
        return "System codec not able to handle bit-rate or format for this file:\n   %s";
    default: return SMsg::TextOf(IDS_CANTOPENFILE);
    }
}

void ShowCodec(TAppDialog& window, const std::string& text) {
    window.SetItemText(IDC_CODECTEXT, text);
}

}  // namespace

std::string CantOpenFileText(const std::string& path) {
    return WithPath(SMsg::TextOf(IDS_CANTOPENFILE), path);
}

// The application object keeps the recent-files list (none in tests).
void RememberRecentFile(const RecFile& file) {
    if (file.IsTemporary())
        return;
    if (auto* recent = dynamic_cast<TRecentFiles*>(GetApplication()))
        recent->SaveMenuChoice(file.GetPath());
}

bool TAppDialog::CheckDefaultDirectory() {
    const DirectoryState state = CheckDirectory(AppState.DefaultDirectory);
    // The warning takes the annotation field: it stays until a comment is
    // shown, and the field no longer shows the comment it remembers.
    LastAnnotationText.reset();
    SetItemText(IDC_ANNOTATION, DirectoryStateText(state));
    return state == DirectoryState::Usable;
}

bool TAppDialog::MakeFileName(const char* base, std::string& out, bool temporary,
                              const char* extension) {
    const bool usable = CheckDefaultDirectory();
    out = ComposeFileName(base, temporary, extension, NamingSettingsFromAppState(), usable);
    return true;
}

bool TAppDialog::NewFileName(const char* base, std::string& out, bool temporary, int type) {
    return MakeFileName(base, out, temporary, NewFileExtension(type));
}

void TAppDialog::ShowFormat() {
    const bool hasFormat = CurrentFile && CurrentFile->IsOpen();
    SetItemText(IDC_FORMATTEXT,
                hasFormat ? FormatReadoutText(*FileFormat.Get(), AppState.RecordChannel) : "");
}

void TAppDialog::DiscardFile() {
    CurrentFile.reset();
    ShowAnnotation();
    SetTitle("", false);
}

namespace {

// The message for a file that did not open, then no current file.
void ReportOpenFailure(TAppDialog& window, const std::string& path) {
    const int status = window.CurrentFile ? window.CurrentFile->GetError() : statusCannotOpen;
    const std::string& shown =
        window.CurrentFile && !window.CurrentFile->GetPath().empty() ? window.CurrentFile->GetPath()
                                                                     : path;
    Ui().MessageBox(window.GetHandle(), WithPath(OpenFailureText(status), shown), kProductCaption,
                    MB_OK);
    window.CurrentFile.reset();
    window.SetTitle(nullptr, false);
    window.ShowFormat();
    window.ShowSize();
    window.ShowSegment(kNoPosition);
}

bool OpenExistingFile(TAppDialog& window, const std::string& path) {
    if (FileSize(path) == 0) {
        // Nothing to read a format from; the file class would make it a new
        // recording in a format the user never chose.
        Ui().MessageBox(window.GetHandle(), WithPath(OpenFailureText(statusNoFormat), path),
                        kProductCaption, MB_OK);
        window.SetTitle(nullptr, false);
        window.ShowFormat();
        window.ShowSize();
        window.ShowSegment(kNoPosition);
        return false;
    }
    window.CurrentFile = CreateFileObject(path.c_str(), nullptr, MMIO_READWRITE, ftWav);
    if (!window.CurrentFile || !window.CurrentFile->IsOpen() || !window.CurrentFile->GetFormat()) {
        ReportOpenFailure(window, path);
        return false;
    }
    window.FileFormat.Assign(*window.CurrentFile->GetFormat());
    window.CaptureFormat = CaptureFormatFor(*window.FileFormat.Get());
    const int type = window.CurrentFile->GetFileType();
    if (type == ftOgg) {
        ShowCodec(window, "Vorbis");
    } else if (type == ftSpeex) {
        ShowCodec(window, "Speex");
    } else if (window.FileFormat->wFormatTag != WAVE_FORMAT_PCM) {
        // Only a test that the file can be played and recorded into; an MP3
        // file with no encoder installed opens for playing (decoding) only.
        const bool playOnly =
            type == ftMp3 && !static_cast<const Mp3File*>(window.CurrentFile.get())->CanEncode();
        if (!window.AcmOpen(false, playOnly ? 2 : 1)) {
            window.Error(IDS_ACMOPENFAILED);
            window.DiscardFile();
            return false;
        }
        window.AcmClose();
    } else if (AppState.CodecsAvailable) {
        ShowCodec(window, kPcmCodecReadout);
    }
    return true;
}

// The codec test a new file of a compressed type needs before it is made.
bool NewFileCodecUsable(TAppDialog& window, NewFileCodecCheck check) {
    bool usable = true;
    if (check == NewFileCodecCheck::SuggestOnly)
        usable = window.AcmOpen(true, 1);
    else if (check == NewFileCodecCheck::PlainThenSuggest)
        usable = window.AcmOpen(false, 1) || window.AcmOpen(true, 1);
    else
        return true;
    if (usable)
        window.AcmClose();
    return usable;
}

bool CreateNewFile(TAppDialog& window, const std::string& path, int type, bool temporary) {
    (void)MakeDirectoryPath(path);  // a failure shows when the file cannot be made
    const NewFileFormats formats = FormatsForNewFile(type, AppState);
    window.FileFormat.Assign(*formats.fileFormat.Get());
    window.CaptureFormat = formats.captureFormat;
    if (formats.codecCheck == NewFileCodecCheck::None) {
        window.AcmClose();
        const bool pcm = std::strcmp(formats.codecReadout, kPcmCodecReadout) == 0;
        if (!pcm || AppState.CodecsAvailable)
            ShowCodec(window, formats.codecReadout);
    } else if (!NewFileCodecUsable(window, formats.codecCheck)) {
        window.DiscardFile();  // the codec's own message was shown
        return false;
    }
    window.CurrentFile =
        CreateFileObject(path.c_str(), window.FileFormat.Get(), MMIO_CREATE | MMIO_READWRITE, ftWav);
    if (window.CurrentFile)
        window.CurrentFile->SetTemporary(temporary);
    if (!window.CurrentFile || !window.CurrentFile->IsOpen()) {
        ReportOpenFailure(window, path);
        return false;
    }
    return true;
}

}  // namespace

void TAppDialog::OpenFile(const char* name, int type) {
    if (CurrentFile) {
        CmStop();
        (void)SaveFile(nullptr, true);
    }
    // The codec test pumps messages: requests arriving then wait until this
    // file is open.
    TransportBusyScope busy(*this);
    type = FileTypeForOpen(name, type >= 0 ? type : AppState.DefaultAudioFormat);
    CurrentFile.reset();
    CmClearMark();
    ShowAnnotation();  // the old file's comment goes; the new file's shows when it is placed

    std::string path;
    bool temporary = false;
    if (name) {
        path = name;
    } else if (AppState.AutoName && !AppState.AutoPrompt) {
        (void)NewFileName(AppState.ImprovedFilePrefix, path, false, type);
    } else {
        (void)NewFileName(nullptr, path, true, type);
        temporary = true;
    }
    // The codec test reads the path of the file being opened.
    CopyTextField(AppState.CommandLineFile, path.c_str());
    const bool opened = (!temporary && PathExists(path)) ? OpenExistingFile(*this, path)
                                                         : CreateNewFile(*this, path, type, temporary);
    if (!opened)
        return;
    CopyTextField(AppState.CommandLineFile, CurrentFile->GetPath().c_str());
    ShowFormat();
    ShowSize();
    Position(0, true);
    ShowSegment(kNoPosition);
    SetTitle(CurrentFile->GetPath().c_str(), CurrentFile->IsTemporary());
    RememberRecentFile(*CurrentFile);
}

void TAppDialog::RequestOpenFile(const char* name) {
    if (!IsHoldingRequests()) {
        OpenFile(name);
        return;
    }
    // Opening now would stop (which waits) and then close the file the
    // capture is starting on, or the file a dialog is about; the last
    // request wins.
    PendingOpenPath = name ? name : "";
    (void)DeferIfTransportBusy(WM_OPENFILEREQUEST, 0, 0);
}

LRESULT TAppDialog::EvOpenFileRequest(WPARAM, LPARAM) {
    if (!PendingOpenPath)
        return 0;
    const std::string path = std::move(*PendingOpenPath);
    PendingOpenPath.reset();
    RequestOpenFile(path.empty() ? nullptr : path.c_str());
    return 0;
}
