// A fresh folder under the system's temporary folder for one test, removed
// with everything in it afterwards. The process's current directory, which
// the naming code changes, is put back too.
#pragma once

#include <windows.h>

#include <string>

#include "recorder/files/FileNaming.h"

class FilesTestFolder {
public:
    FilesTestFolder() {
        char cwd[MAX_PATH] = {};
        GetCurrentDirectoryA(MAX_PATH, cwd);
        savedCwd_ = cwd;
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        for (int n = 0;; ++n) {
            path_ = std::string(temp) + "larkspur-files-" + std::to_string(GetCurrentProcessId()) +
                    "-" + std::to_string(n);
            if (CreateDirectoryA(path_.c_str(), nullptr))
                break;
        }
    }
    ~FilesTestFolder() {
        SetCurrentDirectoryA(savedCwd_.c_str());
        RemoveTree(path_);
    }
    FilesTestFolder(const FilesTestFolder&) = delete;
    FilesTestFolder& operator=(const FilesTestFolder&) = delete;

    // The folder, without a trailing '\'.
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "\\" + name; }

    // Writes a file of that many bytes ('x'), creating nothing else.
    static bool WriteFile(const std::string& path, size_t bytes = 0) {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        const std::string data(bytes, 'x');
        DWORD written = 0;
        const BOOL ok = ::WriteFile(file, data.data(), static_cast<DWORD>(bytes), &written, nullptr);
        CloseHandle(file);
        return ok && written == bytes;
    }

    // Writes frames of MPEG-1 layer 3 (128 kbit/s, 44100 Hz, mono: 417
    // bytes each) filled with one byte: enough for the frame scan.
    static bool WriteMp3Frames(const std::string& path, size_t frames = 40) {
        std::string bytes(417 * frames, '\x55');
        for (size_t at = 0; at < bytes.size(); at += 417)
            bytes.replace(at, 4, "\xFF\xFB\x90\xC4");
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0;
        const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
        return ok && written == bytes.size();
    }

private:
    static void RemoveTree(const std::string& folder) {
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::string name = found.cFileName;
                if (name == "." || name == "..")
                    continue;
                const std::string full = folder + "\\" + name;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(full);
                else {
                    SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileA(full.c_str());
                }
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder.c_str());
    }

    std::string path_;
    std::string savedCwd_;
};

// A clock fixed at one local time while it lives.
class FixedNamingClock : public NamingClock {
public:
    explicit FixedNamingClock(const std::tm& when) : when_(when) { SetNamingClock(this); }
    ~FixedNamingClock() override { SetNamingClock(nullptr); }
    std::tm LocalNow() const override { return when_; }

private:
    std::tm when_;
};

// 2026-03-07 (a Saturday) 09:05:03.
inline std::tm SampleLocalTime() {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 2;
    t.tm_mday = 7;
    t.tm_hour = 9;
    t.tm_min = 5;
    t.tm_sec = 3;
    t.tm_wday = 6;
    t.tm_yday = 65;
    return t;
}
