// One open wave input or output device and the buffers lent to it.
//
// Two-phase: the constructor cannot fail; Open() returns the platform's result.
// Close() is the one teardown path: stop (input), reset, unprepare every
// header this object prepared, close, in that order, because a device refuses
// to close while it holds buffers and a buffer may not be unprepared while it
// is lent. Close() is idempotent and the destructor calls it.
//
// The headers and their data stay owned by the caller (the recorder's buffer
// ring); they must outlive the device's use of them, that is until Close() or
// Unprepare() of each.
#pragma once

#include "sound/WaveDevices.h"

#include <vector>

// What each step of Close() returned; MMSYSERR_NOERROR for a step not needed.
struct WaveCloseResult {
    MMRESULT stop = MMSYSERR_NOERROR;       // input only
    MMRESULT reset = MMSYSERR_NOERROR;
    MMRESULT unprepare = MMSYSERR_NOERROR;  // the first failing header's result
    MMRESULT close = MMSYSERR_NOERROR;
    bool Ok() const {
        return stop == MMSYSERR_NOERROR && reset == MMSYSERR_NOERROR &&
               unprepare == MMSYSERR_NOERROR && close == MMSYSERR_NOERROR;
    }
};

class WaveDevice {
public:
    explicit WaveDevice(WaveDirection direction, WaveDevices& devices = Waves());
    ~WaveDevice();
    WaveDevice(const WaveDevice&) = delete;
    WaveDevice& operator=(const WaveDevice&) = delete;

    // Opens deviceId (WAVE_MAPPER allowed) for the PCM format, reporting to
    // callbackWindow: CALLBACK_WINDOW for input, CALLBACK_WINDOW |
    // WAVE_ALLOWSYNC for output. An open device is closed first. Output
    // devices in use by another program give MMSYSERR_ALLOCATED.
    [[nodiscard]] MMRESULT Open(UINT deviceId, const WAVEFORMATEX& format, HWND callbackWindow);

    // Prepares a header for lending and remembers it for Close().
    [[nodiscard]] MMRESULT Prepare(WAVEHDR& header);
    // Unprepares a returned header and forgets it.
    [[nodiscard]] MMRESULT Unprepare(WAVEHDR& header);
    // Unprepares every remembered header; the first failure is returned.
    [[nodiscard]] MMRESULT UnprepareAll();
    // Lends a prepared header: waveInAddBuffer or waveOutWrite.
    [[nodiscard]] MMRESULT Queue(WAVEHDR& header);

    // Input only (output devices give MMSYSERR_NOTSUPPORTED).
    [[nodiscard]] MMRESULT Start();
    [[nodiscard]] MMRESULT Stop();
    // Returns every lent buffer marked done.
    [[nodiscard]] MMRESULT Reset();

    // Stop (input), reset, unprepare all, close. Does nothing when closed.
    // The handle is forgotten whatever the steps returned.
    WaveCloseResult Close();
    // Gives the open device, with no buffer prepared, to `to` (closed
    // first), leaving this object closed. False, and nothing moved, while a
    // buffer is still prepared or the two differ in direction or service.
    bool HandOver(WaveDevice& to);

    bool IsOpen() const { return handle_ != nullptr; }
    HWAVE Handle() const { return handle_; }
    // True when a message's wParam names this open device.
    bool IsHandle(WPARAM wParam) const { return handle_ && wParam == WPARAM(handle_); }
    WaveDirection Direction() const { return direction_; }
    size_t PreparedCount() const { return prepared_.size(); }

private:
    void Forget(const WAVEHDR* header);

    WaveDevices& devices_;
    WaveDirection direction_;
    HWAVE handle_ = nullptr;
    std::vector<WAVEHDR*> prepared_;  // reserved once: no allocation on the recording road
};
