// Puts each judged block of captured PCM where it belongs: into the current
// file (PCM written as it is, Ogg Vorbis and Speex handed to the file's own
// encoder, every other format converted through the codec stream), or, while
// no segment is active and a pre-trigger time is set, into the pre-trigger
// store. Failures are reported as warning ids; recording never stops for them.
#pragma once

#include <windows.h>

#include <cstdint>

#include "recorder/capture/CaptureEncoder.h"
#include "recorder/capture/PretriggerRing.h"

// How audio reaches a file.
enum class WriteKind {
    Pcm,        // Write of the captured bytes
    Samples,    // WriteSamples: the file encodes (Ogg Vorbis, Speex)
    Converted,  // the codec stream, then Write of the converted bytes
    None,       // no way to write (a file type without a class)
};
WriteKind WriteKindFor(WORD formatTag, int fileType);

// The current file as the writer sees it.
class CaptureSink {
public:
    virtual ~CaptureSink() = default;
    // -1 or fewer bytes than given: failure.
    virtual int32_t Write(const void* data, uint32_t bytes) = 0;
    // Fewer than given: failure.
    virtual uint32_t WriteSamples(const int16_t* pcm, uint32_t bytes) = 0;
    virtual void AddSamples(uint32_t samples) = 0;
    // Adds a segment mark at the position the next audio goes to, with the
    // clock time (seconds since 1970); returns that position.
    virtual uint32_t MarkSegment(int64_t timeCode) = 0;
};

// Warning ids the writer reports (string-table texts, log only).
constexpr int kWarnCompressedWrite = 3031;  // "Can't write compressed wave data\n(mmdata)"
constexpr int kWarnWaveWrite = 3032;        // "Can't write wave data \n(mmdata)"
constexpr int kWarnConversion = 3034;       // "Can't keep up with conversion\n(mmdata acmstrconv)"

// What one call did.
struct WriteReport {
    bool wrote = false;          // audio went into the file: update the read-outs
    bool marked = false;         // a segment mark was added
    int warnings[3] = {0, 0, 0}; // ids to log, 0 = none
    void Warn(int id);
};

// The verdict of voice activation on one block.
struct BlockVerdict {
    bool active = false;   // a segment is active after this block
    bool started = false;  // the segment started with this block
    bool discard = false;  // the segment is too short to keep
};

class CaptureWriter {
public:
    // A new recording run into a file of the given kind. convert is the codec
    // stream (Converted kind only); pretriggerSeconds 0 keeps no store.
    // overwriteMode: a record-overwrite runs (its marks are kept elsewhere).
    void Begin(const WAVEFORMATEX& capture, WriteKind kind, ConvertFn convert,
               uint32_t pretriggerSeconds, bool overwriteMode);
    // Writes one block. record: the conversion record of the block's ring
    // slot (Converted kind). now: the clock time for a segment mark.
    WriteReport Write(CaptureSink& file, const BlockVerdict& verdict, ACMSTREAMHEADER* record,
                      const uint8_t* data, uint32_t bytes, int64_t now);
    // The end of a segment or of the run: what the codec still holds goes
    // into the file. Call before cutting a discarded segment.
    WriteReport FinishSegment(CaptureSink& file, ACMSTREAMHEADER* record);
    // Ends the run: finishes the segment and forgets the store.
    WriteReport End(CaptureSink& file, ACMSTREAMHEADER* record);

    // The run goes on in another file: what the codec holds goes into the
    // old file, and a segment that was open starts again, marked, at the
    // new file's first audio.
    WriteReport EndFilePart(CaptureSink& file, ACMSTREAMHEADER* record, bool& segmentWasOpen);
    WriteReport BeginFilePart(CaptureSink& file, bool segmentWasOpen, int64_t now);

    // Where the current (or last) segment's mark was put; false when none.
    bool SegmentMark(uint32_t& position) const;
    const PretriggerRing& Store() const { return store_; }
    WriteKind Kind() const { return kind_; }

private:
    void WriteAudio(CaptureSink& file, ACMSTREAMHEADER* record, const uint8_t* data,
                    uint32_t bytes, WriteReport& report);
    void CopyPretrigger(CaptureSink& file, ACMSTREAMHEADER* record, int64_t now,
                        WriteReport& report);
    void Mark(CaptureSink& file, int64_t timeCode, WriteReport& report);
    void KeepForPretrigger(const uint8_t* data, uint32_t bytes);

    WAVEFORMATEX capture_{};
    WriteKind kind_ = WriteKind::None;
    CaptureEncoder encoder_;
    PretriggerRing store_;
    uint32_t pretriggerSeconds_ = 0;
    bool overwriteMode_ = false;
    bool storeFailed_ = false;  // no memory for the store: not asked again this run
    bool segmentOpen_ = false;
    bool segmentMarked_ = false;
    uint32_t segmentMark_ = 0;
};
