// SDIDecFrame: the program's main window, a fixed-size frame whose client is
// the recorder window. It owns what reaches the program from outside the
// recorder's own controls: the system menu's record item, the tray icon and
// its menu, the global hot keys, the end of the Windows session, device
// changes and the private messages a second copy or another program posts,
// and turns each into a message or a call on the recorder window. Its window
// class name is the address other copies find it by.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "core/RecorderLink.h"
#include "app/TTrayIcon.h"
#include "framework/FrameWindow.h"

class SDIDecFrame : public TFrameWindow {
public:
    explicit SDIDecFrame(RecorderClient client);
    ~SDIDecFrame() override;

    // /J's name, else "Larkspur-PRO".
    std::string GetClassName() const override;
    void SetupWindow() override;
    bool Dispatch(Message& m) override;

    RecorderLink* Recorder() const { return recorder_; }
    TTrayIcon* Tray() const { return tray_.get(); }
    // A tray icon is shown, so a hidden window can be brought back.
    bool HasTrayIcon() const { return tray_ && tray_->IsShown(); }

    // Set by Exit and while Windows ends the session: the next close request
    // closes for real instead of hiding the window in the tray.
    bool ExitFlag() const { return exitChosen_ || sessionEnding_; }
    void SetExitFlag() { exitChosen_ = true; }

    // Tray icon, top-most state and hot keys from the settings.
    void ApplyWindowSettings();
    // The record item's text and the icons follow the input device.
    LRESULT EvRecordStateChanged(WPARAM = 0, LPARAM = 0);

    // Called when Windows ends the session (WM_ENDSESSION with TRUE); the
    // application object sets it.
    std::function<void()> OnEndSession;

    // ---- handlers ----
    LRESULT EvSysCommand(WPARAM command, LPARAM lParam);
    LRESULT EvHotKey(WPARAM id, LPARAM keys);
    LRESULT EvShowGettingStarted(WPARAM, LPARAM);
    LRESULT EvHelp(WPARAM, LPARAM info);
    LRESULT EvContextMenu(WPARAM, LPARAM) { return 0; }
    LRESULT EvTrayNotify(WPARAM id, LPARAM mouseMessage);
    LRESULT EvTaskbarCreated(WPARAM, LPARAM);
    void CmTrayOpenWindow();
    void CmTrayNewFile();
    void CmTrayToggleRecording();
    void CeTrayToggleRecording(TCommandEnabler& ce);
    void CmTrayAbout();
    void CmTrayExit();
    void EvTimer(UINT timerId);
    LRESULT EvQueryEndSession(WPARAM, LPARAM);
    LRESULT EvEndSession(WPARAM ending, LPARAM);
    LRESULT EvFlushFiles(WPARAM wParam, LPARAM lParam);
    LRESULT EvDeviceChange(WPARAM event, LPARAM data);
    // The icon and the hot keys go with the window; declines, so the
    // framework ends the loop.
    bool EvDestroy();
    // Relays a second copy's message (first parameter REMOTE_WPARAM) to the
    // recorder window: 0 when relayed, 1 when ignored.
    bool EvRelay(Message& m);

private:
    void PostToRecorder(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const;
    void AddSystemMenuItem();
    void PostStartupActions();

    RecorderLink* recorder_;  // the client's link; owned with the client
    std::shared_ptr<RecorderLink> linkOwner_;  // when the link is an object of its own
    std::unique_ptr<TTrayIcon> tray_;
    bool exitChosen_ = false;
    bool sessionEnding_ = false;
    static const MsgEntry<SDIDecFrame> kMessages[];
};
