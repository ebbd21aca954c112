// The "Switches" preference page (template "Switches"): the joystick as a
// four-button remote control, one of nine transport actions per button.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Control.h"
#include "framework/ListControls.h"
#include "framework/PropertySheet.h"

class TSetJoy : public TPropertyPage {
public:
    explicit TSetJoy(HINSTANCE module = nullptr);

    // "JoyEnable" and "JoyButton1".."JoyButton4": section "Joy" of the INI
    // file when ini is non-empty, else values under the settings key.
    // Missing: 0. A button without an action (-1) round-trips as -1.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    // The action texts, in code order (the code is the list position).
    static const char* const kActions[9];

    void SetupWindow() override;
    // toControls: the box and each list's position from the settings (a code
    // without a position leaves the list unselected); else the settings from
    // the controls (-1 for a list without a selection).
    void TransferData(bool toControls);
    int Apply() override;

private:
    TCheckBox enable_;
    TComboBox buttons_[4];
};
