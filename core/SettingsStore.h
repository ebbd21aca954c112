// A named value store bound to the settings key of the registry and to one
// section of an INI file. The settings loaders and savers of the program and
// of every preference page read and write their values through it.
//
// Which store a loader uses: the INI file when its path is non-empty, else
// the registry key (SettingsStore::Choose builds a store bound to that one).
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

class SettingsStore {
public:
    // Size of every text buffer of the settings (259 characters and a zero).
    static constexpr std::size_t kTextSize = 260;

    // Binds to key and/or INI path; owns neither. Either may be absent
    // (null key, empty path). With both, reads prefer the key and writes go
    // to both.
    SettingsStore(HKEY key, std::string iniPath, std::string section);

    // The store a page uses: the INI file when iniPath is non-empty (the key
    // is then ignored), else the key.
    static SettingsStore Choose(HKEY key, const std::string& iniPath, const std::string& section);

    bool UsesIni() const { return key_ == nullptr && !iniPath_.empty(); }
    HKEY Key() const { return key_; }
    const std::string& IniPath() const { return iniPath_; }
    const std::string& Section() const { return section_; }

    // --- texts -----------------------------------------------------------
    // Reads into a kTextSize buffer, always zero-terminated. With a key: true
    // when the value is a registry text; otherwise the default (when given)
    // is copied and the result is true, else false. With an INI file: true
    // when at least one character came back (the default counts).
    bool GetString(const char* name, char* buffer, const char* defaultText = nullptr) const;
    bool GetStdString(const char* name, std::string& out, const char* defaultText = nullptr) const;
    // REG_SZ with its terminating zero and/or an INI string; true when either
    // write succeeded.
    bool SetString(const char* name, const char* text) const;
    bool SetFormatted(const char* name, const char* format, ...) const
        __attribute__((format(gnu_printf, 3, 4)));

    // --- numbers as decimal text (registry REG_SZ, INI string) ----------
    // The default when the value is missing or does not parse. Numbers beyond
    // 32 bits wrap, so an unsigned "4294967295" reads back as -1.
    long GetInt(const char* name, long defaultValue) const;
    bool SetInt(const char* name, long value) const;
    bool SetUnsigned(const char* name, unsigned long value) const;

    // --- small numbers: one registry byte, or decimal INI text ----------
    // Registry: a REG_BINARY (or REG_DWORD) value of 1 to 4 bytes, little-
    // endian; one byte reads unsigned, four bytes signed. Values written by
    // SetSmall are one byte when they fit in 0..255 (what older versions
    // wrote) and four bytes otherwise, so no setting loses its high bits.
    // INI: decimal text as GetInt. Returns false (and leaves value alone)
    // when the value is missing or is no number.
    bool GetSmall(const char* name, long& value) const;
    bool SetSmall(const char* name, long value) const;
    // The small number, or defaultValue when it is missing.
    long SmallOr(const char* name, long defaultValue) const {
        long value = defaultValue;
        return GetSmall(name, value) ? value : defaultValue;
    }

    // Registry: exactly four bytes little-endian; INI: decimal text.
    bool GetLong(const char* name, long& value) const;
    bool SetLong(const char* name, long value) const;

    // --- byte blobs ------------------------------------------------------
    // Registry: REG_BINARY. INI: two lower-case hex digits per byte. Reads
    // at most capacity bytes; returns the number of bytes read (0 when the
    // value is missing or empty). An INI text with an odd digit or a non-hex
    // pair ends the read there.
    std::size_t GetBlob(const char* name, void* buffer, std::size_t capacity) const;
    bool SetBlob(const char* name, const void* data, std::size_t size) const;
    // REG_BINARY and/or the platform's structure-in-INI form (hex with a
    // checksum, readable only by GetPrivateProfileStructA).
    bool SetBinary(const char* name, const void* data, std::size_t size) const;

private:
    // A stored decimal text; false (value untouched) when it is missing or
    // is no number.
    bool GetDecimal(const char* name, long& value) const;

    HKEY key_;
    std::string iniPath_;
    std::string section_;
};
