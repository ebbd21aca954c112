#include "prefs/TSetVorbis.h"

#include "app/AppState.h"
#include "app/SettingsStore.h"
#include "prefs/EncoderStorage.h"

namespace {
constexpr char kSection[] = "Vorbis";
constexpr EncoderKeys kKeys = {"VorStereo", "VorSampleRate", "VorQ", "VorByteRate"};
constexpr EncoderValues kDefaults = {0, 44100, 4, 10750};
}  // namespace

void TSetVorbis::Load(HKEY key, const std::string& ini) {
    EncoderValues values =
        LoadEncoderSettings(SettingsStore::Choose(key, ini, kSection), kKeys, kDefaults);
    AppState.VorStereo = values.stereo;
    AppState.VorSampleRate = values.sampleRate;
    AppState.VorQ = values.quality;
    AppState.VorByteRate = values.byteRate;
}

void TSetVorbis::Save(HKEY key, const std::string& ini) {
    EncoderValues values = {AppState.VorStereo, AppState.VorSampleRate, AppState.VorQ,
                            AppState.VorByteRate};
    SaveEncoderSettings(SettingsStore::Choose(key, ini, kSection), kKeys, values);
}
