#include "recorder/capture/CaptureSession.h"

#include <algorithm>
#include <cstdio>
#include <ctime>

CaptureStartError CaptureSession::Start(const CaptureRequest& request, MMRESULT* mmResult)
{
    MMRESULT ignored = MMSYSERR_NOERROR;
    MMRESULT& rc = mmResult ? *mmResult : ignored;
    rc = MMSYSERR_NOERROR;
    device_.Close();
    recording_ = false;
    capture_ = request.capture;
    capture_.cbSize = 0;
    recordChannel_ = request.recordChannel;
    deviceFormat_ = CaptureDeviceFormat(capture_, recordChannel_, widened_);
    // Checked before the device is opened: a buffer must fit its ring block.
    bufferBytes_ = CaptureBufferBytes(deviceFormat_);
    if (bufferBytes_ == 0)
        return CaptureStartError::BufferTooLarge;
    const bool needConversion = request.kind == WriteKind::Converted;
    if ((!ring_.IsAllocated() || (needConversion && !ring_.HasConversion())) &&
        !ring_.Allocate(needConversion))
        return CaptureStartError::NoRing;
    if ((rc = device_.Open(request.deviceId, deviceFormat_, request.window)) != MMSYSERR_NOERROR)
        return CaptureStartError::Open;
    CaptureStartError failedStep = CaptureStartError::None;
    if ((rc = LendAll(bufferBytes_, failedStep)) != MMSYSERR_NOERROR) {
        device_.Close();
        return failedStep;
    }
    writer_.Begin(capture_, request.kind, request.convert, request.pretriggerSeconds,
                  request.overwriteMode);
    vox_.ClearForStart();
    stalls_.Clear();
    restarts_ = 0;
    tally_ = CaptureTally{};
    lastSlot_ = -1;
    if ((rc = device_.Start()) != MMSYSERR_NOERROR) {
        device_.Close();
        return CaptureStartError::Start;
    }
    recording_ = true;
    return CaptureStartError::None;
}

MMRESULT CaptureSession::LendAll(uint32_t bufferBytes, CaptureStartError& failedStep)
{
    for (int slot = 0; slot < kRingSlots; ++slot) {
        ring_.ResetHeader(slot, bufferBytes);
        failedStep = CaptureStartError::Prepare;
        if (MMRESULT rc = device_.Prepare(ring_.Header(slot)); rc != MMSYSERR_NOERROR)
            return rc;
        failedStep = CaptureStartError::Queue;
        if (MMRESULT rc = device_.Queue(ring_.Header(slot)); rc != MMSYSERR_NOERROR)
            return rc;
    }
    failedStep = CaptureStartError::None;
    return MMSYSERR_NOERROR;
}

bool CaptureSession::TakeBack(const WAVEHDR* reported, CaptureSink* file, CaptureHost& host)
{
    if (!recording_ || !ring_.IsAllocated())
        return false;
    if (reported && !(reported->dwFlags & WHDR_DONE))
        return false;
    const int before = lastSlot_;
    int lent = kRingSlots;
    for (int slot = 0; slot < kRingSlots; ++slot)
        lent -= (ring_.Header(slot).dwFlags & WHDR_DONE) != 0;
    if (lent == 0)
        ++tally_.dry;
    for (int step = 0; step < kRingSlots; ++step) {
        std::array<bool, kRingSlots> done{};
        for (int slot = 0; slot < kRingSlots; ++slot)
            done[slot] = (ring_.Header(slot).dwFlags & WHDR_DONE) != 0;
        const int slot = NextReadySlot(lastSlot_, done);
        if (slot < 0)
            break;
        Process(slot, file, host);
        WAVEHDR& header = ring_.Header(slot);
        header.dwBytesRecorded = 0;
        header.dwFlags &= ~WHDR_DONE;
        // The header stays prepared; a buffer the device refuses drops out of
        // the ring and the stall watch brings the restart.
        if (device_.Queue(header) != MMSYSERR_NOERROR)
            host.Warn(3036);
        lastSlot_ = slot;
    }
    return stalls_.Note(lastSlot_ != before);
}

void CaptureSession::Process(int slot, CaptureSink* file, CaptureHost& host)
{
    WAVEHDR& header = ring_.Header(slot);
    uint8_t* data = reinterpret_cast<uint8_t*>(header.lpData);
    uint32_t bytes = std::min<uint32_t>(header.dwBytesRecorded, header.dwBufferLength);
    char line[40];
    std::snprintf(line, sizeof line, "processing seg %d", slot);
    host.Trace(line);
    // Only a widened mono recording holds a channel to drop.
    if (widened_ && recordChannel_ != 0)
        bytes = ExtractChannel(data, bytes, capture_.wBitsPerSample, recordChannel_ > 0);
    if (file) {
        VoxEvents events;
        const BlockVerdict verdict = Judge(data, bytes, host, events);
        if (events.ended) {
            const WriteReport tail = writer_.FinishSegment(*file, ring_.Conversion(slot));
            if (tail.wrote || tail.warnings[0])
                host.BlockWritten(tail);
            uint32_t mark = 0;
            const bool marked = writer_.SegmentMark(mark);
            host.SegmentEnded(events, marked, mark);
        }
        if (events.splitFile)
            host.NewFileDue();
        if (events.started)
            host.SegmentStarted();
        const WriteReport report = writer_.Write(*file, verdict, ring_.Conversion(slot), data, bytes,
                                                 static_cast<int64_t>(std::time(nullptr)));
        if (report.wrote || report.warnings[0])
            host.BlockWritten(report);
        Count(bytes, verdict, report);
    } else if (bytes > 0) {
        ++tally_.taken;
        ++tally_.lost;  // no file to take it
    }
    host.ShowPeak(PeakLevel(data, bytes, capture_));
}

