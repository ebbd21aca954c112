#include "prefs/TSetKey.h"

#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "resources/ResourceIds.h"

namespace {

constexpr char kSection[] = "Key";

// A label shows its control's help.
const HelpPair kHelp[] = {
    {IDC_KEYPLAY, IDC_KEYPLAY},         {IDC_KEYPLAYLABEL, IDC_KEYPLAY},
    {IDC_KEYRECORD, IDC_KEYRECORD},     {IDC_KEYRECORDLABEL, IDC_KEYRECORD},
    {IDC_KEYACTIVATE, IDC_KEYACTIVATE}, {IDC_KEYACTIVATELABEL, IDC_KEYACTIVATE},
    {0, 0},
};

}  // namespace

TSetKey::TSetKey(HINSTANCE module)
    : TPropertyPage(IDD_SETKEY, std::string(), module),
      ContextHelpWin(kHelp, IDD_SETKEY),
      play_(this, IDC_KEYPLAY),
      record_(this, IDC_KEYRECORD),
      activate_(this, IDC_KEYACTIVATE) {}

bool TSetKey::Dispatch(Message& m) { return DispatchContextHelp(m) || TPropertyPage::Dispatch(m); }

void TSetKey::SetupWindow() {
    TPropertyPage::SetupWindow();
    TransferData(true);
}

void TSetKey::TransferData(bool toControls) {
    if (toControls) {
        play_.SetHotKey(AppState.KeyPlay);
        record_.SetHotKey(AppState.KeyRecord);
        activate_.SetHotKey(AppState.KeyActivate);
        return;
    }
    AppState.KeyPlay = play_.GetHotKey();
    AppState.KeyRecord = record_.GetHotKey();
    AppState.KeyActivate = activate_.GetHotKey();
}

int TSetKey::Apply() {
    const int checked = TPropertyPage::Apply();
    if (checked == PSNRET_NOERROR) TransferData(false);
    return checked;
}

void TSetKey::Load(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    AppState.KeyPlay = static_cast<WORD>(store.GetInt("KeyPlay", 0));
    AppState.KeyRecord = static_cast<WORD>(store.GetInt("KeyRecord", 0));
    AppState.KeyActivate = static_cast<WORD>(store.GetInt("KeyActivate", 0));
}

void TSetKey::Save(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    store.SetInt("KeyPlay", AppState.KeyPlay);
    store.SetInt("KeyRecord", AppState.KeyRecord);
    store.SetInt("KeyActivate", AppState.KeyActivate);
}
