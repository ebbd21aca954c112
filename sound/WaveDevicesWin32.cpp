// The wave device service over winmm, each call by its platform name.
#include "sound/WaveDevices.h"

namespace {

HWAVEIN In(HWAVE h) { return reinterpret_cast<HWAVEIN>(h); }
HWAVEOUT Out(HWAVE h) { return reinterpret_cast<HWAVEOUT>(h); }
constexpr UINT kHeaderBytes = sizeof(WAVEHDR);

class WaveDevicesWin32 final : public WaveDevices {
public:
    UINT NumDevs(WaveDirection direction) override {
        return direction == WaveDirection::Input ? waveInGetNumDevs() : waveOutGetNumDevs();
    }

    MMRESULT ProductName(WaveDirection direction, UINT deviceId, std::string& name) override {
        if (direction == WaveDirection::Input) {
            WAVEINCAPSA caps{};
            MMRESULT rc = waveInGetDevCapsA(deviceId, &caps, sizeof caps);
            if (rc == MMSYSERR_NOERROR) name = caps.szPname;
            return rc;
        }
        WAVEOUTCAPSA caps{};
        MMRESULT rc = waveOutGetDevCapsA(deviceId, &caps, sizeof caps);
        if (rc == MMSYSERR_NOERROR) name = caps.szPname;
        return rc;
    }

    MMRESULT Open(WaveDirection direction, HWAVE* handle, UINT deviceId, const WAVEFORMATEX& format,
                  HWND callbackWindow, DWORD openFlags) override {
        const auto callback = reinterpret_cast<DWORD_PTR>(callbackWindow);
        if (direction == WaveDirection::Input) {
            HWAVEIN in = nullptr;
            MMRESULT rc = waveInOpen(&in, deviceId, &format, callback, 0, openFlags);
            *handle = reinterpret_cast<HWAVE>(in);
            return rc;
        }
        HWAVEOUT out = nullptr;
        MMRESULT rc = waveOutOpen(&out, deviceId, &format, callback, 0, openFlags);
        *handle = reinterpret_cast<HWAVE>(out);
        return rc;
    }

    MMRESULT PrepareHeader(WaveDirection direction, HWAVE h, WAVEHDR* header) override {
        return direction == WaveDirection::Input ? waveInPrepareHeader(In(h), header, kHeaderBytes)
                                                 : waveOutPrepareHeader(Out(h), header, kHeaderBytes);
    }

    MMRESULT UnprepareHeader(WaveDirection direction, HWAVE h, WAVEHDR* header) override {
        return direction == WaveDirection::Input
                   ? waveInUnprepareHeader(In(h), header, kHeaderBytes)
                   : waveOutUnprepareHeader(Out(h), header, kHeaderBytes);
    }

    MMRESULT Queue(WaveDirection direction, HWAVE h, WAVEHDR* header) override {
        return direction == WaveDirection::Input ? waveInAddBuffer(In(h), header, kHeaderBytes)
                                                 : waveOutWrite(Out(h), header, kHeaderBytes);
    }

    MMRESULT Start(HWAVE input) override { return waveInStart(In(input)); }
    MMRESULT Stop(HWAVE input) override { return waveInStop(In(input)); }

    MMRESULT Reset(WaveDirection direction, HWAVE h) override {
        return direction == WaveDirection::Input ? waveInReset(In(h)) : waveOutReset(Out(h));
    }

    MMRESULT Close(WaveDirection direction, HWAVE h) override {
        return direction == WaveDirection::Input ? waveInClose(In(h)) : waveOutClose(Out(h));
    }
};

WaveDevicesWin32 realDevices;
WaveDevices* replacementDevices = nullptr;

}  // namespace

WaveDevices& Waves() { return replacementDevices ? *replacementDevices : realDevices; }

void SetWaves(WaveDevices* replacement) { replacementDevices = replacement; }
