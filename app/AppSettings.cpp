#include "app/AppSettings.h"

#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "core/AppState.h"
#include "core/ProgramFolders.h"
#include "core/SMsg.h"
#include "core/SettingsStore.h"
#include "resources/ResourceIds.h"

namespace {

constexpr char kSetupSection[] = "Setup";
constexpr float kMinPlayRate = 0.2f;  // the speed commands' range
constexpr float kMaxPlayRate = 2.0f;

int SoundLevelInRange(long level) { return level >= 0 && level <= 127 ? level : 0; }

float ParsePlayRate(const char* text) {
    char* end = nullptr;
    float rate = std::strtof(text, &end);
    bool usable = end != text && rate >= kMinPlayRate - 1e-4f && rate <= kMaxPlayRate + 1e-4f;
    return usable ? rate : 1.0f;
}

void LoadSetupFromRegistry(const SettingsStore& store, POINT origin) {
    AppState.SoundLevel = SoundLevelInRange(store.SmallOr("SoundLevel", 0));
    char text[SettingsStore::kTextSize] = {};
    store.GetString("PlayRate", text, "1.0");
    AppState.PlayRate = ParsePlayRate(text);
    AppState.UseWinClip = store.SmallOr("UseWinClip", 1) != 0;
    long x = origin.x, y = origin.y;
    if (!store.GetLong("WindowX", x)) x = origin.x;
    if (!store.GetLong("WindowY", y)) y = origin.y;
    AppState.WindowX = x;
    AppState.WindowY = y;
    AppState.TimeOffset = store.GetInt("TimeOffset", 0);
    AppState.RecLevel = -1;
    AppState.RecSource[0] = 0;
}

void LoadSetupFromIni(const SettingsStore& store, POINT origin) {
    AppState.SoundLevel = SoundLevelInRange(store.GetInt("Sound Level", 128));
    AppState.PlayRate = 1.0f;
    AppState.UseWinClip = store.GetInt("UseWinClip", 1) != 0;
    AppState.WindowX = store.GetInt("WindowX", origin.x);
    AppState.WindowY = store.GetInt("WindowY", origin.y);
    AppState.TimeOffset = store.GetInt("TimeOffset", 0);
    AppState.RecLevel = store.GetInt("RecLevel", -1);
    store.GetString("RecSource", AppState.RecSource, "");
}

// The program's own windows count as active when the active window of this
// thread is one of them.
bool ProgramIsActive(HWND mainWindow) { return mainWindow && GetActiveWindow() != nullptr; }

void SaveSetup(const SettingsStore& store, HWND mainWindow, const SMsg& reporter) {
    bool active = ProgramIsActive(mainWindow);
    RECT frame{};
    if (active) GetWindowRect(mainWindow, &frame);
    if (!store.UsesIni()) {
        if (!store.SetSmall("SoundLevel", AppState.SoundLevel)) reporter.Error(IDS_SAVE_LEVEL_FAILED);
        store.SetFormatted("PlayRate", "%2.2f", static_cast<double>(AppState.PlayRate));
        store.SetSmall("UseWinClip", AppState.UseWinClip);
        if (active) {
            store.SetLong("WindowX", frame.left);
            store.SetLong("WindowY", frame.top);
        }
        return;
    }
    bool lastWritten = store.SetInt("Sound Level", AppState.SoundLevel);
    if (active) {
        store.SetInt("WindowX", frame.left);
        lastWritten = store.SetInt("WindowY", frame.top);
    }
    if (!lastWritten) reporter.Error(IDS_SAVE_INI_FAILED);
}

// The settings key, or the INI file beside the program when it cannot be
// opened. Returns the opened key (the caller closes it) or null.
HKEY OpenStore(REGSAM access, std::string& ini) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, nullptr, 0, access, nullptr, &key,
                        nullptr) == ERROR_SUCCESS)
        return key;
    ini = ProgramFolder() + kFallbackIniName;
    return nullptr;
}

}  // namespace

POINT DefaultWindowPosition() {
    int left = GetSystemMetrics(SM_XVIRTUALSCREEN), width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int top = GetSystemMetrics(SM_YVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    POINT origin{100, 100};
    if (left > 100 || left + width - 100 < origin.x) origin.x = left + 100;
    if (top > 100 || top + height - 100 < origin.y) origin.y = top + 100;
    return origin;
}

void ClampWindowPosition(int& x, int& y) {
    POINT origin = DefaultWindowPosition();
    int left = GetSystemMetrics(SM_XVIRTUALSCREEN), width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int top = GetSystemMetrics(SM_YVIRTUALSCREEN), height = GetSystemMetrics(SM_CYVIRTUALSCREEN);
    if (x < left || x > left + width - 100) x = origin.x;
    if (y < top || y > top + height - 100) y = origin.y;
}

void LoadSettingsFrom(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSetupSection);
    POINT origin = DefaultWindowPosition();
    if (store.UsesIni())
        LoadSetupFromIni(store, origin);
    else
        LoadSetupFromRegistry(store, origin);
    ClampWindowPosition(AppState.WindowX, AppState.WindowY);
    AppState.DefaultAudioFormat = 0;
    AppState.TalkOff2 = 1;
    int count = 0;
    const PageStorage* pages = PageStorageTable(count);
    for (int i = 0; i < count; ++i) pages[i].load(store.Key(), store.IniPath());
}

void LoadSettings(const std::string& path) {
    std::string ini = path;
    HKEY key = ini.empty() ? OpenStore(KEY_READ | KEY_WRITE, ini) : nullptr;
    LoadSettingsFrom(key, ini);
    if (key) RegCloseKey(key);
}

void SaveSettingsTo(HKEY key, const std::string& ini, HWND mainWindow, const SMsg& reporter) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSetupSection);
    SaveSetup(store, mainWindow, reporter);
    int count = 0;
    const PageStorage* pages = PageStorageTable(count);
    std::vector<const PageStorage*> order;
    for (int i = 0; i < count; ++i) order.push_back(&pages[i]);
    // The joystick page is saved before the hot-key page.
    for (std::size_t i = 0; i + 1 < order.size(); ++i)
        if (std::strcmp(order[i]->page, "Key") == 0 && std::strcmp(order[i + 1]->page, "Joy") == 0)
            std::swap(order[i], order[i + 1]);
    for (const PageStorage* page : order) page->save(store.Key(), store.IniPath());
}

void SaveSettings(const std::string& path, HWND mainWindow, const SMsg& reporter) {
    // A program started on a settings file (/I) never writes it back
    // implicitly; only an explicit "Save settings as..." writes.
    if (path.empty() && AppState.IniPath[0]) return;
    std::string ini = path;
    HKEY key = ini.empty() ? OpenStore(KEY_WRITE, ini) : nullptr;
    SaveSettingsTo(key, ini, mainWindow, reporter);
    if (key) RegCloseKey(key);
}
