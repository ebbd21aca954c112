#include "core/SettingsStore.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

namespace {

void CopyText(char* buffer, const char* text) {
    std::snprintf(buffer, SettingsStore::kTextSize, "%s", text ? text : "");
}

// A registry text value, cut to 259 characters and always terminated. Only
// string types count: a binary or numeric value of the same name is "missing".
bool ReadRegistryText(HKEY key, const char* name, char* buffer) {
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
    if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
    std::vector<BYTE> bytes(size + 1, 0);
    DWORD got = size;
    if (RegQueryValueExA(key, name, nullptr, &type, bytes.data(), &got) != ERROR_SUCCESS) return false;
    bytes[got < size ? got : size] = 0;
    CopyText(buffer, reinterpret_cast<const char*>(bytes.data()));
    return true;
}

// Parses a whole decimal number; 64-bit parse, wrapped to 32 bits.
bool ParseLong(const char* text, long& value) {
    char* end = nullptr;
    long long parsed = std::strtoll(text, &end, 10);
    if (end == text) return false;
    value = static_cast<long>(static_cast<std::int32_t>(static_cast<std::uint32_t>(parsed)));
    return true;
}

}  // namespace

SettingsStore::SettingsStore(HKEY key, std::string iniPath, std::string section)
    : key_(key), iniPath_(std::move(iniPath)), section_(std::move(section)) {}

SettingsStore SettingsStore::Choose(HKEY key, const std::string& iniPath,
                                    const std::string& section) {
    return SettingsStore(iniPath.empty() ? key : nullptr, iniPath, section);
}

bool SettingsStore::GetString(const char* name, char* buffer, const char* defaultText) const {
    if (!name || !*name || !buffer) return false;
    if (key_) {
        if (ReadRegistryText(key_, name, buffer)) return true;
        if (!defaultText) return false;
        CopyText(buffer, defaultText);
        return true;
    }
    if (iniPath_.empty()) return false;
    DWORD got = GetPrivateProfileStringA(section_.c_str(), name, defaultText ? defaultText : "",
                                         buffer, kTextSize, iniPath_.c_str());
    buffer[kTextSize - 1] = 0;
    return got > 0;
}

bool SettingsStore::GetStdString(const char* name, std::string& out,
                                 const char* defaultText) const {
    char buffer[kTextSize] = {};
    if (!GetString(name, buffer, defaultText)) return false;
    out = buffer;
    return true;
}

bool SettingsStore::SetString(const char* name, const char* text) const {
    if (!name || !*name || !text) return false;
    bool written = false;
    if (key_) {
        DWORD size = static_cast<DWORD>(std::strlen(text) + 1);
        written = RegSetValueExA(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                                 size) == ERROR_SUCCESS;
    }
    if (!iniPath_.empty()) {
        if (WritePrivateProfileStringA(section_.c_str(), name, text, iniPath_.c_str()))
            written = true;
    }
    return written;
}

bool SettingsStore::SetFormatted(const char* name, const char* format, ...) const {
    if (!format) return false;
    char text[360];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return SetString(name, text);
}

long SettingsStore::GetInt(const char* name, long defaultValue) const {
    long value = defaultValue;
    return GetDecimal(name, value) ? value : defaultValue;
}

bool SettingsStore::GetDecimal(const char* name, long& value) const {
    char text[kTextSize] = {};
    return GetString(name, text) && ParseLong(text, value);
}

bool SettingsStore::SetInt(const char* name, long value) const {
    return SetFormatted(name, "%ld", value);
}

bool SettingsStore::SetUnsigned(const char* name, unsigned long value) const {
    return SetFormatted(name, "%lu", value);
}
