#include "tests/fakes/FakeWaveDevices.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
constexpr double kTwoPi = 6.283185307179586;
bool IsInput(WaveDirection d) { return d == WaveDirection::Input; }
}  // namespace

FakeWaveDevices::FakeWaveDevices() = default;
FakeWaveDevices::~FakeWaveDevices() = default;

void FakeWaveDevices::Fail(WaveCall call, MMRESULT result, int times) {
    if (times == 0) {
        failures_.erase(call);
    } else {
        failures_[call] = {result, times};
    }
}

void FakeWaveDevices::Tone(int buffers, double hz, double amplitude) {
    script_.push_back({WaveScriptStep::Kind::Tone, buffers, hz, hz, amplitude});
}

void FakeWaveDevices::Stereo(int buffers, double leftHz, double rightHz, double amplitude) {
    script_.push_back({WaveScriptStep::Kind::Tone, buffers, leftHz, rightHz, amplitude});
}

void FakeWaveDevices::Silence(int buffers) { script_.push_back({WaveScriptStep::Kind::Silence, buffers}); }

void FakeWaveDevices::Stall(int ticks) { script_.push_back({WaveScriptStep::Kind::Stall, ticks}); }

MMRESULT FakeWaveDevices::Enter(WaveCall call, const char* inName, const char* outName,
                                WaveDirection direction) {
    calls.push_back(IsInput(direction) ? inName : outName);
    auto failure = failures_.find(call);
    if (failure == failures_.end()) return MMSYSERR_NOERROR;
    MMRESULT result = failure->second.result;
    if (failure->second.times > 0 && --failure->second.times == 0) failures_.erase(failure);
    return result;
}

FakeWaveDevices::Device* FakeWaveDevices::Find(HWAVE handle, WaveDirection direction) {
    auto it = devices_.find(handle);
    return it != devices_.end() && it->second.direction == direction ? &it->second : nullptr;
}

UINT FakeWaveDevices::NumDevs(WaveDirection direction) {
    if (Enter(WaveCall::NumDevs, "waveInGetNumDevs", "waveOutGetNumDevs", direction)) return 0;
    return UINT(IsInput(direction) ? inputNames.size() : outputNames.size());
}

