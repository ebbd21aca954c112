#include "core/ProgramFolders.h"

#include <windows.h>
#include <shlobj.h>

#include "audiofile/FileNames.h"

namespace {

constexpr char kProductTitle[] = "Larkspur-PRO";
constexpr char kHelpFileName[] = "larkspurpro.chm";

using GetFolderWithSubDir = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPCSTR, LPSTR);

bool IsWindows6OrLater() { return (GetVersion() & 0xFF) >= 6; }

}  // namespace

std::string WithTrailingSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    DWORD got = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, got < MAX_PATH ? got : 0);
    std::string::size_type slash = full.find_last_of('\\');
    return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

// The shell's folder-with-sub-folder call is looked up at run time: older
// systems lack it.
std::string CommonAppDataFolder() {
    if (!IsWindows6OrLater()) return {};
    HMODULE shell = LoadLibraryA("shell32.dll");
    if (!shell) return {};
    auto getFolder = reinterpret_cast<GetFolderWithSubDir>(
        GetProcAddress(shell, "SHGetFolderPathAndSubDirA"));
    char path[MAX_PATH] = {};
    std::string folder;
    if (getFolder && SUCCEEDED(getFolder(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE,
                                         nullptr, 0, kProductTitle, path)))
        folder = WithTrailingSlash(path);
    FreeLibrary(shell);
    return folder;
}

std::string TempFolder() {
    std::string folder;
    return GetTempDirectory(folder) ? WithTrailingSlash(folder) : std::string();
}

std::string DefaultLogPath() {
    std::string folder = CommonAppDataFolder();
    if (!folder.empty()) return folder + kProductTitle + ".log";
    std::string name = kHelpFileName;
    name.replace(name.size() - 4, 4, ".log");
    return ProgramFolder() + name;
}
