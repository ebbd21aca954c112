#include "prefs/TSetJoy.h"

#include "app/AppState.h"
#include "app/SettingsStore.h"

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
