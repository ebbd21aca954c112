// The "Driver" preference page: the wave input and output devices by name.
// For now the class holds the page's settings storage; its window parts join
// it later.
#pragma once

#include <windows.h>

#include <string>

class TSetDriver {
public:
    // "WaveOutDriver" and "WaveInDriver": section "Driver" of the INI file
    // when ini is non-empty, else REG_SZ values. Missing: "-1", the mapper.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);
};
