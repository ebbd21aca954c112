#include "prefs/TSetRecord.h"

#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "prefs/PageText.h"
#include "resources/ResourceIds.h"

namespace {

constexpr char kSection[] = "Record";
constexpr long kMaxTalkOff = 9999;

// The quiet time and its unit show the help of the mode they belong to.
const HelpPair kHelp[] = {
    {IDC_RECORDMODES, 0}, {IDC_MODEMANUAL, 0}, {IDC_MODEQUIET, 0}, {IDC_MODEECHO, 0},
    {IDC_TALKOFF, IDC_MODEQUIET}, {IDC_TALKOFFUNIT, IDC_MODEQUIET},
    {IDC_MODESTARTS, 0}, {IDC_MODESTOPS, 0}, {0, 0},
};

}  // namespace

TSetRecord::TSetRecord(HINSTANCE module)
    : TPropertyPage(IDD_SETRECORD, std::string(), module),
      ContextHelpWin(kHelp),
      manual_(this, IDC_MODEMANUAL),
      echo_(this, IDC_MODEECHO),
      quiet_(this, IDC_MODEQUIET),
      starts_(this, IDC_MODESTARTS),
      stops_(this, IDC_MODESTOPS),
      quietSeconds_(this, IDC_TALKOFF) {
    quietSeconds_.SetValidator(std::make_unique<NumberFieldValidator>(0, kMaxTalkOff));
}

bool TSetRecord::Dispatch(Message& m) { return DispatchContextHelp(m) || TPropertyPage::Dispatch(m); }

void TSetRecord::SetupWindow() {
    TPropertyPage::SetupWindow();
    // Modes this version does not know (a registry may hold up to 255)
    // show, and act, as Manual.
    TRadioButton* const byMode[] = {&manual_, &echo_, &quiet_, &starts_, &stops_};
    const int mode = AppState.RecordMode;
    byMode[mode >= 1 && mode <= 4 ? mode : 0]->Check();
    quietSeconds_.SetText(std::to_string(AppState.TalkOff));
}

int TSetRecord::Apply() {
    const int checked = TPropertyPage::Apply();
    if (checked != PSNRET_NOERROR) return checked;
    const TRadioButton* const byMode[] = {&manual_, &echo_, &quiet_, &starts_, &stops_};
    AppState.RecordMode = 0;
    for (int mode = 1; mode <= 4; ++mode) {
        if (byMode[mode]->IsChecked()) {
            AppState.RecordMode = mode;
            break;
        }
    }
    const int seconds = ReadDecimal(quietSeconds_.GetText());
    AppState.TalkOff = seconds < 1 ? 1 : seconds > kMaxTalkOff ? kMaxTalkOff : seconds;
    return checked;
}

void TSetRecord::Load(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    long mode = store.SmallOr("RecordMode", 0);
    // The registry keeps one byte, taken as it is: a mode this version does
    // not know acts as Manual. An INI file's number beyond the known range
    // reads as Manual at once.
    const long highest = store.UsesIni() ? 10 : 255;
    if (mode < 0 || mode > highest) mode = 0;
    AppState.RecordMode = static_cast<int>(mode);

    long seconds = 1;
    if (!store.GetLong("TalkOff", seconds)) seconds = 1;
    // The registry holds it unsigned: a negative number there is a huge one.
    if (!store.UsesIni() && seconds < 0) seconds = kMaxTalkOff;
    AppState.TalkOff = seconds < 1 ? 1 : seconds > kMaxTalkOff ? kMaxTalkOff : seconds;
}

void TSetRecord::Save(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    store.SetSmall("RecordMode", AppState.RecordMode);
    store.SetLong("TalkOff", AppState.TalkOff);
}
