#include "prefs/formats/TSetWave.h"

#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "audiofile/PcmFormat.h"
#include "prefs/formats/FormatStorage.h"

namespace {
constexpr char kSection[] = "Wave";
}

WAVEFORMATEX TSetWave::DefaultFormat() { return PcmFormat(1, 8000, 8); }

void TSetWave::Load(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    AppState.SampleRate = store.GetInt("SampleRate", 8000);
    AppState.Resolution = store.SmallOr("Resolution", 0) != 0;
    AppState.Stereo = store.SmallOr("Stereo", 0) != 0;
    store.GetString("ACMDriver", AppState.ACMDriver, "");
    store.GetString("ACMFormat", AppState.ACMFormat, "");
    AppState.ACMFormatTag = static_cast<WORD>(store.SmallOr("ACMFormatTag", 0));
    WAVEFORMATEX fallback = DefaultFormat();
    LoadFormatRecord(store, "WaveFormat", AppState.WaveFormat, AppState.WaveFormatSize, &fallback,
                     sizeof fallback);
}

void TSetWave::Save(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    if (store.UsesIni()) {
        store.SetInt("SampleRate", AppState.SampleRate);
        store.SetSmall("Resolution", AppState.Resolution);
        store.SetSmall("Stereo", AppState.Stereo);
        store.SetString("ACMDriver", AppState.ACMDriver);
        store.SetString("ACMFormat", AppState.ACMFormat);
        store.SetSmall("ACMFormatTag", AppState.ACMFormatTag);
        SaveFormatRecord(store, "WaveFormat", AppState.WaveFormat, AppState.WaveFormatSize);
        return;
    }
    store.SetSmall("Stereo", AppState.Stereo);
    store.SetInt("SampleRate", AppState.SampleRate);
    store.SetSmall("Resolution", AppState.Resolution);
    store.SetString("ACMDriver", AppState.ACMDriver);
    store.SetString("ACMFormat", AppState.ACMFormat);
    store.SetSmall("ACMFormatTag", AppState.ACMFormatTag);
    // Written for other programs that look at the rate; never read back.
    store.SetInt("AvgBytesPerSec", static_cast<long>(AppState.WaveFormat->nAvgBytesPerSec));
    SaveFormatRecord(store, "WaveFormat", AppState.WaveFormat, AppState.WaveFormatSize);
}
