// The "Switches" preference page: the joystick as a four-button remote
// control. For now the class holds the page's settings storage; its window
// parts join it later.
#pragma once

#include <windows.h>

#include <string>

class TSetJoy {
public:
    // "JoyEnable" and "JoyButton1".."JoyButton4": section "Joy" of the INI
    // file when ini is non-empty, else values under the settings key.
    // Missing: 0. A button without an action (-1) round-trips as -1.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);
};
