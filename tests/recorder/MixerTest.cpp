// The mixer logic against a fake mixer whose lines and controls each test
// sets up.
#include "sound/SMixer.h"
#include "tests/fakes/FakeMixer.h"
#include "tests/fakes/FakeWaveDevices.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

const std::vector<FakeMixerSource> kCard = {
    {"Microphone", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE},
    {"Line In", MIXERLINE_COMPONENTTYPE_SRC_LINE},
    {"CD Player", MIXERLINE_COMPONENTTYPE_SRC_COMPACTDISC},
};

const DWORD kSelectorTypes[] = {MIXERCONTROL_CONTROLTYPE_MUX, MIXERCONTROL_CONTROLTYPE_MIXER,
                                MIXERCONTROL_CONTROLTYPE_SINGLESELECT, MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT};

struct Rig {
    explicit Rig(DWORD selectorType = MIXERCONTROL_CONTROLTYPE_MUX) : mixer(selectorType, kCard) {
        waves.inputNames = {"Fake Input", "USB Audio"};
    }
    FakeMixer mixer;
    FakeWaveDevices waves;
};

}  // namespace

TEST(SMixer, MapsStoredNamesToWaveInDevices) {
    struct Case {
        const char* name;
        int expected;
    };
    const Case cases[] = {
        {"", 0}, {"<default>", 0}, {"<Default>", 0}, {"-1", 0}, {"Microsoft Sound Mapper", 0},
        {"my mapper", 0}, {"usb audio", 1}, {"USB Audio", 1}, {"Nothing", -1},
    };
    Rig rig;
    SMixer mixer(rig.mixer, rig.waves);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, mixer.WaveInDeviceIndex(c.name));
    }
    // A device whose capabilities cannot be read does not hide a later match;
    // without a match it may be the one meant, so device 0 is the answer.
    rig.waves.unreadable.insert(0);
    EXPECT_EQ(1, mixer.WaveInDeviceIndex("USB Audio"));
    EXPECT_EQ(0, mixer.WaveInDeviceIndex("Nothing"));
}

TEST(SMixer, OpensOnlyTheMixerOfANamedWaveInDevice) {
    Rig rig;
    HWND window = reinterpret_cast<HWND>(0x1234);
    {
        SMixer mixer(rig.mixer, rig.waves);
        EXPECT_EQ(MMSYSERR_NOERROR, mixer.Open(MIXER_OBJECTF_WAVEIN, "Mapper", window));
        EXPECT_EQ(0u, rig.mixer.openedDeviceId);
        EXPECT_EQ(DWORD(MIXER_OBJECTF_WAVEIN | CALLBACK_WINDOW), rig.mixer.openFlags);
        EXPECT_EQ(MMSYSERR_NOERROR, mixer.Open(MIXER_OBJECTF_WAVEIN, "usb audio"));
        EXPECT_EQ(1u, rig.mixer.openedDeviceId);
        EXPECT_EQ(DWORD(MIXER_OBJECTF_WAVEIN), rig.mixer.openFlags);
        EXPECT_EQ(1, rig.mixer.OpenMixers());  // the first was closed on reopening
    }
    EXPECT_EQ(0, rig.mixer.OpenMixers());  // the destructor closed it

    SMixer other(rig.mixer, rig.waves);
    EXPECT_NE(MMSYSERR_NOERROR, other.Open(MIXER_OBJECTF_WAVEOUT, "Mapper"));
    EXPECT_NE(MMSYSERR_NOERROR, other.Open(MIXER_OBJECTF_WAVEIN, "Nothing"));
    EXPECT_EQ(2, rig.mixer.Count("mixerOpen"));
}

