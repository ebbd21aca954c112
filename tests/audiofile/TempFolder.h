// A fresh folder in the temporary directory for one test, removed with its
// files afterwards. Tests that must prove no handle is left open delete files
// themselves and check the result.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "audiofile/FileNames.h"

// The names of the files in folder (without "." and "..").
inline std::vector<std::string> FileNamesIn(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    return names;
}

// Sets a file's size; growing it makes a sparse file, so a test can have a
// file of several GiB of which only the start is written.
inline bool SetFileSize(const std::string& path, int64_t bytes) {
    HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER end;
    end.QuadPart = bytes;
    const bool ok = SetFilePointerEx(handle, end, nullptr, FILE_BEGIN) && SetEndOfFile(handle);
    CloseHandle(handle);
    return ok;
}

class TempFolder {
public:
    TempFolder() {
        std::string base;
        GetTempDirectory(base);
        for (int n = 1; n < 100000; ++n) {
            path_ = base + "lkaf" + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(n);
            if (CreateDirectoryA(path_.c_str(), nullptr))
                return;
        }
    }
    TempFolder(const TempFolder&) = delete;
    ~TempFolder() { RemoveAll(); }

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

    std::vector<std::string> Names() const { return FileNamesIn(path_); }

private:
    void RemoveAll() {
        for (const std::string& name : Names())
            DeleteFileA(File(name).c_str());
        RemoveDirectoryA(path_.c_str());
    }

    std::string path_;
};
