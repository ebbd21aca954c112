#include "prefs/files/TSetFile.h"

#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "audiofile/FileNames.h"
#include "prefs/files/DefaultDirectory.h"
#include "prefs/files/FileLimitEstimate.h"

namespace {

constexpr char kSection[] = "File";

long InRangeOr0(long value, long low, long high) {
    return value >= low && value <= high ? value : 0;
}

// Numbers of the page: the same accepted ranges whichever store they came
// from, so a value no page control can show never reaches the recorder.
void LoadNumbers(const SettingsStore& store) {
    // The page offers 1 to 9999; a stored value beyond that is no limit a
    // user chose (and a negative one would never be reached).
    AppState.FileSize = ClampFileLimit(store.GetInt("FileSize", 20));
    AppState.FileDuration = ClampFileLimit(store.GetInt("FileDuration", 60));
    AppState.FileSizeSel = InRangeOr0(store.SmallOr("FileSizeSel", 0), 0, 1);
    AppState.FileAction = InRangeOr0(store.SmallOr("FileAction", 0), 0, 10);
    AppState.LHMode = InRangeOr0(store.SmallOr("LHMode", 0), 0, 256);
    AppState.AutoName = InRangeOr0(store.SmallOr("AutoName", 0), 0, 10) != 0;
    AppState.AutoPrompt = InRangeOr0(store.SmallOr("AutoPrompt", 0), 0, 10) != 0;
}

// A stored text that counts as given: in the registry any stored value, an
// empty one included; in an INI file an empty one reads as missing.
bool GetGivenText(const SettingsStore& store, const char* name, char (&text)[SettingsStore::kTextSize]) {
    return store.GetString(name, text) && (text[0] || !store.UsesIni());
}

void LoadDirectory(const SettingsStore& store) {
    char stored[SettingsStore::kTextSize] = {};
    std::string folder;
    if (GetGivenText(store, "DefaultDirectory", stored))
        folder = stored;
    else
        folder = store.UsesIni() ? FolderBesideProgram() : DiscoverRecordingFolder();
    folder = FullPath(folder);
    CopyTextField(AppState.DefaultDirectory, folder.c_str());
    if (!folder.empty()) SetCurrentDirectoryA(folder.c_str());
}

// Older versions kept a prefix and an optional date format instead of one
// pattern.
std::string PatternFromOlderSettings(const SettingsStore& store) {
    std::string pattern;
    if (!store.GetStdString("FilePrefix", pattern, "rec") || pattern.empty()) pattern = "rec";
    bool autoDate = store.SmallOr("AutoDate", 0) != 0;
    long dateFormat = store.SmallOr("DateFormat", 1);
    // An INI value out of range counts as the first format; the registry's
    // is taken as it is, and a format no version knew appends nothing.
    if (store.UsesIni() && (dateFormat < 1 || dateFormat > 11)) dateFormat = 1;
    if (autoDate) pattern += TSetFile::DatePattern(dateFormat);
    return pattern;
}

void LoadPattern(const SettingsStore& store) {
    char stored[SettingsStore::kTextSize] = {};
    if (GetGivenText(store, "ImprovedFilePrefix", stored)) {
        CopyTextField(AppState.ImprovedFilePrefix, stored);
        return;
    }
    CopyTextField(AppState.ImprovedFilePrefix, PatternFromOlderSettings(store).c_str());
}

}  // namespace

const char* TSetFile::DatePattern(long dateFormat) {
    static const char* const kPatterns[] = {
        "%Y%m%d",   "%y%m%d", "%b %d",         "%b %d %Y", "%b %d %Y %H%M",
        "%d %b",    "%d %b %Y", "%d %b %Y %H%M", "%y%d%m", "%Y%m%d",
    };
    return dateFormat >= 1 && dateFormat <= 10 ? kPatterns[dateFormat - 1] : "";
}

void TSetFile::Load(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    LoadNumbers(store);
    LoadDirectory(store);
    LoadPattern(store);
}

void TSetFile::Save(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    store.SetInt("FileSize", AppState.FileSize);
    store.SetInt("FileDuration", AppState.FileDuration);
    store.SetSmall("FileSizeSel", AppState.FileSizeSel);
    store.SetSmall("LHMode", AppState.LHMode);
    store.SetSmall("FileAction", AppState.FileAction);
    store.SetSmall("AutoName", AppState.AutoName);
    store.SetSmall("AutoPrompt", AppState.AutoPrompt);
    store.SetString("ImprovedFilePrefix", AppState.ImprovedFilePrefix);
    store.SetString("DefaultDirectory", AppState.DefaultDirectory);
}
