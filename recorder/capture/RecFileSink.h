// The current recording as the capture writer sees it.
#pragma once

#include "audiofile/RecFile.h"
#include "recorder/capture/CaptureWriter.h"

class RecFileSink : public CaptureSink {
public:
    explicit RecFileSink(RecFile& file) : file_(file) {}

    int32_t Write(const void* data, uint32_t bytes) override { return file_.Write(data, bytes); }
    uint32_t WriteSamples(const int16_t* pcm, uint32_t bytes) override
    {
        return file_.WriteSamples(pcm, bytes);
    }
    void AddSamples(uint32_t samples) override { file_.AddSamples(samples); }
    // The mark goes where the next audio goes: the write position while
    // overwriting, else the end of the data.
    uint32_t MarkSegment(int64_t timeCode) override
    {
        const uint32_t position = file_.GetOverwrite() ? file_.GetPosition() : file_.GetLength();
        file_.AddTimeCode(position, timeCode);
        return position;
    }

private:
    RecFile& file_;
};
