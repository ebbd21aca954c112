// The mixer service over winmm, each call by its platform name.
#include "sound/MixerApi.h"

namespace {

HMIXEROBJ Object(HMIXER mixer) { return reinterpret_cast<HMIXEROBJ>(mixer); }

class MixerApiWin32 final : public MixerApi {
public:
    MMRESULT Open(HMIXER& mixer, UINT deviceId, HWND callbackWindow, DWORD flags) override {
        return mixerOpen(&mixer, deviceId, reinterpret_cast<DWORD_PTR>(callbackWindow), 0, flags);
    }
    MMRESULT Close(HMIXER mixer) override { return mixerClose(mixer); }
    MMRESULT GetLineInfo(HMIXER mixer, MIXERLINEA& line, DWORD flags) override {
        return mixerGetLineInfoA(Object(mixer), &line, flags | MIXER_OBJECTF_HMIXER);
    }
    MMRESULT GetLineControls(HMIXER mixer, MIXERLINECONTROLSA& controls, DWORD flags) override {
        return mixerGetLineControlsA(Object(mixer), &controls, flags | MIXER_OBJECTF_HMIXER);
    }
    MMRESULT GetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS& details, DWORD flags) override {
        return mixerGetControlDetailsA(Object(mixer), &details, flags | MIXER_OBJECTF_HMIXER);
    }
    MMRESULT SetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS& details, DWORD flags) override {
        return mixerSetControlDetails(Object(mixer), &details, flags | MIXER_OBJECTF_HMIXER);
    }
};

MixerApiWin32 realMixers;
MixerApi* replacementMixers = nullptr;

}  // namespace

MixerApi& Mixers() { return replacementMixers ? *replacementMixers : realMixers; }

void SetMixers(MixerApi* replacement) { replacementMixers = replacement; }
