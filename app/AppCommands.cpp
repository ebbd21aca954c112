// The application object's menu commands: preferences, the timer switch,
// exit and close, new instance, settings export and import, recent files.
#include "app/App.h"

#include "core/AppState.h"
#include "app/PreferencesSheet.h"
#include "core/PrivateMessages.h"
#include "app/SDIDecFrame.h"
#include "app/WebAddress.h"
#include "audiofile/RecFile.h"
#include "framework/UserInteraction.h"
#include "resources/ResourceIds.h"

namespace {

constexpr WORD kMp3FormatTag = 0x55;  // WAVE_FORMAT_MPEGLAYER3
constexpr char kSettingsFilter[] = "Larkspur-PRO setting files (*.ini)|*.ini|";

std::string ProgramPath() {
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    return length > 0 && length < sizeof path ? std::string(path, length) : std::string();
}

bool IsMp3Recording(RecorderLink& recorder) {
    RecFile* file = recorder.CurrentFile();
    return file && file->GetFormat() && file->GetFormat()->wFormatTag == kMp3FormatTag;
}

}  // namespace

void App::CmPreferences() {
    RecorderLink* recorder = Recorder();
    // An MP3 recording's conversion stream is built from the MP3 settings
    // the sheet may change: it is closed first and opened again after.
    const bool mp3 = recorder && IsMp3Recording(*recorder);
    const bool wasRecording = mp3 && recorder->IsRecording();
    if (wasRecording) recorder->Stop();
    if (mp3) recorder->CloseCodecStream();

    SheetContext context;
    context.defaultAudioFormat = AppState.DefaultAudioFormat;
    context.recorder = recorder;
    auto sheet = MakePreferencesSheet(GetMainWindow(), TextOf(IDS_OPTIONS), context);
    sheet->Execute();  // OK or Cancel: the pages have stored what was confirmed
    sheet.reset();

    // The end of the session may have closed the recording meanwhile.
    if (mp3 && IsMp3Recording(*recorder)) {
        recorder->ReopenCodecStream();
        if (wasRecording) recorder->Listen();
    }
    ApplyChangedSettings();
    SaveSettings(std::string());
}

void App::CmEnableTimer() {
    AppState.TimerEnable = !AppState.TimerEnable;
    RecorderLink* recorder = Recorder();
    if (recorder && recorder->Window()) PostMessageA(recorder->Window(), WM_SETTINGSCHANGED, 0, 0);
    SaveSettings(std::string());
}

void App::CeEnableTimer(TCommandEnabler& ce) { ce.SetCheck(AppState.TimerEnable ? 1 : 0); }

void App::CmExit() {
    if (SDIDecFrame* frame = Frame()) {
        frame->SetExitFlag();
        frame->CloseWindow();
    }
}

void App::CmCloseWindow() {
    if (SDIDecFrame* frame = Frame()) frame->CloseWindow();
}

void App::CmNewInstance() {
    const std::string program = ProgramPath();
    if (!program.empty()) Ui().Launch(QuotedCommandLine(program), SW_SHOWDEFAULT);
}

bool App::AskSettingsFile(bool save, std::string& path) {
    settingsDialog_.filter = kSettingsFilter;
    settingsDialog_.defaultExt = "ini";
    settingsDialog_.SetFileName(std::string());
    settingsDialog_.flags = OFN_HIDEREADONLY | OFN_EXPLORER | OFN_PATHMUSTEXIST;
    // Loading a file that is not there would quietly reset every setting.
    settingsDialog_.flags |= save ? OFN_OVERWRITEPROMPT : OFN_FILEMUSTEXIST;
    const bool chosen = save ? Ui().SaveFileDialog(MainHandle(), settingsDialog_)
                             : Ui().OpenFileDialog(MainHandle(), settingsDialog_);
    path = settingsDialog_.FileName();
    return chosen && !path.empty();
}

void App::CmSaveSettingsAs() {
    std::string path;
    // Written even under /I: the user named the file.
    if (AskSettingsFile(true, path)) WriteSettings(path);
}

void App::CmOpenSettingsFile() {
    std::string path;
    if (AskSettingsFile(false, path)) LoadSettings(path);
    ApplyChangedSettings();
}

LRESULT App::EvMruFileMessage(WPARAM commandId, LPARAM) {
    std::string path;
    if (!GetMenuText(static_cast<UINT>(commandId), path)) return 0;
    if (path.size() > 259) path.resize(259);
    if (RecorderLink* recorder = Recorder()) recorder->OpenFile(path);
    return 0;
}
