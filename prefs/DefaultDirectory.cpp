#include "prefs/DefaultDirectory.h"

#include <windows.h>
#include <shlobj.h>

namespace {

constexpr char kProductTitle[] = "Larkspur-PRO";

using GetFolderWithSubDir = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPCSTR, LPSTR);

std::string WithSlash(std::string folder) {
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return folder;
}

bool IsVistaOrLater() {
    DWORD version = GetVersion();
    return (version & 0xFF) >= 6;
}

// The shell's folder-with-sub-folder call is looked up at run time: older
// systems lack it.
std::string CommonAppDataFolder() {
    HMODULE shell = LoadLibraryA("shell32.dll");
    if (!shell) return {};
    auto getFolder = reinterpret_cast<GetFolderWithSubDir>(
        GetProcAddress(shell, "SHGetFolderPathAndSubDirA"));
    char path[MAX_PATH] = {};
    std::string folder;
    if (getFolder && SUCCEEDED(getFolder(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE,
                                         nullptr, 0, kProductTitle, path)))
        folder = WithSlash(path);
    FreeLibrary(shell);
    return folder;
}

std::string TempFolder() {
    char path[MAX_PATH] = {};
    DWORD got = GetTempPathA(MAX_PATH, path);
    return got > 0 && got < MAX_PATH ? WithSlash(path) : std::string();
}

bool Enter(const std::string& folder) {
    return !folder.empty() && SetCurrentDirectoryA(folder.c_str());
}

}  // namespace

std::string ProgramFolder() {
    char path[MAX_PATH] = {};
    DWORD got = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string full(path, got < MAX_PATH ? got : 0);
    std::string::size_type slash = full.find_last_of('\\');
    return slash == std::string::npos ? std::string() : full.substr(0, slash + 1);
}

bool IsFolderWritable(const std::string& folder) {
    char name[MAX_PATH] = {};
    if (!GetTempFileNameA(folder.c_str(), "RIF", 0, name)) return false;
    // GetTempFileName has created the file; creating it proves the folder
    // takes new files.
    DeleteFileA(name);
    return true;
}

std::string DiscoverRecordingFolder() {
    if (IsVistaOrLater()) {
        std::string folder = CommonAppDataFolder();
        if (Enter(folder) && IsFolderWritable(folder)) return folder;
    } else {
        std::string folder = ProgramFolder();
        if (Enter(folder) && IsFolderWritable(folder)) return folder;
    }
    std::string temp = TempFolder();
    return Enter(temp) ? temp : std::string();
}

std::string FolderBesideProgram() {
    std::string folder = ProgramFolder();
    if (Enter(folder) && IsFolderWritable(folder)) return folder;
    std::string temp = TempFolder();
    return Enter(temp) ? temp : std::string();
}
