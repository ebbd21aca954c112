// Choosing and listing wave devices by their product names.
#include "sound/WaveDevices.h"

UINT ChooseWaveDevice(WaveDirection direction, const std::string& storedName, WaveDevices& devices) {
    std::string name;
    UINT chosen = devices.ProductName(direction, WAVE_MAPPER, name) == MMSYSERR_NOERROR ? WAVE_MAPPER : 0;
    const UINT count = devices.NumDevs(direction);
    for (UINT id = 0; id < count; ++id) {
        // Later equal names replace earlier ones: the last match wins.
        if (devices.ProductName(direction, id, name) == MMSYSERR_NOERROR && name == storedName) {
            chosen = id;
        }
    }
    return chosen;
}

std::vector<std::string> WaveDeviceNames(WaveDirection direction, WaveDevices& devices) {
    std::vector<std::string> names;
    std::string name;
    if (devices.ProductName(direction, WAVE_MAPPER, name) == MMSYSERR_NOERROR) names.push_back(name);
    const UINT count = devices.NumDevs(direction);
    for (UINT id = 0; id < count; ++id) {
        if (devices.ProductName(direction, id, name) == MMSYSERR_NOERROR) names.push_back(name);
    }
    return names;
}
