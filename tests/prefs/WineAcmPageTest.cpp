// The Wave page over Wine's own codec manager: at 8000 Hz, 16 bits, mono
// the IMA ADPCM codec is listed, and the format OK stores opens a stream
// from that PCM format.
#include "tests/prefs/PageSheetFixture.h"

#include <cstring>

#include "audiofile/PcmFormat.h"
#include "prefs/formats/TSetMp3.h"
#include "prefs/formats/TSetWave.h"
#include "recorder/files/CodecStreamOpen.h"
#include "sound/CodecDriverProbe.h"
#include "sound/AcmServices.h"
#include "resources/ResourceIds.h"

namespace {

using WineAcmWavePage = PageSheetTest;

TEST_F(WineAcmWavePage, ListsImaAdpcmAndStoresAFormatThatOpens) {
    SetAcm(nullptr);
    AppState.CodecsAvailable = true;
    AppState.SampleRate = 8000;
    AppState.Resolution = true;
    int defaultType = 0;
    sheet_ = std::make_unique<TPropertySheet>(nullptr, "Options", true, false);
    auto& page = static_cast<TSetWave&>(sheet_->AddPage(std::make_unique<TSetWave>(&defaultType)));
    ASSERT_TRUE(sheet_->Create());
    EXPECT_TRUE(fake_.messageBoxes.empty()) << fake_.messageBoxes[0].text;
    HWND combo = GetDlgItem(page.GetHandle(), IDC_WAVEFORMATS);
    const int ima = static_cast<int>(SendMessageA(combo, CB_FINDSTRING, WPARAM(-1),
                                                  reinterpret_cast<LPARAM>("IMA ADPCM  ")));
    ASSERT_GE(ima, 1) << "no IMA ADPCM format listed";
    SendMessageA(combo, CB_SETCURSEL, WPARAM(ima), 0);
    Press(IDOK);
    ASSERT_TRUE(Finished());
    EXPECT_EQ(WAVE_FORMAT_IMA_ADPCM, AppState.ACMFormatTag);
    EXPECT_STREQ("IMA ADPCM", AppState.ACMDriver);
    EXPECT_EQ(8000u, AppState.WaveFormat->nSamplesPerSec);

    const WAVEFORMATEX pcm = PcmFormat(1, 8000, 16);
    HACMSTREAM stream = nullptr;
    EXPECT_EQ(MMSYSERR_NOERROR, Acm().StreamOpen(stream, nullptr, pcm, *AppState.WaveFormat.get(),
                                                 ACM_STREAMOPENF_QUERY));
}

}  // namespace

namespace {

bool LameEncoderInstalled() {
    bool found = false;
    (void)Acm().DriverEnum(
        [&found](HACMDRIVERID id, DWORD) {
            ACMDRIVERDETAILSA details{};
            details.cbStruct = sizeof details;
            if (Acm().DriverDetails(id, details) == MMSYSERR_NOERROR &&
                std::strstr(details.szShortName, "LAME") != nullptr)
                found = true;
            return !found;
        },
        0);
    return found;
}

// With LAME's encoder in the prefix the MP3 page lists its formats at
// 44100 Hz mono and stores one a stream from that PCM format opens to.
TEST_F(WineAcmWavePage, Mp3PageListsTheEncodersFormats) {
    SetAcm(nullptr);
    if (!LameEncoderInstalled()) GTEST_SKIP() << "no MP3 encoder in this prefix";
    AppState.CodecsAvailable = true;
    AppState.Mp3SampleRate = 44100;
    int defaultType = 0;
    sheet_ = std::make_unique<TPropertySheet>(nullptr, "Options", true, false);
    auto& page = static_cast<TSetMp3&>(sheet_->AddPage(std::make_unique<TSetMp3>(&defaultType)));
    ASSERT_TRUE(sheet_->Create());
    EXPECT_TRUE(fake_.messageBoxes.empty()) << fake_.messageBoxes[0].text;
    HWND combo = GetDlgItem(page.GetHandle(), IDC_MP3FORMATS);
    const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
    ASSERT_GE(count, 1);
    EXPECT_EQ(-1, static_cast<int>(SendMessageA(combo, CB_FINDSTRING, WPARAM(-1),
                                                reinterpret_cast<LPARAM>("WARNING"))));
    // As the program runs, the encoder is also in the probed list: its
    // formats are listed once all the same.
    {
        AppState.CodecDriverList = ProbeCodecDrivers();
        ASSERT_FALSE(AppState.CodecDriverList.empty());
        int probedType = 0;
        TPropertySheet probed(nullptr, "Options", true, false);
        auto& again = static_cast<TSetMp3&>(probed.AddPage(std::make_unique<TSetMp3>(&probedType)));
        ASSERT_TRUE(probed.Create());
        EXPECT_EQ(count, static_cast<int>(SendMessageA(GetDlgItem(again.GetHandle(), IDC_MP3FORMATS),
                                                       CB_GETCOUNT, 0, 0)));
        AppState.CodecDriverList.clear();
    }
    Press(IDOK);
    ASSERT_TRUE(Finished());
    EXPECT_EQ(kFormatTagMp3, AppState.Mp3Format->wFormatTag);
    EXPECT_EQ(44100u, AppState.Mp3Format->nSamplesPerSec);
    EXPECT_STRNE("", AppState.Mp3ACMDriver);
    const WAVEFORMATEX pcm = PcmFormat(1, 44100, 16);
    HACMSTREAM stream = nullptr;
    EXPECT_EQ(MMSYSERR_NOERROR, Acm().StreamOpen(stream, nullptr, pcm, *AppState.Mp3Format.get(),
                                                 ACM_STREAMOPENF_QUERY));
}

}  // namespace
