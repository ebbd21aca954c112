#include "app/App.h"

#include "app/AppSettings.h"
#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "core/ProgramFolders.h"
#include "app/SDIDecFrame.h"
#include "resources/ResourceIds.h"

const MsgEntry<App> App::kMessages[] = {
    OnCommand(CM_SAVESETTINGS, &App::CmSaveSettings),
    OnCommand(CM_PREFERENCES, &App::CmPreferences),
    OnMessage(WM_ENTERIDLE, &App::EvEnterIdle),
    OnCommand(CM_EXIT, &App::CmExit),
    OnCommand(CM_CLOSEWINDOW, &App::CmCloseWindow),
    OnCommand(CM_ENABLETIMER, &App::CmEnableTimer),
    OnEnable(CM_ENABLETIMER, &App::CeEnableTimer),
    OnCopyData(&App::EvCopyData),
    OnRegistered(TRecentFiles::kMessageName, &App::EvMruFileMessage),
    OnRegistered(App::kHeldCopyDataMessage, &App::EvHeldCopyData),
    OnCommand(CM_NEWINSTANCE, &App::CmNewInstance),
    OnCommand(CM_SAVESETTINGSAS, &App::CmSaveSettingsAs),
    OnCommand(CM_OPENSETTINGSFILE, &App::CmOpenSettingsFile),
};

App::App(RecorderFactory makeRecorder, HINSTANCE instance, int showCommand)
    : QuillmoorApp(instance, showCommand),
      SMsg(nullptr),
      TRecentFiles("larkspur.ini", 6, 40, true),
      makeRecorder_(std::move(makeRecorder)) {
    SetRegistryKey(kSettingsKeyPath);
    SetMarkerCommand(CM_SAVESETTINGSAS);
    settingsDialog_.filter = "Sound files (*.WAV)|*.WAV|";
    CopyTextField(AppState.LogPath, DefaultLogPath().c_str());
    // Both format buffers take the largest format record with its extra bytes.
    AppState.WaveFormatSize = kMaxFormatSize;
    AppState.Mp3FormatSize = kMaxFormatSize;
    constexpr WORD kExtraBytes = kMaxFormatSize - 18;  // 18: WAVEFORMATEX without extra bytes
    AppState.WaveFormat->cbSize = kExtraBytes;
    AppState.Mp3Format->cbSize = kExtraBytes;
    // Not virtual here: construction always reads the real store.
    App::LoadSettings(AppState.IniPath);
}

App::~App() {
    // The frame (and the recorder window in it) goes while the application
    // object that its handlers call is still whole.
    DestroyMainWindow();
}

bool App::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || DispatchRecentFiles(m) || QuillmoorApp::Dispatch(m);
}

SDIDecFrame* App::Frame() const { return static_cast<SDIDecFrame*>(GetMainWindow()); }

RecorderLink* App::Recorder() const { return Frame() ? Frame()->Recorder() : nullptr; }

void App::InitMainWindow() {
    auto frame = std::make_unique<SDIDecFrame>(makeRecorder_());
    const int show = GetShowCommand();
    const bool minimised = show == SW_MINIMIZE || show == SW_SHOWMINIMIZED || show == SW_SHOWMINNOACTIVE;
    SetShowCommand(AppState.PropertiesOnly ? SW_HIDE : minimised ? show : SW_SHOWNORMAL);
    if (AppState.FirstInstance && (AppState.WindowX || AppState.WindowY)) {
        // A top-level window placed by x alone would take y as its show
        // state: a coordinate left at 0 gets the default position instead.
        const POINT fallback = DefaultWindowPosition();
        frame->Attr.x = AppState.WindowX ? AppState.WindowX : fallback.x;
        frame->Attr.y = AppState.WindowY ? AppState.WindowY : fallback.y;
    }
    frame->SetIconResource(IDI_FRAME, true);
    frame->SetIconResource(IDI_FRAMESMALL, false);
    frame->SetMenuResource(IDM_MAIN);
    frame->SetAcceleratorResource(IDA_MAIN);
    frame->OnEndSession = [this] { EndSession(); };
    SetMainWindow(std::move(frame));
}

bool App::CanClose() {
    SaveSettings(std::string());
    SDIDecFrame* frame = Frame();
    if (frame && frame->HasTrayIcon() && !frame->ExitFlag()) {
        frame->Show(SW_HIDE);
        return false;
    }
    if (RecorderLink* recorder = Recorder()) recorder->Stop();
    return QuillmoorApp::CanClose();
}

void App::LoadSettings(const std::string& path) { ::LoadSettings(path); }

void App::SaveSettings(const std::string& path) {
    if (path.empty() && AppState.IniPath[0]) return;
    WriteSettings(path);
}

void App::WriteSettings(const std::string& path) {
    // SaveSettings of the store skips a pathless save under /I itself; the
    // check above already decided, so hand it the path as given.
    ::SaveSettings(path, MainHandle(), *this);
}

void App::EndSession() {
    if (RecorderLink* recorder = Recorder()) recorder->EndSession();
    SaveSettings(std::string());
}

void App::ApplyChangedSettings() {
    if (SDIDecFrame* frame = Frame()) {
        frame->ApplyWindowSettings();
        frame->EvRecordStateChanged();
    }
    RecorderLink* recorder = Recorder();
    if (recorder && recorder->Window()) PostMessageA(recorder->Window(), WM_SETTINGSCHANGED, 0, 0);
}
