#include "prefs/TSetPlayBack.h"

#include "app/AppState.h"
#include "app/SettingsStore.h"

namespace {
constexpr char kSection[] = "Play";
}

void TSetPlayBack::Load(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    long seconds = store.SmallOr("SoundByte", 2);
    AppState.SoundByte = seconds < 1 ? 1 : static_cast<int>(seconds);
}

void TSetPlayBack::Save(HKEY key, const std::string& ini) {
    SettingsStore::Choose(key, ini, kSection).SetSmall("SoundByte", AppState.SoundByte);
}
