#include "prefs/EncoderStorage.h"

namespace {

long ReadNumber(const SettingsStore& store, const char* name, long defaultValue) {
    char text[SettingsStore::kTextSize] = {};
    if (store.GetString(name, text)) return store.GetInt(name, defaultValue);
    long legacy = defaultValue;
    if (store.Key() && store.GetSmall(name, legacy)) return legacy;
    return defaultValue;
}

}  // namespace

EncoderValues LoadEncoderSettings(const SettingsStore& store, const EncoderKeys& keys,
                                  const EncoderValues& defaults) {
    EncoderValues values;
    values.stereo = ReadNumber(store, keys.stereo, defaults.stereo) != 0 ? 1 : 0;
    values.sampleRate = ReadNumber(store, keys.sampleRate, defaults.sampleRate);
    values.quality = ReadNumber(store, keys.quality, defaults.quality);
    values.byteRate = ReadNumber(store, keys.byteRate, defaults.byteRate);
    return values;
}

void SaveEncoderSettings(const SettingsStore& store, const EncoderKeys& keys,
                         const EncoderValues& values) {
    store.SetInt(keys.stereo, values.stereo);
    store.SetInt(keys.sampleRate, values.sampleRate);
    store.SetInt(keys.quality, values.quality);
    store.SetInt(keys.byteRate, values.byteRate);
}
