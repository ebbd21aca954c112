// The Vorbis and Speex pages: their read-outs from the real encoders, the
// track bar's ends, the sample-rate bounds (a rate the encoder cannot take
// counts as out of bounds) and the default file type they share.
#include "tests/prefs/FormatPageFixture.h"

#include "audiofile/OggVorbisFile.h"
#include "audiofile/SpeexFile.h"
#include "prefs/formats/EncoderFormatPage.h"
#include "prefs/TSetPlayBack.h"
#include "prefs/formats/TSetSpeex.h"
#include "prefs/formats/TSetVorbis.h"
#include "resources/ResourceIds.h"

namespace {

using EncoderPages = FormatPageTest;

struct PageIds {
    const char* name;
    bool vorbis;
    int rate, track, qualityText, readout, stereo, defaultBox;
};
constexpr PageIds kVorbis = {"Vorbis", true, IDC_VORRATE, IDC_VORQUALITY, IDC_VORQUALITYTEXT,
                             IDC_VORREADOUT, IDC_VORSTEREO, IDC_VORDEFAULT};
constexpr PageIds kSpeex = {"Speex", false, IDC_SPXRATE, IDC_SPXQUALITY, IDC_SPXQUALITYTEXT,
                            IDC_SPXREADOUT, IDC_SPXSTEREO, IDC_SPXDEFAULT};

void Scroll(const TPropertyPage& page, int track, int position, UINT code) {
    HWND bar = GetDlgItem(page.GetHandle(), track);
    if (code != SB_THUMBTRACK) SendMessageA(bar, TBM_SETPOS, TRUE, position);
    SendMessageA(page.GetHandle(), WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar));
}

TEST_F(EncoderPages, ReadoutsFollowTheRealEncoders) {
    struct Case {
        const PageIds& ids;
        int quality;
        const char* rate;
        bool stereo;
        const char* readout;
    };
    const Case cases[] = {
        {kVorbis, 4, "44100", false, "0.615 MB/min    86 kbit/sec"},
        {kVorbis, -1, "8000", true, "0.086 MB/min    12 kbit/sec"},
        {kSpeex, 4, "8000", false, "0.057 MB/min    8 kbit/sec"},
        {kSpeex, 10, "32000", false, "0.315 MB/min    44 kbit/sec"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ids.name) + " " + c.rate);
        AppState.VorQ = AppState.SpxQ = c.quality;
        AppState.VorSampleRate = AppState.SpxSampleRate = std::stoi(c.rate);
        AppState.VorStereo = AppState.SpxStereo = c.stereo;
        if (c.ids.vorbis)
            OpenSheet<TSetVorbis>();
        else
            OpenSheet<TSetSpeex>();
        auto& page = sheet_->GetPage(0);
        EXPECT_EQ(c.readout, Text(page, c.ids.readout));
        EXPECT_EQ(std::to_string(c.quality), Text(page, c.ids.qualityText));
        Press(IDOK);
        ASSERT_TRUE(Finished());
        const long bits = c.ids.vorbis ? VorbisBitrateFor(c.quality, std::stoi(c.rate), c.stereo ? 2 : 1)
                                       : SpeexBitrateFor(c.quality, std::stoi(c.rate), c.stereo ? 2 : 1);
        EXPECT_EQ(bits / 8, c.ids.vorbis ? AppState.VorByteRate : AppState.SpxByteRate);
        sheet_.reset();
    }
}

// The rate's handler only posts; the read-out follows when the posted
// message runs, with the combo's final text.
TEST_F(EncoderPages, RateChangeRefreshesAfterTheNotification) {
    AppState.VorSampleRate = 44100;
    AppState.VorQ = 4;
    OpenSheet<TSetVorbis>();
    auto& page = sheet_->GetPage(0);
    const std::string before = Text(page, IDC_VORREADOUT);
    SetText(page, IDC_VORRATE, "22050");
    Notify(page, IDC_VORRATE, CBN_EDITCHANGE);
    EXPECT_EQ(before, Text(page, IDC_VORREADOUT));
    Pump();
    EXPECT_EQ(EncoderFormatPage::RateText(VorbisBitrateFor(4, 22050, 1)), Text(page, IDC_VORREADOUT));
}

