// The recorder window's file and control commands: new files of each type,
// Open with its read-only choice, dropped files, the log in Notepad, the
// recording-source commands, device changes, and the fresh-file test.
#include "recorder/window/TAppDialog.h"

#include <shellapi.h>

#include <ctime>

#include "core/AppState.h"
#include "framework/CommonDialogs.h"
#include "framework/FrameWindow.h"
#include "framework/UserInteraction.h"
#include "sound/SMixer.h"

// A new file of a type (-1: the default type); a recording under way goes
// on in it, or in the old file when the user keeps that one.
void TAppDialog::NewFileCommand(UINT command, int type) {
    if (DeferIfTransportBusy(WM_COMMAND, command, 0))
        return;
    const bool wasRecording = hWaveIn.IsOpen();
    CmStop();
    if (FileCanClose())
        OpenFile(nullptr, type);
    if (wasRecording)
        Listen();
}

void TAppDialog::CmNewDefaultFile() { NewFileCommand(CM_NEWDEFAULTFILE, -1); }
void TAppDialog::CmNewWaveFile() { NewFileCommand(CM_NEWWAVEFILE, ftWav); }
void TAppDialog::CmNewMp3File() { NewFileCommand(CM_NEWMP3FILE, ftMp3); }
void TAppDialog::CmNewVorbisFile() { NewFileCommand(CM_NEWVORBISFILE, ftOgg); }
void TAppDialog::CmNewSpeexFile() { NewFileCommand(CM_NEWSPEEXFILE, ftSpeex); }

void TAppDialog::CmOpen() {
    if (DeferIfTransportBusy(WM_COMMAND, CM_OPEN, 0))
        return;
    FileDialogData data;
    data.filter = kOpenFilter;  // no initial folder: the system's last one
    data.flags = OFN_EXPLORER;  // the read-only box shown, unticked
    data.readOnly = false;
    CmStop();
    if (!FileCanClose())
        return;
    if (!Ui().OpenFileDialog(GetHandle(), data))
        return;
    OpenFile(data.FileName().c_str());
    if (data.readOnly && CurrentFile) {
        CurrentFile->SetReadOnly(true);
        SetTitle(nullptr, false);
    }
}

LRESULT TAppDialog::EvDropFiles(WPARAM drop, LPARAM) {
    const auto files = reinterpret_cast<HDROP>(drop);
    char name[MAX_PATH] = {};
    const UINT length = DragQueryFileA(files, 0, name, sizeof name);
    DragFinish(files);
    if (length == 0)
        return 0;
    RequestOpenFile(name);
    if (!IsHoldingRequests() && CurrentFile && CurrentFile->GetDataLength() > 0)
        CmPlay();
    return 0;
}

LRESULT TAppDialog::EvDeviceChange(WPARAM, LPARAM) { return TRUE; }

void TAppDialog::CmLogFile() {
    char windows[MAX_PATH] = {};
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    std::string command(windows, length < sizeof windows ? length : 0);
    if (!command.empty() && command.back() == '\\')
        command.pop_back();
    // Quoted, so a log path with blanks reaches Notepad as one name.
    command += "\\notepad.exe \"" + std::string(AppState.LogPath) + "\"";
    (void)Ui().Launch(command, SW_SHOW);
}

void TAppDialog::SelectInputSource(const std::string& name) {
    if (name.empty())
        return;
    SMixer mixer;
    if (mixer.Open(MIXER_OBJECTF_WAVEIN, AppState.WaveInDriver, GetHandle()) == MMSYSERR_NOERROR)
        (void)mixer.SelectRecordSource(name);
}

void TAppDialog::CmLineIn() { SelectInputSource("Line-In"); }

void TAppDialog::CmMicrophone() { SelectInputSource("Microphone"); }

// The source named by the main menu's item with the command's id.
void TAppDialog::CmInputSource(UINT id) {
    const TWindow* frame = GetParent();
    const HMENU menu = frame && frame->GetHandle() ? GetMenu(frame->GetHandle()) : nullptr;
    char text[MAX_PATH] = {};
    if (!menu || GetMenuStringA(menu, id, text, sizeof text, MF_BYCOMMAND) <= 0)
        return;
    SelectInputSource(text);
}

void TAppDialog::CeInputSource(TCommandEnabler&) {}

int64_t TAppDialog::FileTimeToUnixSeconds(const FILETIME& time) {
    static const uint64_t epoch = [] {
        SYSTEMTIME start{};
        start.wYear = 1970;
        start.wMonth = 1;
        start.wDay = 1;
        FILETIME at{};
        SystemTimeToFileTime(&start, &at);
        return (uint64_t{at.dwHighDateTime} << 32) | at.dwLowDateTime;
    }();
    const uint64_t ticks = (uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    return (static_cast<int64_t>(ticks) - static_cast<int64_t>(epoch)) / 10000000;
}

int64_t TAppDialog::CurrentUnixSeconds() const { return static_cast<int64_t>(std::time(nullptr)); }

bool TAppDialog::IsFreshFile() const {
    if (!CurrentFile || CurrentFile->GetDataLength() != 0 || CurrentFile->IsTemporary())
        return false;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(CurrentFile->GetPath().c_str(), GetFileExInfoStandard, &data))
        return false;
    return FileTimeToUnixSeconds(data.ftCreationTime) + 3 > CurrentUnixSeconds();
}
