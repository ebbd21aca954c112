#include <gtest/gtest.h>

#include <cstring>

#include "core/AppState.h"

namespace {

TEST(AppStateTest, ResetClearsFilledContainersAndEveryValue) {
    AppStateRecord state;
    state.VoxCommand = std::string(1000, 'v');  // beyond any small-string buffer
    TimerEvent event;
    event.name = "morning news";
    for (int i = 0; i < 50; ++i) state.Events.Add(&event);
    CodecDriverRecord driver;
    std::strcpy(driver.formatTagName, "MPEG Layer-3");
    state.CodecDriverList.assign(20, driver);
    state.SoundLevel = 55;
    state.PlayRate = 1.5f;
    state.UseWinClip = true;
    std::strcpy(state.IniPath, "C:\\x.ini");
    state.WaveFormat->nSamplesPerSec = 44100;

    state.Reset();

    EXPECT_TRUE(state.VoxCommand.empty());
    EXPECT_EQ(0, state.Events.Count());
    EXPECT_TRUE(state.CodecDriverList.empty());
    EXPECT_EQ(0, state.SoundLevel);
    EXPECT_EQ(0.0f, state.PlayRate);
    EXPECT_FALSE(state.UseWinClip);
    EXPECT_STREQ("", state.IniPath);
    EXPECT_EQ(0u, state.WaveFormat->nSamplesPerSec);
    EXPECT_EQ(kMaxFormatSize, state.WaveFormatSize);
    EXPECT_EQ(kMaxFormatSize, state.Mp3FormatSize);

    // The containers stay usable after the reset.
    state.VoxCommand = "notepad";
    state.Events.Add(&event);
    EXPECT_EQ(1, state.Events.Count());
    EXPECT_EQ("morning news", state.Events.Get(0)->name);
}

TEST(AppStateTest, CopyTextFieldCutsAt259Characters) {
    char field[kTextFieldSize];
    std::string longText(400, 'a');
    CopyTextField(field, longText.c_str());
    EXPECT_EQ(259u, std::strlen(field));
    CopyTextField(field, nullptr);
    EXPECT_STREQ("", field);
}

}  // namespace
