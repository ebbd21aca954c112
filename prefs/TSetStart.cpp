#include "prefs/TSetStart.h"

#include "app/AppState.h"
#include "app/SettingsStore.h"

namespace {

constexpr char kSection[] = "Setup";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kRunValue[] = "Larkspur-PRO";

struct StartFlag {
    const char* name;
    bool AppStateValues::*field;
};

// In the order the registry form writes them.
constexpr StartFlag kFlags[] = {
    {"ListenOnStart", &AppStateValues::ListenOnStart},
    {"MinimizeOnStart", &AppStateValues::MinimizeOnStart},
    {"TrayIcon", &AppStateValues::TrayIcon},
    {"OnTop", &AppStateValues::OnTop},
    {"AlwaysStart", &AppStateValues::AlwaysStart},
};

bool WriteRunValue(HKEY root, const std::string& text) {
    HKEY run = nullptr;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_SET_VALUE, &run) != ERROR_SUCCESS) return false;
    bool written = RegSetValueExA(run, kRunValue, 0, REG_SZ,
                                  reinterpret_cast<const BYTE*>(text.c_str()),
                                  static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(run);
    return written;
}

void DeleteRunValue(HKEY root) {
    HKEY run = nullptr;
    if (RegOpenKeyExA(root, kRunKey, 0, KEY_SET_VALUE, &run) != ERROR_SUCCESS) return;
    RegDeleteValueA(run, kRunValue);
    RegCloseKey(run);
}

}  // namespace

void TSetStart::Load(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    for (const StartFlag& flag : kFlags) AppState.*flag.field = store.SmallOr(flag.name, 0) != 0;
}

void TSetStart::Save(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    for (const StartFlag& flag : kFlags) store.SetSmall(flag.name, AppState.*flag.field);
    if (store.UsesIni() || !key) return;
    RemoveRunEntry();
    if (AppState.AlwaysStart) WriteRunEntry();
}

void TSetStart::RemoveRunEntry() {
    DeleteRunValue(HKEY_LOCAL_MACHINE);
    DeleteRunValue(HKEY_CURRENT_USER);
}

std::string TSetStart::RunEntryText() {
    char path[MAX_PATH] = {};
    char shortPath[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    DWORD got = GetShortPathNameA(path, shortPath, MAX_PATH);
    return RunEntryFor(got > 0 && got < MAX_PATH ? shortPath : path, AppState.MinimizeOnStart);
}

std::string TSetStart::RunEntryFor(const std::string& programPath, bool minimized) {
    std::string text = programPath.find(' ') == std::string::npos ? programPath
                                                                  : '"' + programPath + '"';
    if (minimized) text += " -m";
    return text;
}

void TSetStart::WriteRunEntry() {
    std::string text = RunEntryText();
    // The machine's list needs rights a user may lack; the user's own list
    // takes over then.
    if (!WriteRunValue(HKEY_LOCAL_MACHINE, text)) WriteRunValue(HKEY_CURRENT_USER, text);
}
