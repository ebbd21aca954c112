// Stored values of older versions, damaged values and the ranges each page
// accepts on loading.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "prefs/files/TSetFile.h"
#include "prefs/TSetJoy.h"
#include "prefs/formats/TSetMp3.h"
#include "prefs/TSetPlayBack.h"
#include "prefs/TSetRecord.h"
#include "prefs/TSetStart.h"
#include "prefs/formats/TSetVorbis.h"
#include "prefs/TSetVox.h"
#include "prefs/formats/TSetWave.h"
#include "tests/fakes/ScratchSettings.h"

namespace {

class PageStorageEdgeTest : public ::testing::Test {
protected:
    void SetUp() override { AppState.Reset(); }
    void TearDown() override { AppState.Reset(); }
    ScopedCurrentFolder folder_;
};

TEST_F(PageStorageEdgeTest, OneByteValuesOfOlderRegistriesStillLoad) {
    ScratchKey key;
    key.SetBytes("ACMFormatTag", "\x61", 1);
    key.SetBytes("SoundByte", "\x2C", 1);
    key.SetBytes("VoxDiscardTimeTenths", "\x58", 1);
    key.SetBytes("JoyButton1", "\xFF", 1);
    TSetWave::Load(key.get(), "");
    TSetPlayBack::Load(key.get(), "");
    TSetVox::Load(key.get(), "");
    TSetJoy::Load(key.get(), "");
    EXPECT_EQ(0x61, AppState.ACMFormatTag);
    EXPECT_EQ(44, AppState.SoundByte);
    EXPECT_EQ(88, AppState.VoxDiscardTimeTenths);
    EXPECT_EQ(255, AppState.JoyButton1);  // selects nothing, as -1 does
}

// A format record must hold what it claims and fit the buffer; otherwise
// the default format is used instead of reading past the record.
TEST_F(PageStorageEdgeTest, UnusableStoredFormatsFallBackToTheDefault) {
    struct Case {
        const char* what;
        WORD extra;        // the record's claimed extra size
        std::size_t size;  // bytes stored
        bool taken;
    };
    const Case cases[] = {
        {"complete record", 2, 20, true},
        {"shorter than it claims", 2, 18, false},
        {"larger than the buffer", 5000, 2040, false},
        {"not even a header", 0, 10, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchKey key;
        std::vector<BYTE> bytes(c.size, 0x11);
        WAVEFORMATEX header{};
        header.wFormatTag = 0x0011;
        header.cbSize = c.extra;
        std::memcpy(bytes.data(), &header, c.size < 18 ? c.size : 18);
        key.SetBytes("WaveFormat", bytes.data(), static_cast<DWORD>(bytes.size()));
        key.SetBytes("Mp3Format", bytes.data(), static_cast<DWORD>(bytes.size()));
        AppState.Reset();
        TSetWave::Load(key.get(), "");
        TSetMp3::Load(key.get(), "");
        EXPECT_EQ(c.taken ? 0x0011 : WAVE_FORMAT_PCM, AppState.WaveFormat->wFormatTag);
        EXPECT_EQ(c.taken ? 0x0011 : WAVE_FORMAT_MPEGLAYER3, AppState.Mp3Format->wFormatTag);
    }
}

TEST_F(PageStorageEdgeTest, IniFormatKeepsItsLastByte) {
    ScratchIni ini;
    for (int i = 0; i < kMaxFormatSize; ++i) AppState.WaveFormat.bytes[i] = static_cast<BYTE>(i);
    AppState.WaveFormat->cbSize = kMaxFormatSize - 18;
    AppState.WaveFormat.bytes[kMaxFormatSize - 1] = 0xEE;
    TSetWave::Save(nullptr, ini.path());
    EXPECT_EQ(static_cast<std::size_t>(2 * kMaxFormatSize), ini.Read("Wave", "WaveFormat").size());
    AppState.Reset();
    TSetWave::Load(nullptr, ini.path());
    EXPECT_EQ(0xEE, AppState.WaveFormat.bytes[kMaxFormatSize - 1]);
    EXPECT_EQ(kMaxFormatSize - 18, AppState.WaveFormat->cbSize);
}

TEST_F(PageStorageEdgeTest, VoxTimesFromOlderKeysAndTheirRanges) {
    struct Case {
        const char* what;
        bool useIni;
        std::vector<std::pair<const char*, const char*>> values;  // INI texts or one registry byte
        int discardTenths;
        int pretrigger;
        int talkOff2;
    };
    const Case cases[] = {
        {"INI whole seconds of older versions", true, {{"VoxDiscardTime", "3"}}, 30, 0, 1},
        {"INI neither discard key", true, {}, 10, 0, 1},
        {"INI ranges", true, {{"Pretrigger", "75"}, {"TalkOff2", "0"}, {"VoxDiscardTimeTenths", "900"}}, 600, 60, 1},
        {"registry neither discard value", false, {}, 100, 0, 1},
        {"registry whole seconds", false, {{"VoxDiscardTime", "\x05"}}, 50, 0, 1},
        {"registry below the least", false, {{"VoxDiscardTimeTenths", "\x03"}, {"TalkOff2", "\xC8"}}, 10, 0, 120},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchKey key;
        ScratchIni ini;
        for (const auto& value : c.values) {
            if (c.useIni)
                ini.Write("Vox", value.first, value.second);
            else
                key.SetBytes(value.first, value.second, 1);
        }
        AppState.Reset();
        TSetVox::Load(c.useIni ? nullptr : key.get(), c.useIni ? ini.path() : "");
        EXPECT_EQ(c.discardTenths, AppState.VoxDiscardTimeTenths);
        EXPECT_EQ(c.pretrigger, AppState.Pretrigger);
        EXPECT_EQ(c.talkOff2, AppState.TalkOff2);
    }
}

TEST_F(PageStorageEdgeTest, VoxTenthsText) {
    struct Case {
        int tenths;
        const char* text;
    };
    for (const Case& c : {Case{15, "1.5"}, Case{20, "2"}, Case{0, "0"}, Case{600, "60"}, Case{19, "1.9"}}) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.text, TSetVox::TenthsToText(c.tenths));
        EXPECT_EQ(c.tenths, TSetVox::TextToTenths(c.text));
    }
    EXPECT_EQ(12, TSetVox::TextToTenths("1.25"));  // one decimal only
    EXPECT_EQ(30, TSetVox::TextToTenths("3"));
    EXPECT_EQ(0, TSetVox::TextToTenths(""));
    EXPECT_EQ(0, TSetVox::TextToTenths("abc"));
    EXPECT_EQ(12, TSetVox::TextToTenths("1.29"));
    // Digits past what a long holds clamp rather than wrap.
    EXPECT_EQ(10000000, TSetVox::TextToTenths("300000000000000000000"));
    EXPECT_EQ(10000000, TSetVox::TextToTenths("300000000"));
}

