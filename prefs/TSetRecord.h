// The "Record" preference page (dialog 273): the recording mode and the
// quiet time that ends a file in the mode "New file after quiet".
#pragma once

#include <windows.h>

#include <string>

#include "core/ContextHelpWin.h"
#include "framework/Control.h"
#include "framework/Edit.h"
#include "framework/PropertySheet.h"

class TSetRecord : public TPropertyPage, public ContextHelpWin {
public:
    explicit TSetRecord(HINSTANCE module = nullptr);

    // Section "Record" of the INI file when ini is non-empty, else values
    // under the settings key. RecordMode 0..10 from an INI
    // file, 0..255 from the registry (else 0); TalkOff 1..9999.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    void SetupWindow() override;
    // The quiet time must pass its range check (0-9999) before the mode or
    // the time is stored.
    int Apply() override;
    bool Dispatch(Message& m) override;

private:
    TRadioButton manual_;
    TRadioButton echo_;
    TRadioButton quiet_;
    TRadioButton starts_;
    TRadioButton stops_;
    TEdit quietSeconds_;
};
