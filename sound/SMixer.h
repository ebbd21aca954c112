// The mixer device that belongs to a wave-input device: selects the recording
// source and sets its recording volume when recording starts, and serves the
// input-source commands. Every failure is a false (or -1) result; nothing is
// shown to the user; a mixer that did not open makes every operation fail.
//
// Two-phase: the constructor cannot fail; Open() returns the platform's
// result; Close() is idempotent and the destructor calls it.
#pragma once

#include "sound/MixerApi.h"
#include "sound/WaveDevices.h"

#include <string>
#include <vector>

class SMixer {
public:
    explicit SMixer(MixerApi& mixers = Mixers(), WaveDevices& waves = Waves());
    virtual ~SMixer();
    SMixer(const SMixer&) = delete;
    SMixer& operator=(const SMixer&) = delete;

    // Only objectType MIXER_OBJECTF_WAVEIN opens anything: the mixer of the
    // wave-in device WaveInDeviceIndex(waveInName), with CALLBACK_WINDOW when
    // callbackWindow is given. Other types, or a name that matches no device,
    // give MMSYSERR_BADDEVICEID. An open mixer is closed first.
    [[nodiscard]] MMRESULT Open(DWORD objectType, const std::string& waveInName,
                                HWND callbackWindow = nullptr);
    void Close();
    bool IsOpen() const { return mixer_ != nullptr; }
    HWND CallbackWindow() const { return callbackWindow_; }

    // The wave-in device a stored name means: 0 for an empty name, "<default>",
    // "-1" or a name containing "Mapper"/"mapper" (the mapper's mixer is the
    // first device's); else the device whose product name equals the name
    // (case-blind); else 0 when some device's capabilities could not be read
    // (it may be that one), else -1.
    int WaveInDeviceIndex(const std::string& name) const;

    // The mixer component type a source name means (case-blind; blanks and
    // hyphens ignored, so "Line In", "Line-In" and "LineIn" agree): Line,
    // Microphone (also Mike, Mic), Auxiliary (also Aux); 0 for anything else.
    static DWORD SourceType(const std::string& name);

    // Sets the recording volume (0..127, scaled onto the control's bounds) of
    // the source line of that name or component type under the wave-in
    // destination. False for a volume outside 0..127, no such line, no volume
    // control, or a mixer error.
    bool SetRecordVolume(const std::string& sourceName, int volume);
    bool SetRecordVolume(DWORD componentType, int volume);

    // Makes the item of that name (case-blind; "line-in" also finds "LineIn"
    // and "Line In") the only selected item of the wave-in destination's
    // selector. False when there is no selector, no such item, or on error.
    bool SelectRecordSource(const std::string& name);
    // The name of the first selected item of the selector; name unchanged and
    // false when none is selected or on error.
    bool SelectedRecordSource(std::string& name);

    // The line id of the first source under the wave-in destination of the
    // given component type; false for type 0, no such source, or an error.
    bool RecordSourceLineId(DWORD componentType, DWORD& lineId);

private:
    struct Selector {
        MIXERCONTROLA control{};
        std::vector<std::string> names;
        std::vector<MIXERCONTROLDETAILS_BOOLEAN> values;
    };
    bool WaveInDestination(MIXERLINEA& destination);
    bool FindSelectorControl(MIXERCONTROLA& control);
    bool ReadSelector(Selector& selector);
    bool WriteSelector(Selector& selector);

    MixerApi& mixers_;
    WaveDevices& waves_;
    HMIXER mixer_ = nullptr;
    HWND callbackWindow_ = nullptr;
};