TEST(SMixer, NamesSourceTypes) {
    struct Case {
        const char* name;
        DWORD type;
    };
    const Case cases[] = {
        {"Line", MIXERLINE_COMPONENTTYPE_SRC_LINE},         {"line-in", MIXERLINE_COMPONENTTYPE_SRC_LINE},
        {"LineIn", MIXERLINE_COMPONENTTYPE_SRC_LINE},       {"Line In", MIXERLINE_COMPONENTTYPE_SRC_LINE},
        {"MIKE", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE},   {"mic", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE},
        {"Microphone", MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE}, {"Aux", MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY},
        {"auxiliary", MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY}, {"<Not connected>", 0}, {"CD Player", 0}, {"", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.type, SMixer::SourceType(c.name));
    }
}

TEST(SMixer, SelectsOneRecordingSourceOnEveryKindOfSelector) {
    for (DWORD selectorType : kSelectorTypes) {
        SCOPED_TRACE(selectorType);
        Rig rig(selectorType);
        rig.mixer.Selector()->values = {1, 0, 1};  // a mixer-type selector may have several on
        SMixer mixer(rig.mixer, rig.waves);
        ASSERT_EQ(MMSYSERR_NOERROR, mixer.Open(MIXER_OBJECTF_WAVEIN, "-1"));

        EXPECT_TRUE(mixer.SelectRecordSource("line-in"));  // the card calls it "Line In"
        EXPECT_EQ(std::vector<std::string>{"Line In"}, rig.mixer.SelectedItems());
        std::string selected;
        EXPECT_TRUE(mixer.SelectedRecordSource(selected));
        EXPECT_EQ("Line In", selected);

        EXPECT_TRUE(mixer.SelectRecordSource("cd player"));
        EXPECT_EQ(std::vector<std::string>{"CD Player"}, rig.mixer.SelectedItems());
        EXPECT_FALSE(mixer.SelectRecordSource("Phono"));
        EXPECT_EQ(std::vector<std::string>{"CD Player"}, rig.mixer.SelectedItems());
    }
}

TEST(SMixer, ReportsNoSelectedSourceWithoutChangingTheName) {
    Rig rig;
    rig.mixer.Selector()->values = {0, 0, 0};
    SMixer mixer(rig.mixer, rig.waves);
    ASSERT_EQ(MMSYSERR_NOERROR, mixer.Open(MIXER_OBJECTF_WAVEIN, "-1"));
    std::string name = "unchanged";
    EXPECT_FALSE(mixer.SelectedRecordSource(name));
    EXPECT_EQ("unchanged", name);

    rig.mixer.destinations[1].controls.pop_back();  // a card without a selector
    EXPECT_FALSE(mixer.SelectRecordSource("Line In"));
    EXPECT_FALSE(mixer.SelectedRecordSource(name));
}

TEST(SMixer, ScalesTheRecordingVolumeOntoTheControlsBounds) {
    struct Case {
        DWORD minimum, maximum;
        int volume;
        bool ok;
        DWORD expected;
    };
    const Case cases[] = {
        {0, 65535, 127, true, 65535},
        {0, 65535, 0, true, 0},
        {100, 1100, 64, true, 100 + 1000 * 64 / 127},
        {0, 0xFFFFFFFFu, 127, true, 0xFFFFFFFFu},  // a full 32-bit range must not overflow
        {0, 65535, 128, false, 7},
        {0, 65535, -1, false, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.volume);
        Rig rig;
        FakeMixerControl* volume = rig.mixer.SourceVolume(MIXERLINE_COMPONENTTYPE_SRC_LINE);
        volume->minimum = c.minimum;
        volume->maximum = c.maximum;
        volume->values = {7};
        SMixer mixer(rig.mixer, rig.waves);
        ASSERT_EQ(MMSYSERR_NOERROR, mixer.Open(MIXER_OBJECTF_WAVEIN, "-1"));
        EXPECT_EQ(c.ok, mixer.SetRecordVolume(MIXERLINE_COMPONENTTYPE_SRC_LINE, c.volume));
        EXPECT_EQ(LONG(c.expected), volume->values.at(0));
    }
}

