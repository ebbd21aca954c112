// The binary forms of the settings store: small numbers kept as registry
// bytes, four-byte numbers and byte blobs (hex text in INI files).
#include "core/SettingsStore.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

// A REG_BINARY or REG_DWORD of 1 to 4 bytes, little-endian. One byte reads
// unsigned (older versions wrote 0..255 that way); four bytes read signed.
bool ReadRegistryNumber(HKEY key, const char* name, std::size_t wantSize, long& value) {
    BYTE bytes[8] = {};
    DWORD type = 0, size = sizeof bytes;
    if (RegQueryValueExA(key, name, nullptr, &type, bytes, &size) != ERROR_SUCCESS) return false;
    if (type != REG_BINARY && type != REG_DWORD) return false;
    if (size < 1 || size > 4 || (wantSize && size != wantSize)) return false;
    std::uint32_t word = 0;
    for (DWORD i = 0; i < size; ++i) word |= static_cast<std::uint32_t>(bytes[i]) << (8 * i);
    value = size == 4 ? static_cast<long>(static_cast<std::int32_t>(word)) : static_cast<long>(word);
    return true;
}

bool WriteRegistryBytes(HKEY key, const char* name, const void* data, std::size_t size) {
    return RegSetValueExA(key, name, 0, REG_BINARY, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS;
}

bool WriteRegistryNumber(HKEY key, const char* name, long value, std::size_t size) {
    std::uint32_t word = static_cast<std::uint32_t>(value);
    BYTE bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(word >> (8 * i));
    return WriteRegistryBytes(key, name, bytes, size);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::size_t DecodeHex(const char* text, BYTE* out, std::size_t capacity) {
    std::size_t count = 0;
    for (; count < capacity; ++count) {
        int high = HexDigit(text[2 * count]);
        if (high < 0) break;
        int low = HexDigit(text[2 * count + 1]);
        if (low < 0) break;
        out[count] = static_cast<BYTE>(high * 16 + low);
    }
    return count;
}

}  // namespace

bool SettingsStore::GetSmall(const char* name, long& value) const {
    if (!name || !*name) return false;
    if (key_) return ReadRegistryNumber(key_, name, 0, value);
    return GetDecimal(name, value);
}

bool SettingsStore::SetSmall(const char* name, long value) const {
    if (!name || !*name) return false;
    bool written = false;
    if (key_) written = WriteRegistryNumber(key_, name, value, value >= 0 && value <= 255 ? 1 : 4);
    if (!iniPath_.empty() && SetString(name, std::to_string(value).c_str())) written = true;
    return written;
}

bool SettingsStore::GetLong(const char* name, long& value) const {
    if (!name || !*name) return false;
    if (key_) return ReadRegistryNumber(key_, name, 4, value);
    return GetDecimal(name, value);
}

bool SettingsStore::SetLong(const char* name, long value) const {
    if (!name || !*name) return false;
    bool written = false;
    if (key_) written = WriteRegistryNumber(key_, name, value, 4);
    if (!iniPath_.empty() && SetString(name, std::to_string(value).c_str())) written = true;
    return written;
}

std::size_t SettingsStore::GetBlob(const char* name, void* buffer, std::size_t capacity) const {
    if (!name || !*name || !buffer || capacity == 0) return 0;
    if (key_) {
        DWORD type = 0, size = 0;
        if (RegQueryValueExA(key_, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
            type != REG_BINARY)
            return 0;
        std::vector<BYTE> bytes(size ? size : 1);
        DWORD got = size;
        if (RegQueryValueExA(key_, name, nullptr, &type, bytes.data(), &got) != ERROR_SUCCESS)
            return 0;
        std::size_t used = got < capacity ? got : capacity;
        std::memcpy(buffer, bytes.data(), used);
        return used;
    }
    if (iniPath_.empty()) return 0;
    // Room for every digit of a full buffer and the terminating zero.
    std::vector<char> text(2 * capacity + 1, 0);
    GetPrivateProfileStringA(section_.c_str(), name, "", text.data(),
                             static_cast<DWORD>(text.size()), iniPath_.c_str());
    return DecodeHex(text.data(), static_cast<BYTE*>(buffer), capacity);
}

bool SettingsStore::SetBlob(const char* name, const void* data, std::size_t size) const {
    if (!name || !*name || !data) return false;
    bool written = false;
    if (key_) written = WriteRegistryBytes(key_, name, data, size);
    if (!iniPath_.empty()) {
        std::string text;
        text.reserve(2 * size);
        const BYTE* bytes = static_cast<const BYTE*>(data);
        char pair[3];
        for (std::size_t i = 0; i < size; ++i) {
            std::snprintf(pair, sizeof pair, "%2.2x", bytes[i]);
            text += pair;
        }
        if (SetString(name, text.c_str())) written = true;
    }
    return written;
}

bool SettingsStore::SetBinary(const char* name, const void* data, std::size_t size) const {
    if (!name || !*name || !data) return false;
    bool written = false;
    if (key_) written = WriteRegistryBytes(key_, name, data, size);
    if (!iniPath_.empty() &&
        WritePrivateProfileStructA(section_.c_str(), name, const_cast<void*>(data),
                                   static_cast<UINT>(size), iniPath_.c_str()))
        written = true;
    return written;
}
