#include "prefs/formats/AcmFormatPage.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/PrivateMessages.h"
#include "prefs/PageText.h"
#include "sound/AcmCodecs.h"
#include "resources/ResourceIds.h"

namespace {

constexpr size_t kBaseBytes = kWaveFormatBaseBytes;  // 18
constexpr char kNoCodecs[] = "<Audio Compression not available>";
constexpr DWORD kConvertFlags =
    ACM_FORMATENUMF_CONVERT | ACM_FORMATENUMF_NSAMPLESPERSEC | ACM_FORMATENUMF_NCHANNELS;
constexpr DWORD kInputFlags =
    ACM_FORMATENUMF_INPUT | ACM_FORMATENUMF_NSAMPLESPERSEC | ACM_FORMATENUMF_NCHANNELS;

// Asking every codec about its formats takes seconds on the window's
// thread. A recording going on meanwhile would get none of its buffers
// back to lend again, and the device would drop what it hears: between
// the codecs' answers the buffers it has filled are taken back.
void LetTheRecordingGoOn() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, MM_WIM_DATA, MM_WIM_DATA, PM_REMOVE)) DispatchMessageA(&msg);
}

WORD TagOf(const BYTE* format) {
    WORD tag = 0;
    std::memcpy(&tag, format, sizeof tag);
    return tag;
}

// The manager's text is a fixed array: never read past it.
template <size_t N>
std::string Bounded(const char (&text)[N]) {
    return std::string(text, std::find(text, text + N, '\0'));
}

}  // namespace

const MsgEntry<AcmFormatPage> AcmFormatPage::kMessages[] = {
    OnMessage(WM_DEFERREDSELCHANGE, &AcmFormatPage::EvDeferredSelChange),
    OnMessage(WM_DEFERREDUPDATEFORMATS, &AcmFormatPage::EvDeferredUpdateFormats),
};

AcmFormatPage::AcmFormatPage(const AcmPageIds& ids, const HelpPair* help, int* defaultType,
                             bool convertOnly)
    : TPropertyPage(ids.dialog),
      ContextHelpWin(help),
      ids_(ids),
      defaultType_(defaultType),
      convertOnly_(convertOnly),
      defaultBox_(this, ids.defaultBox),
      mono_(this, ids.mono),
      stereo_(this, ids.stereo),
      rate_(this, ids.rate, 30),
      readout_(this, ids.readout, 30),
      formatLabel_(this, ids.formatLabel),
      formats_(this, ids.formats),
      // A failed question gives 18: no codec is then told of room it lacks.
      slotSize_(static_cast<int>(LargestFormatBytes(AppState.CodecsAvailable))) {
    template_.assign(size_t(slotSize_), 0);
    scratch_.assign(size_t(slotSize_), 0);
    table_.assign(size_t(kSlots) * size_t(slotSize_), 0);
}

AcmFormatPage::~AcmFormatPage() { EndListing(); }

bool AcmFormatPage::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || DispatchContextHelp(m) || TPropertyPage::Dispatch(m);
}

void AcmFormatPage::SetupCommon(const char* const* rates, size_t rateCount, int sampleRate,
                                bool stereo) {
    for (size_t i = 0; i < rateCount; ++i) rate_.AddString(rates[i]);
    rate_.SetText(std::to_string(sampleRate));
    (stereo ? stereo_ : mono_).Check();
    if (!defaultType_) defaultBox_.Show(SW_HIDE);
    if (!AppState.CodecsAvailable) {
        formatLabel_.SetText(kNoCodecs);
        formats_.Show(SW_HIDE);
    }
}

int AcmFormatPage::SetActive() {
    // Another format page may have changed the shared choice.
    if (defaultType_) defaultBox_.SetCheck(DefaultChecked(*defaultType_) ? BST_CHECKED : BST_UNCHECKED);
    return 0;
}

void AcmFormatPage::BnDefaultFormat() {
    if (defaultType_) *defaultType_ = DefaultChoiceFor(defaultBox_.IsChecked());
}

