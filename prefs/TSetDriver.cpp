#include "prefs/TSetDriver.h"

#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "sound/WaveDevices.h"
#include "resources/ResourceIds.h"

namespace {

constexpr char kSection[] = "Driver";
constexpr char kWaveMapper[] = "-1";
constexpr char kMapperEntry[] = "Wave Mapper";

const HelpPair kHelp[] = {
    {IDC_WAVEINLIST, IDC_WAVEINLIST},   {IDC_WAVEINLABEL, IDC_WAVEINLIST}, {1606, IDC_WAVEINLIST},
    {IDC_WAVEOUTLIST, IDC_WAVEOUTLIST}, {IDC_WAVEOUTLABEL, IDC_WAVEOUTLIST}, {0, 0},
};

void FillList(TComboBox& list, WaveDirection direction, const char* storedName) {
    list.ClearList();
    for (const std::string& name : WaveDeviceNames(direction)) list.AddString(name);
    list.SetSelIndex(0);
    const int entry = TSetDriver::EntryFor(list, storedName);
    if (entry >= 0) list.SetSelIndex(entry);
}

void SelectStored(TComboBox& list, const char* storedName) {
    const int entry = TSetDriver::EntryFor(list, storedName);
    if (entry >= 0) list.SetSelIndex(entry);
}

void StoreSelected(const TComboBox& list, char (&field)[kTextFieldSize]) {
    const int selected = list.GetSelIndex();
    if (selected < 0) return;
    CopyTextField(field, list.GetString(selected).substr(0, kTextFieldSize - 2).c_str());
}

}  // namespace

TSetDriver::TSetDriver(HINSTANCE module)
    : TPropertyPage("Driver", std::string(), module),
      ContextHelpWin(kHelp),
      outputs_(this, IDC_WAVEOUTLIST),
      inputs_(this, IDC_WAVEINLIST) {}

bool TSetDriver::Dispatch(Message& m) { return DispatchContextHelp(m) || TPropertyPage::Dispatch(m); }

int TSetDriver::EntryFor(const TComboBox& list, const std::string& storedName) {
    if (storedName == kWaveMapper) return list.FindString(kMapperEntry);
    if (storedName.empty()) return -1;
    // Exactly that name first: a prefix alone could pick an earlier device
    // whose name merely begins with the stored one.
    const int exact = list.FindStringExact(storedName);
    return exact >= 0 ? exact : list.FindString(storedName);
}

void TSetDriver::SetupWindow() {
    TPropertyPage::SetupWindow();
    FillList(outputs_, WaveDirection::Output, AppState.WaveOutDriver);
    FillList(inputs_, WaveDirection::Input, AppState.WaveInDriver);
    TransferData(true);
}

void TSetDriver::TransferData(bool toControls) {
    if (toControls) {
        SelectStored(outputs_, AppState.WaveOutDriver);
        SelectStored(inputs_, AppState.WaveInDriver);
        return;
    }
    StoreSelected(outputs_, AppState.WaveOutDriver);
    StoreSelected(inputs_, AppState.WaveInDriver);
}

int TSetDriver::Apply() {
    const int checked = TPropertyPage::Apply();
    if (checked == PSNRET_NOERROR) TransferData(false);
    return checked;
}

void TSetDriver::Load(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    store.GetString("WaveOutDriver", AppState.WaveOutDriver, kWaveMapper);
    store.GetString("WaveInDriver", AppState.WaveInDriver, kWaveMapper);
}

void TSetDriver::Save(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    store.SetString("WaveOutDriver", AppState.WaveOutDriver);
    store.SetString("WaveInDriver", AppState.WaveInDriver);
}
