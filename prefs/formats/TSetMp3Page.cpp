// The window part of the MP3 page.
#include <algorithm>
#include <cstring>

#include "core/AppState.h"
#include "prefs/formats/TSetMp3.h"
#include "sound/AcmServices.h"
#include "resources/ResourceIds.h"

namespace {

constexpr AcmPageIds kIds = {IDD_SETMP3, IDC_MP3DEFAULT, IDC_MP3MONO, IDC_MP3STEREO,
                             IDC_MP3RATE, IDC_MP3BYTERATE, IDC_MP3FORMATLABEL, IDC_MP3FORMATS};

const HelpPair kHelp[] = {
    {IDC_MP3CHANGROUP, 0}, {IDC_MP3RATE, 0},     {IDC_MP3RATELABEL, IDC_MP3RATE},
    {IDC_MP3FORMATS, 0},   {IDC_MP3FORMATLABEL, IDC_MP3FORMATS},
    {IDC_MP3MONO, 118},    {IDC_MP3STEREO, 119}, {IDC_MP3BYTERATE, 0},
    {IDC_MP3BYTERATELABEL, IDC_MP3BYTERATE},     {IDC_MP3TAGS, 0},
    {IDC_MP3DEFAULT, IDC_MP3FORMATS},            {0, 0},
};

const char* const kRates[] = {"16000", "22050", "24000", "32000", "44100", "48000"};
constexpr DWORD kBitRates[] = {8,   16,  24,  32,  40,  48,  56,  64,  80,  96,  112, 128,
                               144, 160, 176, 192, 224, 256, 288, 320, 352, 384, 416, 448};
constexpr WORD kMpegTag = 0x0050;  // offered when the codecs are asked for suggestions

}  // namespace

const MsgEntry<TSetMp3> TSetMp3::kMessages[] = {
    OnClicked(IDC_MP3MONO, &TSetMp3::UpdateFormats),
    OnClicked(IDC_MP3STEREO, &TSetMp3::UpdateFormats),
    OnChild(IDC_MP3RATE, CBN_SELCHANGE, &TSetMp3::CbnRateChange),
    OnChild(IDC_MP3RATE, CBN_EDITCHANGE, &TSetMp3::CbnRateChange),
    OnChild(IDC_MP3FORMATS, CBN_SELCHANGE, &TSetMp3::UpdateByteRate),
    OnClicked(IDC_MP3DEFAULT, &TSetMp3::BnDefaultFormat),
};

TSetMp3::TSetMp3(int* defaultType, bool convertOnly)
    : AcmFormatPage(kIds, kHelp, defaultType, convertOnly), tags_(this, IDC_MP3TAGS) {}

bool TSetMp3::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || AcmFormatPage::Dispatch(m);
}

WAVEFORMATEX TSetMp3::FallbackFormat() {
    WAVEFORMATEX format{};
    format.wFormatTag = kFormatTagMp3;
    format.nChannels = 1;
    format.nSamplesPerSec = 16000;
    format.nAvgBytesPerSec = 8000;
    format.nBlockAlign = 1;
    format.wBitsPerSample = 16;
    return format;
}

bool TSetMp3::IsListedBitRate(DWORD kbitPerSecond) {
    return std::find(std::begin(kBitRates), std::end(kBitRates), kbitPerSecond) != std::end(kBitRates);
}

void TSetMp3::SetupWindow() {
    TPropertyPage::SetupWindow();
    SetupCommon(kRates, sizeof kRates / sizeof kRates[0], AppState.Mp3SampleRate, AppState.Mp3Stereo);
    tags_.SetCheck(AppState.Mp3EnableTag ? BST_CHECKED : BST_UNCHECKED);
    UpdateFormats();
}

void TSetMp3::BeginList() {
    formats_.ClearList();
    ClearTable();
}

void TSetMp3::BeforeEnumeration() {
    formats_.SetItemData(formats_.AddString(kPlaceholder), 0);
    formats_.SetSelIndex(0);
}

bool TSetMp3::Accepts(const WAVEFORMATEX& format) const {
    return format.wFormatTag == kFormatTagMp3 && IsListedBitRate(format.nAvgBytesPerSec * 8 / 1000);
}

void TSetMp3::Place(const std::string& text, int slot) {
    // The first format found replaces the placeholder.
    if (formats_.GetCount() == 1) {
        const int placeholder = formats_.FindString("WARNING: Current");
        if (placeholder >= 0) formats_.DeleteString(placeholder);
    }
    const int index = AddEntry(text, slot);
    if (index < 0) return;
    // The stored format is compared with its extra bytes, never past the slot.
    const size_t stored = std::min<size_t>(sizeof(WAVEFORMATEX) + AppState.Mp3Format->cbSize,
                                           size_t(kMaxFormatSize));
    if (slot == 1 || SlotEquals(slot, AppState.Mp3Format.get(), stored)) {
        formats_.SetSelIndex(index);
        PostSelChange();
    }
}

void TSetMp3::ListSuggested() {
    std::string name;
    const int slot = SuggestFormat(kMpegTag, name);
    if (!slot) return;
    const int index = AddEntry(name, slot);
    if (index < 0) return;
    formats_.SetSelIndex(index);
    PostSelChange();
}

void TSetMp3::UpdateByteRate() {
    const WAVEFORMATEX* chosen = SlotFormat(SelectedSlot());
    const DWORD bytesPerSecond = chosen ? chosen->nAvgBytesPerSec : 0;
    if (bytesPerSecond == 0)
        readout_.SetText("");
    else
        ShowMbPerMinute(bytesPerSecond);
}

int TSetMp3::Apply() {
    const int checked = TPropertyPage::Apply();
    if (checked != PSNRET_NOERROR) return checked;
    if (defaultType_) AppState.DefaultAudioFormat = *defaultType_;
    AppState.Mp3SampleRate = static_cast<int>(RateFromText(9));
    AppState.Mp3EnableTag = tags_.IsChecked();
    AppState.Mp3Stereo = stereo_.IsChecked();
    if (!StoreChosen(AppState.Mp3Format, AppState.Mp3FormatSize, AppState.Mp3ACMDriver,
                     AppState.Mp3ACMFormat)) {
        AppState.Mp3ACMDriver[0] = '\0';
        const WAVEFORMATEX fallback = FallbackFormat();
        std::memcpy(AppState.Mp3Format.bytes, &fallback, sizeof fallback);
    }
    ClearTable();
    formats_.ClearList();
    return checked;
}