DWORD AcmFormatPage::RateFromText(size_t maxChars) const {
    const int rate = ReadDecimal(rate_.GetText().substr(0, maxChars));
    return rate > 0 ? static_cast<DWORD>(rate) : 0;
}

bool AcmFormatPage::CanClose() {
    const DWORD rate = RateFromText(9);
    if (rate < 1 || rate > MaxSampleRate()) {
        Error(IDS_RATEOUTOFBOUNDS, MB_ICONHAND);
        return false;
    }
    return TPropertyPage::CanClose();
}

void AcmFormatPage::ShowMbPerMinute(DWORD bytesPerSecond) {
    char text[64];
    std::snprintf(text, sizeof text, "%.3f MB/min",
                  static_cast<double>(static_cast<float>(bytesPerSecond) * 60.0f / 1048576.0f));
    readout_.SetText(text);
}

void AcmFormatPage::UpdatePcmSource() {
    const WORD channels = stereo_.IsChecked() ? 2 : 1;
    const WORD bits = PcmBits();
    pcmSource_ = WAVEFORMATEX{};
    pcmSource_.wFormatTag = WAVE_FORMAT_PCM;
    pcmSource_.nChannels = channels;
    pcmSource_.nSamplesPerSec = RateFromText(19);
    pcmSource_.wBitsPerSample = bits;
    pcmSource_.nBlockAlign = static_cast<WORD>(channels * bits / 8);
    pcmSource_.nAvgBytesPerSec = pcmSource_.nBlockAlign * pcmSource_.nSamplesPerSec;
    pcmSource_.cbSize = 0;
    std::fill(template_.begin(), template_.end(), BYTE{0});
    std::memcpy(template_.data(), &pcmSource_, kBaseBytes);
}

void AcmFormatPage::ClearTable() { std::fill(table_.begin(), table_.end(), BYTE{0}); }

void AcmFormatPage::UpdateFormats() {
    if (!AppState.CodecsAvailable) {
        UpdatePcmSource();
        UpdateByteRate();
        return;
    }
    BeginList();
    UpdateByteRate();
    UpdatePcmSource();
    DWORD largest = 0;
    const bool sized = Acm().Metrics(nullptr, ACM_METRIC_MAX_SIZE_FORMAT, largest) == MMSYSERR_NOERROR;
    // Without the size the codecs could write past the template: no
    // enumeration then.
    if (!sized) ShowText("acmmetrics fail\n(updateformats)");
    if (AppState.ForceFormatSuggest) {
        ListSuggested();
        return;
    }
    BeforeEnumeration();
    if (sized) Enumerate(std::min<DWORD>(largest, DWORD(slotSize_)));
    EndListing();
}

AcmFormatPage::ListingDriver& AcmFormatPage::DriverOfListing(HACMDRIVERID driverId) {
    const auto known = listing_.find(driverId);
    if (known != listing_.end()) return known->second;
    ListingDriver& driver = listing_[driverId];
    if (Acm().DriverOpen(driver.handle, driverId) != MMSYSERR_NOERROR) driver.handle = nullptr;
    return driver;
}

void AcmFormatPage::EndListing() {
    for (auto& entry : listing_) {
        if (entry.second.handle) (void)Acm().DriverClose(entry.second.handle);
    }
    listing_.clear();
    offeredBy_.clear();
}

