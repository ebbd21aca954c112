// One recording run on the wave-input device: opens the device in the
// capture format (widened to stereo when one channel is kept), lends it the
// five ring buffers, takes filled buffers back in ring order, judges each by
// voice activation, writes it, shows its level and lends it again; restarts
// a device that stopped returning buffers; and at stop takes back every
// buffer still holding audio, so the end of a recording is never lost.
//
// It needs no window of its own: what the recorder window does around each
// buffer (read-outs, marks, messages) goes through CaptureHost.
#pragma once

#include <string>

#include "recorder/capture/CaptureBuffers.h"
#include "recorder/capture/CaptureWriter.h"
#include "recorder/capture/VoxDetect.h"
#include "sound/WaveDevice.h"

class CaptureHost {
public:
    virtual ~CaptureHost() = default;
    // Settings of the buffer about to be judged (the threshold may change).
    virtual VoxSettings CurrentVox() = 0;
    // A segment started (before its audio is written) or ended (after the
    // codec's tail went into the file; the mark is where the segment began).
    virtual void SegmentStarted() = 0;
    virtual void SegmentEnded(const VoxEvents& events, bool marked, uint32_t markPosition) = 0;
    // The quiet has lasted long enough for a new file (record mode 2): its
    // own count, which may run out before, with or after the segment's end.
    virtual void NewFileDue() = 0;
    // After a block went into the file; a warning id for each failure.
    virtual void BlockWritten(const WriteReport& report) = 0;
    virtual void ShowPeak(uint32_t peak) = 0;
    // Log only, as string-table ids.
    virtual void Warn(int stringId) = 0;
    // Per-buffer tracing (uncounted, off unless asked for).
    virtual void Trace(const char* text) = 0;
};

// What became of the buffers one recording run took back from the device.
// Every buffer that held audio is either written, skipped by voice
// activation (or kept for the pre-trigger), or lost: there was no file or
// the file or codec refused it. dry counts the times the device was found
// holding none of the ring's buffers: the audio it heard then had nowhere
// to go.
struct CaptureTally {
    uint32_t taken = 0;
    uint32_t written = 0;
    uint32_t skipped = 0;
    uint32_t lost = 0;
    uint32_t dry = 0;
};

// The log line for a run's tally.
std::string CaptureTallyText(const CaptureTally& tally, int restarts);

// Where a Start failed; each has its own message.
enum class CaptureStartError {
    None,
    BufferTooLarge,  // more than a ring block per 200 ms (rates above 2,250,000 bytes/s)
    NoRing,          // the ring could not be allocated
    Open,            // waveInOpen
    Prepare,
    Queue,
    Start,
};

struct CaptureRequest {
    UINT deviceId = WAVE_MAPPER;
    WAVEFORMATEX capture{};   // PCM, as the file wants it
    int recordChannel = 0;    // -1 keep left, +1 keep right, 0 both
    HWND window = nullptr;    // receives MM_WIM_DATA
    WriteKind kind = WriteKind::Pcm;
    ConvertFn convert;        // the codec stream, Converted kind only
    uint32_t pretriggerSeconds = 0;
    bool overwriteMode = false;
};

class CaptureSession {
public:
    // The device and the ring belong to the recorder window, which shares
    // them with playback; both must outlive the session.
    CaptureSession(WaveDevice& device, AudioRing& ring) : device_(device), ring_(ring) {}
    // The device may not keep buffers of a ring that is about to go.
    ~CaptureSession() { (void)device_.Close(); }
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    AudioRing& Ring() { return ring_; }
    VoxCounters& Vox() { return vox_; }
    const CaptureWriter& Writer() const { return writer_; }

    // Opens and starts the device; on failure everything is closed again.
    // mmResult holds the platform's answer of the failing step.
    CaptureStartError Start(const CaptureRequest& request, MMRESULT* mmResult = nullptr);
    bool IsRecording() const { return recording_; }
    bool IsDeviceMessage(WPARAM wParam) const { return device_.IsHandle(wParam); }
    bool Widened() const { return widened_; }
    int LastSlot() const { return lastSlot_; }
    int Restarts() const { return restarts_; }
    const CaptureTally& Tally() const { return tally_; }
    // The audio of this run so far, in ms: the buffers taken back and what
    // the others hold already.
    uint32_t RecordedMs() const;

    // MM_WIM_DATA for the reported header (null: unknown): takes back what
    // is ready. file may be null (then only the level is shown). A report of
    // a buffer that was already taken back and lent again (the notices a
    // reset leaves in the queue) changes nothing. True when a restart is due.
    bool TakeBack(const WAVEHDR* reported, CaptureSink* file, CaptureHost& host);
    // Stops, resets, writes every returned buffer that holds audio, lends
    // them all again and starts. False when the device is not running.
    bool Restart(CaptureSink* file, CaptureHost& host);
    // The recording goes on in another file while the device keeps running:
    // EndFilePart finishes the old file's part (the codec's tail, the open
    // segment); BeginFilePart marks the open segment again in the new file.
    bool EndFilePart(CaptureSink& file, CaptureHost& host);
    void BeginFilePart(CaptureSink& file, bool segmentWasOpen, CaptureHost& host);
    // Stops, resets, writes every returned buffer that holds audio, flushes
    // the codec and closes the device. Nothing when not recording.
    void Stop(CaptureSink* file, CaptureHost& host);

private:
    MMRESULT LendAll(uint32_t bufferBytes, CaptureStartError& failedStep);
    void Process(int slot, CaptureSink* file, CaptureHost& host);
    BlockVerdict Judge(uint8_t* data, uint32_t bytes, CaptureHost& host, VoxEvents& events);
    void Drain(CaptureSink* file, CaptureHost& host);
    void Count(uint32_t bytes, const BlockVerdict& verdict, const WriteReport& report);

    WaveDevice& device_;
    AudioRing& ring_;
    CaptureWriter writer_;
    VoxCounters vox_;
    StallWatch stalls_;
    WAVEFORMATEX capture_{};
    WAVEFORMATEX deviceFormat_{};
    uint32_t bufferBytes_ = 0;
    int recordChannel_ = 0;
    bool widened_ = false;
    bool recording_ = false;
    int lastSlot_ = -1;
    int restarts_ = 0;
    CaptureTally tally_;
};