void CaptureSession::Count(uint32_t bytes, const BlockVerdict& verdict, const WriteReport& report)
{
    if (bytes == 0)
        return;
    ++tally_.taken;
    // Mark warnings are not about the audio; only a refused write loses it.
    bool refused = false;
    for (int id : report.warnings)
        refused |= id == kWarnWaveWrite || id == kWarnCompressedWrite || id == kWarnConversion;
    if (refused)
        ++tally_.lost;
    else if (!verdict.active || verdict.discard)
        ++tally_.skipped;
    else if (report.wrote)
        ++tally_.written;
    else
        ++tally_.lost;  // a file type the writer has no way into
}

uint32_t CaptureSession::RecordedMs() const
{
    if (bufferBytes_ == 0)
        return 0;
    uint64_t bytes = uint64_t{tally_.taken} * bufferBytes_;
    // A buffer taken back is lent again empty; the others hold what the
    // device gave them, the one held back until its successor is done too.
    for (int slot = 0; slot < kRingSlots; ++slot)
        bytes += ring_.Header(slot).dwBytesRecorded;
    return static_cast<uint32_t>(bytes * 200 / bufferBytes_);
}

std::string CaptureTallyText(const CaptureTally& tally, int restarts)
{
    char line[160];
    std::snprintf(line, sizeof line,
                  "Capture buffers: %u taken, %u written, %u skipped, %u lost; "
                  "device without buffers %u times; %d restarts",
                  tally.taken, tally.written, tally.skipped, tally.lost, tally.dry, restarts);
    return line;
}

BlockVerdict CaptureSession::Judge(uint8_t* data, uint32_t bytes, CaptureHost& host, VoxEvents& events)
{
    const VoxSettings vox = host.CurrentVox();
    const int bps = VoxBlocksPerSecond(vox);
    bool active = false;
    if (bps == 5) {
        active = VoxDetect(vox, vox_, PeakPercent(PeakLevel(data, bytes, capture_)), bps, events);
    } else {
        uint32_t lengths[4];
        VoxSubBlocks(bytes, capture_.nBlockAlign, lengths);
        for (uint32_t i = 0, offset = 0; i < 4; offset += lengths[i], ++i)
            active |= VoxDetect(vox, vox_, PeakPercent(PeakLevel(data + offset, lengths[i], capture_)),
                                bps, events);
    }
    return BlockVerdict{active, events.started, events.discard};
}

void CaptureSession::Drain(CaptureSink* file, CaptureHost& host)
{
    std::array<uint32_t, kRingSlots> recorded{};
    for (int slot = 0; slot < kRingSlots; ++slot)
        recorded[slot] = ring_.Header(slot).dwBytesRecorded;
    std::array<int, kRingSlots> order{};
    const int count = DrainOrder(lastSlot_, recorded, order);
    for (int i = 0; i < count; ++i) {
        Process(order[i], file, host);
        ring_.Header(order[i]).dwBytesRecorded = 0;
        lastSlot_ = order[i];
    }
}

bool CaptureSession::Restart(CaptureSink* file, CaptureHost& host)
{
    if (!recording_ || !device_.IsOpen())
        return false;
    ++restarts_;
    stalls_.Clear();
    (void)device_.Stop();
    (void)device_.Reset();
    Drain(file, host);
    lastSlot_ = -1;
    for (int slot = 0; slot < kRingSlots; ++slot) {
        ring_.Header(slot).dwBytesRecorded = 0;
        ring_.Header(slot).dwFlags &= ~WHDR_DONE;
        if (device_.Queue(ring_.Header(slot)) != MMSYSERR_NOERROR)
            host.Warn(3036);
    }
    return device_.Start() == MMSYSERR_NOERROR;
}

void CaptureSession::Stop(CaptureSink* file, CaptureHost& host)
{
    if (!device_.IsOpen()) {
        recording_ = false;
        return;
    }
    if (device_.Stop() != MMSYSERR_NOERROR)
        host.Warn(3060);
    if (device_.Reset() != MMSYSERR_NOERROR)
        host.Warn(3061);
    // The held-back buffer and the partly filled last one come back from the
    // reset; they are the end of the recording.
    if (recording_)
        Drain(file, host);
    recording_ = false;
    if (file) {
        const WriteReport tail = writer_.End(*file, ring_.Conversion(lastSlot_ < 0 ? 0 : lastSlot_));
        if (tail.wrote || tail.warnings[0])
            host.BlockWritten(tail);
    }
    if (device_.Close().close != MMSYSERR_NOERROR)
        host.Warn(3062);
    lastSlot_ = -1;
}

bool CaptureSession::EndFilePart(CaptureSink& file, CaptureHost& host)
{
    bool segmentWasOpen = false;
    const WriteReport tail = writer_.EndFilePart(file, ring_.Conversion(lastSlot_ < 0 ? 0 : lastSlot_),
                                                 segmentWasOpen);
    if (tail.wrote || tail.warnings[0])
        host.BlockWritten(tail);
    return segmentWasOpen;
}

void CaptureSession::BeginFilePart(CaptureSink& file, bool segmentWasOpen, CaptureHost& host)
{
    const WriteReport report = writer_.BeginFilePart(file, segmentWasOpen, static_cast<int64_t>(std::time(nullptr)));
    if (report.marked)
        host.BlockWritten(report);
}
