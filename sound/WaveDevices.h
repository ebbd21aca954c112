// The platform's wave input and output devices (winmm), one virtual call per
// platform operation so that capture and playback can be driven by a script in
// tests. The program uses the winmm implementation (WaveDevicesWin32.cpp);
// tests install tests/fakes/FakeWaveDevices with SetWaves().
//
// Devices report through window messages only (CALLBACK_WINDOW): MM_WIM_DATA
// for each filled input buffer and MM_WOM_DONE for each played output buffer,
// wParam the device handle, lParam the WAVEHDR. Everything runs on the thread
// that owns the callback window. Every result other than MMSYSERR_NOERROR is a
// failure.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <string>
#include <vector>

enum class WaveDirection { Input, Output };

class WaveDevices {
public:
    virtual ~WaveDevices() = default;

    // waveInGetNumDevs / waveOutGetNumDevs.
    virtual UINT NumDevs(WaveDirection direction) = 0;
    // waveInGetDevCapsA / waveOutGetDevCapsA: the product name of a device
    // (0 .. NumDevs - 1, or WAVE_MAPPER).
    virtual MMRESULT ProductName(WaveDirection direction, UINT deviceId, std::string& name) = 0;
    // waveInOpen / waveOutOpen with a window callback; openFlags holds
    // CALLBACK_WINDOW and any further flags (WAVE_ALLOWSYNC).
    virtual MMRESULT Open(WaveDirection direction, HWAVE* handle, UINT deviceId,
                          const WAVEFORMATEX& format, HWND callbackWindow, DWORD openFlags) = 0;
    // wave*PrepareHeader / wave*UnprepareHeader.
    virtual MMRESULT PrepareHeader(WaveDirection direction, HWAVE handle, WAVEHDR* header) = 0;
    virtual MMRESULT UnprepareHeader(WaveDirection direction, HWAVE handle, WAVEHDR* header) = 0;
    // waveInAddBuffer (input) or waveOutWrite (output): lends a prepared buffer.
    virtual MMRESULT Queue(WaveDirection direction, HWAVE handle, WAVEHDR* header) = 0;
    // waveInStart / waveInStop: input devices only.
    virtual MMRESULT Start(HWAVE input) = 0;
    virtual MMRESULT Stop(HWAVE input) = 0;
    // wave*Reset: every lent buffer comes back marked WHDR_DONE.
    virtual MMRESULT Reset(WaveDirection direction, HWAVE handle) = 0;
    // wave*Close: Windows refuses with WAVERR_STILLPLAYING while buffers are
    // lent (Wine closes anyway).
    virtual MMRESULT Close(WaveDirection direction, HWAVE handle) = 0;
};

// The service in use; never null (winmm until a test replaces it).
WaveDevices& Waves();
// Installs a replacement (tests); null restores winmm. Not owned.
void SetWaves(WaveDevices* replacement);

// The device to open for a stored device name: the wave mapper (WAVE_MAPPER),
// or device 0 when the mapper's capabilities cannot be read; then every device
// whose product name equals the name exactly (case counts) takes its place, so
// the last of several equal names wins. "-1" and unknown names keep the mapper.
UINT ChooseWaveDevice(WaveDirection direction, const std::string& storedName,
                      WaveDevices& devices = Waves());

// The names a device list shows: the mapper's product name when it can be
// read, then each device whose capabilities can be read, in device order.
std::vector<std::string> WaveDeviceNames(WaveDirection direction, WaveDevices& devices = Waves());