TEST_F(PageStorageEdgeTest, FileNumbersOutsideTheirRangesLoadAs0) {
    struct Case {
        const char* key;
        const char* text;
        int AppStateValues::*field;
        int expected;
    };
    const Case cases[] = {
        {"FileAction", "11", &AppStateValues::FileAction, 0},
        {"FileAction", "3", &AppStateValues::FileAction, 3},
        {"LHMode", "256", &AppStateValues::LHMode, 256},
        {"LHMode", "257", &AppStateValues::LHMode, 0},
        {"FileSizeSel", "2", &AppStateValues::FileSizeSel, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.key) + "=" + c.text);
        ScratchIni ini;
        ini.Write("File", c.key, c.text);
        ini.Write("File", "DefaultDirectory", folder_.Path());
        AppState.Reset();
        TSetFile::Load(nullptr, ini.path());
        EXPECT_EQ(c.expected, AppState.*c.field);
    }
}

// A registry "DateFormat" no version knew appends nothing; an INI file's
// counts as the first.
TEST_F(PageStorageEdgeTest, NamingPatternFromOlderSettings) {
    struct Case {
        const char* autoDate;
        const char* dateFormat;
        const char* pattern;
    };
    const Case cases[] = {{"\x01", "\x05", "call%b %d %Y %H%M"},
                          {"\x01", "\x0B", "call"},
                          {"\x01", "\x0C", "call"},
                          {"\x00", "\x05", "call"},
                          {"\x01", "\x01", "call%Y%m%d"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        ScratchKey key;
        key.SetText("FilePrefix", "call");
        key.SetBytes("AutoDate", c.autoDate, 1);
        key.SetBytes("DateFormat", c.dateFormat, 1);
        key.SetText("DefaultDirectory", folder_.Path());
        AppState.Reset();
        TSetFile::Load(key.get(), "");
        EXPECT_STREQ(c.pattern, AppState.ImprovedFilePrefix);
    }
    ScratchIni ini;
    ini.Write("File", "FilePrefix", "call");
    ini.Write("File", "AutoDate", "1");
    ini.Write("File", "DateFormat", "12");
    ini.Write("File", "DefaultDirectory", folder_.Path());
    TSetFile::Load(nullptr, ini.path());
    EXPECT_STREQ("call%Y%m%d", AppState.ImprovedFilePrefix);
}

// Only a missing folder is looked for and only a missing pattern is built
// from older settings: the registry's empty texts stay as stored, while an
// INI file's empty ones read as missing.
TEST_F(PageStorageEdgeTest, EmptyFolderAndPatternReadAsMissingOnlyFromAnIniFile) {
    ScratchKey key;
    key.SetText("DefaultDirectory", "");
    key.SetText("ImprovedFilePrefix", "");
    key.SetText("FilePrefix", "call");
    TSetFile::Load(key.get(), "");
    EXPECT_STREQ("", AppState.DefaultDirectory);
    EXPECT_STREQ("", AppState.ImprovedFilePrefix);
    ScratchIni ini;
    ini.Write("File", "DefaultDirectory", "");
    ini.Write("File", "ImprovedFilePrefix", "");
    ini.Write("File", "FilePrefix", "call");
    TSetFile::Load(nullptr, ini.path());
    EXPECT_STRNE("", AppState.DefaultDirectory);
    EXPECT_STREQ("call", AppState.ImprovedFilePrefix);
}

TEST_F(PageStorageEdgeTest, RecordModeAndQuietTimeRanges) {
    struct Case {
        const char* mode;
        int expectedMode;
    };
    for (const Case& c : {Case{"7", 7}, Case{"11", 0}, Case{"-1", 0}}) {
        SCOPED_TRACE(c.mode);
        ScratchIni ini;
        ini.Write("Record", "RecordMode", c.mode);
        ini.Write("Record", "TalkOff", "12000");
        TSetRecord::Load(nullptr, ini.path());
        EXPECT_EQ(c.expectedMode, AppState.RecordMode);
        EXPECT_EQ(9999, AppState.TalkOff);
    }
    ScratchKey key;
    for (const char* mode : {"\x0B", "\xFF"}) {  // the registry's byte as stored
        key.SetBytes("RecordMode", mode, 1);
        TSetRecord::Load(key.get(), "");
        EXPECT_EQ(static_cast<unsigned char>(mode[0]), AppState.RecordMode);
    }
    key.SetBytes("TalkOff", "\0\0\0\0", 4);
    TSetRecord::Load(key.get(), "");
    EXPECT_EQ(1, AppState.TalkOff);
    key.SetBytes("TalkOff", "\xFF\xFF\xFF\xFF", 4);  // unsigned: huge
    TSetRecord::Load(key.get(), "");
    EXPECT_EQ(9999, AppState.TalkOff);
}

TEST_F(PageStorageEdgeTest, JoystickWithoutActionIsWrittenUnsignedToIni) {
    ScratchIni ini;
    AppState.JoyButton2 = -1;
    TSetJoy::Save(nullptr, ini.path());
    EXPECT_EQ("4294967295", ini.Read("Joy", "JoyButton2"));
    AppState.Reset();
    TSetJoy::Load(nullptr, ini.path());
    EXPECT_EQ(-1, AppState.JoyButton2);
}

TEST_F(PageStorageEdgeTest, EncoderValuesAreReadableNumbersAndOldBinariesStillLoad) {
    ScratchKey key;
    AppState.VorQ = 7;
    TSetVorbis::Save(key.get(), "");
    DWORD type = 0;
    std::string raw;
    ASSERT_TRUE(key.Raw("VorQ", type, raw));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), type);
    ScratchKey old;
    const int quality = 9;
    old.SetBytes("VorQ", &quality, 4);
    TSetVorbis::Load(old.get(), "");
    EXPECT_EQ(9, AppState.VorQ);
}

