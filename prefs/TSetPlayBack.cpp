#include "prefs/TSetPlayBack.h"

#include "core/AppState.h"
#include "core/SettingsStore.h"
#include "prefs/PageText.h"
#include "resources/ResourceIds.h"

namespace {

constexpr char kSection[] = "Play";

const HelpPair kHelp[] = {
    {IDC_SOUNDBYTE, IDC_SOUNDBYTE},
    {IDC_SOUNDBYTELABEL, IDC_SOUNDBYTE},
    {IDC_SOUNDBYTEUNIT, IDC_SOUNDBYTE},
    {0, 0},
};

}  // namespace

TSetPlayBack::TSetPlayBack(HINSTANCE module)
    : TPropertyPage(IDD_SETPLAYBACK, std::string(), module), ContextHelpWin(kHelp), seconds_(this, IDC_SOUNDBYTE) {
    seconds_.SetValidator(std::make_unique<NumberFieldValidator>(0, 999));
}

bool TSetPlayBack::Dispatch(Message& m) { return DispatchContextHelp(m) || TPropertyPage::Dispatch(m); }

void TSetPlayBack::SetupWindow() {
    TPropertyPage::SetupWindow();
    seconds_.SetText(std::to_string(AppState.SoundByte));
}

int TSetPlayBack::Apply() {
    const int checked = TPropertyPage::Apply();
    if (checked != PSNRET_NOERROR) return checked;
    const int seconds = ReadDecimal(seconds_.GetText());
    AppState.SoundByte = seconds < 1 ? 1 : seconds;
    return checked;
}

void TSetPlayBack::Load(HKEY key, const std::string& ini) {
    SettingsStore store = SettingsStore::Choose(key, ini, kSection);
    long seconds = store.SmallOr("SoundByte", 2);
    AppState.SoundByte = seconds < 1 ? 1 : static_cast<int>(seconds);
}

void TSetPlayBack::Save(HKEY key, const std::string& ini) {
    SettingsStore::Choose(key, ini, kSection).SetSmall("SoundByte", AppState.SoundByte);
}