void AcmFormatPage::Enumerate(DWORD bufferBytes) {
    ACMFORMATDETAILSA details{};
    const DWORD flags = convertOnly_ ? kConvertFlags : kInputFlags;
    const AcmFormatVisitor visit = [this](HACMDRIVERID id, const ACMFORMATDETAILSA& found, DWORD support) {
        return FormatEnumCallback(id, found, support, this);
    };
    // The manager writes each format it finds into the template: the PCM
    // filter is laid down again before every enumeration.
    auto prepare = [&] {
        details = ACMFORMATDETAILSA{};
        details.cbStruct = sizeof details;
        details.pwfx = reinterpret_cast<LPWAVEFORMATEX>(template_.data());
        details.cbwfx = bufferBytes;
        std::fill(template_.begin(), template_.end(), BYTE{0});
        std::memcpy(template_.data(), &pcmSource_, kBaseBytes);
    };
    prepare();
    const MMRESULT rc = Acm().FormatEnum(nullptr, details, visit, flags);
    if (rc == MMSYSERR_INVALFLAG) ShowText("acmformatenum flag failure\n(updateformats)");
    if (rc == MMSYSERR_INVALPARAM) ShowText("acmformatenum param failure\n(updateformats)");
    // The drivers that offer MP3 once more, each on its own; one whose
    // formats came already would only offer them a second time.
    for (const CodecDriverRecord& record : AppState.CodecDriverList) {
        LetTheRecordingGoOn();
        if (offeredBy_.count(record.driverId)) continue;
        const HACMDRIVER driver = DriverOfListing(record.driverId).handle;
        if (!driver) continue;
        prepare();
        (void)Acm().FormatEnum(driver, details, visit, flags);
    }
}

bool AcmFormatPage::FormatEnumCallback(HACMDRIVERID driverId, const ACMFORMATDETAILSA& details,
                                       DWORD support, AcmFormatPage* page) {
    if (page) page->OfferFormat(driverId, details, support);
    return true;
}

void AcmFormatPage::OfferFormat(HACMDRIVERID driverId, const ACMFORMATDETAILSA& details, DWORD support) {
    LetTheRecordingGoOn();
    if (!driverId) return;
    offeredBy_.insert(driverId);
    ListingDriver& driver = DriverOfListing(driverId);
    if (!driver.described) {
        ACMDRIVERDETAILSA about{};
        about.cbStruct = sizeof about;
        driver.described = Acm().DriverDetails(driverId, about) == MMSYSERR_NOERROR;
        if (!driver.described) return;
    }
    if (!details.pwfx || details.cbwfx <= kBaseBytes || details.cbStruct <= 24) return;
    if (!(support & ACMDRIVERDETAILS_SUPPORTF_CODEC)) return;
    const std::string formatName = Bounded(details.szFormat);
    if (formatName.size() <= 4 || !Accepts(*details.pwfx)) return;
    // Past the last slot a format would have nowhere to go: leave it out
    // rather than list an entry that stores something else.
    const int slot = FirstFreeSlot();
    if (slot == kNoFreeSlot) return;

    std::fill(scratch_.begin(), scratch_.end(), BYTE{0});
    std::memcpy(scratch_.data(), details.pwfx, std::min<size_t>(details.cbwfx, scratch_.size()));

    const WORD tag = Scratch()->wFormatTag;
    auto named = driver.tagNames.find(tag);
    if (named == driver.tagNames.end()) {
        std::string name;
        // Any failure: there is no name to show.
        if (FormatTagName(driver.handle, tag, name) != MMSYSERR_NOERROR) return;
        named = driver.tagNames.emplace(tag, name).first;
    }

    // Asked of the format's own driver first; asking every driver opens
    // each of them again.
    if (convertOnly_) {
        HACMSTREAM query = nullptr;
        const bool converts =
            (driver.handle && Acm().StreamOpen(query, driver.handle, pcmSource_, *Scratch(),
                                               ACM_STREAMOPENF_QUERY) == MMSYSERR_NOERROR) ||
            Acm().StreamOpen(query, nullptr, pcmSource_, *Scratch(), ACM_STREAMOPENF_QUERY) == MMSYSERR_NOERROR;
        if (!converts) return;
    }
    Place(named->second + "  " + formatName, slot);
}

int AcmFormatPage::FirstFreeSlot() const {
    for (int slot = 1; slot < kSlots; ++slot) {
        if (TagOf(Slot(slot)) == 0) return slot;
    }
    return kNoFreeSlot;
}

int AcmFormatPage::AddEntry(const std::string& text, int slot) {
    const int index = formats_.AddString(text);
    if (index < 0) return index;
    formats_.SetItemData(index, slot);
    if (slot >= 1 && slot < kSlots) std::memcpy(Slot(slot), scratch_.data(), size_t(slotSize_));
    return index;
}

