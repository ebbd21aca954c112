#include "prefs/formats/TSetMp3.h"

#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "audiofile/Mp3File.h"
#include "prefs/formats/FormatStorage.h"

namespace {

constexpr char kSection[] = "Mp3";

// File-type codes of new recordings: WAV, MP3, WMV, Ogg Vorbis, Speex.
constexpr long kLastFileType = 4;

void SaveRegistry(const SettingsStore& store) {
    store.SetSmall("Mp3Stereo", AppState.Mp3Stereo);
    store.SetInt("Mp3SampleRate", AppState.Mp3SampleRate);
    store.SetString("Mp3ACMDriver", AppState.Mp3ACMDriver);
    store.SetString("Mp3ACMFormat", AppState.Mp3ACMFormat);
    // Written for other programs that look at the rate; never read back.
    store.SetInt("Mp3AvgBytesPerSec", static_cast<long>(AppState.Mp3Format->nAvgBytesPerSec));
    SaveFormatRecord(store, "Mp3Format", AppState.Mp3Format, AppState.Mp3FormatSize);
    store.SetSmall("DefaultAudioFormat", AppState.DefaultAudioFormat);
    store.SetSmall("Mp3EnableTag", AppState.Mp3EnableTag);
}

void SaveIni(const SettingsStore& store) {
    store.SetInt("DefaultAudioFormat", AppState.DefaultAudioFormat);
    store.SetInt("Mp3EnableTag", AppState.Mp3EnableTag);
    store.SetInt("Mp3SampleRate", AppState.Mp3SampleRate);
    store.SetInt("Mp3Stereo", AppState.Mp3Stereo);
    store.SetString("Mp3ACMDriver", AppState.Mp3ACMDriver);
    store.SetString("Mp3ACMFormat", AppState.Mp3ACMFormat);
    SaveFormatRecord(store, "Mp3Format", AppState.Mp3Format, AppState.Mp3FormatSize);
}

}  // namespace

MPEGLAYER3WAVEFORMAT TSetMp3::DefaultFormat() {
    MPEGLAYER3WAVEFORMAT format{};
    format.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
    format.wfx.nChannels = 1;
    format.wfx.nSamplesPerSec = 16000;
    format.wfx.nAvgBytesPerSec = 4000;
    format.wfx.nBlockAlign = 1;
    format.wfx.wBitsPerSample = 0;
    format.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
    format.wID = MPEGLAYER3_ID_MPEG;
    format.fdwFlags = MPEGLAYER3_FLAG_PADDING_OFF;
    format.nBlockSize = 144;
    format.nFramesPerBlock = 1;
    format.nCodecDelay = 1393;
    return format;
}

void TSetMp3::Load(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    AppState.Mp3SampleRate = store.GetInt("Mp3SampleRate", 16000);
    AppState.Mp3Stereo = store.SmallOr("Mp3Stereo", 0) != 0;
    store.GetString("Mp3ACMDriver", AppState.Mp3ACMDriver, "");
    store.GetString("Mp3ACMFormat", AppState.Mp3ACMFormat, "");
    MPEGLAYER3WAVEFORMAT fallback = DefaultFormat();
    LoadFormatRecord(store, "Mp3Format", AppState.Mp3Format, AppState.Mp3FormatSize, &fallback,
                     sizeof fallback);
    // A file type the program does not know would leave new recordings
    // without a file class: such a value means WAV.
    long fileType = store.SmallOr("DefaultAudioFormat", 0);
    AppState.DefaultAudioFormat = fileType >= 0 && fileType <= kLastFileType ? fileType : 0;
    AppState.Mp3EnableTag = store.SmallOr("Mp3EnableTag", 1) != 0;
    Mp3File::EnableTag(AppState.Mp3EnableTag);
}

void TSetMp3::Save(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    if (store.UsesIni())
        SaveIni(store);
    else
        SaveRegistry(store);
}
