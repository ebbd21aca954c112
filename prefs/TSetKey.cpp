#include "prefs/TSetKey.h"

#include "app/AppState.h"
#include "app/SettingsStore.h"

namespace {
constexpr char kSection[] = "Key";
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
