// The "General" preference page: the start-up flags of section "Setup" and
// the program's entry in the Windows start-up list. For now the class holds
// the page's settings storage; its window parts join it later.
#pragma once

#include <windows.h>

#include <string>

class TSetStart {
public:
    // Section "Setup" of the INI file when ini is non-empty, else one-byte
    // values under the settings key. Saving to the registry also writes or
    // removes the start-with-Windows entry; an INI save never touches it.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    // The value "Larkspur-PRO" under the Run key of the machine, then of the
    // user. RunEntryText is what WriteRunEntry stores: the program's short
    // path, with " -m" when it is to start minimised.
    static void RemoveRunEntry();
    static void WriteRunEntry();
    static std::string RunEntryText();
    // The entry for a program path: quoted when it holds a blank (a volume
    // without short names keeps "Program Files"), so Windows never starts
    // "C:\Program.exe" in its place.
    static std::string RunEntryFor(const std::string& programPath, bool minimized);
};
