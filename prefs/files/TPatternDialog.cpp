#include "prefs/files/TPatternDialog.h"

#include <memory>

#include "core/TimePattern.h"
#include "framework/Validators.h"
#include "prefs/files/FileNameField.h"
#include "prefs/files/FileNamePreview.h"
#include "prefs/files/TSetFile.h"
#include "resources/ResourceIds.h"

const PatternCode kPatternCodes[] = {
    {" ", "Choose format code to add:"},
    {"%a", "%a Abbreviated weekday name"},
    {"%A", "%A Full weekday name"},
    {"%b", "%b Abbreviated month name"},
    {"%B", "%B Full month name"},
    {"%d", "%d Day of month (01 - 31)"},
    {"%H", "%H Hour (00 - 23)"},
    {"%I", "%I Hour (01 - 12)"},
    {"%j", "%j Day of year (001 - 366)"},
    {"%m", "%m Month number (1 - 12)"},
    {"%M", "%M Minute (00 - 59)"},
    {"%p", "%p AM or PM"},
    {"%S", "%S Two-digit second (00 - 59)"},
    {"%w", "%w Weekday where 0 is Sunday (0 - 6)"},
    {"%y", "%y Two-digit year (00 to 99)"},
    {"%Y", "%Y Year with century"},
    {"%Z", "%Z Time zone name"},
    {nullptr, nullptr},
};

const MsgEntry<TPatternDialog> TPatternDialog::kMessages[] = {
    OnChild(IDC_PATTERNEDIT, EN_UPDATE, &TPatternDialog::UpdatePreview),
    OnClicked(IDC_PATTERNALWAYS, &TPatternDialog::UpdatePreview),
    OnClicked(IDC_PATTERNWHENNEEDED, &TPatternDialog::UpdatePreview),
    OnClicked(IDC_PATTERNINSERT, &TPatternDialog::BnInsertCode),
    OnCommand(IDOK, &TPatternDialog::CmOk),
};

TPatternDialog::TPatternDialog(TWindow* parent, std::string& text, int fileType, int* flags)
    : TDialog(parent, IDD_PATTERN),
      ContextHelpWin(TSetFile::kHelpTable),
      pattern(this, IDC_PATTERNEDIT, 259),
      preview(this, IDC_PATTERNPREVIEW),
      codes(this, IDC_PATTERNCODES),
      always(this, IDC_PATTERNALWAYS),
      whenNeeded(this, IDC_PATTERNWHENNEEDED),
      text_(text),
      fileType_(fileType),
      flags_(flags) {
    // A pattern holding ":", "*" or "?" is refused on OK; the others that no
    // file name holds only when typed or pasted.
    pattern.SetValidator(std::make_unique<FileNameFieldValidator>(":*?"));
}

bool TPatternDialog::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || DispatchContextHelp(m) || TDialog::Dispatch(m);
}

void TPatternDialog::SetupWindow() {
    TDialog::SetupWindow();
    for (const PatternCode* row = kPatternCodes; row->code; ++row) codes.AddString(row->text);
    codes.SetSelIndex(0);
    pattern.SetText(text_);
    const bool onlyWhenNeeded = flags_ && (*flags_ & 1);
    whenNeeded.SetCheck(onlyWhenNeeded ? BST_CHECKED : BST_UNCHECKED);
    always.SetCheck(onlyWhenNeeded ? BST_UNCHECKED : BST_CHECKED);
    UpdatePreview();
}

void TPatternDialog::BnInsertCode() {
    const int row = codes.GetSelIndex();
    if (row <= 0 || row >= static_cast<int>(sizeof kPatternCodes / sizeof kPatternCodes[0]) - 1)
        return;
    int start = 0, end = 0;
    pattern.GetSelection(start, end);
    pattern.SetSelection(end, end);  // the caret stays where the selection ended
    pattern.Insert(kPatternCodes[row].code);
    UpdatePreview();
}

void TPatternDialog::UpdatePreview() {
    if (!pattern.GetHandle() || !preview.GetHandle()) return;
    const std::string text = pattern.GetText().substr(0, 258);
    preview.SetText(FileNamePreview(text, always.IsChecked(), fileType_, TheNamingClock().LocalNow()));
}

void TPatternDialog::CmOk() {
    if (!CanClose()) return;
    text_ = pattern.GetText().substr(0, 259);
    if (flags_) {
        if (always.IsChecked())
            *flags_ &= ~1;
        else
            *flags_ |= 1;
    }
    CloseWindow(IDOK);
}
