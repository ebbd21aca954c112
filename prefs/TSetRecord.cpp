#include "prefs/TSetRecord.h"

#include "app/AppState.h"
#include "app/SettingsStore.h"

namespace {
constexpr char kSection[] = "Record";
constexpr long kMaxTalkOff = 9999;
}  // namespace

void TSetRecord::Load(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    long mode = store.SmallOr("RecordMode", 0);
    if (mode < 0 || mode > 10) mode = 0;
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
