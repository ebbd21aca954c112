// A fake mixer for tests: a test sets up destination lines, their source
// lines and the controls of each (volume controls with bounds, selectors with
// named items and one value per item). Every mixer device id opens the same
// layout. Line ids have the high bit set, as many cards' do. Calls are
// recorded, values written are kept for the test to read, and any call can
// be made to fail.
#pragma once

#include "sound/MixerApi.h"

#include <map>
#include <string>
#include <vector>

enum class MixerCall { Open, Close, GetLineInfo, GetLineControls, GetControlDetails, SetControlDetails };

struct FakeMixerControl {
    DWORD type = MIXERCONTROL_CONTROLTYPE_VOLUME;
    std::string name;
    DWORD minimum = 0;
    DWORD maximum = 65535;
    std::vector<std::string> items;  // selectors: the item names
    std::vector<LONG> values;        // selectors: one per item; others: one value
    DWORD id = 0;                    // given by FakeMixer
};

struct FakeMixerLine {
    DWORD componentType = 0;
    std::string name;
    std::vector<FakeMixerControl> controls;
    std::vector<FakeMixerLine> sources;  // destinations only
    DWORD lineId = 0;                    // given by FakeMixer
};

struct FakeMixerSource {
    std::string name;
    DWORD componentType;
};

class FakeMixer : public MixerApi {
public:
    FakeMixer() = default;
    // A speaker destination, then a wave-in destination whose selector (of
    // the given control type) lists the sources by name, each source line
    // with a volume control of 0..65535. The first source is selected.
    FakeMixer(DWORD selectorType, const std::vector<FakeMixerSource>& sources);

    // --- set-up ---
    std::vector<FakeMixerLine> destinations;
    // The next `times` calls of that kind return result (times < 0: all;
    // 0: none again).
    void Fail(MixerCall call, MMRESULT result, int times = 1);

    // --- inspection ---
    std::vector<std::string> calls;
    UINT openedDeviceId = 0;
    DWORD openFlags = 0;
    HWND openWindow = nullptr;
    int OpenMixers() const { return openCount_; }
    int Count(const std::string& call) const;
    // The wave-in destination's selector and the volume of a source type
    // (null when absent).
    FakeMixerControl* Selector();
    FakeMixerControl* SourceVolume(DWORD componentType);
    // Names of the selector's items whose value is set.
    std::vector<std::string> SelectedItems();

    // --- MixerApi ---
    MMRESULT Open(HMIXER& mixer, UINT deviceId, HWND callbackWindow, DWORD flags) override;
    MMRESULT Close(HMIXER mixer) override;
    MMRESULT GetLineInfo(HMIXER mixer, MIXERLINEA& line, DWORD flags) override;
    MMRESULT GetLineControls(HMIXER mixer, MIXERLINECONTROLSA& controls, DWORD flags) override;
    MMRESULT GetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS& details, DWORD flags) override;
    MMRESULT SetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS& details, DWORD flags) override;

private:
    struct Failure {
        MMRESULT result;
        int times;
    };
    MMRESULT Enter(MixerCall call, const char* name, HMIXER mixer);
    void Number();  // gives line and control ids
    FakeMixerLine* LineById(DWORD lineId);
    FakeMixerControl* ControlById(DWORD controlId);
    void Describe(const FakeMixerLine& line, DWORD destination, DWORD source, MIXERLINEA& out) const;
    static void Describe(const FakeMixerControl& control, MIXERCONTROLA& out);

    std::map<MixerCall, Failure> failures_;
    std::map<HMIXER, UINT> open_;
    int openCount_ = 0;
    unsigned nextHandle_ = 0x6600;
};
