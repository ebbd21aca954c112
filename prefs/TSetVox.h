// The "Vox" preference page: voice-activation options and the pre-trigger
// time. For now the class holds the page's settings storage and the tenths
// text form its edits use; its window parts join it later.
#pragma once

#include <windows.h>

#include <string>

class TSetVox {
public:
    // Section "Vox" of the INI file when ini is non-empty, else values under
    // the settings key. Loaded values are clamped to their ranges.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    // A time in tenths of a second as the edits show it: 15 -> "1.5", 20 -> "2".
    static std::string TenthsToText(int tenths);
    // The reverse: "1.5" -> 15, "3" -> 30, "1.25" -> 12 (one decimal only).
    // Text that does not parse counts as 0.
    static int TextToTenths(const char* text);
};
