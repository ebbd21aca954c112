// The "General" preference page (dialog 270): the start-up flags of section
// "Setup", the program's entry in the Windows start-up list, and the desktop
// and Quick Launch shortcuts to the program.
#pragma once

#include <windows.h>

#include <string>

#include "core/ContextHelpWin.h"
#include "framework/Control.h"
#include "framework/PropertySheet.h"
#include "prefs/CShortcut.h"

class TSetStart : public TPropertyPage, public ContextHelpWin {
public:
    explicit TSetStart(HINSTANCE module = nullptr);

    // Section "Setup" of the INI file when ini is non-empty, else one-byte
    // values under the settings key. Saving to the registry also writes or
    // removes the start-with-Windows entry; an INI save never touches it.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    // The value "Larkspur-PRO" under the Run key of the machine, then of the
    // user. RunEntryText is what WriteRunEntry stores: the program's short
    // path, with " -m" when it is to start minimised.
    static void RemoveRunEntry();
    static void WriteRunEntry();
    static std::string RunEntryText();
    // The entry for a program path: quoted when it holds a blank (a volume
    // without short names keeps "Program Files"), so Windows never starts
    // "C:\Program.exe" in its place.
    static std::string RunEntryFor(const std::string& programPath, bool minimized);

    // The program's shortcuts, named "Larkspur-PRO".
    bool HasDesktopShortcut() { return shortcut_.FindLink(kLinkName, CShortcut::kDesktop) == 0; }
    void CreateDesktopShortcut() { shortcut_.CreateLink(CShortcut::kThisProgram, kLinkName, CShortcut::kDesktop); }
    void RemoveDesktopShortcut() { shortcut_.DeleteLink(kLinkName, CShortcut::kDesktop); }
    bool HasQuickLaunchShortcut() { return shortcut_.FindLink(kLinkName, CShortcut::kQuickLaunch) == 0; }
    void CreateQuickLaunchShortcut() {
        shortcut_.CreateLink(CShortcut::kThisProgram, kLinkName, CShortcut::kQuickLaunch);
    }
    void RemoveQuickLaunchShortcut() { shortcut_.DeleteLink(kLinkName, CShortcut::kQuickLaunch); }

    void SetupWindow() override;
    // Checks every page first (the framework's check), then stores.
    int Apply() override;
    bool Dispatch(Message& m) override;

    static constexpr char kLinkName[] = "Larkspur-PRO";

private:
    // The window made top-most or not: the program's main window, else the
    // window that owns the sheet.
    HWND MainWindow() const;

    TCheckBox launchAtBoot_;
    TCheckBox minimizeAtBoot_;
    TCheckBox listenAtStart_;
    TCheckBox alwaysOnTop_;
    TCheckBox trayIcon_;
    TCheckBox desktopIcon_;
    TCheckBox quickLaunchIcon_;
    CShortcut shortcut_;
};