TEST_F(PageStorageEdgeTest, UnknownDefaultFileTypeLoadsAsWav) {
    ScratchIni ini;
    ini.Write("Mp3", "DefaultAudioFormat", "9");
    TSetMp3::Load(nullptr, ini.path());
    EXPECT_EQ(0, AppState.DefaultAudioFormat);
}

TEST_F(PageStorageEdgeTest, StartWithWindowsEntryFollowsRegistrySavesOnly) {
    auto runEntry = [](HKEY root, std::string& text) {
        HKEY run = nullptr;
        if (RegOpenKeyExA(root, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", 0, KEY_READ,
                          &run) != ERROR_SUCCESS)
            return false;
        char value[MAX_PATH] = {};
        DWORD size = sizeof value;
        bool found = RegQueryValueExA(run, "Larkspur-PRO", nullptr, nullptr,
                                      reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS;
        RegCloseKey(run);
        text = value;
        return found;
    };
    ScratchKey key;
    ScratchIni ini;
    std::string text;
    AppState.AlwaysStart = AppState.MinimizeOnStart = true;
    TSetStart::Save(nullptr, ini.path());
    EXPECT_FALSE(runEntry(HKEY_LOCAL_MACHINE, text) || runEntry(HKEY_CURRENT_USER, text));
    TSetStart::Save(key.get(), "");
    ASSERT_TRUE(runEntry(HKEY_LOCAL_MACHINE, text) || runEntry(HKEY_CURRENT_USER, text));
    EXPECT_EQ(" -m", text.substr(text.size() - 3));
    AppState.AlwaysStart = false;
    TSetStart::Save(key.get(), "");
    EXPECT_FALSE(runEntry(HKEY_LOCAL_MACHINE, text) || runEntry(HKEY_CURRENT_USER, text));
    // A long path with blanks (no short names on its volume) must be quoted.
    EXPECT_EQ("\"C:\\Program Files\\L\\l.exe\" -m",
              TSetStart::RunEntryFor("C:\\Program Files\\L\\l.exe", true));
    EXPECT_EQ("C:\\PROGRA~1\\L\\l.exe", TSetStart::RunEntryFor("C:\\PROGRA~1\\L\\l.exe", false));
}

}  // namespace
