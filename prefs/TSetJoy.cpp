#include "prefs/TSetJoy.h"

#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "resources/ResourceIds.h"

namespace {

constexpr char kSection[] = "Joy";

struct JoyValue {
    const char* name;
    int AppStateValues::*field;
};

constexpr JoyValue kButtons[] = {
    {"JoyButton1", &AppStateValues::JoyButton1},
    {"JoyButton2", &AppStateValues::JoyButton2},
    {"JoyButton3", &AppStateValues::JoyButton3},
    {"JoyButton4", &AppStateValues::JoyButton4},
};

}  // namespace

// "NO": a switch that closes while pressed; "NC": one that opens.
const char* const TSetJoy::kActions[9] = {
    "No action",
    "Record NO (Normally Open)", "Play NO", "Rewind NO", "Fast-forward NO",
    "Record NC (Normally Closed)", "Play NC", "Rewind NC", "Fast-forward NC",
};

TSetJoy::TSetJoy(HINSTANCE module)
    : TPropertyPage("Switches", std::string(), module),
      enable_(this, IDC_JOYENABLE),
      buttons_{{this, IDC_JOYBUTTON1}, {this, IDC_JOYBUTTON2}, {this, IDC_JOYBUTTON3}, {this, IDC_JOYBUTTON4}} {}

void TSetJoy::SetupWindow() {
    TPropertyPage::SetupWindow();
    for (TComboBox& list : buttons_) {
        for (const char* action : kActions) list.AddString(action);
    }
    TransferData(true);
}

void TSetJoy::TransferData(bool toControls) {
    if (toControls) {
        enable_.SetCheck(AppState.JoyEnable ? BST_CHECKED : BST_UNCHECKED);
        for (size_t k = 0; k < 4; ++k) buttons_[k].SetSelIndex(AppState.*kButtons[k].field);
        return;
    }
    AppState.JoyEnable = enable_.IsChecked();
    for (size_t k = 0; k < 4; ++k) AppState.*kButtons[k].field = buttons_[k].GetSelIndex();
}

int TSetJoy::Apply() {
    const int checked = TPropertyPage::Apply();
    if (checked == PSNRET_NOERROR) TransferData(false);
    return checked;
}

void TSetJoy::Load(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    AppState.JoyEnable = store.SmallOr("JoyEnable", 0) != 0;
    for (const JoyValue& button : kButtons)
        AppState.*button.field = static_cast<int>(store.SmallOr(button.name, 0));
}

void TSetJoy::Save(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    if (store.UsesIni()) {
        // Written unsigned, as earlier versions did; reading wraps it back.
        store.SetUnsigned("JoyEnable", AppState.JoyEnable);
        for (const JoyValue& button : kButtons)
            store.SetUnsigned(button.name, static_cast<unsigned long>(AppState.*button.field));
        return;
    }
    store.SetSmall("JoyEnable", AppState.JoyEnable);
    for (const JoyValue& button : kButtons) store.SetSmall(button.name, AppState.*button.field);
}
