// The "File" preference page: where recordings go, how they are named and
// how large they may grow. The static part keeps the page's settings in the
// settings store.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "core/ContextHelpWin.h"
#include "core/RecorderLink.h"
#include "framework/CommonControls.h"
#include "framework/Control.h"
#include "framework/Edit.h"
#include "framework/ListControls.h"
#include "framework/PropertySheet.h"

class TSetFile : public TPropertyPage, public ContextHelpWin {
public:
    // defaultType: the sheet's working default file type, which the format
    // pages may change while the sheet is open; read each time it is used.
    // recorder (may be null): the estimate falls back on its recording format.
    explicit TSetFile(const int* defaultType, const RecorderLink* recorder = nullptr);

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
    // An empty text stored in the registry counts as stored; in an INI file
    // as missing.
    static void Load(HKEY key, const std::string& ini);
    static void Save(HKEY key, const std::string& ini);

    // The date pattern that older versions appended for "DateFormat" 1..10;
    // empty for any other value.
    static const char* DatePattern(long dateFormat);

    // The bytes per second the estimate takes for the file type: Vorbis's
    // rate; the stored MP3 or WAV format's when it has one; otherwise the
    // recorder's recording format's (recorderRate, when not 0), else the
    // PCM rate of the stored sample rate and resolution.
    static long long ByteRateOf(int fileType, uint32_t recorderRate);

private:
    bool UnitIsMinutes() const;

    const int* defaultType_;
    const RecorderLink* recorder_;
    std::string pattern_;
    int lhMode_ = 0;
    static const MsgEntry<TSetFile> kMessages[];
};
