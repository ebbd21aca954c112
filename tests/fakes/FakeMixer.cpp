#include "tests/fakes/FakeMixer.h"

#include <cstdio>

namespace {

template <size_t N>
void CopyText(char (&to)[N], const std::string& from) {
    std::snprintf(to, N, "%s", from.c_str());
}

bool IsSelector(const FakeMixerControl& control) { return !control.items.empty(); }

}  // namespace

FakeMixer::FakeMixer(DWORD selectorType, const std::vector<FakeMixerSource>& sources) {
    FakeMixerLine speakers{MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, "Speakers", {}, {}, 0};
    speakers.controls.push_back({MIXERCONTROL_CONTROLTYPE_VOLUME, "Master Volume", 0, 65535, {}, {32768}, 0});
    FakeMixerLine recording{MIXERLINE_COMPONENTTYPE_DST_WAVEIN, "Recording Control", {}, {}, 0};
    recording.controls.push_back({MIXERCONTROL_CONTROLTYPE_VOLUME, "Recording Volume", 0, 65535, {}, {32768}, 0});
    FakeMixerControl selector{selectorType, "Recording Source", 0, 65535, {}, {}, 0};
    for (const FakeMixerSource& s : sources) {
        selector.items.push_back(s.name);
        selector.values.push_back(selector.values.empty() ? 1 : 0);
        FakeMixerLine line{s.componentType, s.name, {}, {}, 0};
        line.controls.push_back({MIXERCONTROL_CONTROLTYPE_VOLUME, s.name + " Volume", 0, 65535, {}, {0}, 0});
        recording.sources.push_back(line);
    }
    recording.controls.push_back(selector);
    destinations = {speakers, recording};
}

void FakeMixer::Fail(MixerCall call, MMRESULT result, int times) {
    if (times == 0) {
        failures_.erase(call);
    } else {
        failures_[call] = {result, times};
    }
}

int FakeMixer::Count(const std::string& call) const {
    int count = 0;
    for (const auto& c : calls) count += c == call;
    return count;
}

MMRESULT FakeMixer::Enter(MixerCall call, const char* name, HMIXER mixer) {
    calls.push_back(name);
    Number();
    auto failure = failures_.find(call);
    if (failure != failures_.end()) {
        MMRESULT result = failure->second.result;
        if (failure->second.times > 0 && --failure->second.times == 0) failures_.erase(failure);
        return result;
    }
    if (call != MixerCall::Open && !open_.count(mixer)) return MMSYSERR_INVALHANDLE;
    return MMSYSERR_NOERROR;
}

void FakeMixer::Number() {
    DWORD nextControl = 1;
    for (size_t d = 0; d < destinations.size(); ++d) {
        FakeMixerLine& destination = destinations[d];
        destination.lineId = 0xFFFF0000u + DWORD(d);
        for (auto& control : destination.controls) control.id = nextControl++;
        for (size_t s = 0; s < destination.sources.size(); ++s) {
            destination.sources[s].lineId = 0x80000000u | (DWORD(s + 1) << 16) | DWORD(d);
            for (auto& control : destination.sources[s].controls) control.id = nextControl++;
        }
    }
}

FakeMixerLine* FakeMixer::LineById(DWORD lineId) {
    for (auto& destination : destinations) {
        if (destination.lineId == lineId) return &destination;
        for (auto& source : destination.sources) {
            if (source.lineId == lineId) return &source;
        }
    }
    return nullptr;
}

FakeMixerControl* FakeMixer::ControlById(DWORD controlId) {
    for (auto& destination : destinations) {
        for (auto& control : destination.controls) {
            if (control.id == controlId) return &control;
        }
        for (auto& source : destination.sources) {
            for (auto& control : source.controls) {
                if (control.id == controlId) return &control;
            }
        }
    }
    return nullptr;
}

FakeMixerControl* FakeMixer::Selector() {
    Number();
    for (auto& destination : destinations) {
        if (destination.componentType != MIXERLINE_COMPONENTTYPE_DST_WAVEIN) continue;
        for (auto& control : destination.controls) {
            if (IsSelector(control)) return &control;
        }
    }
    return nullptr;
}

