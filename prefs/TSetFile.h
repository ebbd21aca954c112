// The "File" preference page: where recordings go, how they are named and
// how large they may grow. The static part keeps the page's settings in the
// settings store.
#pragma once

#include <windows.h>

#include <string>

#include "core/ContextHelpWin.h"
#include "framework/CommonControls.h"
#include "framework/Control.h"
#include "framework/Edit.h"
#include "framework/ListControls.h"
#include "framework/PropertySheet.h"

class TSetFile : public TPropertyPage, public ContextHelpWin {
public:
    // defaultType: the sheet's working default file type, which the format
    // pages may change while the sheet is open; read each time it is used.
    explicit TSetFile(const int* defaultType);

    void SetupWindow() override;
    int SetActive() override;
    int Apply() override;
    bool Dispatch(Message& m) override;

    void BnBrowse();
    void BnEditPattern();
    void BnPatternNaming();
    void BnPromptCategory();
    void UpdateEstimate();
    // The unit's change settles after its notification: the estimate runs
    // from a posted message.
    void PostEstimateUpdate();
    LRESULT EvUpdateEstimate(WPARAM, LPARAM);
    void UpdatePreview();

    // The help ids of this page's controls and the pattern dialog's.
    static const HelpPair kHelpTable[];

    TStatic directory;
    TCheckBox autoName;
    TRadioButton patternNaming;
    TRadioButton promptCategory;
    TStatic preview;
    TEdit limit;
    TUpDown limitSpin;
    TComboBox unit;
    TStatic estimateCaption;
    TStatic estimate;
    TRadioButton noAction;
    TRadioButton stopAction;
    TRadioButton loopAction;
    TRadioButton newFileAction;


    // Section "File" of the INI file when ini is non-empty, else values under
    // the settings key. Loading also finds a usable default directory when
    // none is stored (and makes it the current directory), and builds the
    // naming pattern from the settings of older versions when none is stored.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    // The date pattern that older versions appended for "DateFormat" 1..10;
    // empty for any other value.
    static const char* DatePattern(long dateFormat);

    // The bytes per second a recording of the file type takes, as the
    // estimate reads it; 0 when unknown.
    static long long ByteRateOf(int fileType);

private:
    bool UnitIsMinutes() const;

    const int* defaultType_;
    std::string pattern_;
    int lhMode_ = 0;
    static const MsgEntry<TSetFile> kMessages[];
};