TEST(SMixer, SetsTheVolumeOfTheSourceItReadsBackAsSelected) {
    // Recording start: select the stored source, read back the selected
    // item's name and set that source's level.
    Rig rig;
    SMixer mixer(rig.mixer, rig.waves);
    ASSERT_EQ(MMSYSERR_NOERROR, mixer.Open(MIXER_OBJECTF_WAVEIN, "Fake Input"));
    ASSERT_TRUE(mixer.SelectRecordSource("line-in"));
    std::string selected;
    ASSERT_TRUE(mixer.SelectedRecordSource(selected));
    EXPECT_TRUE(mixer.SetRecordVolume(selected, 127));
    EXPECT_EQ(65535, rig.mixer.SourceVolume(MIXERLINE_COMPONENTTYPE_SRC_LINE)->values.at(0));
    EXPECT_EQ(0, rig.mixer.SourceVolume(MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE)->values.at(0));
    EXPECT_FALSE(mixer.SetRecordVolume("Aux", 50));  // the card has no auxiliary line
}

TEST(SMixer, EveryOperationFailsWhenTheMixerDidNotOpenOrErrs) {
    Rig rig;
    rig.mixer.Fail(MixerCall::Open, MMSYSERR_NODRIVER);
    SMixer mixer(rig.mixer, rig.waves);
    EXPECT_EQ(MMSYSERR_NODRIVER, mixer.Open(MIXER_OBJECTF_WAVEIN, "-1"));
    std::string name;
    DWORD line = 0;
    EXPECT_FALSE(mixer.SelectRecordSource("Microphone"));
    EXPECT_FALSE(mixer.SelectedRecordSource(name));
    EXPECT_FALSE(mixer.SetRecordVolume("Line", 10));
    EXPECT_FALSE(mixer.RecordSourceLineId(MIXERLINE_COMPONENTTYPE_SRC_LINE, line));
    EXPECT_EQ(1u, rig.mixer.calls.size());  // nothing beyond the failed open

    const MixerCall failing[] = {MixerCall::GetLineInfo, MixerCall::GetLineControls, MixerCall::GetControlDetails,
                                 MixerCall::SetControlDetails};
    for (MixerCall call : failing) {
        SCOPED_TRACE(int(call));
        ASSERT_EQ(MMSYSERR_NOERROR, mixer.Open(MIXER_OBJECTF_WAVEIN, "-1"));
        rig.mixer.Fail(call, MMSYSERR_ERROR, -1);
        EXPECT_FALSE(mixer.SelectRecordSource("Microphone"));
        if (call != MixerCall::GetControlDetails) {  // the volume needs no control details
            EXPECT_FALSE(mixer.SetRecordVolume("Line", 10));
        }
        rig.mixer.Fail(call, MMSYSERR_ERROR, 0);  // and back to working
    }
}

// Wine's winmm mixer: the mixer of a wave-in device opens, but Wine offers no
// recording destination, so every source operation must fail cleanly.
TEST(SMixerWinmm, OpensTheNamedDevicesMixerAndFailsCleanlyWithoutARecordingLine) {
    if (Waves().NumDevs(WaveDirection::Input) == 0) {
        GTEST_SKIP() << "no wave input device (sound rig not running)";
    }
    const std::string lastDevice = WaveDeviceNames(WaveDirection::Input).back();
    SMixer mixer;
    EXPECT_EQ(int(Waves().NumDevs(WaveDirection::Input)) - 1, mixer.WaveInDeviceIndex(lastDevice));
    ASSERT_EQ(MMSYSERR_NOERROR, mixer.Open(MIXER_OBJECTF_WAVEIN, lastDevice));
    std::string selected = "unchanged";
    const bool selectable = mixer.SelectRecordSource("Line");
    EXPECT_EQ(selectable, mixer.SelectedRecordSource(selected));
    if (!selectable) {
        EXPECT_EQ("unchanged", selected);
    }
    mixer.Close();
    EXPECT_FALSE(mixer.IsOpen());
}
