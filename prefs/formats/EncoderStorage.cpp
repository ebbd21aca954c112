#include "prefs/formats/EncoderStorage.h"

#include "core/SettingsStore.h"

namespace {

long ReadNumber(const SettingsStore& store, const char* name, long defaultValue) {
    char text[SettingsStore::kTextSize] = {};
    if (store.GetString(name, text)) return store.GetInt(name, defaultValue);
    long legacy = defaultValue;
    if (store.Key() && store.GetSmall(name, legacy)) return legacy;
    return defaultValue;
}

void Load(const SettingsStore& store, const EncoderPage::Number& number) {
    AppState.*number.field = static_cast<int>(ReadNumber(store, number.key, number.defaultValue));
}

}  // namespace

void LoadEncoderPage(const EncoderPage& page, HKEY key, const std::string& ini) {
    const SettingsStore store = SettingsStore::Choose(key, ini, page.section);
    Load(store, page.stereo);
    int& stereo = AppState.*page.stereo.field;
    stereo = stereo != 0 ? 1 : 0;
    Load(store, page.sampleRate);
    Load(store, page.quality);
    Load(store, page.byteRate);
}

void SaveEncoderPage(const EncoderPage& page, HKEY key, const std::string& ini) {
    const SettingsStore store = SettingsStore::Choose(key, ini, page.section);
    for (const EncoderPage::Number* number :
         {&page.stereo, &page.sampleRate, &page.quality, &page.byteRate})
        store.SetInt(number->key, AppState.*number->field);
}
