// The Wave page over Wine's own codec manager: at 8000 Hz, 16 bits, mono
// the IMA ADPCM codec is listed, and the format OK stores opens a stream
// from that PCM format.
#include "tests/prefs/PageSheetFixture.h"

#include <cstring>

#include "audiofile/PcmFormat.h"
#include "prefs/TSetWave.h"
#include "recorder/services/AcmServices.h"
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
