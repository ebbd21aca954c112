// The "Vox" preference page (dialog 2400): voice-activation options and the
// pre-trigger time. Times below two seconds are edited in tenths. The
// storage is in TSetVox.cpp, the page's window in TSetVoxPage.cpp.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "core/ContextHelpWin.h"
#include "framework/CommonControls.h"
#include "framework/Control.h"
#include "framework/Edit.h"
#include "framework/PropertySheet.h"

class TSetVox : public TPropertyPage, public ContextHelpWin {
public:
    explicit TSetVox(HINSTANCE module = nullptr);

    // Section "Vox" of the INI file when ini is non-empty, else values under
    // the settings key. Loaded values are clamped to their ranges.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    // A time in tenths of a second as the edits show it: 15 -> "1.5", 20 -> "2".
    static std::string TenthsToText(int tenths);
    // The reverse: "1.5" -> 15, "3" -> 30, "1.25" -> 12 (one decimal only).
    // Text that does not parse counts as 0.
    static int TextToTenths(const char* text);

    // One click of the up-downs, from the tenths now shown: the filter time
    // steps by tenths within 0-30; the discard time by tenths up to 2.0 s
    // and by whole seconds above, within 10-600.
    static int StepFilterTenths(int tenths, int step);
    static int StepDiscardTenths(int tenths, int step);

    void SetupWindow() override;
    // toControls: settings to controls; else controls to settings, clamped.
    void TransferData(bool toControls);
    int Apply() override;
    bool Dispatch(Message& m) override;

private:
    LRESULT UdnFilterDelta(NMHDR& header);
    LRESULT UdnDiscardDelta(NMHDR& header);
    static const MsgEntry<TSetVox> kMessages[];

    TCheckBox hide_;
    TCheckBox disable_;
    TCheckBox discard_;
    TCheckBox filter_;
    TEdit silence_;
    TEdit pretrigger_;
    TEdit discardTime_;
    TEdit filterTime_;
    TUpDown silenceSpin_;
    TUpDown pretriggerSpin_;
    TUpDown discardSpin_;
    TUpDown filterSpin_;
};
