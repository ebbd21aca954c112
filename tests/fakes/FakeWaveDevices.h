// A scripted wave device service for tests. It behaves as winmm does where
// the recorder relies on it: it holds the buffers lent to it, refuses to
// unprepare a lent buffer or close while it holds any, returns every lent
// buffer marked done on reset, and reports each finished buffer by posting
// MM_WIM_DATA / MM_WOM_DONE (wParam the handle, lParam the header) to the
// callback window, after MM_WIM_OPEN / MM_WOM_OPEN on opening and before
// MM_WIM_CLOSE / MM_WOM_CLOSE on closing. Nothing moves by itself: each Tick() finishes at most one
// buffer per device, so a test decides exactly when audio arrives.
//
// Input buffers are filled from a script of steps (tones, stereo tones,
// silence, stalls), in the format the device was opened with (8 or 16 bits,
// one or two channels). Any call can be made to fail.
#pragma once

#include "sound/WaveDevices.h"

#include <deque>
#include <map>
#include <set>
#include <string>
#include <vector>

enum class WaveCall { NumDevs, ProductName, Open, PrepareHeader, UnprepareHeader, Queue, Start, Stop, Reset, Close };

// One step of the input script.
struct WaveScriptStep {
    enum class Kind { Tone, Silence, Stall };
    Kind kind = Kind::Silence;
    int count = 1;          // buffers filled (Stall: ticks without any buffer)
    double leftHz = 0;      // Tone: frequency of the left (or only) channel; 0 = silent
    double rightHz = 0;     // Tone: frequency of the right channel; 0 = silent
    double amplitude = 0.5; // share of full scale
};

class FakeWaveDevices : public WaveDevices {
public:
    // One input "Fake Input" and one output "Fake Output"; the mapper's
    // capabilities name it "Wave Mapper".
    FakeWaveDevices();
    ~FakeWaveDevices() override;

    // --- set-up ---
    std::string mapperName = "Wave Mapper";
    std::vector<std::string> inputNames{"Fake Input"};
    std::vector<std::string> outputNames{"Fake Output"};
    // Device ids (WAVE_MAPPER included) whose capabilities cannot be read.
    std::set<UINT> unreadable;
    // Post messages to the callback window (off: only flags are set).
    bool postMessages = true;
    // Bytes the device has captured into its current buffer when waveInStop
    // comes: winmm then returns that buffer done with those bytes recorded.
    // 0: Stop returns nothing (the buffer was still empty).
    DWORD bytesCapturedAtStop = 0;
    // The next keepOutput buffers an output device would finish it keeps
    // instead, never giving them back until it is reset.
    int keepOutput = 0;

    // The next `times` calls of that kind return result (times < 0: all;
    // 0: none again).
    void Fail(WaveCall call, MMRESULT result, int times = 1);
    // Appends to the input script; after its end the input hears silence.
    void Tone(int buffers, double hz, double amplitude = 0.5);
    void Stereo(int buffers, double leftHz, double rightHz, double amplitude = 0.5);
    void Silence(int buffers);
    void Stall(int ticks);

    // --- driving ---
    // Finishes the oldest lent buffer of every started input device (filled
    // from the script) and of every output device (its bytes appended to
    // `played`); returns how many buffers were finished.
    int Tick();
    int Ticks(int count);

    // --- inspection ---
    std::vector<std::string> calls;  // platform names in call order, e.g. "waveInStop"
    std::vector<char> played;        // bytes of the output buffers played, in order
    HWAVE lastHandle = nullptr;      // of the last successful open
    UINT lastDeviceId = 0;
    DWORD lastOpenFlags = 0;
    HWND lastWindow = nullptr;
    WAVEFORMATEX lastFormat{};
    int OpenDevices(WaveDirection direction) const;
    size_t Lent(WaveDirection direction) const;  // buffers the open devices hold
    int Count(const std::string& call) const;    // how often a platform call was made

    // --- WaveDevices ---
    UINT NumDevs(WaveDirection direction) override;
    MMRESULT ProductName(WaveDirection direction, UINT deviceId, std::string& name) override;
    MMRESULT Open(WaveDirection direction, HWAVE* handle, UINT deviceId, const WAVEFORMATEX& format,
                  HWND callbackWindow, DWORD openFlags) override;
    MMRESULT PrepareHeader(WaveDirection direction, HWAVE handle, WAVEHDR* header) override;
    MMRESULT UnprepareHeader(WaveDirection direction, HWAVE handle, WAVEHDR* header) override;
    MMRESULT Queue(WaveDirection direction, HWAVE handle, WAVEHDR* header) override;
    MMRESULT Start(HWAVE input) override;
    MMRESULT Stop(HWAVE input) override;
    MMRESULT Reset(WaveDirection direction, HWAVE handle) override;
    MMRESULT Close(WaveDirection direction, HWAVE handle) override;

private:
    struct Device {
        WaveDirection direction = WaveDirection::Input;
        WAVEFORMATEX format{};
        HWND window = nullptr;
        bool started = false;
        std::deque<WAVEHDR*> lent;
        std::set<WAVEHDR*> kept;  // lent buffers it will not finish
        unsigned long long framesMade = 0;  // keeps tones continuous across buffers
    };
    struct Failure {
        MMRESULT result;
        int times;
    };

    MMRESULT Enter(WaveCall call, const char* inName, const char* outName, WaveDirection direction);
    Device* Find(HWAVE handle, WaveDirection direction);
    void Finish(HWAVE handle, Device& device, WAVEHDR* header);
    void Post(const Device& device, UINT message, HWAVE handle, WAVEHDR* header);
    // Fills at most `bytes` (whole frames) of the header; false: stalled.
    bool FillFromScript(Device& device, WAVEHDR& header, DWORD bytes);
    void Fill(Device& device, WAVEHDR& header, const WaveScriptStep& step, DWORD bytes);

    std::map<HWAVE, Device> devices_;
    std::map<WaveCall, Failure> failures_;
    std::deque<WaveScriptStep> script_;
    unsigned nextHandle_ = 0x5A00;
};
