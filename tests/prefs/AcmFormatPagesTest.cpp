// The Wave and MP3 pages over the fake codec manager: which formats are
// listed and in which slot, what is selected, what OK stores, and the
// refusals that keep the sheet open on the page.
#include "tests/prefs/FormatPageFixture.h"

#include <cstring>

#include "audiofile/PcmFormat.h"
#include "prefs/formats/TSetMp3.h"
#include "prefs/TSetPlayBack.h"
#include "prefs/formats/TSetWave.h"
#include "resources/ResourceIds.h"

namespace {

using WavePage = FormatPageTest;
using Mp3Page = FormatPageTest;

// An IMA ADPCM driver with count formats of 8000 Hz mono, each named apart.
FakeAcmDriver ManyFormatsDriver(int count) {
    FakeAcmDriver driver = FakeAcm::ImaAdpcmDriver();
    FakeAcmTag& tag = driver.tags[0];
    const FakeAcmFormat model = FakeAcm::ImaAdpcmFormat(1, 8000);
    tag.formats.clear();
    for (int i = 0; i < count; ++i) {
        FakeAcmFormat format = model;
        format.format.Get()->nAvgBytesPerSec += DWORD(i);  // a shape of its own for the stream query
        format.name = "variant " + std::to_string(i);
        tag.formats.push_back(format);
    }
    return driver;
}

void SetWaveControls(const TPropertyPage& page, const char* rate, bool bits16, bool stereo) {
    SetWindowTextA(GetDlgItem(page.GetHandle(), IDC_WAVERATE), rate);
    CheckRadioButton(page.GetHandle(), IDC_WAVE8BIT, IDC_WAVE16BIT, bits16 ? IDC_WAVE16BIT : IDC_WAVE8BIT);
    CheckRadioButton(page.GetHandle(), IDC_WAVEMONO, IDC_WAVESTEREO, stereo ? IDC_WAVESTEREO : IDC_WAVEMONO);
}

TEST_F(WavePage, ListsEachFormatOnceInItsOwnSlot) {
    acm_.drivers.push_back(FakeAcm::ImaAdpcmDriver());  // the same formats a second time
    AppState.SampleRate = 8000;
    AppState.Resolution = true;
    OpenSheet<TSetWave>();
    auto& page = PageAt<TSetWave>(0);
    const auto entries = Entries(page, IDC_WAVEFORMATS);
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ("No compression", entries[0].text);
    EXPECT_EQ(0, entries[0].slot);
    int ima = 0;
    for (size_t i = 1; i < entries.size(); ++i) {
        SCOPED_TRACE(entries[i].text);
        ima += entries[i].text.rfind("IMA ADPCM  ", 0) == 0;
        EXPECT_EQ(LPARAM(i), entries[i].slot);  // slots in order: the copy took none
        ASSERT_NE(nullptr, page.SlotFormat(int(i)));
        EXPECT_EQ(8000u, page.SlotFormat(int(i))->nSamplesPerSec);
    }
    EXPECT_EQ(1, ima);
    EXPECT_EQ(nullptr, page.SlotFormat(0));
    EXPECT_EQ(0, page.SlotFormat(int(entries.size()))->wFormatTag);
}

// Past the 49th format there is no slot: such a format is left out instead
// of being listed and then storing PCM when chosen.
TEST_F(WavePage, ListsNoFormatBeyondTheLastSlot) {
    acm_.drivers = {ManyFormatsDriver(60)};
    AppState.SampleRate = 8000;
    AppState.Resolution = true;
    OpenSheet<TSetWave>();
    auto& page = PageAt<TSetWave>(0);
    const auto entries = Entries(page, IDC_WAVEFORMATS);
    ASSERT_EQ(1u + 49u, entries.size());
    EXPECT_EQ(49, entries.back().slot);
    Choose(page, IDC_WAVEFORMATS, 49);
    Press(IDOK);
    ASSERT_TRUE(Finished());
    EXPECT_EQ(WAVE_FORMAT_IMA_ADPCM, AppState.ACMFormatTag);
    EXPECT_STREQ("variant 48", AppState.ACMFormat);
}

// A tag name the codec manager could not give leaves the format out,
// whatever the failure; the formats after it are listed.
TEST_F(WavePage, LeavesOutAFormatWhoseTagNameFails) {
    for (MMRESULT failure : {MMRESULT(ACMERR_NOTPOSSIBLE), MMRESULT(MMSYSERR_ERROR), MMRESULT(MMSYSERR_NOMEM)}) {
        SCOPED_TRACE(failure);
        acm_.drivers = {ManyFormatsDriver(3)};
        AppState.SampleRate = 8000;
        AppState.Resolution = true;
        acm_.Fail(AcmCall::FormatTagDetails, failure, 1);
        OpenSheet<TSetWave>();
        const auto entries = Entries(PageAt<TSetWave>(0), IDC_WAVEFORMATS);
        ASSERT_EQ(3u, entries.size());
        EXPECT_EQ("IMA ADPCM  variant 1", entries[1].text);
        EXPECT_EQ(1, entries[1].slot);
        EXPECT_EQ("IMA ADPCM  variant 2", entries[2].text);
        sheet_.reset();
    }
}

// Without the largest format size the list is not asked for: a codec could
// write past the buffers.
TEST_F(WavePage, MetricsFailureSkipsTheEnumeration) {
    acm_.Fail(AcmCall::Metrics, MMSYSERR_ERROR, -1);
    AppState.SampleRate = 8000;
    OpenSheet<TSetWave>();
    auto& page = PageAt<TSetWave>(0);
    EXPECT_EQ(18, page.SlotSize());
    EXPECT_EQ(0, acm_.Count("acmFormatEnumA"));
    ASSERT_EQ(1u, fake_.messageBoxes.size());
    EXPECT_EQ("acmmetrics fail\n(updateformats)", fake_.messageBoxes[0].text);
    EXPECT_EQ(1u, Entries(page, IDC_WAVEFORMATS).size());
    Press(IDOK);
    EXPECT_TRUE(Finished());
    EXPECT_EQ(WAVE_FORMAT_PCM, AppState.ACMFormatTag);
}

// The stored format is found again by its first 18 bytes; its extra bytes
// do not matter, any other header byte does.
TEST_F(WavePage, SelectsTheStoredFormatByItsHeader) {
    struct Case {
        const char* what;
        bool changeExtra;
        bool changeHeader;
        const char* selected;
    };
    const Case cases[] = {
        {"same format", false, false, "IMA ADPCM  8000 Hz, 4 Bit, Mono"},
        {"other extra bytes", true, false, "IMA ADPCM  8000 Hz, 4 Bit, Mono"},
        {"other block align", false, true, "No compression"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        AppState.SampleRate = 8000;
        AppState.Resolution = true;
        FakeAcmFormat stored = FakeAcm::ImaAdpcmFormat(1, 8000);
        std::memcpy(AppState.WaveFormat.bytes, stored.format.Get(), stored.format.Bytes());
        if (c.changeExtra) AppState.WaveFormat.bytes[18] ^= 0xFF;
        if (c.changeHeader) AppState.WaveFormat->nBlockAlign = 512;
        OpenSheet<TSetWave>();
        EXPECT_EQ(c.selected, SelectedText(PageAt<TSetWave>(0), IDC_WAVEFORMATS));
        sheet_.reset();
    }
}

TEST_F(WavePage, StoresTheChosenFormatAndItsNames) {
    AppState.SampleRate = 8000;
    AppState.Resolution = true;
    OpenSheet<TSetWave>();
    auto& page = PageAt<TSetWave>(0);
    const auto entries = Entries(page, IDC_WAVEFORMATS);
    int ima = -1;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].text.rfind("IMA ADPCM", 0) == 0) ima = int(i);
    ASSERT_GE(ima, 0);
    Choose(page, IDC_WAVEFORMATS, ima);
    const FakeAcmFormat expected = FakeAcm::ImaAdpcmFormat(1, 8000);
    char readout[32];
    std::snprintf(readout, sizeof readout, "%.3f MB/min",
                  double(float(expected.format.Get()->nAvgBytesPerSec) * 60.0f / 1048576.0f));
    EXPECT_EQ(readout, Text(page, IDC_WAVEBYTERATE));
    Press(IDOK);
    ASSERT_TRUE(Finished());
    EXPECT_STREQ("IMA ADPCM", AppState.ACMDriver);
    EXPECT_STREQ("8000 Hz, 4 Bit, Mono", AppState.ACMFormat);
    EXPECT_EQ(WAVE_FORMAT_IMA_ADPCM, AppState.ACMFormatTag);
    EXPECT_EQ(0, std::memcmp(AppState.WaveFormat.bytes, expected.format.Get(), expected.format.Bytes()));
}

