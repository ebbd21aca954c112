// One open wave device: the lending of buffers and the one teardown path.
#include "sound/WaveDevice.h"

#include <algorithm>

namespace {
// The recorder's ring has five buffers; room for a few more avoids any
// allocation while recording.
constexpr size_t kUsualHeaders = 8;
}  // namespace

WaveDevice::WaveDevice(WaveDirection direction, WaveDevices& devices)
    : devices_(devices), direction_(direction) {
    prepared_.reserve(kUsualHeaders);
}

WaveDevice::~WaveDevice() { Close(); }

MMRESULT WaveDevice::Open(UINT deviceId, const WAVEFORMATEX& format, HWND callbackWindow) {
    Close();
    DWORD flags = CALLBACK_WINDOW;
    if (direction_ == WaveDirection::Output) flags |= WAVE_ALLOWSYNC;
    HWAVE opened = nullptr;
    MMRESULT rc = devices_.Open(direction_, &opened, deviceId, format, callbackWindow, flags);
    // A failed open may leave anything in the handle; only success owns one.
    handle_ = rc == MMSYSERR_NOERROR ? opened : nullptr;
    return rc;
}

MMRESULT WaveDevice::Prepare(WAVEHDR& header) {
    if (!handle_) return MMSYSERR_INVALHANDLE;
    MMRESULT rc = devices_.PrepareHeader(direction_, handle_, &header);
    if (rc == MMSYSERR_NOERROR &&
        std::find(prepared_.begin(), prepared_.end(), &header) == prepared_.end()) {
        prepared_.push_back(&header);
    }
    return rc;
}

MMRESULT WaveDevice::Unprepare(WAVEHDR& header) {
    if (!handle_) return MMSYSERR_INVALHANDLE;
    MMRESULT rc = devices_.UnprepareHeader(direction_, handle_, &header);
    if (rc == MMSYSERR_NOERROR) Forget(&header);
    return rc;
}

MMRESULT WaveDevice::UnprepareAll() {
    if (!handle_) return prepared_.empty() ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
    MMRESULT first = MMSYSERR_NOERROR;
    // A header that will not unprepare is still forgotten: the device is
    // about to be closed or reset again, and a stale entry would be
    // unprepared on a later device that never saw it.
    for (WAVEHDR* header : prepared_) {
        MMRESULT rc = devices_.UnprepareHeader(direction_, handle_, header);
        if (first == MMSYSERR_NOERROR) first = rc;
    }
    prepared_.clear();
    return first;
}

MMRESULT WaveDevice::Queue(WAVEHDR& header) {
    if (!handle_) return MMSYSERR_INVALHANDLE;
    return devices_.Queue(direction_, handle_, &header);
}

MMRESULT WaveDevice::Start() {
    if (direction_ != WaveDirection::Input) return MMSYSERR_NOTSUPPORTED;
    return handle_ ? devices_.Start(handle_) : MMSYSERR_INVALHANDLE;
}

MMRESULT WaveDevice::Stop() {
    if (direction_ != WaveDirection::Input) return MMSYSERR_NOTSUPPORTED;
    return handle_ ? devices_.Stop(handle_) : MMSYSERR_INVALHANDLE;
}

MMRESULT WaveDevice::Reset() {
    return handle_ ? devices_.Reset(direction_, handle_) : MMSYSERR_INVALHANDLE;
}

WaveCloseResult WaveDevice::Close() {
    WaveCloseResult result;
    if (!handle_) {
        prepared_.clear();
        return result;
    }
    // Order matters: a device will not unprepare a lent buffer nor close
    // while it holds one, and only reset returns them all.
    if (direction_ == WaveDirection::Input) result.stop = devices_.Stop(handle_);
    result.reset = devices_.Reset(direction_, handle_);
    result.unprepare = UnprepareAll();
    result.close = devices_.Close(direction_, handle_);
    handle_ = nullptr;
    return result;
}

bool WaveDevice::HandOver(WaveDevice& to) {
    if (&to == this || !handle_ || !prepared_.empty() || to.direction_ != direction_ || &to.devices_ != &devices_)
        return false;
    (void)to.Close();
    to.handle_ = handle_;
    handle_ = nullptr;
    return true;
}

void WaveDevice::Forget(const WAVEHDR* header) {
    prepared_.erase(std::remove(prepared_.begin(), prepared_.end(), header), prepared_.end());
}
