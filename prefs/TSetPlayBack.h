// The "PlayBack" preference page: the seconds played at the start of each
// segment in SoundByte mode. For now the class holds the page's settings
// storage; its window parts join it later.
#pragma once

#include <windows.h>

#include <string>

class TSetPlayBack {
public:
    // "SoundByte" in section "Play" of the INI file when ini is non-empty,
    // else under the settings key. Missing: 2; below 1 becomes 1.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);
};
