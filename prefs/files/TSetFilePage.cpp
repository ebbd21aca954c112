// The window part of the File page.
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "core/TimePattern.h"
#include "framework/Validators.h"
#include "prefs/files/FileLimitEstimate.h"
#include "prefs/files/FileNamePreview.h"
#include "prefs/PageText.h"
#include "prefs/files/TDirPick.h"
#include "prefs/files/TPatternDialog.h"
#include "prefs/files/TSetFile.h"
#include "resources/ResourceIds.h"

namespace {

constexpr char kMinutes[] = "min";

long long AverageBytesOf(const FormatBuffer& format) {
    return format->nAvgBytesPerSec;
}

}  // namespace

const HelpPair TSetFile::kHelpTable[] = {
    {9, 28445},
    {IDC_FILEACTIONGROUP, 180},
    {IDC_FILESTOP, 64},
    {IDC_FILENOACTION, 72},
    {IDC_FILENEWFILE, 71},
    {IDC_FILELOOP, 102},
    {IDC_FILEESTIMATE, 24},
    {IDC_FILEESTIMATELABEL, 24},
    {IDC_FILELIMIT, 22},
    {IDC_FILELIMITLABEL, 22},
    {IDC_FILEUNIT, 22},
    {IDC_FILELIMITSPIN, 22},
    {161, 161},
    {185, 161},
    {IDC_FILEDIRLABEL, 199},
    {IDC_FILEDIR, 199},
    {IDC_FILEBROWSE, 200},
    {IDC_FILEAUTONAME, 194},
    {IDC_FILEPREVIEW, 19},
    {103, 19},
    {IDC_FILEPROMPT, 21},
    {IDC_FILEEDITPATTERN, 25802},
    {IDC_FILEPATTERNNAMING, 166},
    {IDC_PATTERNLABEL, 4201},
    {IDC_PATTERNEDIT, 4201},
    {IDC_PATTERNPREVIEW, 4203},
    {IDC_PATTERNINSERT, 4204},
    {IDC_PATTERNCODES, 4205},
    {IDC_PATTERNALWAYS, 4207},
    {IDC_PATTERNWHENNEEDED, 4209},
    {0, 0},
};

const MsgEntry<TSetFile> TSetFile::kMessages[] = {
    OnClicked(IDC_FILEBROWSE, &TSetFile::BnBrowse),
    OnClicked(IDC_FILEEDITPATTERN, &TSetFile::BnEditPattern),
    OnClicked(IDC_FILEPATTERNNAMING, &TSetFile::BnPatternNaming),
    OnClicked(IDC_FILEPROMPT, &TSetFile::BnPromptCategory),
    OnChild(IDC_FILELIMIT, EN_CHANGE, &TSetFile::UpdateEstimate),
    OnChild(IDC_FILEUNIT, CBN_SELCHANGE, &TSetFile::PostEstimateUpdate),
    OnMessage(WM_UPDATEESTIMATE, &TSetFile::EvUpdateEstimate),
};

TSetFile::TSetFile(const int* defaultType, const RecorderLink* recorder)
    : TPropertyPage(IDD_FILEPAGE, "File"),
      ContextHelpWin(kHelpTable),
      directory(this, IDC_FILEDIR),
      autoName(this, IDC_FILEAUTONAME),
      patternNaming(this, IDC_FILEPATTERNNAMING),
      promptCategory(this, IDC_FILEPROMPT),
      preview(this, IDC_FILEPREVIEW),
      limit(this, IDC_FILELIMIT, 8),
      limitSpin(this, IDC_FILELIMITSPIN),
      unit(this, IDC_FILEUNIT),
      estimateCaption(this, IDC_FILEESTIMATELABEL),
      estimate(this, IDC_FILEESTIMATE),
      noAction(this, IDC_FILENOACTION),
      stopAction(this, IDC_FILESTOP),
      loopAction(this, IDC_FILELOOP),
      newFileAction(this, IDC_FILENEWFILE),
      defaultType_(defaultType),
      recorder_(recorder) {
    limit.SetValidator(std::make_unique<NumberFieldValidator>(0, kMaxFileLimit));
}

bool TSetFile::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || DispatchContextHelp(m) || TPropertyPage::Dispatch(m);
}

