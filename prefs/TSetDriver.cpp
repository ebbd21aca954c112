#include "prefs/TSetDriver.h"

#include "app/AppState.h"
#include "app/SettingsStore.h"

namespace {
constexpr char kSection[] = "Driver";
constexpr char kWaveMapper[] = "-1";
}  // namespace

void TSetDriver::Load(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    store.GetString("WaveOutDriver", AppState.WaveOutDriver, kWaveMapper);
    store.GetString("WaveInDriver", AppState.WaveInDriver, kWaveMapper);
}

void TSetDriver::Save(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    store.SetString("WaveOutDriver", AppState.WaveOutDriver);
    store.SetString("WaveInDriver", AppState.WaveInDriver);
}
