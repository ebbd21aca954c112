// Throw-away settings stores for tests: a registry key under the current
// user and an INI file in the temporary folder, both removed again when the
// object goes away.
#pragma once

#include <windows.h>

#include <string>

class ScratchKey {
public:
    ScratchKey();
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY get() const { return key_; }
    // Raw writes for values older versions left behind.
    void SetBytes(const char* name, const void* bytes, DWORD size, DWORD type = REG_BINARY) const;
    void SetText(const char* name, const char* text) const;
    // The raw value: its type and bytes; false when missing.
    bool Raw(const char* name, DWORD& type, std::string& bytes) const;
    bool Has(const char* name) const;

private:
    std::string path_;
    HKEY key_ = nullptr;
};

class ScratchIni {
public:
    ScratchIni();
    ~ScratchIni();
    ScratchIni(const ScratchIni&) = delete;
    ScratchIni& operator=(const ScratchIni&) = delete;

    const std::string& path() const { return path_; }
    void Write(const char* section, const char* key, const char* text) const;
    // The text stored, or "<missing>".
    std::string Read(const char* section, const char* key) const;
    bool Exists() const;

private:
    std::string path_;
};

// Loading settings may make the recording folder current: this puts the
// folder that was current at construction back when it goes away.
class ScopedCurrentFolder {
public:
    ScopedCurrentFolder() { GetCurrentDirectoryA(MAX_PATH, folder_); }
    ~ScopedCurrentFolder() { SetCurrentDirectoryA(folder_); }
    const char* Path() const { return folder_; }
    ScopedCurrentFolder(const ScopedCurrentFolder&) = delete;
    ScopedCurrentFolder& operator=(const ScopedCurrentFolder&) = delete;

private:
    char folder_[MAX_PATH] = {};
};