TEST_F(WavePage, PcmReadoutsAndStoreWithAndWithoutCodecs) {
    struct Case {
        const char* rate;
        bool bits16, stereo;
        const char* readout;
    };
    const Case cases[] = {{"22050", true, true, "5.047 MB/min"}, {"8000", false, false, "0.458 MB/min"}};
    for (bool codecs : {true, false}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(c.rate) + (codecs ? " with codecs" : " without codecs"));
            AppState.CodecsAvailable = codecs;
            CopyTextField(AppState.ACMDriver, "IMA ADPCM");
            OpenSheet<TSetWave>();
            auto& page = PageAt<TSetWave>(0);
            EXPECT_EQ(codecs, IsWindowVisible(GetDlgItem(page.GetHandle(), IDC_WAVEFORMATS)) != FALSE);
            if (!codecs) {
                EXPECT_EQ("<Audio Compression not available>", Text(page, IDC_WAVEFORMATLABEL));
            }
            SetWaveControls(page, c.rate, c.bits16, c.stereo);
            Notify(page, IDC_WAVERATE, CBN_EDITCHANGE);
            Pump();
            EXPECT_EQ(c.readout, Text(page, IDC_WAVEBYTERATE));
            Press(IDOK);
            ASSERT_TRUE(Finished());
            const WAVEFORMATEX pcm = PcmFormat(c.stereo ? 2 : 1, DWORD(std::stoi(c.rate)), c.bits16 ? 16 : 8);
            EXPECT_EQ(0, std::memcmp(AppState.WaveFormat.bytes, &pcm, sizeof pcm));
            EXPECT_EQ(WAVE_FORMAT_PCM, AppState.ACMFormatTag);
            EXPECT_STREQ("", AppState.ACMDriver);
            sheet_.reset();
        }
    }
}

