#include "tests/fakes/ScratchSettings.h"

#include <cstdio>
#include <vector>

namespace {

int nextScratchNumber = 0;

std::string UniqueName(const char* stem) {
    char name[96];
    std::snprintf(name, sizeof name, "%s_%lu_%d", stem, GetCurrentProcessId(), ++nextScratchNumber);
    return name;
}

}  // namespace

ScratchKey::ScratchKey() : path_("Software\\LarkspurTests\\" + UniqueName("key")) {
    RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                    &key_, nullptr);
}

ScratchKey::~ScratchKey() {
    if (key_) RegCloseKey(key_);
    RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, path_.c_str());
}

void ScratchKey::SetBytes(const char* name, const void* bytes, DWORD size, DWORD type) const {
    RegSetValueExA(key_, name, 0, type, static_cast<const BYTE*>(bytes), size);
}

void ScratchKey::SetText(const char* name, const char* text) const {
    SetBytes(name, text, static_cast<DWORD>(std::string(text).size() + 1), REG_SZ);
}

bool ScratchKey::Raw(const char* name, DWORD& type, std::string& bytes) const {
    DWORD size = 0;
    if (RegQueryValueExA(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    std::vector<BYTE> data(size + 1);
    if (RegQueryValueExA(key_, name, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
        return false;
    bytes.assign(reinterpret_cast<const char*>(data.data()), size);
    return true;
}

bool ScratchKey::Has(const char* name) const {
    DWORD type = 0;
    std::string bytes;
    return Raw(name, type, bytes);
}

ScratchIni::ScratchIni() {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    path_ = std::string(folder) + UniqueName("larkspur") + ".ini";
}

ScratchIni::~ScratchIni() { DeleteFileA(path_.c_str()); }

void ScratchIni::Write(const char* section, const char* key, const char* text) const {
    WritePrivateProfileStringA(section, key, text, path_.c_str());
}

std::string ScratchIni::Read(const char* section, const char* key) const {
    std::vector<char> text(70000);
    GetPrivateProfileStringA(section, key, "<missing>", text.data(), static_cast<DWORD>(text.size()),
                             path_.c_str());
    return text.data();
}

bool ScratchIni::Exists() const {
    return GetFileAttributesA(path_.c_str()) != INVALID_FILE_ATTRIBUTES;
}
