#include "recorder/capture/CaptureWriter.h"

#include "audiofile/MediaFile.h"
#include "recorder/capture/CaptureBuffers.h"

WriteKind WriteKindFor(WORD formatTag, int fileType)
{
    if (fileType == ftWmv || fileType == ftNone)
        return WriteKind::None;
    if (formatTag == WAVE_FORMAT_PCM)
        return WriteKind::Pcm;
    if (fileType == ftOgg || fileType == ftSpeex)
        return WriteKind::Samples;
    return WriteKind::Converted;
}

void WriteReport::Warn(int id)
{
    for (int& slot : warnings)
        if (slot == 0 || slot == id) {
            slot = id;
            return;
        }
}

void CaptureWriter::Begin(const WAVEFORMATEX& capture, WriteKind kind, ConvertFn convert,
                          uint32_t pretriggerSeconds, bool overwriteMode)
{
    capture_ = capture;
    kind_ = kind;
    if (kind == WriteKind::Converted && convert)
        encoder_.Begin(std::move(convert));
    else
        encoder_.End();
    store_.Destroy();
    storeFailed_ = false;
    pretriggerSeconds_ = pretriggerSeconds;
    overwriteMode_ = overwriteMode;
    segmentOpen_ = false;
    segmentMarked_ = false;
}

WriteReport CaptureWriter::Write(CaptureSink& file, const BlockVerdict& verdict,
                                 ACMSTREAMHEADER* record, const uint8_t* data, uint32_t bytes,
                                 int64_t now)
{
    WriteReport report;
    if (!verdict.active) {
        if (segmentOpen_)
            report = FinishSegment(file, record);
        if (pretriggerSeconds_ != 0)
            KeepForPretrigger(data, bytes);
        return report;
    }
    segmentOpen_ = true;
    if (verdict.started) {
        segmentMarked_ = false;
        if (store_.Bytes() > 0)
            CopyPretrigger(file, record, now, report);
        else
            Mark(file, now, report);
    }
    if (!verdict.discard)
        WriteAudio(file, record, data, bytes, report);
    return report;
}

WriteReport CaptureWriter::FinishSegment(CaptureSink& file, ACMSTREAMHEADER* record)
{
    WriteReport report;
    segmentOpen_ = false;
    if (!encoder_.IsActive() || !record)
        return report;
    const MMRESULT result = encoder_.Finish(*record, kRingBlockBytes,
        [&](const uint8_t* out, uint32_t outBytes, uint32_t sourceBytes) {
            if (outBytes == 0 && sourceBytes == 0)
                return;
            const int32_t written = outBytes ? file.Write(out, outBytes) : 0;
            if (written < 0 || static_cast<uint32_t>(written) != outBytes)
                report.Warn(kWarnCompressedWrite);
            if (capture_.nAvgBytesPerSec)
                file.AddSamples(static_cast<uint32_t>(uint64_t{sourceBytes} * capture_.nSamplesPerSec /
                                                      capture_.nAvgBytesPerSec));
            report.wrote = true;
        });
    if (result != MMSYSERR_NOERROR)
        report.Warn(kWarnConversion);
    return report;
}

WriteReport CaptureWriter::End(CaptureSink& file, ACMSTREAMHEADER* record)
{
    WriteReport report = FinishSegment(file, record);
    store_.Destroy();
    return report;
}

WriteReport CaptureWriter::EndFilePart(CaptureSink& file, ACMSTREAMHEADER* record, bool& segmentWasOpen)
{
    segmentWasOpen = segmentOpen_;
    return FinishSegment(file, record);
}

WriteReport CaptureWriter::BeginFilePart(CaptureSink& file, bool segmentWasOpen, int64_t now)
{
    WriteReport report;
    if (!segmentWasOpen)
        return report;
    segmentOpen_ = true;
    Mark(file, now, report);
    return report;
}

bool CaptureWriter::SegmentMark(uint32_t& position) const
{
    position = segmentMark_;
    return segmentMarked_;
}

void CaptureWriter::WriteAudio(CaptureSink& file, ACMSTREAMHEADER* record, const uint8_t* data,
                               uint32_t bytes, WriteReport& report)
{
    if (bytes == 0)
        return;
    if (kind_ == WriteKind::Pcm) {
        const int32_t written = file.Write(data, bytes);
        if (written < 0 || static_cast<uint32_t>(written) != bytes)
            report.Warn(kWarnWaveWrite);
        report.wrote = true;
    } else if (kind_ == WriteKind::Samples) {
        if (file.WriteSamples(reinterpret_cast<const int16_t*>(data), bytes) != bytes)
            report.Warn(kWarnWaveWrite);
        report.wrote = true;
    } else if (kind_ == WriteKind::Converted) {
        if (!encoder_.IsActive() || !record) {
            report.Warn(kWarnConversion);
            return;
        }
        const MMRESULT result = encoder_.Encode(*record, kRingBlockBytes, data, bytes,
            [&](const uint8_t* out, uint32_t outBytes, uint32_t sourceBytes) {
                const int32_t written = outBytes ? file.Write(out, outBytes) : 0;
                if (written < 0 || static_cast<uint32_t>(written) != outBytes)
                    report.Warn(kWarnCompressedWrite);
                if (capture_.nAvgBytesPerSec)
                    file.AddSamples(static_cast<uint32_t>(
                        uint64_t{sourceBytes} * capture_.nSamplesPerSec / capture_.nAvgBytesPerSec));
            });
        if (result != MMSYSERR_NOERROR)
            report.Warn(kWarnConversion);
        report.wrote = true;
    }
}

void CaptureWriter::CopyPretrigger(CaptureSink& file, ACMSTREAMHEADER* record, int64_t now,
                                   WriteReport& report)
{
    // The mark carries the time at which the oldest kept sound was heard.
    const int64_t heldSeconds =
        capture_.nAvgBytesPerSec ? store_.Bytes() / capture_.nAvgBytesPerSec : 0;
    Mark(file, now - heldSeconds, report);
    // Half a ring block per piece leaves room for what the codec carries.
    store_.Drain(kRingBlockBytes / 2, [&](const uint8_t* piece, uint32_t pieceBytes) {
        WriteAudio(file, record, piece, pieceBytes, report);
    });
}

void CaptureWriter::Mark(CaptureSink& file, int64_t timeCode, WriteReport& report)
{
    if (overwriteMode_)
        return;
    segmentMark_ = file.MarkSegment(timeCode);
    segmentMarked_ = true;
    report.marked = true;
}

void CaptureWriter::KeepForPretrigger(const uint8_t* data, uint32_t bytes)
{
    if (storeFailed_)
        return;
    if (!store_.Exists() &&
        !store_.Create(pretriggerSeconds_, capture_.nAvgBytesPerSec, capture_.nBlockAlign)) {
        storeFailed_ = true;
        return;
    }
    store_.Add(data, bytes);
}
