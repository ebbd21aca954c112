// The platform's audio mixer (winmm mixer functions), one virtual call per
// platform operation, so that the mixer logic runs against a fake mixer in
// tests. The program uses the winmm implementation (MixerApiWin32.cpp); tests
// install tests/fakes/FakeMixer with SetMixers().
#pragma once

#include <windows.h>
#include <mmsystem.h>

class MixerApi {
public:
    virtual ~MixerApi() = default;

    // mixerOpen: deviceId with MIXER_OBJECTF_WAVEIN names a wave-in device;
    // flags may add CALLBACK_WINDOW (then callbackWindow gets MM_MIXM_* messages).
    virtual MMRESULT Open(HMIXER& mixer, UINT deviceId, HWND callbackWindow, DWORD flags) = 0;
    // mixerClose.
    virtual MMRESULT Close(HMIXER mixer) = 0;
    // mixerGetLineInfoA on an open mixer (MIXER_OBJECTF_HMIXER implied).
    virtual MMRESULT GetLineInfo(HMIXER mixer, MIXERLINEA& line, DWORD flags) = 0;
    // mixerGetLineControlsA.
    virtual MMRESULT GetLineControls(HMIXER mixer, MIXERLINECONTROLSA& controls, DWORD flags) = 0;
    // mixerGetControlDetailsA / mixerSetControlDetails.
    virtual MMRESULT GetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS& details, DWORD flags) = 0;
    virtual MMRESULT SetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS& details, DWORD flags) = 0;
};

// The service in use; never null (winmm until a test replaces it).
MixerApi& Mixers();
// Installs a replacement (tests); null restores winmm. Not owned.
void SetMixers(MixerApi* replacement);
