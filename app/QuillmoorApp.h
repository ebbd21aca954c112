// QuillmoorApp: the application base. It fixes the help paths and owns the
// commands that need no recorder: About, the system mixer launchers, help
// contents, the web pages and the update check.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Application.h"

class QuillmoorApp : public TApplication {
public:
    QuillmoorApp(HINSTANCE instance = nullptr, int showCommand = SW_SHOWNORMAL);

    // Only the framework's own processing.
    bool ProcessAppMsg(MSG& msg) override { return TApplication::ProcessAppMsg(msg); }
    bool Dispatch(Message& m) override;

    void CmVolume();
    void CmSoundControlPanel();
    void CmPlayMixer();
    void CmRecordMixer();
    void CmHelpContents();
    void CmAbout();
    void CmCheckForUpdate();
    void CmMakerWebSite();
    void CmProductWebPage();

    // Opens a web address in the browser ("http://" added when it names no
    // scheme), owned by the main window.
    void OpenUrl(const std::string& address);

    // HelpFile, WinHelpFile and HelpPopupSource from the program's folder;
    // all empty when the help file is missing.
    static void FillHelpPaths(const std::string& programFolder);

protected:
    HWND MainHandle() const;
    // The Windows major version (6 = Vista and later pick the newer mixer).
    virtual DWORD WindowsMajorVersion() const;

private:
    // Brings a window of the old mixer, found by title, to the front.
    bool ShowMixerWindow(const char* title) const;
    static const MsgEntry<QuillmoorApp> kMessages[];
};