void TSetFile::SetupWindow() {
    TPropertyPage::SetupWindow();
    TRadioButton& action = AppState.FileAction == 3   ? newFileAction
                           : AppState.FileAction == 2 ? stopAction
                           : AppState.FileAction == 1 ? loopAction
                                                      : noAction;
    action.Check();
    lhMode_ = AppState.LHMode;
    limitSpin.SetRange(kMinFileLimit, kMaxFileLimit);
    unit.AddString("MB");
    unit.AddString(kMinutes);
    const bool minutes = AppState.FileSizeSel != 0;
    const int value = ClampFileLimit(minutes ? AppState.FileDuration : AppState.FileSize);
    limit.SetText(std::to_string(value));
    unit.SetSelIndex(minutes ? 1 : 0);
    limitSpin.SetPos(value);
    UpdateEstimate();
    autoName.SetCheck(AppState.AutoName ? BST_CHECKED : BST_UNCHECKED);
    patternNaming.SetCheck(AppState.AutoPrompt ? BST_UNCHECKED : BST_CHECKED);
    promptCategory.SetCheck(AppState.AutoPrompt ? BST_CHECKED : BST_UNCHECKED);
    pattern_ = AppState.ImprovedFilePrefix;
    UpdatePreview();
    directory.SetText(AppState.DefaultDirectory);
}

int TSetFile::SetActive() {
    UpdatePreview();
    UpdateEstimate();
    return 0;
}

bool TSetFile::UnitIsMinutes() const {
    return _stricmp(unit.GetText().c_str(), kMinutes) == 0;
}

int TSetFile::Apply() {
    AppState.LHMode = lhMode_;
    AppState.FileAction = loopAction.IsChecked()      ? 1
                          : stopAction.IsChecked()    ? 2
                          : newFileAction.IsChecked() ? 3
                                                      : 0;
    const bool minutes = UnitIsMinutes();
    AppState.FileSizeSel = minutes ? 1 : 0;
    const int value = ClampFileLimit(std::strtoll(limit.GetText().substr(0, 8).c_str(), nullptr, 10));
    (minutes ? AppState.FileDuration : AppState.FileSize) = value;
    AppState.AutoName = autoName.IsChecked();
    AppState.AutoPrompt = promptCategory.IsChecked();
    CopyTextField(AppState.ImprovedFilePrefix, pattern_.c_str());
    CopyTextField(AppState.DefaultDirectory, directory.GetText().c_str());
    return TPropertyPage::Apply();
}

long long TSetFile::ByteRateOf(int fileType, uint32_t recorderRate) {
    if (fileType == 3) return AppState.VorByteRate;
    if (fileType == 1 && AppState.Mp3FormatSize > 0 && AverageBytesOf(AppState.Mp3Format) > 0)
        return AverageBytesOf(AppState.Mp3Format);
    if (fileType == 0 && AppState.WaveFormatSize > 0 && AverageBytesOf(AppState.WaveFormat) > 0)
        return AverageBytesOf(AppState.WaveFormat);
    if (recorderRate > 0) return recorderRate;
    return (AppState.Resolution ? 2LL : 1LL) * AppState.SampleRate;
}

void TSetFile::UpdateEstimate() {
    if (!limit.GetHandle() || !unit.GetHandle()) return;
    const long long value = std::strtoll(limit.GetText().c_str(), nullptr, 10);
    std::string caption, text;
    const uint32_t recorderRate = recorder_ ? recorder_->RecordingByteRate() : 0;
    if (!FileLimitEstimate(value, UnitIsMinutes(), ByteRateOf(*defaultType_, recorderRate), caption, text))
        return;
    estimateCaption.SetText(caption);
    estimate.SetText(text);
}

void TSetFile::PostEstimateUpdate() { PostMessage(WM_UPDATEESTIMATE); }

LRESULT TSetFile::EvUpdateEstimate(WPARAM, LPARAM) {
    UpdateEstimate();
    return 0;
}

void TSetFile::UpdatePreview() {
    if (!preview.GetHandle()) return;
    preview.SetText(FileNamePreview(pattern_, (lhMode_ & 1) == 0, *defaultType_,
                                    TheNamingClock().LocalNow()));
}

void TSetFile::BnPatternNaming() {
    patternNaming.Check();
    promptCategory.Uncheck();
}

void TSetFile::BnPromptCategory() {
    promptCategory.Check();
    patternNaming.Uncheck();
}

void TSetFile::BnBrowse() {
    char chosen[MAX_PATH] = {};
    FileDialogData data;
    data.initialDir = AppState.DefaultDirectory;
    data.SetFileName("foo.bar");
    TDirPick picker(this, chosen, data, IDD_DIRPICK, "Choose directory");
    if (picker.Execute() == IDOK) directory.SetText(chosen);
}

void TSetFile::BnEditPattern() {
    std::string edited = pattern_;
    TPatternDialog dialog(this, edited, *defaultType_, &lhMode_);
    if (dialog.Execute() != IDOK) return;
    pattern_ = edited;
    UpdatePreview();
}
