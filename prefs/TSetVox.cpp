#include "prefs/TSetVox.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

#include "core/AppState.h"
#include "core/SettingsStore.h"

namespace {

constexpr char kSection[] = "Vox";

int Clamp(long value, int low, int high) {
    return value < low ? low : value > high ? high : static_cast<int>(value);
}

// The discard time, with the whole-second key of older versions as fallback.
long LoadDiscardTenths(const SettingsStore& store) {
    if (store.UsesIni()) {
        long tenths = store.GetInt("VoxDiscardTimeTenths", -1);
        if (tenths < 0) tenths = store.GetInt("VoxDiscardTime", -1) * 10;
        return tenths;
    }
    long tenths = 0;
    if (store.GetSmall("VoxDiscardTimeTenths", tenths)) return tenths;
    long seconds = 0;
    if (store.GetSmall("VoxDiscardTime", seconds)) return seconds * 10;
    return 100;
}

}  // namespace

void TSetVox::Load(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    AppState.VoxHide = store.SmallOr("VoxHide", 0) != 0;
    AppState.VoxDisable = store.SmallOr("VoxDisable", 0) != 0;
    AppState.TalkOff2 = Clamp(store.SmallOr("TalkOff2", 1), 1, 120);
    AppState.Pretrigger = Clamp(store.SmallOr("Pretrigger", 0), 0, 60);
    AppState.VoxDiscard = store.SmallOr("VoxDiscard", 0) > 0;
    AppState.VoxDiscardTimeTenths = Clamp(LoadDiscardTenths(store), 10, 600);
    AppState.VoxFilter = store.SmallOr("VoxFilter", 0) > 0;
    AppState.VoxFilterTimeTenths = Clamp(store.SmallOr("VoxFilterTimeTenths", 0), 0, 30);
}

void TSetVox::Save(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    store.SetSmall("VoxHide", AppState.VoxHide);
    store.SetSmall("VoxDisable", AppState.VoxDisable);
    store.SetSmall("TalkOff2", AppState.TalkOff2);
    store.SetSmall("Pretrigger", AppState.Pretrigger);
    store.SetSmall("VoxDiscard", AppState.VoxDiscard);
    store.SetSmall("VoxDiscardTimeTenths", AppState.VoxDiscardTimeTenths);
    store.SetSmall("VoxFilter", AppState.VoxFilter);
    store.SetSmall("VoxFilterTimeTenths", AppState.VoxFilterTimeTenths);
}

std::string TSetVox::TenthsToText(int tenths) {
    char text[32];
    if (tenths % 10 != 0)
        std::snprintf(text, sizeof text, "%d.%1.1d", tenths / 10, std::abs(tenths % 10));
    else
        std::snprintf(text, sizeof text, "%d", tenths / 10);
    return text;
}

int TSetVox::TextToTenths(const char* text) {
    if (!text) return 0;
    char* end = nullptr;
    long whole = std::strtol(text, &end, 10);
    if (end == text) whole = 0;
    // Far beyond any field's range, and small enough that the tenths fit
    // in an int: a long run of digits clamps instead of overflowing.
    constexpr long kLargestWhole = 1000000;
    whole = std::clamp(whole, -kLargestWhole, kLargestWhole);
    int fraction = 0;
    // Only the first digit after the point counts: "1.25" is 1.2 seconds,
    // not 1 second and 25 tenths.
    if (*end == '.' && std::isdigit(static_cast<unsigned char>(end[1]))) fraction = end[1] - '0';
    return static_cast<int>(whole * 10 + (whole < 0 ? -fraction : fraction));
}