FakeMixerControl* FakeMixer::SourceVolume(DWORD componentType) {
    Number();
    for (auto& destination : destinations) {
        if (destination.componentType != MIXERLINE_COMPONENTTYPE_DST_WAVEIN) continue;
        for (auto& source : destination.sources) {
            if (source.componentType != componentType) continue;
            for (auto& control : source.controls) {
                if (control.type == MIXERCONTROL_CONTROLTYPE_VOLUME) return &control;
            }
        }
    }
    return nullptr;
}

std::vector<std::string> FakeMixer::SelectedItems() {
    std::vector<std::string> selected;
    if (FakeMixerControl* selector = Selector()) {
        for (size_t i = 0; i < selector->items.size() && i < selector->values.size(); ++i) {
            if (selector->values[i]) selected.push_back(selector->items[i]);
        }
    }
    return selected;
}

MMRESULT FakeMixer::Open(HMIXER& mixer, UINT deviceId, HWND callbackWindow, DWORD flags) {
    if (MMRESULT rc = Enter(MixerCall::Open, "mixerOpen", nullptr)) return rc;
    mixer = reinterpret_cast<HMIXER>(UINT_PTR(nextHandle_ += 0x10));
    open_[mixer] = deviceId;
    ++openCount_;
    openedDeviceId = deviceId;
    openFlags = flags;
    openWindow = callbackWindow;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeMixer::Close(HMIXER mixer) {
    if (MMRESULT rc = Enter(MixerCall::Close, "mixerClose", mixer)) return rc;
    open_.erase(mixer);
    --openCount_;
    return MMSYSERR_NOERROR;
}

void FakeMixer::Describe(const FakeMixerLine& line, DWORD destination, DWORD source, MIXERLINEA& out) const {
    out.dwDestination = destination;
    out.dwSource = source;
    out.dwLineID = line.lineId;
    out.dwComponentType = line.componentType;
    out.cChannels = 2;
    out.cConnections = DWORD(line.sources.size());
    out.cControls = DWORD(line.controls.size());
    out.fdwLine = MIXERLINE_LINEF_ACTIVE;
    CopyText(out.szShortName, line.name);
    CopyText(out.szName, line.name);
}

MMRESULT FakeMixer::GetLineInfo(HMIXER mixer, MIXERLINEA& line, DWORD flags) {
    if (MMRESULT rc = Enter(MixerCall::GetLineInfo, "mixerGetLineInfoA", mixer)) return rc;
    if (line.cbStruct < sizeof line) return MMSYSERR_INVALPARAM;
    switch (flags & MIXER_GETLINEINFOF_QUERYMASK) {
    case MIXER_GETLINEINFOF_COMPONENTTYPE:
        for (size_t d = 0; d < destinations.size(); ++d) {
            if (destinations[d].componentType != line.dwComponentType) continue;
            Describe(destinations[d], DWORD(d), 0, line);
            return MMSYSERR_NOERROR;
        }
        return MIXERR_INVALLINE;
    case MIXER_GETLINEINFOF_DESTINATION:
        if (line.dwDestination >= destinations.size()) return MMSYSERR_INVALPARAM;
        Describe(destinations[line.dwDestination], line.dwDestination, 0, line);
        return MMSYSERR_NOERROR;
    case MIXER_GETLINEINFOF_SOURCE: {
        if (line.dwDestination >= destinations.size()) return MMSYSERR_INVALPARAM;
        const FakeMixerLine& destination = destinations[line.dwDestination];
        if (line.dwSource >= destination.sources.size()) return MMSYSERR_INVALPARAM;
        Describe(destination.sources[line.dwSource], line.dwDestination, line.dwSource, line);
        return MMSYSERR_NOERROR;
    }
    default:
        return MMSYSERR_NOTSUPPORTED;
    }
}

void FakeMixer::Describe(const FakeMixerControl& control, MIXERCONTROLA& out) {
    out.cbStruct = sizeof out;
    out.dwControlID = control.id;
    out.dwControlType = control.type;
    out.fdwControl = IsSelector(control) ? MIXERCONTROL_CONTROLF_MULTIPLE | MIXERCONTROL_CONTROLF_UNIFORM : 0;
    out.cMultipleItems = DWORD(control.items.size());
    CopyText(out.szShortName, control.name);
    CopyText(out.szName, control.name);
    out.Bounds.dwMinimum = control.minimum;
    out.Bounds.dwMaximum = control.maximum;
}

MMRESULT FakeMixer::GetLineControls(HMIXER mixer, MIXERLINECONTROLSA& controls, DWORD flags) {
    if (MMRESULT rc = Enter(MixerCall::GetLineControls, "mixerGetLineControlsA", mixer)) return rc;
    if (controls.cbStruct < sizeof controls || controls.cbmxctrl < sizeof(MIXERCONTROLA) || !controls.pamxctrl) {
        return MMSYSERR_INVALPARAM;
    }
    FakeMixerLine* line = LineById(controls.dwLineID);
    if (!line) return MIXERR_INVALLINE;
    switch (flags & MIXER_GETLINECONTROLSF_QUERYMASK) {
    case MIXER_GETLINECONTROLSF_ALL:
        if (controls.cControls != line->controls.size()) return MMSYSERR_INVALPARAM;
        for (size_t i = 0; i < line->controls.size(); ++i) Describe(line->controls[i], controls.pamxctrl[i]);
        return MMSYSERR_NOERROR;
    case MIXER_GETLINECONTROLSF_ONEBYTYPE:
        for (const auto& control : line->controls) {
            if (control.type != controls.dwControlType) continue;
            Describe(control, *controls.pamxctrl);
            return MMSYSERR_NOERROR;
        }
        return MIXERR_INVALCONTROL;
    default:
        return MMSYSERR_NOTSUPPORTED;
    }
}

MMRESULT FakeMixer::GetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS& details, DWORD flags) {
    if (MMRESULT rc = Enter(MixerCall::GetControlDetails, "mixerGetControlDetailsA", mixer)) return rc;
    FakeMixerControl* control = ControlById(details.dwControlID);
    if (!control) return MIXERR_INVALCONTROL;
    if (details.cbStruct < sizeof details || !details.paDetails || details.cChannels != 1) return MMSYSERR_INVALPARAM;
    const size_t count = IsSelector(*control) ? control->items.size() : 1;
    if (details.cMultipleItems != (IsSelector(*control) ? count : 0)) return MMSYSERR_INVALPARAM;
    switch (flags & MIXER_GETCONTROLDETAILSF_QUERYMASK) {
    case MIXER_GETCONTROLDETAILSF_LISTTEXT: {
        if (!IsSelector(*control) || details.cbDetails != sizeof(MIXERCONTROLDETAILS_LISTTEXTA)) {
            return MMSYSERR_INVALPARAM;
        }
        auto* texts = static_cast<MIXERCONTROLDETAILS_LISTTEXTA*>(details.paDetails);
        for (size_t i = 0; i < count; ++i) {
            texts[i] = MIXERCONTROLDETAILS_LISTTEXTA{};
            CopyText(texts[i].szName, control->items[i]);
        }
        return MMSYSERR_NOERROR;
    }
    case MIXER_GETCONTROLDETAILSF_VALUE: {
        if (details.cbDetails != sizeof(LONG)) return MMSYSERR_INVALPARAM;
        auto* values = static_cast<LONG*>(details.paDetails);
        for (size_t i = 0; i < count; ++i) values[i] = i < control->values.size() ? control->values[i] : 0;
        return MMSYSERR_NOERROR;
    }
    default:
        return MMSYSERR_NOTSUPPORTED;
    }
}

MMRESULT FakeMixer::SetControlDetails(HMIXER mixer, MIXERCONTROLDETAILS& details, DWORD flags) {
    if (MMRESULT rc = Enter(MixerCall::SetControlDetails, "mixerSetControlDetails", mixer)) return rc;
    FakeMixerControl* control = ControlById(details.dwControlID);
    if (!control) return MIXERR_INVALCONTROL;
    if ((flags & MIXER_SETCONTROLDETAILSF_QUERYMASK) != MIXER_SETCONTROLDETAILSF_VALUE) return MMSYSERR_NOTSUPPORTED;
    const size_t count = IsSelector(*control) ? control->items.size() : 1;
    if (details.cbStruct < sizeof details || !details.paDetails || details.cChannels != 1 ||
        details.cbDetails != sizeof(LONG) || details.cMultipleItems != (IsSelector(*control) ? count : 0)) {
        return MMSYSERR_INVALPARAM;
    }
    const auto* values = static_cast<const LONG*>(details.paDetails);
    control->values.assign(values, values + count);
    return MMSYSERR_NOERROR;
}
