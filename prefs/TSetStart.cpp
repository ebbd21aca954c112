#include "prefs/TSetStart.h"

#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "framework/Application.h"
#include "framework/FrameWindow.h"
#include "resources/ResourceIds.h"

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

const HelpPair kHelp[] = {
    {IDC_LISTENATSTART, 0}, {IDC_MINIMIZEATBOOT, 0}, {IDC_ALWAYSONTOP, 0}, {IDC_TRAYICONBOX, 0},
    {IDC_LAUNCHATBOOT, 0},  {IDC_QUICKLAUNCHICON, 0}, {IDC_DESKTOPICON, 0}, {0, 0},
};

}  // namespace

TSetStart::TSetStart(HINSTANCE module)
    : TPropertyPage(IDD_SETSTART, std::string(), module),
      ContextHelpWin(kHelp, IDD_SETSTART),
      launchAtBoot_(this, IDC_LAUNCHATBOOT),
      minimizeAtBoot_(this, IDC_MINIMIZEATBOOT),
      listenAtStart_(this, IDC_LISTENATSTART),
      alwaysOnTop_(this, IDC_ALWAYSONTOP),
      trayIcon_(this, IDC_TRAYICONBOX),
      desktopIcon_(this, IDC_DESKTOPICON),
      quickLaunchIcon_(this, IDC_QUICKLAUNCHICON) {}

bool TSetStart::Dispatch(Message& m) { return DispatchContextHelp(m) || TPropertyPage::Dispatch(m); }

void TSetStart::SetupWindow() {
    TPropertyPage::SetupWindow();
    launchAtBoot_.SetCheck(AppState.AlwaysStart ? BST_CHECKED : BST_UNCHECKED);
    minimizeAtBoot_.SetCheck(AppState.MinimizeOnStart ? BST_CHECKED : BST_UNCHECKED);
    listenAtStart_.SetCheck(AppState.ListenOnStart ? BST_CHECKED : BST_UNCHECKED);
    alwaysOnTop_.SetCheck(AppState.OnTop ? BST_CHECKED : BST_UNCHECKED);
    trayIcon_.SetCheck(AppState.TrayIcon ? BST_CHECKED : BST_UNCHECKED);
    // The shortcut boxes show what is on disk, not a stored setting.
    desktopIcon_.SetCheck(HasDesktopShortcut() ? BST_CHECKED : BST_UNCHECKED);
    quickLaunchIcon_.SetCheck(HasQuickLaunchShortcut() ? BST_CHECKED : BST_UNCHECKED);
}

HWND TSetStart::MainWindow() const {
    TApplication* app = GetApplication();
    if (app && app->GetMainWindow() && app->GetMainWindow()->GetHandle()) return app->GetMainWindow()->GetHandle();
    TPropertySheet* sheet = GetSheet();
    return sheet && sheet->GetParent() ? sheet->GetParent()->GetHandle() : nullptr;
}

int TSetStart::Apply() {
    const int checked = TPropertyPage::Apply();
    if (checked != PSNRET_NOERROR) return checked;
    const bool wasOnTop = AppState.OnTop;
    AppState.AlwaysStart = launchAtBoot_.IsChecked();
    AppState.MinimizeOnStart = minimizeAtBoot_.IsChecked();
    AppState.ListenOnStart = listenAtStart_.IsChecked();
    AppState.OnTop = alwaysOnTop_.IsChecked();
    AppState.TrayIcon = trayIcon_.IsChecked();
    if (AppState.OnTop != wasOnTop) {
        if (HWND main = MainWindow())
            SetWindowPos(main, AppState.OnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    const bool hasDesktop = HasDesktopShortcut();
    if (desktopIcon_.IsChecked() && !hasDesktop) CreateDesktopShortcut();
    if (!desktopIcon_.IsChecked() && hasDesktop) RemoveDesktopShortcut();
    const bool hasQuickLaunch = HasQuickLaunchShortcut();
    if (quickLaunchIcon_.IsChecked() && !hasQuickLaunch) CreateQuickLaunchShortcut();
    if (!quickLaunchIcon_.IsChecked() && hasQuickLaunch) RemoveQuickLaunchShortcut();
    return checked;
}

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
