// Loading and saving every setting: the store choice, the application's own
// "Setup" values and the page loaders and savers in their fixed order. The
// application object's LoadSettings and SaveSettings call these.
#pragma once

#include <windows.h>

#include <string>

class SMsg;

// The settings key under the current user.
constexpr char kSettingsKeyPath[] = "Software\\Quillmoor\\Larkspur";
// The settings file beside the program, used when the key cannot be opened.
constexpr char kFallbackIniName[] = "larkspurpro.ini";

// A page's static Load or Save: the INI file when ini is non-empty, else the
// registry key.
using PageStorageFunction = void (*)(HKEY key, const std::string& ini);

struct PageStorage {
    const char* page;
    PageStorageFunction load;
    PageStorageFunction save;
};

// Every page's storage in loading order. Saving walks the same order except
// that the joystick page is saved before the hot-key page.
const PageStorage* PageStorageTable(int& count);

// From the INI file at path when it is non-empty, else from the settings key
// (or, when that cannot be opened, from the INI file beside the program).
void LoadSettings(const std::string& path);
// From an explicit store: key, or ini when non-empty. Used by LoadSettings.
void LoadSettingsFrom(HKEY key, const std::string& ini);

// Skipped without a path when the program runs on a settings file (/I).
// mainWindow: the frame whose position is saved while the program is active;
// may be null. reporter shows a failed write of the "Setup" values.
void SaveSettings(const std::string& path, HWND mainWindow, const SMsg& reporter);
void SaveSettingsTo(HKEY key, const std::string& ini, HWND mainWindow, const SMsg& reporter);

// The default main-window position: 100 pixels into the virtual screen.
POINT DefaultWindowPosition();
// Moves a saved position that lies off the virtual screen to the default.
void ClampWindowPosition(int& x, int& y);
