// Every page's settings must come back unchanged through both stores, and
// take the defaults of the page when the store holds nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/AppState.h"
#include "audiofile/Mp3File.h"
#include "prefs/TSetDriver.h"
#include "prefs/files/TSetFile.h"
#include "prefs/TSetJoy.h"
#include "prefs/TSetKey.h"
#include "prefs/formats/TSetMp3.h"
#include "prefs/TSetPlayBack.h"
#include "prefs/TSetRecord.h"
#include "prefs/formats/TSetSpeex.h"
#include "prefs/TSetStart.h"
#include "prefs/formats/TSetVorbis.h"
#include "prefs/TSetVox.h"
#include "prefs/formats/TSetWave.h"
#include "tests/fakes/ScratchSettings.h"

namespace {

using Storage = void (*)(HKEY, const std::string&);

struct PageCase {
    const char* page;
    Storage load;
    Storage save;
    void (*fill)(AppStateRecord& s);       // values unlike the defaults
    void (*same)(const AppStateRecord& expected, const AppStateRecord& s);
    void (*defaults)(const AppStateRecord& s);
};

void FillWaveFormat(FormatBuffer& buffer, WORD tag, WORD extra) {
    std::memset(buffer.bytes, 0, sizeof buffer.bytes);
    buffer->wFormatTag = tag;
    buffer->nChannels = 2;
    buffer->nSamplesPerSec = 22050;
    buffer->nAvgBytesPerSec = 11025;
    buffer->nBlockAlign = 512;
    buffer->wBitsPerSample = 4;
    buffer->cbSize = extra;
    for (WORD i = 0; i < extra; ++i) buffer.bytes[18 + i] = static_cast<BYTE>(0xA0 + i);
}

const PageCase kPages[] = {
    {"Wave", TSetWave::Load, TSetWave::Save,
     [](AppStateRecord& s) {
         s.SampleRate = 22050;
         s.Resolution = s.Stereo = true;
         CopyTextField(s.ACMDriver, "IMA ADPCM");
         CopyTextField(s.ACMFormat, "22.050 kHz, 4 Bit, Stereo");
         s.ACMFormatTag = 0x0161;  // beyond one byte
         FillWaveFormat(s.WaveFormat, 0x0011, 2);
     },
     [](const AppStateRecord& e, const AppStateRecord& s) {
         EXPECT_EQ(e.SampleRate, s.SampleRate);
         EXPECT_TRUE(s.Resolution && s.Stereo);
         EXPECT_STREQ(e.ACMDriver, s.ACMDriver);
         EXPECT_STREQ(e.ACMFormat, s.ACMFormat);
         EXPECT_EQ(0x0161, s.ACMFormatTag);
         EXPECT_EQ(0, std::memcmp(e.WaveFormat.bytes, s.WaveFormat.bytes, 20));
     },
     [](const AppStateRecord& s) {
         EXPECT_EQ(8000, s.SampleRate);
         EXPECT_FALSE(s.Resolution || s.Stereo);
         EXPECT_STREQ("", s.ACMDriver);
         EXPECT_EQ(0, s.ACMFormatTag);
         WAVEFORMATEX pcm = TSetWave::DefaultFormat();
         EXPECT_EQ(0, std::memcmp(&pcm, s.WaveFormat.bytes, sizeof pcm));
     }},
    {"Mp3", TSetMp3::Load, TSetMp3::Save,
     [](AppStateRecord& s) {
         s.Mp3SampleRate = 44100;
         s.Mp3Stereo = true;
         CopyTextField(s.Mp3ACMDriver, "MPEG Layer-3");
         CopyTextField(s.Mp3ACMFormat, "64 kBit/s, 44.100 Hz, Stereo");
         FillWaveFormat(s.Mp3Format, WAVE_FORMAT_MPEGLAYER3, 12);
         s.DefaultAudioFormat = 3;
         s.Mp3EnableTag = false;
     },
     [](const AppStateRecord& e, const AppStateRecord& s) {
         EXPECT_EQ(44100, s.Mp3SampleRate);
         EXPECT_TRUE(s.Mp3Stereo);
         EXPECT_STREQ(e.Mp3ACMDriver, s.Mp3ACMDriver);
         EXPECT_STREQ(e.Mp3ACMFormat, s.Mp3ACMFormat);
         EXPECT_EQ(0, std::memcmp(e.Mp3Format.bytes, s.Mp3Format.bytes, 30));
         EXPECT_EQ(3, s.DefaultAudioFormat);
         EXPECT_FALSE(s.Mp3EnableTag);
         EXPECT_FALSE(Mp3File::TagEnabled()) << "the MP3 file class takes the switch at load";
     },
     [](const AppStateRecord& s) {
         EXPECT_EQ(16000, s.Mp3SampleRate);
         EXPECT_TRUE(s.Mp3EnableTag);
         EXPECT_TRUE(Mp3File::TagEnabled());
         EXPECT_EQ(0, s.DefaultAudioFormat);
         MPEGLAYER3WAVEFORMAT mp3 = TSetMp3::DefaultFormat();
         EXPECT_EQ(0, std::memcmp(&mp3, s.Mp3Format.bytes, sizeof mp3));
         EXPECT_EQ(30u, sizeof mp3);
     }},
    {"Vorbis", TSetVorbis::Load, TSetVorbis::Save,
     [](AppStateRecord& s) { s.VorStereo = 1; s.VorSampleRate = 48000; s.VorQ = -1; s.VorByteRate = 8000; },
     [](const AppStateRecord&, const AppStateRecord& s) {
         EXPECT_EQ(1, s.VorStereo);
         EXPECT_EQ(48000, s.VorSampleRate);
         EXPECT_EQ(-1, s.VorQ);
         EXPECT_EQ(8000, s.VorByteRate);
     },
     [](const AppStateRecord& s) {
         EXPECT_EQ(0, s.VorStereo);
         EXPECT_EQ(44100, s.VorSampleRate);
         EXPECT_EQ(4, s.VorQ);
         EXPECT_EQ(10750, s.VorByteRate);
     }},
    {"Speex", TSetSpeex::Load, TSetSpeex::Save,
     [](AppStateRecord& s) { s.SpxStereo = 1; s.SpxSampleRate = 12000; s.SpxQ = 10; s.SpxByteRate = 3000; },
     [](const AppStateRecord&, const AppStateRecord& s) {
         EXPECT_EQ(1, s.SpxStereo);
         EXPECT_EQ(12000, s.SpxSampleRate);
         EXPECT_EQ(10, s.SpxQ);
         EXPECT_EQ(3000, s.SpxByteRate);
     },
     [](const AppStateRecord& s) {
         EXPECT_EQ(8000, s.SpxSampleRate);
         EXPECT_EQ(4, s.SpxQ);
         EXPECT_EQ(2000, s.SpxByteRate);
     }},
    {"PlayBack", TSetPlayBack::Load, TSetPlayBack::Save,
     [](AppStateRecord& s) { s.SoundByte = 300; },
     [](const AppStateRecord&, const AppStateRecord& s) { EXPECT_EQ(300, s.SoundByte); },
     [](const AppStateRecord& s) { EXPECT_EQ(2, s.SoundByte); }},
    {"Start", TSetStart::Load, TSetStart::Save,
     [](AppStateRecord& s) { s.MinimizeOnStart = s.ListenOnStart = s.OnTop = s.TrayIcon = true; },
     [](const AppStateRecord&, const AppStateRecord& s) {
         EXPECT_TRUE(s.MinimizeOnStart && s.ListenOnStart && s.OnTop && s.TrayIcon);
         EXPECT_FALSE(s.AlwaysStart);
     },
     [](const AppStateRecord& s) {
         EXPECT_FALSE(s.AlwaysStart || s.MinimizeOnStart || s.ListenOnStart || s.OnTop || s.TrayIcon);
     }},
    {"Record", TSetRecord::Load, TSetRecord::Save,
     [](AppStateRecord& s) { s.RecordMode = 4; s.TalkOff = 9999; },
     [](const AppStateRecord&, const AppStateRecord& s) {
         EXPECT_EQ(4, s.RecordMode);
         EXPECT_EQ(9999, s.TalkOff);
     },
     [](const AppStateRecord& s) {
         EXPECT_EQ(0, s.RecordMode);
         EXPECT_EQ(1, s.TalkOff);
     }},
    {"File", TSetFile::Load, TSetFile::Save,
     [](AppStateRecord& s) {
         s.FileSize = 700;
         s.FileDuration = 90;
         s.FileSizeSel = 1;
         s.FileAction = 3;
         s.LHMode = 256;
         s.AutoName = s.AutoPrompt = true;
         CopyTextField(s.ImprovedFilePrefix, "talk_%Y%m%d");
         char temp[MAX_PATH] = {};
         GetTempPathA(MAX_PATH, temp);
         CopyTextField(s.DefaultDirectory, temp);
     },
     [](const AppStateRecord& e, const AppStateRecord& s) {
         EXPECT_EQ(700, s.FileSize);
         EXPECT_EQ(90, s.FileDuration);
         EXPECT_EQ(1, s.FileSizeSel);
         EXPECT_EQ(3, s.FileAction);
         EXPECT_EQ(256, s.LHMode);
         EXPECT_TRUE(s.AutoName && s.AutoPrompt);
         EXPECT_STREQ(e.ImprovedFilePrefix, s.ImprovedFilePrefix);
         EXPECT_STREQ(e.DefaultDirectory, s.DefaultDirectory);
     },
     [](const AppStateRecord& s) {
         EXPECT_EQ(20, s.FileSize);
         EXPECT_EQ(60, s.FileDuration);
         EXPECT_EQ(0, s.FileSizeSel + s.FileAction + s.LHMode);
         EXPECT_STREQ("rec", s.ImprovedFilePrefix);
         EXPECT_NE('\0', s.DefaultDirectory[0]);  // a usable folder was found
     }},
    {"Vox", TSetVox::Load, TSetVox::Save,
     [](AppStateRecord& s) {
         s.VoxHide = s.VoxDisable = s.VoxDiscard = s.VoxFilter = true;
         s.TalkOff2 = 120;
         s.Pretrigger = 60;
         s.VoxDiscardTimeTenths = 600;  // beyond one byte
         s.VoxFilterTimeTenths = 30;
     },
     [](const AppStateRecord&, const AppStateRecord& s) {
         EXPECT_TRUE(s.VoxHide && s.VoxDisable && s.VoxDiscard && s.VoxFilter);
         EXPECT_EQ(120, s.TalkOff2);
         EXPECT_EQ(60, s.Pretrigger);
         EXPECT_EQ(600, s.VoxDiscardTimeTenths);
         EXPECT_EQ(30, s.VoxFilterTimeTenths);
     },
     [](const AppStateRecord& s) {
         EXPECT_EQ(1, s.TalkOff2);
         EXPECT_EQ(0, s.Pretrigger + s.VoxFilterTimeTenths);
         // 1.0 s from a settings file, 10.0 s from the registry.
         EXPECT_TRUE(s.VoxDiscardTimeTenths == 10 || s.VoxDiscardTimeTenths == 100);
     }},
    {"Driver", TSetDriver::Load, TSetDriver::Save,
     [](AppStateRecord& s) {
         CopyTextField(s.WaveInDriver, "Monitor of Null Output");
         CopyTextField(s.WaveOutDriver, "PulseAudio");
     },
     [](const AppStateRecord&, const AppStateRecord& s) {
         EXPECT_STREQ("Monitor of Null Output", s.WaveInDriver);
         EXPECT_STREQ("PulseAudio", s.WaveOutDriver);
     },
     [](const AppStateRecord& s) {
         EXPECT_STREQ("-1", s.WaveInDriver);
         EXPECT_STREQ("-1", s.WaveOutDriver);
     }},
    {"Key", TSetKey::Load, TSetKey::Save,
     [](AppStateRecord& s) { s.KeyPlay = 0x0374; s.KeyRecord = 0x0652; s.KeyActivate = 0x41; },
     [](const AppStateRecord&, const AppStateRecord& s) {
         EXPECT_EQ(0x0374, s.KeyPlay);
         EXPECT_EQ(0x0652, s.KeyRecord);
         EXPECT_EQ(0x41, s.KeyActivate);
     },
     [](const AppStateRecord& s) { EXPECT_EQ(0, s.KeyPlay + s.KeyRecord + s.KeyActivate); }},
    {"Joy", TSetJoy::Load, TSetJoy::Save,
     [](AppStateRecord& s) { s.JoyEnable = true; s.JoyButton1 = 1; s.JoyButton2 = 8; s.JoyButton3 = -1; s.JoyButton4 = 5; },
     [](const AppStateRecord&, const AppStateRecord& s) {
         EXPECT_TRUE(s.JoyEnable);
         EXPECT_EQ(1, s.JoyButton1);
         EXPECT_EQ(8, s.JoyButton2);
         EXPECT_EQ(-1, s.JoyButton3);  // no action chosen
         EXPECT_EQ(5, s.JoyButton4);
     },
     [](const AppStateRecord& s) {
         EXPECT_FALSE(s.JoyEnable);
         EXPECT_EQ(0, s.JoyButton1 + s.JoyButton2 + s.JoyButton3 + s.JoyButton4);
     }},
};

class PageStorageTest : public ::testing::Test {
protected:
    void TearDown() override {
        TSetStart::RemoveRunEntry();
        AppState.Reset();
        Mp3File::EnableTag(true);
    }
    ScopedCurrentFolder folder_;
};

TEST_F(PageStorageTest, EveryPageRoundTripsThroughBothStores) {
    for (const PageCase& page : kPages) {
        for (bool useIni : {false, true}) {
            SCOPED_TRACE(std::string(page.page) + (useIni ? " INI" : " registry"));
            ScratchKey key;
            ScratchIni ini;
            HKEY storeKey = useIni ? nullptr : key.get();
            std::string storeIni = useIni ? ini.path() : "";
            AppState.Reset();
            page.fill(AppState);
            static AppStateRecord expected;
            static_cast<AppStateValues&>(expected) = AppState;
            page.save(storeKey, storeIni);
            AppState.Reset();
            page.load(storeKey, storeIni);
            page.same(expected, AppState);
        }
    }
}

TEST_F(PageStorageTest, EveryPageTakesItsDefaultsFromAnEmptyStore) {
    for (const PageCase& page : kPages) {
        for (bool useIni : {false, true}) {
            SCOPED_TRACE(std::string(page.page) + (useIni ? " INI" : " registry"));
            ScratchKey key;
            ScratchIni ini;
            AppState.Reset();
            page.load(useIni ? nullptr : key.get(), useIni ? ini.path() : "");
            page.defaults(AppState);
        }
    }
}

}  // namespace