// The rate combo's handler only posts: the list follows once the posted
// message runs, with the combo's final text.
TEST_F(WavePage, RateChangeRebuildsTheListAfterTheNotification) {
    AppState.SampleRate = 8000;
    AppState.Resolution = true;
    OpenSheet<TSetWave>();
    auto& page = PageAt<TSetWave>(0);
    SetText(page, IDC_WAVERATE, "22050");
    const int enumerations = acm_.Count("acmFormatEnumA");
    Notify(page, IDC_WAVERATE, CBN_EDITCHANGE);
    EXPECT_EQ(enumerations, acm_.Count("acmFormatEnumA"));
    Pump();
    EXPECT_EQ(enumerations + 1, acm_.Count("acmFormatEnumA"));
    for (const auto& entry : Entries(page, IDC_WAVEFORMATS)) {
        if (entry.slot) {
            EXPECT_EQ(22050u, page.SlotFormat(int(entry.slot))->nSamplesPerSec) << entry.text;
        }
    }
}

// With /S the codecs are asked for suggestions of fixed tags instead of
// being enumerated; the stored tag is marked again.
TEST_F(WavePage, SuggestionsReplaceTheEnumeration) {
    AppState.ForceFormatSuggest = true;
    AppState.SampleRate = 8000;
    AppState.Resolution = true;
    AppState.ACMFormatTag = WAVE_FORMAT_IMA_ADPCM;
    OpenSheet<TSetWave>();
    auto& page = PageAt<TSetWave>(0);
    EXPECT_EQ(0, acm_.Count("acmFormatEnumA"));
    const auto entries = Entries(page, IDC_WAVEFORMATS);
    ASSERT_EQ(2u, entries.size());  // only IMA ADPCM of the four tags is installed
    EXPECT_EQ("IMA ADPCM", entries[1].text);
    EXPECT_EQ(1, Selected(page, IDC_WAVEFORMATS));
    ASSERT_FALSE(acm_.suggestFlags.empty());
    EXPECT_EQ(DWORD(ACM_FORMATSUGGESTF_WFORMATTAG | ACM_FORMATSUGGESTF_NCHANNELS), acm_.suggestFlags[0]);
    Press(IDOK);
    ASSERT_TRUE(Finished());
    EXPECT_STREQ("IMA ADPCM", AppState.ACMDriver);
    EXPECT_STREQ("", AppState.ACMFormat);
    EXPECT_EQ(8000u, AppState.WaveFormat->nSamplesPerSec);
    EXPECT_EQ(WAVE_FORMAT_IMA_ADPCM, AppState.WaveFormat->wFormatTag);
}

