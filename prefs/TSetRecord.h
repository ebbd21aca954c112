// The "Record" preference page: the recording mode and the quiet time that
// ends a file in the mode "New file after quiet". For now the class holds
// the page's settings storage; its window parts join it later.
#pragma once

#include <windows.h>

#include <string>

class TSetRecord {
public:
    // Section "Record" of the INI file when ini is non-empty, else values
    // under the settings key. RecordMode 0..10 (else 0), TalkOff 1..9999.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);
};
