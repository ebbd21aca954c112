// The Vox page's window: its controls, the tenths fields' own stepping and
// the transfer to and from AppState.
#include "prefs/TSetVox.h"

#include "core/AppState.h"
#include "prefs/PageText.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kSilenceMin = 1, kSilenceMax = 120;
constexpr int kPretriggerMin = 0, kPretriggerMax = 60;
constexpr int kDiscardMin = 10, kDiscardMax = 600;
constexpr int kFilterMin = 0, kFilterMax = 30;
// Above this the discard time steps, and is kept, in whole seconds.
constexpr int kDiscardFineLimit = 20;

// A label shows the help of the field it names.
const HelpPair kHelp[] = {
    {IDC_VOXHIDE, 0},
    {IDC_VOXDISABLE, 0},
    {IDC_TALKOFF2, 0},
    {IDC_TALKOFF2LABEL, IDC_TALKOFF2},
    {IDC_TALKOFF2SPIN, IDC_TALKOFF2},
    {IDC_PRETRIGGER, 0},
    {IDC_PRETRIGGERLABEL, IDC_PRETRIGGER},
    {IDC_PRETRIGGERNOTE, IDC_PRETRIGGER},
    {IDC_PRETRIGGERSPIN, IDC_PRETRIGGER},
    {IDC_VOXDISCARD, 0},
    {IDC_DISCARDTIME, IDC_VOXDISCARD},
    {IDC_DISCARDLABEL, IDC_VOXDISCARD},
    {IDC_DISCARDSPIN, IDC_VOXDISCARD},
    {IDC_VOXFILTER, 0},
    {IDC_FILTERTIME, IDC_VOXFILTER},
    {IDC_FILTERLABEL, IDC_VOXFILTER},
    {IDC_FILTERSPIN, IDC_VOXFILTER},
    {0, 0},
};

int Clamp(int value, int low, int high) { return value < low ? low : value > high ? high : value; }

int Check(bool on) { return on ? BST_CHECKED : BST_UNCHECKED; }

}  // namespace

const MsgEntry<TSetVox> TSetVox::kMessages[] = {
    OnNotify(IDC_FILTERSPIN, UDN_DELTAPOS, &TSetVox::UdnFilterDelta),
    OnNotify(IDC_DISCARDSPIN, UDN_DELTAPOS, &TSetVox::UdnDiscardDelta),
};

TSetVox::TSetVox(HINSTANCE module)
    : TPropertyPage(IDD_SETVOX, std::string(), module),
      ContextHelpWin(kHelp),
      hide_(this, IDC_VOXHIDE),
      disable_(this, IDC_VOXDISABLE),
      discard_(this, IDC_VOXDISCARD),
      filter_(this, IDC_VOXFILTER),
      silence_(this, IDC_TALKOFF2),
      pretrigger_(this, IDC_PRETRIGGER),
      discardTime_(this, IDC_DISCARDTIME),
      filterTime_(this, IDC_FILTERTIME),
      silenceSpin_(this, IDC_TALKOFF2SPIN),
      pretriggerSpin_(this, IDC_PRETRIGGERSPIN),
      discardSpin_(this, IDC_DISCARDSPIN),
      filterSpin_(this, IDC_FILTERSPIN) {}

bool TSetVox::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || DispatchContextHelp(m) || TPropertyPage::Dispatch(m);
}

int TSetVox::StepFilterTenths(int tenths, int step) { return Clamp(tenths + step, kFilterMin, kFilterMax); }

int TSetVox::StepDiscardTenths(int tenths, int step) {
    const bool wholeSeconds = tenths > kDiscardFineLimit || (tenths == kDiscardFineLimit && step > 0);
    int next = Clamp(wholeSeconds ? tenths + step * 10 : tenths + step, kDiscardMin, kDiscardMax);
    if (next > kDiscardFineLimit) next -= next % 10;
    return next;
}

void TSetVox::SetupWindow() {
    TPropertyPage::SetupWindow();
    silenceSpin_.SetRange(kSilenceMin, kSilenceMax);
    pretriggerSpin_.SetRange(kPretriggerMin, kPretriggerMax);
    discardSpin_.SetRange(kDiscardMin, kDiscardMax);
    filterSpin_.SetRange(kFilterMin, kFilterMax);
    TransferData(true);
}

void TSetVox::TransferData(bool toControls) {
    if (toControls) {
        hide_.SetCheck(Check(AppState.VoxHide));
        disable_.SetCheck(Check(AppState.VoxDisable));
        discard_.SetCheck(Check(AppState.VoxDiscard));
        filter_.SetCheck(Check(AppState.VoxFilter));
        silence_.SetText(std::to_string(AppState.TalkOff2));
        pretrigger_.SetText(std::to_string(AppState.Pretrigger));
        // The seconds up-downs start where their fields stand.
        silenceSpin_.SetPos(AppState.TalkOff2);
        pretriggerSpin_.SetPos(AppState.Pretrigger);
        discardTime_.SetText(TenthsToText(AppState.VoxDiscardTimeTenths));
        filterTime_.SetText(TenthsToText(AppState.VoxFilterTimeTenths));
        return;
    }
    AppState.VoxHide = hide_.IsChecked();
    AppState.VoxDisable = disable_.IsChecked();
    AppState.VoxDiscard = discard_.IsChecked();
    AppState.VoxFilter = filter_.IsChecked();
    AppState.TalkOff2 = Clamp(ReadDecimal(silence_.GetText()), kSilenceMin, kSilenceMax);
    AppState.Pretrigger = Clamp(ReadDecimal(pretrigger_.GetText()), kPretriggerMin, kPretriggerMax);
    AppState.VoxDiscardTimeTenths =
        Clamp(TextToTenths(discardTime_.GetText().c_str()), kDiscardMin, kDiscardMax);
    AppState.VoxFilterTimeTenths = Clamp(TextToTenths(filterTime_.GetText().c_str()), kFilterMin, kFilterMax);
}

int TSetVox::Apply() {
    const int checked = TPropertyPage::Apply();
    if (checked == PSNRET_NOERROR) TransferData(false);
    return checked;
}

// Both tenths up-downs write the field themselves and refuse the control's
// own change (its position means nothing here).
LRESULT TSetVox::UdnFilterDelta(NMHDR& header) {
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    const int now = TextToTenths(filterTime_.GetText().c_str());
    filterTime_.SetText(TenthsToText(StepFilterTenths(now, change.iDelta)));
    return TRUE;
}

LRESULT TSetVox::UdnDiscardDelta(NMHDR& header) {
    const auto& change = reinterpret_cast<const NMUPDOWN&>(header);
    const int now = TextToTenths(discardTime_.GetText().c_str());
    discardTime_.SetText(TenthsToText(StepDiscardTenths(now, change.iDelta)));
    return TRUE;
}