TEST_F(EncoderPages, TrackBarEndsShowAndStore) {
    struct Case {
        const PageIds& ids;
        int position;
        const char* shown;
        int stored;
    };
    const Case cases[] = {{kVorbis, 0, "-1", -1}, {kSpeex, 10, "10", 10}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ids.name) + " " + c.shown);
        AppState.VorQ = AppState.SpxQ = 4;
        AppState.VorSampleRate = 44100;
        AppState.SpxSampleRate = 8000;
        if (c.ids.vorbis)
            OpenSheet<TSetVorbis>();
        else
            OpenSheet<TSetSpeex>();
        auto& page = sheet_->GetPage(0);
        const std::string readout = Text(page, c.ids.readout);
        // Dragging moves only the number; letting go refreshes the rate.
        Scroll(page, c.ids.track, c.position, SB_THUMBTRACK);
        EXPECT_EQ(c.shown, Text(page, c.ids.qualityText));
        EXPECT_EQ(readout, Text(page, c.ids.readout));
        Scroll(page, c.ids.track, c.position, SB_ENDSCROLL);
        EXPECT_EQ(c.shown, Text(page, c.ids.qualityText));
        Press(IDOK);
        ASSERT_TRUE(Finished());
        EXPECT_EQ(c.stored, c.ids.vorbis ? AppState.VorQ : AppState.SpxQ);
        sheet_.reset();
    }
}

// A rate out of bounds, or one the encoder answers with no bit rate, keeps
// the sheet open on the page and stores nothing.
TEST_F(EncoderPages, RateBounds) {
    struct Case {
        const PageIds& ids;
        const char* rate;
        bool accepted;
    };
    const Case cases[] = {
        {kVorbis, "0", false}, {kVorbis, "1", false},  {kVorbis, "100000", false}, {kVorbis, "100001", false},
        {kVorbis, "22050", true}, {kSpeex, "0", false}, {kSpeex, "1", false},  {kSpeex, "12000", true},
        {kSpeex, "100000", true}, {kSpeex, "100001", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.ids.name) + " " + c.rate);
        AppState.VorSampleRate = 44100;
        AppState.SpxSampleRate = 8000;
        if (c.ids.vorbis)
            OpenSheet<TSetVorbis, TSetPlayBack>();
        else
            OpenSheet<TSetSpeex, TSetPlayBack>();
        EXPECT_EQ(c.accepted, ConfirmRate(c.ids.rate, c.rate));
        const int stored = c.ids.vorbis ? AppState.VorSampleRate : AppState.SpxSampleRate;
        EXPECT_EQ(c.accepted ? std::stoi(c.rate) : c.ids.vorbis ? 44100 : 8000, stored);
        sheet_.reset();
    }
}

TEST_F(EncoderPages, TheDefaultFormatIsSharedAcrossPages) {
    defaultType_ = 0;
    AppState.VorSampleRate = 44100;
    AppState.SpxSampleRate = 8000;
    OpenSheet<TSetVorbis, TSetSpeex>();
    Click(sheet_->GetPage(0), IDC_VORDEFAULT);
    EXPECT_EQ(3, defaultType_);
    Show(1);
    EXPECT_FALSE(Checked(sheet_->GetPage(1), IDC_SPXDEFAULT));
    Click(sheet_->GetPage(1), IDC_SPXDEFAULT);
    EXPECT_EQ(4, defaultType_);
    Show(0);
    EXPECT_FALSE(Checked(sheet_->GetPage(0), IDC_VORDEFAULT));
    Press(IDOK);
    ASSERT_TRUE(Finished());
    EXPECT_EQ(4, AppState.DefaultAudioFormat);
}

}  // namespace
