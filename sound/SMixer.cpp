// The recording source and level on the mixer of a wave-input device.
#include "sound/SMixer.h"

#include <algorithm>
#include <cctype>
#include <cstdint>

namespace {

std::string Lower(const std::string& text) {
    std::string lower(text);
    for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

bool EqualNoCase(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

// Fixed-size platform text, read without running past its array.
template <size_t N>
std::string Text(const char (&chars)[N]) {
    return std::string(chars, std::find(chars, chars + N, '\0'));
}

bool IsSelectorType(DWORD type) {
    return type == MIXERCONTROL_CONTROLTYPE_MUX || type == MIXERCONTROL_CONTROLTYPE_SINGLESELECT ||
           type == MIXERCONTROL_CONTROLTYPE_MIXER || type == MIXERCONTROL_CONTROLTYPE_MULTIPLESELECT;
}

bool NamesItem(const std::string& wanted, const std::string& item) {
    if (EqualNoCase(wanted, item)) return true;
    // Cards name the line input differently; "line-in" finds them all.
    const std::string lowerItem = Lower(item);
    return Lower(wanted) == "line-in" && (lowerItem == "linein" || lowerItem == "line in");
}

constexpr size_t kMaxSourceNameChars = 259;

// The details record of one control: one value for every channel, items of
// itemBytes each at items (multipleItems of them for a list control, else 0).
MIXERCONTROLDETAILS ControlDetails(const MIXERCONTROLA& control, DWORD multipleItems, DWORD itemBytes,
                                   void* items) {
    MIXERCONTROLDETAILS details{};
    details.cbStruct = sizeof details;
    details.dwControlID = control.dwControlID;
    details.cChannels = 1;
    details.cMultipleItems = multipleItems;
    details.cbDetails = itemBytes;
    details.paDetails = items;
    return details;
}

}  // namespace

SMixer::SMixer(MixerApi& mixers, WaveDevices& waves) : mixers_(mixers), waves_(waves) {}

SMixer::~SMixer() { Close(); }

MMRESULT SMixer::Open(DWORD objectType, const std::string& waveInName, HWND callbackWindow) {
    Close();
    if (objectType != MIXER_OBJECTF_WAVEIN) return MMSYSERR_NOTSUPPORTED;
    const int index = WaveInDeviceIndex(waveInName);
    if (index < 0) return MMSYSERR_BADDEVICEID;
    DWORD flags = MIXER_OBJECTF_WAVEIN;
    if (callbackWindow) flags |= CALLBACK_WINDOW;
    HMIXER opened = nullptr;
    MMRESULT rc = mixers_.Open(opened, UINT(index), callbackWindow, flags);
    if (rc != MMSYSERR_NOERROR) return rc;
    mixer_ = opened;
    callbackWindow_ = callbackWindow;
    return MMSYSERR_NOERROR;
}

void SMixer::Close() {
    if (mixer_) mixers_.Close(mixer_);
    mixer_ = nullptr;
    callbackWindow_ = nullptr;
}

int SMixer::WaveInDeviceIndex(const std::string& name) const {
    if (name.empty() || EqualNoCase(name, "<default>") || name == "-1" ||
        name.find("Mapper") != std::string::npos || name.find("mapper") != std::string::npos) {
        return 0;
    }
    bool someUnreadable = false;
    const UINT count = waves_.NumDevs(WaveDirection::Input);
    for (UINT id = 0; id < count; ++id) {
        std::string product;
        if (waves_.ProductName(WaveDirection::Input, id, product) != MMSYSERR_NOERROR) {
            someUnreadable = true;  // keep looking: a later device may carry the name
            continue;
        }
        if (EqualNoCase(product, name)) return int(id);
    }
    return someUnreadable ? 0 : -1;
}

DWORD SMixer::SourceType(const std::string& name) {
    std::string key;
    for (char c : Lower(name)) {
        if (c != ' ' && c != '-') key += c;
    }
    if (key == "line" || key == "linein") return MIXERLINE_COMPONENTTYPE_SRC_LINE;
    if (key == "microphone" || key == "mike" || key == "mic") return MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE;
    if (key == "aux" || key == "auxiliary") return MIXERLINE_COMPONENTTYPE_SRC_AUXILIARY;
    return 0;
}

bool SMixer::WaveInDestination(MIXERLINEA& destination) {
    if (!mixer_) return false;
    destination = MIXERLINEA{};
    destination.cbStruct = sizeof destination;
    destination.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_WAVEIN;
    return mixers_.GetLineInfo(mixer_, destination, MIXER_GETLINEINFOF_COMPONENTTYPE) == MMSYSERR_NOERROR;
}

bool SMixer::RecordSourceLineId(DWORD componentType, DWORD& lineId) {
    MIXERLINEA destination;
    if (componentType == 0 || !WaveInDestination(destination)) return false;
    for (DWORD i = 0; i < destination.cConnections; ++i) {
        MIXERLINEA source{};
        source.cbStruct = sizeof source;
        source.dwDestination = destination.dwDestination;
        source.dwSource = i;
        if (mixers_.GetLineInfo(mixer_, source, MIXER_GETLINEINFOF_SOURCE) != MMSYSERR_NOERROR) continue;
        if (source.dwComponentType == componentType) {
            lineId = source.dwLineID;
            return true;
        }
    }
    return false;
}

bool SMixer::SetRecordVolume(const std::string& sourceName, int volume) {
    return SetRecordVolume(SourceType(sourceName), volume);
}

bool SMixer::SetRecordVolume(DWORD componentType, int volume) {
    DWORD lineId = 0;
    if (volume < 0 || volume > 127 || !RecordSourceLineId(componentType, lineId)) return false;
    MIXERCONTROLA control{};
    control.cbStruct = sizeof control;
    MIXERLINECONTROLSA controls{};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = lineId;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_VOLUME;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof control;
    controls.pamxctrl = &control;
    if (mixers_.GetLineControls(mixer_, controls, MIXER_GETLINECONTROLSF_ONEBYTYPE) != MMSYSERR_NOERROR) {
        return false;
    }
    const DWORD low = control.Bounds.dwMinimum, high = control.Bounds.dwMaximum;
    if (high < low) return false;
    // 64-bit: a control may span the whole 32-bit range.
    MIXERCONTROLDETAILS_UNSIGNED value{};
    value.dwValue = DWORD(low + std::uint64_t(high - low) * std::uint64_t(volume) / 127);
    MIXERCONTROLDETAILS details = ControlDetails(control, 0, sizeof value, &value);
    return mixers_.SetControlDetails(mixer_, details, MIXER_SETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
}

bool SMixer::FindSelectorControl(MIXERCONTROLA& control) {
    MIXERLINEA destination;
    if (!WaveInDestination(destination) || destination.cControls == 0) return false;
    std::vector<MIXERCONTROLA> all(destination.cControls);
    for (MIXERCONTROLA& each : all) each.cbStruct = sizeof each;
    MIXERLINECONTROLSA controls{};
    controls.cbStruct = sizeof controls;
    controls.dwLineID = destination.dwLineID;
    controls.cControls = destination.cControls;
    controls.cbmxctrl = sizeof(MIXERCONTROLA);
    controls.pamxctrl = all.data();
    if (mixers_.GetLineControls(mixer_, controls, MIXER_GETLINECONTROLSF_ALL) != MMSYSERR_NOERROR) {
        return false;
    }
    auto found = std::find_if(all.begin(), all.end(),
                              [](const MIXERCONTROLA& c) { return IsSelectorType(c.dwControlType); });
    if (found == all.end()) return false;
    control = *found;
    return true;
}

bool SMixer::ReadSelector(Selector& selector) {
    if (!FindSelectorControl(selector.control)) return false;
    const DWORD items = std::max<DWORD>(selector.control.cMultipleItems, 1);
    std::vector<MIXERCONTROLDETAILS_LISTTEXTA> texts(items);
    MIXERCONTROLDETAILS details =
        ControlDetails(selector.control, selector.control.cMultipleItems,
                       sizeof(MIXERCONTROLDETAILS_LISTTEXTA), texts.data());
    if (mixers_.GetControlDetails(mixer_, details, MIXER_GETCONTROLDETAILSF_LISTTEXT) != MMSYSERR_NOERROR) {
        return false;
    }
    selector.values.assign(items, MIXERCONTROLDETAILS_BOOLEAN{});
    details.cbDetails = sizeof(MIXERCONTROLDETAILS_BOOLEAN);
    details.paDetails = selector.values.data();
    if (mixers_.GetControlDetails(mixer_, details, MIXER_GETCONTROLDETAILSF_VALUE) != MMSYSERR_NOERROR) {
        return false;
    }
    selector.names.clear();
    for (const auto& text : texts) selector.names.push_back(Text(text.szName));
    return true;
}

bool SMixer::WriteSelector(Selector& selector) {
    MIXERCONTROLDETAILS details =
        ControlDetails(selector.control, selector.control.cMultipleItems,
                       sizeof(MIXERCONTROLDETAILS_BOOLEAN), selector.values.data());
    return mixers_.SetControlDetails(mixer_, details, MIXER_SETCONTROLDETAILSF_VALUE) == MMSYSERR_NOERROR;
}

bool SMixer::SelectRecordSource(const std::string& name) {
    Selector selector;
    if (!ReadSelector(selector)) return false;
    auto found = std::find_if(selector.names.begin(), selector.names.end(),
                              [&](const std::string& item) { return NamesItem(name, item); });
    if (found == selector.names.end()) return false;
    for (auto& value : selector.values) value.fValue = 0;
    selector.values[size_t(found - selector.names.begin())].fValue = 1;
    return WriteSelector(selector);
}

bool SMixer::SelectedRecordSource(std::string& name) {
    Selector selector;
    if (!ReadSelector(selector)) return false;
    for (size_t i = 0; i < selector.values.size(); ++i) {
        if (selector.values[i].fValue) {
            name = selector.names[i].substr(0, kMaxSourceNameChars);
            return true;
        }
    }
    return false;
}
