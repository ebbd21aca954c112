// Builds the application object with the program's recorder window and runs
// its message loop.
#include "app/App.h"
#include "core/AppState.h"
#include "app/OwlMain.h"
#include "app/RecorderWindowLink.h"

namespace {

// How the program was asked to show its window (a shortcut set to
// "Minimized", for one).
int StartupShowCommand() {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    GetStartupInfoA(&startup);
    return (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWNORMAL;
}

}  // namespace

bool PropertiesRunHasFile() {
    if (!AppState.PropertiesOnly) return true;
    const DWORD attributes = GetFileAttributesA(AppState.CommandLineFile);
    return AppState.CommandLineFile[0] != '\0' && attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int RunApplication() {
    // /R shows nothing but a file's properties and ends when they close:
    // without a file it would be an invisible process nobody can reach.
    if (!PropertiesRunHasFile()) return 1;
    App app(MakeRecorderWindowLink, GetModuleHandleA(nullptr), StartupShowCommand());
    return app.Run();
}
