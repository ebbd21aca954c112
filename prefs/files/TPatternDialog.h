// TPatternDialog ("File name pattern"): edits the pattern that automatic
// file names are made from (a prefix with strftime date and time codes, no
// extension), with a list of the codes, a live example, and whether the
// instance number is always appended.
#pragma once

#include <string>

#include "core/ContextHelpWin.h"
#include "framework/Control.h"
#include "framework/Dialog.h"
#include "framework/Edit.h"
#include "framework/ListControls.h"

struct PatternCode {
    const char* code;
    const char* text;
};
// Row 0 is the heading and inserts nothing; the table ends with an empty pair.
extern const PatternCode kPatternCodes[];

class TPatternDialog : public TDialog, public ContextHelpWin {
public:
    // text: read on set-up, written on OK; flags: may be null, bit 0 set =
    // the instance number only when required (only that bit is written).
    TPatternDialog(TWindow* parent, std::string& text, int fileType, int* flags);

    void SetupWindow() override;
    void CmOk() override;
    void BnInsertCode();
    void UpdatePreview();
    bool Dispatch(Message& m) override;

    TEdit pattern;
    TStatic preview;
    TComboBox codes;
    TRadioButton always;
    TRadioButton whenNeeded;

private:
    std::string& text_;
    int fileType_;
    int* flags_;
    static const MsgEntry<TPatternDialog> kMessages[];
};
