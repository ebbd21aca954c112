// The "HotKey" preference page: the three system-wide hot keys. For now the
// class holds the page's settings storage; its window parts join it later.
#pragma once

#include <windows.h>

#include <string>

class TSetKey {
public:
    // "KeyPlay", "KeyRecord", "KeyActivate" as decimal text of the hot-key
    // word (low byte virtual key, high byte HOTKEYF_ flags): section "Key"
    // of the INI file when ini is non-empty, else REG_SZ values. Missing: 0.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);
};
