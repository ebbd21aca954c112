// The window part of the Wave page.
#include <cstring>

#include "core/AppState.h"
#include "prefs/formats/TSetWave.h"
#include "resources/ResourceIds.h"

namespace {

constexpr AcmPageIds kIds = {IDD_SETWAVE, IDC_WAVEDEFAULT, IDC_WAVEMONO, IDC_WAVESTEREO,
                             IDC_WAVERATE, IDC_WAVEBYTERATE, IDC_WAVEFORMATLABEL, IDC_WAVEFORMATS};

const HelpPair kHelp[] = {
    {IDC_WAVE8BIT, 75},           {IDC_WAVE16BIT, 74},        {IDC_WAVERESGROUP, 0},
    {IDC_WAVECHANGROUP, 0},       {IDC_WAVERATE, 0},          {IDC_WAVERATELABEL, IDC_WAVERATE},
    {IDC_WAVEFORMATS, 0},         {IDC_WAVEFORMATLABEL, IDC_WAVEFORMATS},
    {IDC_WAVEMONO, 70},           {IDC_WAVESTEREO, 81},       {IDC_WAVEBYTERATE, 0},
    {IDC_WAVEBYTERATELABEL, IDC_WAVEBYTERATE},                {IDC_WAVEDEFAULT, 0},
    {0, 0},
};

const char* const kRates[] = {"8000", "11025", "22050", "44100"};
constexpr char kNoCompression[] = "No compression";

// The formats offered when the codecs are asked for suggestions instead of
// being enumerated: Microsoft ADPCM, IMA ADPCM, TrueSpeech, GSM 6.10.
constexpr WORD kSuggestedTags[] = {0x0002, 0x0011, 0x0022, 0x0031};

}  // namespace

const MsgEntry<TSetWave> TSetWave::kMessages[] = {
    OnClicked(IDC_WAVE8BIT, &TSetWave::UpdateFormats),
    OnClicked(IDC_WAVE16BIT, &TSetWave::UpdateFormats),
    OnClicked(IDC_WAVEMONO, &TSetWave::UpdateFormats),
    OnClicked(IDC_WAVESTEREO, &TSetWave::UpdateFormats),
    OnChild(IDC_WAVERATE, CBN_SELCHANGE, &TSetWave::CbnRateChange),
    OnChild(IDC_WAVERATE, CBN_EDITCHANGE, &TSetWave::CbnRateChange),
    OnChild(IDC_WAVEFORMATS, CBN_SELCHANGE, &TSetWave::UpdateByteRate),
    OnClicked(IDC_WAVEDEFAULT, &TSetWave::BnDefaultFormat),
};

TSetWave::TSetWave(int* defaultType, bool convertOnly)
    : AcmFormatPage(kIds, kHelp, defaultType, convertOnly),
      bits8_(this, IDC_WAVE8BIT),
      bits16_(this, IDC_WAVE16BIT) {
    AppState.SelectedFormatTag = AppState.ACMFormatTag;
}

bool TSetWave::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || AcmFormatPage::Dispatch(m);
}

void TSetWave::SetupWindow() {
    TPropertyPage::SetupWindow();
    SetupCommon(kRates, sizeof kRates / sizeof kRates[0], AppState.SampleRate, AppState.Stereo);
    (AppState.Resolution ? bits16_ : bits8_).Check();
    UpdateFormats();
}

void TSetWave::BeginList() {
    // The tag to mark again: the stored one at first, then the chosen one.
    if (formats_.GetCount() <= 0) {
        AppState.SelectedFormatTag = AppState.ACMFormatTag;
    } else if (const WAVEFORMATEX* chosen = SlotFormat(SelectedSlot())) {
        AppState.SelectedFormatTag = chosen->wFormatTag;
    } else {
        AppState.SelectedFormatTag = 0;
    }
    formats_.ClearList();
    ClearTable();
    formats_.SetItemData(formats_.AddString(kNoCompression), 0);
    formats_.SetSelIndex(0);
}

void TSetWave::Place(const std::string& text, int slot) {
    // A codec may offer the same format twice; the copy takes no slot.
    if (formats_.FindString(text) >= 0) return;
    const int index = AddEntry(text, slot);
    if (index < 0) return;
    if (SlotEquals(slot, AppState.WaveFormat.get(), sizeof(WAVEFORMATEX))) formats_.SetSelIndex(index);
    if (Scratch()->wFormatTag == AppState.SelectedFormatTag) PostSelChange();
}

void TSetWave::ListSuggested() {
    for (WORD tag : kSuggestedTags) {
        std::string name;
        const int slot = SuggestFormat(tag, name);
        if (!slot) continue;
        const int index = AddEntry(name, slot);
        if (index >= 0 && tag == AppState.SelectedFormatTag) {
            formats_.SetSelIndex(index);
            PostSelChange();
        }
    }
}

void TSetWave::UpdateByteRate() {
    DWORD bytesPerSecond = 0;
    const WAVEFORMATEX* chosen = AppState.CodecsAvailable ? SlotFormat(SelectedSlot()) : nullptr;
    if (chosen) {
        bytesPerSecond = chosen->nAvgBytesPerSec;
    } else {
        bytesPerSecond = RateFromText(9);
        if (bits16_.IsChecked()) bytesPerSecond *= 2;
        if (stereo_.IsChecked()) bytesPerSecond *= 2;
    }
    ShowMbPerMinute(bytesPerSecond);
}

int TSetWave::Apply() {
    const int checked = TPropertyPage::Apply();
    if (checked != PSNRET_NOERROR) return checked;
    AppState.SampleRate = static_cast<int>(RateFromText(9));
    AppState.Resolution = bits16_.IsChecked();
    AppState.Stereo = stereo_.IsChecked();
    if (defaultType_) AppState.DefaultAudioFormat = *defaultType_;
    const WAVEFORMATEX* chosen = AppState.CodecsAvailable ? SlotFormat(SelectedSlot()) : nullptr;
    if (chosen) AppState.ACMFormatTag = chosen->wFormatTag;
    if (!StoreChosen(AppState.WaveFormat, AppState.WaveFormatSize, AppState.ACMDriver, AppState.ACMFormat)) {
        // Plain PCM of what the controls show now, even when the list was
        // not rebuilt after the last change.
        UpdatePcmSource();
        AppState.ACMFormatTag = WAVE_FORMAT_PCM;
        AppState.ACMDriver[0] = '\0';
        std::memcpy(AppState.WaveFormat.bytes, &PcmSource(), sizeof(WAVEFORMATEX));
    }
    ClearTable();
    formats_.ClearList();
    return checked;
}