MMRESULT FakeWaveDevices::ProductName(WaveDirection direction, UINT deviceId, std::string& name) {
    if (MMRESULT rc = Enter(WaveCall::ProductName, "waveInGetDevCapsA", "waveOutGetDevCapsA", direction)) {
        return rc;
    }
    const auto& names = IsInput(direction) ? inputNames : outputNames;
    if (unreadable.count(deviceId)) return MMSYSERR_NODRIVER;
    if (deviceId == WAVE_MAPPER) {
        name = mapperName;
        return MMSYSERR_NOERROR;
    }
    if (deviceId >= names.size()) return MMSYSERR_BADDEVICEID;
    name = names[deviceId];
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveDevices::Open(WaveDirection direction, HWAVE* handle, UINT deviceId,
                               const WAVEFORMATEX& format, HWND callbackWindow, DWORD openFlags) {
    if (MMRESULT rc = Enter(WaveCall::Open, "waveInOpen", "waveOutOpen", direction)) return rc;
    const auto& names = IsInput(direction) ? inputNames : outputNames;
    if (deviceId != WAVE_MAPPER && deviceId >= names.size()) return MMSYSERR_BADDEVICEID;
    const bool pcmConsistent = format.wFormatTag == WAVE_FORMAT_PCM && format.nChannels >= 1 &&
                               (format.wBitsPerSample == 8 || format.wBitsPerSample == 16) &&
                               format.nBlockAlign == format.nChannels * format.wBitsPerSample / 8 &&
                               format.nAvgBytesPerSec == format.nBlockAlign * format.nSamplesPerSec;
    if (!pcmConsistent) return WAVERR_BADFORMAT;
    HWAVE opened = reinterpret_cast<HWAVE>(UINT_PTR(nextHandle_ += 0x10));
    Device& device = devices_[opened];
    device.direction = direction;
    device.format = format;
    device.window = callbackWindow;
    *handle = opened;
    lastHandle = opened;
    lastDeviceId = deviceId;
    lastOpenFlags = openFlags;
    lastWindow = callbackWindow;
    lastFormat = format;
    Post(device, IsInput(direction) ? MM_WIM_OPEN : MM_WOM_OPEN, opened, 0);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveDevices::PrepareHeader(WaveDirection direction, HWAVE handle, WAVEHDR* header) {
    if (MMRESULT rc = Enter(WaveCall::PrepareHeader, "waveInPrepareHeader", "waveOutPrepareHeader", direction)) {
        return rc;
    }
    if (!Find(handle, direction)) return MMSYSERR_INVALHANDLE;
    if (!header || !header->lpData) return MMSYSERR_INVALPARAM;
    header->dwFlags |= WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveDevices::UnprepareHeader(WaveDirection direction, HWAVE handle, WAVEHDR* header) {
    if (MMRESULT rc = Enter(WaveCall::UnprepareHeader, "waveInUnprepareHeader", "waveOutUnprepareHeader",
                            direction)) {
        return rc;
    }
    if (!Find(handle, direction)) return MMSYSERR_INVALHANDLE;
    if (!header) return MMSYSERR_INVALPARAM;
    if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
    header->dwFlags &= ~WHDR_PREPARED;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveDevices::Queue(WaveDirection direction, HWAVE handle, WAVEHDR* header) {
    if (MMRESULT rc = Enter(WaveCall::Queue, "waveInAddBuffer", "waveOutWrite", direction)) return rc;
    Device* device = Find(handle, direction);
    if (!device) return MMSYSERR_INVALHANDLE;
    if (!header) return MMSYSERR_INVALPARAM;
    if (!(header->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
    if (header->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
    header->dwFlags = (header->dwFlags | WHDR_INQUEUE) & ~WHDR_DONE;
    if (IsInput(direction)) header->dwBytesRecorded = 0;
    device->lent.push_back(header);
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveDevices::Start(HWAVE input) {
    if (MMRESULT rc = Enter(WaveCall::Start, "waveInStart", "waveInStart", WaveDirection::Input)) return rc;
    Device* device = Find(input, WaveDirection::Input);
    if (!device) return MMSYSERR_INVALHANDLE;
    device->started = true;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveDevices::Stop(HWAVE input) {
    if (MMRESULT rc = Enter(WaveCall::Stop, "waveInStop", "waveInStop", WaveDirection::Input)) return rc;
    Device* device = Find(input, WaveDirection::Input);
    if (!device) return MMSYSERR_INVALHANDLE;
    // The buffer being filled comes back with what it holds so far.
    if (device->started && bytesCapturedAtStop > 0 && !device->lent.empty()) {
        WAVEHDR* header = device->lent.front();
        if (FillFromScript(*device, *header, bytesCapturedAtStop)) {
            device->lent.pop_front();
            Finish(input, *device, header);
        }
    }
    device->started = false;
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveDevices::Reset(WaveDirection direction, HWAVE handle) {
    if (MMRESULT rc = Enter(WaveCall::Reset, "waveInReset", "waveOutReset", direction)) return rc;
    Device* device = Find(handle, direction);
    if (!device) return MMSYSERR_INVALHANDLE;
    device->started = false;
    device->kept.clear();
    while (!device->lent.empty()) {
        WAVEHDR* header = device->lent.front();
        device->lent.pop_front();
        Finish(handle, *device, header);
    }
    return MMSYSERR_NOERROR;
}

MMRESULT FakeWaveDevices::Close(WaveDirection direction, HWAVE handle) {
    if (MMRESULT rc = Enter(WaveCall::Close, "waveInClose", "waveOutClose", direction)) return rc;
    Device* device = Find(handle, direction);
    if (!device) return MMSYSERR_INVALHANDLE;
    if (!device->lent.empty()) return WAVERR_STILLPLAYING;
    Post(*device, IsInput(direction) ? MM_WIM_CLOSE : MM_WOM_CLOSE, handle, 0);
    devices_.erase(handle);
    return MMSYSERR_NOERROR;
}

void FakeWaveDevices::Finish(HWAVE handle, Device& device, WAVEHDR* header) {
    header->dwFlags = (header->dwFlags & ~WHDR_INQUEUE) | WHDR_DONE;
    Post(device, IsInput(device.direction) ? MM_WIM_DATA : MM_WOM_DONE, handle, header);
}

void FakeWaveDevices::Post(const Device& device, UINT message, HWAVE handle, WAVEHDR* header) {
    if (postMessages && device.window) PostMessageA(device.window, message, WPARAM(handle), LPARAM(header));
}

int FakeWaveDevices::Tick() {
    int finished = 0;
    for (auto& [handle, device] : devices_) {
        auto next = device.lent.begin();
        while (next != device.lent.end() && device.kept.count(*next)) ++next;
        if (!IsInput(device.direction)) {
            for (; next != device.lent.end() && keepOutput > 0; ++next, --keepOutput) device.kept.insert(*next);
        }
        if (next == device.lent.end()) continue;
        WAVEHDR* header = *next;
        if (IsInput(device.direction)) {
            if (!device.started || !FillFromScript(device, *header, header->dwBufferLength)) continue;
        } else {
            played.insert(played.end(), header->lpData, header->lpData + header->dwBufferLength);
        }
        device.lent.erase(next);
        Finish(handle, device, header);
        ++finished;
    }
    return finished;
}

int FakeWaveDevices::Ticks(int count) {
    int finished = 0;
    for (int i = 0; i < count; ++i) finished += Tick();
    return finished;
}

bool FakeWaveDevices::FillFromScript(Device& device, WAVEHDR& header, DWORD bytes) {
    WaveScriptStep step;  // silence once the script has run out
    if (!script_.empty()) {
        step = script_.front();
        if (--script_.front().count <= 0) script_.pop_front();
    }
    if (step.kind == WaveScriptStep::Kind::Stall) return false;
    Fill(device, header, step, bytes);
    return true;
}

void FakeWaveDevices::Fill(Device& device, WAVEHDR& header, const WaveScriptStep& step, DWORD bytes) {
    const WAVEFORMATEX& f = device.format;
    const DWORD frames = std::min(bytes, header.dwBufferLength) / f.nBlockAlign;
    unsigned char* out = reinterpret_cast<unsigned char*>(header.lpData);
    for (DWORD i = 0; i < frames; ++i, ++device.framesMade) {
        const double t = double(device.framesMade) / f.nSamplesPerSec;
        for (WORD ch = 0; ch < f.nChannels; ++ch) {
            const double hz = ch == 0 ? step.leftHz : step.rightHz;
            const bool sounding = step.kind == WaveScriptStep::Kind::Tone && hz > 0;
            const double v = sounding ? step.amplitude * std::sin(kTwoPi * hz * t) : 0.0;
            if (f.wBitsPerSample == 8) {
                *out++ = static_cast<unsigned char>(std::lround(128 + v * 127));
            } else {
                const short s = static_cast<short>(std::lround(v * 32767));
                std::memcpy(out, &s, 2);
                out += 2;
            }
        }
    }
    header.dwBytesRecorded = frames * f.nBlockAlign;
}

int FakeWaveDevices::OpenDevices(WaveDirection direction) const {
    int count = 0;
    for (const auto& entry : devices_) count += entry.second.direction == direction;
    return count;
}

size_t FakeWaveDevices::Lent(WaveDirection direction) const {
    size_t count = 0;
    for (const auto& entry : devices_) {
        if (entry.second.direction == direction) count += entry.second.lent.size();
    }
    return count;
}

int FakeWaveDevices::Count(const std::string& call) const {
    int count = 0;
    for (const auto& c : calls) count += c == call;
    return count;
}