TEST_F(WavePage, SplitsTheEntryAtTheFirstDoubleBlank) {
    struct Case {
        const char* text;
        const char* tag;
        const char* format;
    };
    const Case cases[] = {
        {"IMA ADPCM  8000 Hz, 4 Bit, Mono", "IMA ADPCM", "8000 Hz, 4 Bit, Mono"},
        {"A  B  C", "A", "B  C"},
        {"Single", "Single", ""},
        {"NO COMPRESSION", "", ""},
    };
    for (const Case& c : cases) {
        char tag[kTextFieldSize] = "old", format[kTextFieldSize] = "old";
        AcmFormatPage::SplitEntry(c.text, tag, format);
        EXPECT_STREQ(c.tag, tag) << c.text;
        EXPECT_STREQ(c.format, format) << c.text;
    }
}

// An MP3 driver offering these average byte rates at 16000 Hz mono.
FakeAcmDriver Mp3RatesDriver(std::initializer_list<DWORD> bytesPerSecond) {
    FakeAcmDriver driver = FakeAcm::Mp3Driver();
    driver.tags[0].formats.clear();
    for (DWORD rate : bytesPerSecond) {
        FakeAcmFormat format = FakeAcm::Mp3Format(1, 16000, 64);
        format.format.Get()->nAvgBytesPerSec = rate;
        format.name = std::to_string(rate) + " bytes/s";
        driver.tags[0].formats.push_back(format);
    }
    return driver;
}

TEST_F(Mp3Page, ListsFormatsOfTheListedBitRatesOnly) {
    acm_.drivers = {Mp3RatesDriver({8000, 7000, 7999, 8000})};
    AppState.Mp3SampleRate = 16000;
    OpenSheet<TSetMp3>();
    auto& page = PageAt<TSetMp3>(0);
    const auto entries = Entries(page, IDC_MP3FORMATS);
    ASSERT_EQ(3u, entries.size());  // the placeholder is gone; the same text may repeat
    EXPECT_EQ("MPEG Layer-3  8000 bytes/s", entries[0].text);
    EXPECT_EQ("MPEG Layer-3  7000 bytes/s", entries[1].text);
    EXPECT_EQ("MPEG Layer-3  8000 bytes/s", entries[2].text);
    EXPECT_EQ(0, Selected(page, IDC_MP3FORMATS));  // the first one found
    EXPECT_EQ("0.458 MB/min", Text(page, IDC_MP3BYTERATE));
}

TEST_F(Mp3Page, SelectsTheStoredFormatOverTheFirst) {
    acm_.drivers = {Mp3RatesDriver({8000, 7000})};
    FakeAcmFormat stored = Mp3RatesDriver({7000}).tags[0].formats[0];
    std::memcpy(AppState.Mp3Format.bytes, stored.format.Get(), stored.format.Bytes());
    AppState.Mp3SampleRate = 16000;
    OpenSheet<TSetMp3>();
    auto& page = PageAt<TSetMp3>(0);
    EXPECT_EQ(1, Selected(page, IDC_MP3FORMATS));
    Press(IDOK);
    ASSERT_TRUE(Finished());
    EXPECT_STREQ("MPEG Layer-3", AppState.Mp3ACMDriver);
    EXPECT_STREQ("7000 bytes/s", AppState.Mp3ACMFormat);
    EXPECT_EQ(7000u, AppState.Mp3Format->nAvgBytesPerSec);
}

// A stored record may claim up to 2000 extra bytes; with every slot taken
// the comparison must still stay within each slot (the last one ends the
// table) and the first format found is chosen.
TEST_F(Mp3Page, ComparesTheStoredFormatWithinTheSlot) {
    FakeAcmDriver driver = Mp3RatesDriver({});
    for (int i = 0; i < 60; ++i) {
        FakeAcmFormat format = FakeAcm::Mp3Format(1, 16000, 64);
        format.name = "copy " + std::to_string(i);
        driver.tags[0].formats.push_back(format);
    }
    acm_.drivers = {driver};
    std::memcpy(AppState.Mp3Format.bytes, driver.tags[0].formats[0].format.Get(), 30);
    AppState.Mp3Format->cbSize = kMaxFormatSize;
    AppState.Mp3SampleRate = 16000;
    OpenSheet<TSetMp3>();
    auto& page = PageAt<TSetMp3>(0);
    EXPECT_EQ(50, page.SlotSize());
    EXPECT_EQ(49u, Entries(page, IDC_MP3FORMATS).size());
    EXPECT_EQ(0, Selected(page, IDC_MP3FORMATS));
}

