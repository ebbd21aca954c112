// Encodes captured PCM through a conversion stream, one block at a time.
// Conversions finish inside the call (the stream has no callback), so each
// result is handed on at once. A block codec converts only whole blocks of
// its own; what it leaves of one block is carried in front of the next, and
// Finish converts the rest with the end-of-stream flag, so nothing is lost.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <cstdint>
#include <functional>
#include <vector>

// acmStreamConvert on the open stream.
using ConvertFn = std::function<MMRESULT(ACMSTREAMHEADER& record, DWORD flags)>;
// One result: converted bytes and the source bytes they came from.
using EncodedFn = std::function<void(const uint8_t* data, uint32_t bytes, uint32_t sourceBytes)>;

class CaptureEncoder {
public:
    // A new run; the next conversion carries the start flag.
    void Begin(ConvertFn convert);
    void End();
    bool IsActive() const { return static_cast<bool>(convert_); }

    // Converts the carried bytes and data through record (whose source and
    // destination blocks must hold capacity bytes). The first conversion of a
    // run carries ACM_STREAMCONVERTF_START. The first failing result is
    // returned; the data of a failed conversion is lost, the run goes on.
    MMRESULT Encode(ACMSTREAMHEADER& record, uint32_t capacity, const uint8_t* data, uint32_t bytes,
                    const EncodedFn& out);
    // Converts what is carried with ACM_STREAMCONVERTF_END and makes the next
    // conversion a start again. Nothing is converted when nothing was since
    // the last start.
    MMRESULT Finish(ACMSTREAMHEADER& record, uint32_t capacity, const EncodedFn& out);

    uint32_t CarriedBytes() const { return static_cast<uint32_t>(carry_.size()); }
    bool AtStart() const { return fresh_; }

private:
    MMRESULT ConvertOnce(ACMSTREAMHEADER& record, const uint8_t* data, uint32_t bytes, DWORD flags,
                         const EncodedFn& out);

    ConvertFn convert_;
    std::vector<uint8_t> carry_;
    bool fresh_ = true;
};
