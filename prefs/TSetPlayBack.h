// The "PlayBack" preference page (dialog 210): the seconds played at the
// start of each segment in SoundByte mode.
#pragma once

#include <windows.h>

#include <string>

#include "core/ContextHelpWin.h"
#include "framework/Edit.h"
#include "framework/PropertySheet.h"

class TSetPlayBack : public TPropertyPage, public ContextHelpWin {
public:
    explicit TSetPlayBack(HINSTANCE module = nullptr);

    // "SoundByte" in section "Play" of the INI file when ini is non-empty,
    // else under the settings key. Missing: 2; below 1 becomes 1.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    void SetupWindow() override;
    // The field must pass its range check (0-999) before anything is
    // stored, so a refused value never reaches AppState.
    int Apply() override;
    bool Dispatch(Message& m) override;

private:
    TEdit seconds_;
};