TEST_F(Mp3Page, WithoutAnMp3CodecStoresTheFallback) {
    acm_.drivers = {FakeAcm::ImaAdpcmDriver()};
    CopyTextField(AppState.Mp3ACMDriver, "MPEG Layer-3");
    AppState.Mp3SampleRate = 16000;
    OpenSheet<TSetMp3>();
    auto& page = PageAt<TSetMp3>(0);
    const auto entries = Entries(page, IDC_MP3FORMATS);
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ(TSetMp3::kPlaceholder, entries[0].text);
    EXPECT_EQ("", Text(page, IDC_MP3BYTERATE));
    Press(IDOK);
    ASSERT_TRUE(Finished());
    EXPECT_STREQ("", AppState.Mp3ACMDriver);
    const WAVEFORMATEX fallback = TSetMp3::FallbackFormat();
    EXPECT_EQ(0, std::memcmp(AppState.Mp3Format.bytes, &fallback, sizeof fallback));
    EXPECT_EQ(8000u, AppState.Mp3Format->nAvgBytesPerSec);
}

// Refused rates keep the sheet open on the refusing page, even when
// another page is shown, and store nothing.
// Asking a codec driver anything opens it: one listing opens each driver
// once, however many formats it offers, and closes it again. The driver that
// also offers MP3 is not asked a second time, so each format shows once.
TEST_F(FormatPageTest, EachListingOpensEachDriverOnceAndShowsEachFormatOnce) {
    AppState.CodecDriverList.push_back({FakeAcm::DriverIdOf(1), "MPEG Layer-3"});
    AppState.Mp3SampleRate = 16000;
    AppState.SampleRate = 16000;
    AppState.Resolution = true;
    OpenSheet<TSetMp3, TSetWave>();
    EXPECT_EQ(5u, Entries(PageAt<TSetMp3>(0), IDC_MP3FORMATS).size());  // 8 to 128 kbit/s
    EXPECT_EQ(1, acm_.Count("acmDriverOpen"));
    EXPECT_EQ(0, acm_.OpenDrivers());
    Show(1);
    EXPECT_EQ(1u + 5u, Entries(PageAt<TSetWave>(1), IDC_WAVEFORMATS).size());
    EXPECT_EQ(2, acm_.Count("acmDriverOpen"));
    EXPECT_EQ(0, acm_.OpenDrivers());
}

TEST_F(FormatPageTest, RateBoundsOfTheWaveAndMp3Pages) {
    struct Case {
        bool mp3;
        const char* rate;
        bool accepted;
    };
    const Case cases[] = {
        {false, "0", false}, {false, "1", true}, {false, "1000000", true}, {false, "1000001", false},
        {true, "0", false},  {true, "1", true},  {true, "100000", true},   {true, "100001", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.mp3 ? "mp3 " : "wave ") + c.rate);
        AppState.SampleRate = 8000;
        AppState.Mp3SampleRate = 16000;
        if (c.mp3)
            OpenSheet<TSetMp3, TSetPlayBack>();
        else
            OpenSheet<TSetWave, TSetPlayBack>();
        EXPECT_EQ(c.accepted, ConfirmRate(c.mp3 ? IDC_MP3RATE : IDC_WAVERATE, c.rate));
        const int stored = c.mp3 ? AppState.Mp3SampleRate : AppState.SampleRate;
        EXPECT_EQ(c.accepted ? std::stoi(c.rate) : c.mp3 ? 16000 : 8000, stored);
        sheet_.reset();
    }
}

TEST_F(FormatPageTest, DefaultBoxesOfTheWaveAndMp3Pages) {
    defaultType_ = 0;
    AppState.SampleRate = 8000;
    AppState.Mp3SampleRate = 16000;
    OpenSheet<TSetWave, TSetMp3>();
    EXPECT_TRUE(Checked(sheet_->GetPage(0), IDC_WAVEDEFAULT));
    Show(1);
    EXPECT_FALSE(Checked(sheet_->GetPage(1), IDC_MP3DEFAULT));
    Click(sheet_->GetPage(1), IDC_MP3DEFAULT);
    EXPECT_EQ(1, defaultType_);
    Show(0);
    EXPECT_FALSE(Checked(sheet_->GetPage(0), IDC_WAVEDEFAULT));
    Click(sheet_->GetPage(0), IDC_WAVEDEFAULT);
    EXPECT_EQ(0, defaultType_);
    Show(1);
    Click(sheet_->GetPage(1), IDC_MP3DEFAULT);
    Click(sheet_->GetPage(1), IDC_MP3DEFAULT);
    EXPECT_EQ(0, defaultType_);  // cleared on the MP3 page: WAV
    Click(sheet_->GetPage(1), IDC_MP3DEFAULT);
    Press(IDOK);
    ASSERT_TRUE(Finished());
    EXPECT_EQ(1, AppState.DefaultAudioFormat);
}

}  // namespace
