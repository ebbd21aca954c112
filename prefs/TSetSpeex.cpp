#include "prefs/TSetSpeex.h"

#include "app/AppState.h"
#include "app/SettingsStore.h"
#include "prefs/EncoderStorage.h"

namespace {
constexpr char kSection[] = "Speex";
constexpr EncoderKeys kKeys = {"SpxStereo", "SpxSampleRate", "SpxQ", "SpxByteRate"};
constexpr EncoderValues kDefaults = {0, 8000, 4, 2000};
}  // namespace

void TSetSpeex::Load(HKEY key, const std::string& ini) {
    EncoderValues values =
        LoadEncoderSettings(SettingsStore::Choose(key, ini, kSection), kKeys, kDefaults);
    AppState.SpxStereo = values.stereo;
    AppState.SpxSampleRate = values.sampleRate;
    AppState.SpxQ = values.quality;
    AppState.SpxByteRate = values.byteRate;
}

void TSetSpeex::Save(HKEY key, const std::string& ini) {
    EncoderValues values = {AppState.SpxStereo, AppState.SpxSampleRate, AppState.SpxQ,
                            AppState.SpxByteRate};
    SaveEncoderSettings(SettingsStore::Choose(key, ini, kSection), kKeys, values);
}
