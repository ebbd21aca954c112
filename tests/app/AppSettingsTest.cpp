#include <gtest/gtest.h>

#include <string>

#include "app/AppSettings.h"
#include "core/AppState.h"
#include "core/SMsg.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/fakes/ScratchSettings.h"

namespace {

// Loading may make the recording folder current; tests put it back.
class AppSettingsTest : public ::testing::Test {
protected:
    void SetUp() override { AppState.Reset(); }
    void TearDown() override { AppState.Reset(); }
    ScopedCurrentFolder folder_;
    FakeUserInteraction ui_;
    ScopedUi scopedUi_{ui_};
    SMsg reporter_;
};

TEST_F(AppSettingsTest, AnEmptyStoreGivesTheDefaults) {
    ScratchKey key;
    ScratchIni ini;
    for (bool useIni : {false, true}) {
        SCOPED_TRACE(useIni ? "INI" : "registry");
        AppState.Reset();
        LoadSettingsFrom(useIni ? nullptr : key.get(), useIni ? ini.path() : "");
        EXPECT_EQ(0, AppState.SoundLevel);
        EXPECT_FLOAT_EQ(1.0f, AppState.PlayRate);
        EXPECT_TRUE(AppState.UseWinClip);
        EXPECT_EQ(-1, AppState.RecLevel);
        EXPECT_EQ(1, AppState.TalkOff2);
        EXPECT_EQ(0, AppState.DefaultAudioFormat);
        EXPECT_EQ(8000, AppState.SampleRate);
        EXPECT_EQ(16000, AppState.Mp3SampleRate);
        EXPECT_TRUE(AppState.Mp3EnableTag);
        EXPECT_EQ(2, AppState.SoundByte);
        EXPECT_STREQ("-1", AppState.WaveInDriver);
        EXPECT_STREQ("rec", AppState.ImprovedFilePrefix);
        POINT origin = DefaultWindowPosition();
        EXPECT_EQ(origin.x, AppState.WindowX);
        EXPECT_EQ(origin.y, AppState.WindowY);
    }
}

TEST_F(AppSettingsTest, IniSoundLevelOutside0To127LoadsAs0) {
    struct Case {
        const char* text;
        int level;
    };
    for (const Case& c : {Case{"128", 0}, Case{"-5", 0}, Case{"127", 127}, Case{"40", 40}}) {
        SCOPED_TRACE(c.text);
        ScratchIni ini;
        ini.Write("Setup", "Sound Level", c.text);
        LoadSettingsFrom(nullptr, ini.path());
        EXPECT_EQ(c.level, AppState.SoundLevel);
    }
}

TEST_F(AppSettingsTest, RegistryPlayRateOutsideTheSpeedRangeLoadsAs1) {
    struct Case {
        const char* text;
        float rate;
    };
    const Case cases[] = {{"1.50", 1.5f}, {"0.20", 0.2f}, {"2.00", 2.0f}, {"2.5", 1.0f},
                          {"0.1", 1.0f},  {"-1", 1.0f},   {"fast", 1.0f}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        ScratchKey key;
        key.SetText("PlayRate", c.text);
        LoadSettingsFrom(key.get(), "");
        EXPECT_FLOAT_EQ(c.rate, AppState.PlayRate);
    }
}

TEST_F(AppSettingsTest, SetupValuesRoundTripAndIniNeverRestoresPlayRate) {
    ScratchKey key;
    ScratchIni ini;
    AppState.SoundLevel = 42;
    AppState.PlayRate = 1.3f;
    AppState.UseWinClip = false;
    SaveSettingsTo(key.get(), "", nullptr, reporter_);
    SaveSettingsTo(nullptr, ini.path(), nullptr, reporter_);
    EXPECT_TRUE(ui_.messageBoxes.empty());

    AppState.Reset();
    LoadSettingsFrom(key.get(), "");
    EXPECT_EQ(42, AppState.SoundLevel);
    EXPECT_FLOAT_EQ(1.3f, AppState.PlayRate);
    EXPECT_FALSE(AppState.UseWinClip);

    AppState.Reset();
    LoadSettingsFrom(nullptr, ini.path());
    EXPECT_EQ(42, AppState.SoundLevel);
    EXPECT_FLOAT_EQ(1.0f, AppState.PlayRate);
    EXPECT_EQ("42", ini.Read("Setup", "Sound Level"));
}

TEST_F(AppSettingsTest, IniOnlyValuesAreReadFromTheFile) {
    ScratchIni ini;
    ini.Write("Setup", "RecLevel", "70");
    ini.Write("Setup", "RecSource", "Line In");
    ini.Write("Setup", "TimeOffset", "-3600");
    LoadSettingsFrom(nullptr, ini.path());
    EXPECT_EQ(70, AppState.RecLevel);
    EXPECT_STREQ("Line In", AppState.RecSource);
    EXPECT_EQ(-3600, AppState.TimeOffset);
}

TEST_F(AppSettingsTest, WindowPositionOffTheScreenMovesToTheDefault) {
    int left = GetSystemMetrics(SM_XVIRTUALSCREEN), width = GetSystemMetrics(SM_CXVIRTUALSCREEN);
    int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    POINT origin = DefaultWindowPosition();
    struct Case {
        int x;
        int expectedX;
    };
    const Case cases[] = {{left + width - 100, left + width - 100},
                          {left + width - 99, origin.x},
                          {left - 1, origin.x},
                          {left + 250, left + 250}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.x);
        ScratchIni ini;
        ini.Write("Setup", "WindowX", std::to_string(c.x).c_str());
        ini.Write("Setup", "WindowY", std::to_string(top + 50).c_str());
        LoadSettingsFrom(nullptr, ini.path());
        EXPECT_EQ(c.expectedX, AppState.WindowX);
        EXPECT_EQ(top + 50, AppState.WindowY);
    }
}

TEST_F(AppSettingsTest, ProgramStartedOnASettingsFileWritesNothingImplicitly) {
    ScratchIni ini;
    CopyTextField(AppState.IniPath, ini.path().c_str());
    AppState.SoundLevel = 99;
    SaveSettings("", nullptr, reporter_);
    EXPECT_FALSE(ini.Exists());
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKeyPath, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        BYTE level[4] = {};
        DWORD size = sizeof level;
        bool found = RegQueryValueExA(key, "SoundLevel", nullptr, nullptr, level, &size) == ERROR_SUCCESS;
        EXPECT_FALSE(found && level[0] == 99);
        RegCloseKey(key);
    }
    // An explicit path is still written.
    SaveSettings(ini.path(), nullptr, reporter_);
    EXPECT_EQ("99", ini.Read("Setup", "Sound Level"));
}

TEST_F(AppSettingsTest, AFailedIniWriteIsReported) {
    SaveSettingsTo(nullptr, "Z:\\no\\such\\folder\\x.ini", nullptr, reporter_);
    ASSERT_FALSE(ui_.messageBoxes.empty());
    EXPECT_EQ(0u, ui_.messageBoxes[0].text.find("File write not successful"));
    EXPECT_EQ("Larkspur-PRO", ui_.messageBoxes[0].caption);
}

}  // namespace
