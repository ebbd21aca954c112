// The "Driver" preference page (template "Driver"): the wave input device
// used for recording and the wave output device used for playback, chosen
// by name from the devices the wave-device service lists.
#pragma once

#include <windows.h>

#include <string>

#include "core/ContextHelpWin.h"
#include "framework/ListControls.h"
#include "framework/PropertySheet.h"

class TSetDriver : public TPropertyPage, public ContextHelpWin {
public:
    explicit TSetDriver(HINSTANCE module = nullptr);

    // "WaveOutDriver" and "WaveInDriver": section "Driver" of the INI file
    // when ini is non-empty, else REG_SZ values. Missing: "-1", the mapper.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    // The entry of list for a stored name: the one of exactly that name,
    // else the first that begins with it; "-1" stands for the first entry
    // beginning with "Wave Mapper". -1 when none fits.
    static int EntryFor(const TComboBox& list, const std::string& storedName);

    void SetupWindow() override;
    // toControls: select the stored names; else store the selected names
    // (a list without a selection keeps its stored name).
    void TransferData(bool toControls);
    int Apply() override;
    bool Dispatch(Message& m) override;

private:
    TComboBox outputs_;
    TComboBox inputs_;
};
