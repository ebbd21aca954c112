// The "HotKey" preference page (dialog 900): the three system-wide hot keys.
// The frame registers them (RegisterHotKeys) once the sheet has closed.
#pragma once

#include <windows.h>

#include <string>

#include "core/ContextHelpWin.h"
#include "framework/CommonControls.h"
#include "framework/PropertySheet.h"

class TSetKey : public TPropertyPage, public ContextHelpWin {
public:
    explicit TSetKey(HINSTANCE module = nullptr);

    // "KeyPlay", "KeyRecord", "KeyActivate" as decimal text of the hot-key
    // word (low byte virtual key, high byte HOTKEYF_ flags): section "Key"
    // of the INI file when ini is non-empty, else REG_SZ values. Missing: 0.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    void SetupWindow() override;
    // toControls: each control from its word; else each word from its control.
    void TransferData(bool toControls);
    int Apply() override;
    bool Dispatch(Message& m) override;

private:
    THotKey play_;
    THotKey record_;
    THotKey activate_;
};