int AcmFormatPage::SuggestFormat(WORD tag, std::string& tagName) {
    if (FormatTagName(nullptr, tag, tagName) != MMSYSERR_NOERROR) return 0;
    std::fill(template_.begin(), template_.end(), BYTE{0});
    std::memcpy(template_.data(), &pcmSource_, kBaseBytes);
    auto* wanted = reinterpret_cast<WAVEFORMATEX*>(template_.data());
    wanted->wFormatTag = tag;
    const DWORD flags = ACM_FORMATSUGGESTF_WFORMATTAG | ACM_FORMATSUGGESTF_NCHANNELS;
    if (Acm().FormatSuggest(nullptr, pcmSource_, wanted, DWORD(slotSize_), flags) != MMSYSERR_NOERROR)
        return 0;
    const int slot = FirstFreeSlot();
    if (slot == kNoFreeSlot) return 0;
    std::memcpy(scratch_.data(), template_.data(), size_t(slotSize_));
    return slot;
}

int AcmFormatPage::SelectedSlot() const {
    const int index = formats_.GetSelIndex();
    if (index < 0) return 0;
    const LPARAM slot = formats_.GetItemData(index);
    return slot >= 1 && slot < kSlots ? static_cast<int>(slot) : 0;
}

const WAVEFORMATEX* AcmFormatPage::SlotFormat(int slot) const {
    if (slot < 1 || slot >= kSlots) return nullptr;
    return reinterpret_cast<const WAVEFORMATEX*>(Slot(slot));
}

size_t AcmFormatPage::SlotRecordBytes(int slot) const {
    const WAVEFORMATEX* format = SlotFormat(slot);
    if (!format) return 0;
    return std::min<size_t>(kBaseBytes + format->cbSize, size_t(slotSize_));
}

bool AcmFormatPage::SlotEquals(int slot, const WAVEFORMATEX* format, size_t n) const {
    if (!SlotFormat(slot) || !format) return false;
    return std::memcmp(Slot(slot), format, std::min(n, size_t(slotSize_))) == 0;
}

bool AcmFormatPage::StoreChosen(FormatBuffer& format, int formatSize, char (&tagName)[kTextFieldSize],
                                char (&formatName)[kTextFieldSize]) {
    const int slot = SelectedSlot();
    if (!AppState.CodecsAvailable || !slot) return false;
    size_t bytes = SlotRecordBytes(slot);
    if (formatSize > 0) bytes = std::min(bytes, size_t(formatSize));
    std::memcpy(format.bytes, Slot(slot), std::min(bytes, size_t(kMaxFormatSize)));
    SplitEntry(formats_.GetString(formats_.GetSelIndex()).substr(0, kTextFieldSize - 1), tagName,
               formatName);
    return true;
}

void AcmFormatPage::SplitEntry(const std::string& text, char (&tagName)[kTextFieldSize],
                               char (&formatName)[kTextFieldSize]) {
    formatName[0] = '\0';
    if (_stricmp(text.c_str(), "no compression") == 0) {
        tagName[0] = '\0';
        return;
    }
    const size_t gap = text.find("  ");
    if (gap == std::string::npos) {
        CopyTextField(tagName, text.c_str());
        return;
    }
    CopyTextField(tagName, text.substr(0, gap).c_str());
    CopyTextField(formatName, text.substr(gap + 2).c_str());
}

void AcmFormatPage::CbnRateChange() { PostMessage(WM_DEFERREDUPDATEFORMATS); }

void AcmFormatPage::PostSelChange() { PostMessage(WM_DEFERREDSELCHANGE); }

LRESULT AcmFormatPage::EvDeferredSelChange(WPARAM, LPARAM) {
    UpdateByteRate();
    return 0;
}

LRESULT AcmFormatPage::EvDeferredUpdateFormats(WPARAM, LPARAM) {
    UpdateFormats();
    return 0;
}
