// App: the program's application object. It loads the settings, builds the
// frame with the recorder window as its client, decides whether the program
// may close, takes WM_COPYDATA from a second copy and handles the
// application's menu commands: preferences, the timer switch, settings
// export and import, new instance, exit and close window.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/QuillmoorApp.h"
#include "core/RecorderLink.h"
#include "core/SMsg.h"
#include "framework/CommonDialogs.h"
#include "framework/ModalSteps.h"
#include "framework/RecentFiles.h"

class SDIDecFrame;

class App : public QuillmoorApp, public SMsg, public TRecentFiles {
public:
    // makeRecorder builds the frame's client (the recorder window).
    explicit App(RecorderFactory makeRecorder, HINSTANCE instance = nullptr, int showCommand = SW_SHOWNORMAL);
    ~App() override;

    void InitMainWindow() override;
    bool CanClose() override;
    bool Dispatch(Message& m) override;
    HWND MsgOwner() const override { return MainHandle(); }

    SDIDecFrame* Frame() const;
    RecorderLink* Recorder() const;

    // Settings from/to the INI file at path, or the registry when empty.
    virtual void LoadSettings(const std::string& path);
    // Without a path: skipped under /I (the program runs on a settings file).
    void SaveSettings(const std::string& path);

    // ---- handlers ----
    void CmSaveSettings() { SaveSettings(std::string()); }
    void CmPreferences();
    void CmExit();
    void CmCloseWindow();
    void CmEnableTimer();
    void CeEnableTimer(TCommandEnabler& ce);
    bool EvCopyData(HWND sender, const COPYDATASTRUCT& data);
    LRESULT EvMruFileMessage(WPARAM commandId, LPARAM);
    // A second copy's requests that were kept: those up to the serial in
    // lParam run now, in order.
    LRESULT EvHeldCopyData(WPARAM, LPARAM upTo);
    static constexpr const char kHeldCopyDataMessage[] = "LarkspurHeldCopyData";
    LRESULT EvEnterIdle(WPARAM, LPARAM) { return 0; }
    void CmNewInstance();
    void CmSaveSettingsAs();
    void CmOpenSettingsFile();

    // Windows ends the session: the recording is finished and closed and
    // the settings saved (unless /I), asking nothing.
    void EndSession();
    // After the settings changed: window settings, record state, and
    // WM_SETTINGSCHANGED to the recorder window.
    void ApplyChangedSettings();

    // The text of a copy-data record: at most 259 characters, cut at its
    // size and at its first zero; empty without data.
    static std::string CopyDataText(const COPYDATASTRUCT& data);

protected:
    // Writes every setting (the store chosen by path as in loading).
    virtual void WriteSettings(const std::string& path);

private:
    void RunCopyData(ULONG_PTR code, const std::string& text);
    void PostHeldCopyData();
    bool WaitsInOrder(LPARAM upTo);
    void LoadSettingsFileReloading(const std::string& path);
    void GoToComment(const std::string& text);
    void AddComment(const std::string& text);
    bool AskSettingsFile(bool save, std::string& path);

    RecorderFactory makeRecorder_;
    // A second copy's requests kept while a modal step runs or the recorder
    // keeps its own: each may stop, reload or switch what the step is about.
    struct HeldCopyData {
        LPARAM serial;
        ULONG_PTR code;
        std::string text;
    };
    std::vector<HeldCopyData> heldCopyData_;
    LPARAM copyDataSerial_ = 0;
    std::unique_ptr<ModalStepWatch> copyDataWatch_;
    FileDialogData settingsDialog_;
    static const MsgEntry<App> kMessages[];
};
