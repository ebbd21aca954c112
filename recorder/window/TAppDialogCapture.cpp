// The recorder window's capture: the buffer ring, starting a recording
// (Listen), the filled buffers coming back, the restart of a stalled device
// and the capture part of stopping. The work on each buffer is the capture
// session's; this file connects it to the window, the file and the settings.
#include "recorder/window/TAppDialog.h"

#include <algorithm>
#include <array>
#include <cstdio>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "recorder/controls/CoolButton.h"
#include "recorder/capture/RecFileSink.h"
#include "recorder/files/FileFormats.h"
#include "sound/SMixer.h"

namespace {

constexpr int kButtonChecked = 3;  // CoolButton state of the chosen transport button

// What the capture session asks of the recorder window.
class WindowCaptureHost : public CaptureHost {
public:
    explicit WindowCaptureHost(TAppDialog& window) : window_(window) {}
    VoxSettings CurrentVox() override { return VoxSettings::From(AppState); }
    void SegmentStarted() override { window_.VoxSegmentStarted(); }
    void SegmentEnded(const VoxEvents& events, bool marked, uint32_t markPosition) override
    {
        window_.VoxSegmentEnded(events, marked, markPosition);
    }
    void NewFileDue() override { (void)window_.PostMessage(WM_SPLITFILE); }
    void BlockWritten(const WriteReport& report) override
    {
        for (int id : report.warnings)
            if (id)
                window_.Warn(id);
        if (report.wrote)
            window_.UpdateStatus(0, report.marked);
    }
    void ShowPeak(uint32_t peak) override { window_.ShowLevel(peak); }
    void Warn(int stringId) override { window_.Warn(stringId); }
    void Trace(const char* text) override
    {
        if (window_.TraceCapture)
            SMsg::WriteLog(text);
    }

private:
    TAppDialog& window_;
};

// Prepares a record not prepared yet at its full lengths, as the codec
// manager wants them; the block length it holds is kept.
MMRESULT PrepareConversionRecord(AcmStream& stream, ACMSTREAMHEADER& record)
{
    if (record.fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED)
        return MMSYSERR_NOERROR;
    const DWORD blockBytes = record.cbSrcLength;
    record.cbSrcLength = kRingBlockBytes;
    record.cbDstLength = kRingBlockBytes;
    const MMRESULT prepared = stream.Prepare(record);
    record.cbSrcLength = blockBytes;
    return prepared;
}

void PostToFrame(const TAppDialog& window, UINT msg)
{
    if (const TWindow* frame = window.GetParent())
        ::PostMessage(frame->GetHandle(), msg, 0, 0);
}

}  // namespace

// Runs the capture session's work with the current file as its sink.
template <class Work>
void TAppDialog::WithCaptureSink(Work work)
{
    WindowCaptureHost host(*this);
    if (CurrentFile) {
        RecFileSink sink(*CurrentFile);
        work(&sink, host);
    } else {
        work(static_cast<CaptureSink*>(nullptr), host);
    }
}

void TAppDialog::InitDat()
{
    SoundByteMode = 0;
    // A ring that exists may be lent to a device or prepared with the codec
    // stream: it is never built again under them.
    if (Ring.IsAllocated())
        return;
    if (!Ring.Allocate(AppState.CodecsAvailable))
        Error(IDS_CANTALLOCWAVE);
}

void TAppDialog::FreeDat()
{
    StopCapture();
    AcmClose();
    if (!hWaveIn.IsOpen() && !hWaveOut.IsOpen())
        Ring.Free();
}

namespace {

// Requests of which every one asked for counts: the moves (Back, Forward,
// the position commands, a second copy's /X), the joystick's presses and
// releases (steps, or record and stop in turn) and the record toggle, two
// of which undo each other.
bool CountsEachTime(UINT msg, WPARAM wParam)
{
    if (msg == WM_REPOSITION || msg == MM_JOY1BUTTONDOWN || msg == WM_TOGGLERECORD)
        return true;
    if (msg != WM_COMMAND)
        return false;
    const UINT id = LOWORD(wParam);
    return id == CM_REWIND || id == CM_FASTFORWARD || (id >= CM_FORWARD1SECOND && id <= CM_BACK1COMMENT);
}

}  // namespace

bool TAppDialog::DeferIfTransportBusy(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!IsHoldingRequests())
        return false;
    // A request asked for again runs once, in the place of its latest
    // asking: record, stop, record ends recording. Moves, joystick buttons
    // and record toggles each run as asked.
    const auto same = [&](const TransportRequest& r) {
        return r.msg == msg && r.wParam == wParam && r.lParam == lParam;
    };
    if (!CountsEachTime(msg, wParam))
        DeferredRequests.erase(std::remove_if(DeferredRequests.begin(), DeferredRequests.end(), same),
                               DeferredRequests.end());
    DeferredRequests.push_back({msg, wParam, lParam});
    if (!IsTransportBusy())
        LogHeldRequest(msg, wParam);
    return true;
}

void TAppDialog::EndTransportBusy()
{
    if (TransportBusyDepth > 0 && --TransportBusyDepth > 0)
        return;
    ReleaseHeldRequests();
    TakeBackAfterBusy();
}

// The device's notices are passed over while the transport is busy. Had it
// returned every buffer meanwhile, no notice would come again and the
// recording would hear nothing more: what is ready is taken back now.
void TAppDialog::TakeBackAfterBusy()
{
    if (!Recording || !Capture.IsRecording())
        return;
    std::array<bool, kRingSlots> done{};
    for (int slot = 0; slot < kRingSlots; ++slot)
        done[slot] = (Ring.Header(slot).dwFlags & WHDR_DONE) != 0;
    if (NextReadySlot(Capture.LastSlot(), done) < 0)
        return;  // nothing waits but the held-back buffer
    WithCaptureSink([&](CaptureSink* sink, CaptureHost& host) { (void)Capture.TakeBack(nullptr, sink, host); });
    LastWaveIndex = Capture.LastSlot();
}

void TAppDialog::Listen()
{
    Log("record");
    PostToFrame(*this, WM_LISTENSTART);
    if (RecordButton) {
        RecordButton->SetState(kButtonChecked, false);
        RecordButton->Invalidate(false);
    }
    SoundByteMode = 0;
    if (Recording || DeferIfTransportBusy(WM_COMMAND, CM_RECORD, 0))
        return;
    BeginTransportBusy();
    if (PrepareFileForRecording()) {
        Capture.Vox().ClearForStart();
        Recording = 1;
        CheckLimitAtStart();
        SetItemText(IDC_MESSAGELINE, "");
        StartCapture();
    }
    EndTransportBusy();
}

// The file to record into: a new one when each recording starts a file, or
// when none is open. False (and stopped) when no file can be had.
bool TAppDialog::PrepareFileForRecording()
{
    // Recording and playing exclude each other: a playback ends completely
    // before the file is chosen.
    if (Playing || hWaveOut.IsOpen())
        StopPlaying();
    // A record-insert or record-overwrite records into the file it chose.
    if (AppState.RecordMode == 3 && !IsFreshFile() && !InEditRecording()) {
        if (CurrentFile)
            SaveFile(nullptr, true);
        OpenFile(nullptr);
    }
    // A file opened read-only takes no audio, whoever asks for recording
    // (hot key, tray, joystick, a second copy): it is let go unchanged and
    // the recording goes into a new file, named as any new one is.
    if (CurrentFile && CurrentFile->IsReadOnly()) {
        Log("read-only file: recording in a new file");
        // Nothing in it to save. Let go first, so that opening the new
        // file has no recording to stop (a stop now would wait and then
        // end the recording this starts).
        DiscardFile();
        OpenFile(nullptr);
    }
    if (!CurrentFile && !SecondaryFile)
        OpenFile(nullptr);
    if (!CurrentFile && !SecondaryFile) {
        CmStop();
        return false;
    }
    return true;
}

// In loop mode a file already at its limit starts over from its beginning;
// otherwise recording goes on at the end of the file.
void TAppDialog::CheckLimitAtStart()
{
    if (!OverwriteMode)
        SeekRecordPosition();
    // The wrap waits until the capture has started, and takes the position
    // it finds as the end of the older lap: that is the end of the data,
    // wherever a play or a move had left the file, or the audio after that
    // place would be taken for a lap older still.
    if (AppState.FileAction == 1 && CurrentFile && !InEditRecording() &&
        CheckFileLimit(FileLimitSettings::From(AppState), FileProgressOf(*CurrentFile),
                       ~0ull) == LimitHit::UserLimit)
        EvFileLimit(0, 0);
}

void TAppDialog::StartCapture()
{
    const UINT deviceId = ChooseWaveDevice(WaveDirection::Input, AppState.WaveInDriver);
    SetRecordingSource();
    std::string productName;
    if (Waves().ProductName(WaveDirection::Input, deviceId, productName) != MMSYSERR_NOERROR) {
        ListenError(IDS_NOWAVEINCAPS, true);
        return;
    }
    if (!Ring.IsAllocated())
        InitDat();
    CaptureRequest request;
    request.deviceId = deviceId;
    request.capture = CaptureFormat;
    request.recordChannel = AppState.RecordChannel;
    request.window = GetHandle();
    request.pretriggerSeconds = static_cast<uint32_t>(AppState.Pretrigger > 0 ? AppState.Pretrigger : 0);
    request.overwriteMode = OverwriteMode != 0;
    if (CurrentFile) {
        request.kind = WriteKindFor(FileFormat->wFormatTag, CurrentFile->GetFileType());
        if (request.kind == WriteKind::Converted && !OpenEncoder(request))
            return;
    }
    StartCaptureSession(request);
}

// The conversion stream for a compressed file, opened unless it is open for
// encoding already. False (and stopped) when it cannot be opened.
bool TAppDialog::OpenEncoder(CaptureRequest& request)
{
    if (!OpenEncodeStream()) {
        StopCapture();
        CmStop();
        return false;
    }
    request.convert = [this](ACMSTREAMHEADER& record, DWORD flags) {
        // A run begins with every record prepared with this stream. The end
        // of the last run unprepared one; an encoder that ends at an
        // unprepare starts afresh at a prepare (LAME's does both), so the
        // next run starts on a new encoder, and a prepare inside a run would
        // throw away what the encoder holds. The stream may be another since
        // the last conversion: each file has its own.
        if (flags & ACM_STREAMCONVERTF_START)
            for (int slot = 0; slot < kRingSlots; ++slot)
                if (ACMSTREAMHEADER* other = Ring.Conversion(slot); other && other != &record)
                    (void)PrepareConversionRecord(hAcmStream, *other);
        if (const MMRESULT prepared = PrepareConversionRecord(hAcmStream, record); prepared != MMSYSERR_NOERROR)
            return prepared;
        // The run's end is taken out of the codec now: it is prepared again
        // when the next run begins.
        if (flags & ACM_STREAMCONVERTF_END)
            return hAcmStream.ConvertEnd(record, flags);
        return hAcmStream.Convert(record, flags);
    };
    return true;
}

bool TAppDialog::OpenEncodeStream()
{
    return (hAcmStream.IsOpen() && AcmMode == 1) || AcmOpen(false, 1);
}

void TAppDialog::StartCaptureSession(const CaptureRequest& request)
{
    MMRESULT result = MMSYSERR_NOERROR;
    switch (Capture.Start(request, &result)) {
    case CaptureStartError::None:
        break;
    case CaptureStartError::BufferTooLarge: return ListenError(IDS_FORMATTOOFAST, true);
    case CaptureStartError::NoRing: return ListenError(IDS_CANTALLOCWAVE, true);
    case CaptureStartError::Open: return ListenError(IDS_CANTOPENWAVEIN, true);
    case CaptureStartError::Prepare: return ListenError(IDS_CANTPREPAREWAVEIN, true);
    case CaptureStartError::Queue: return ListenError(IDS_CANTADDWAVEIN, true);
    case CaptureStartError::Start: return ListenError(IDS_CANTSTARTWAVEIN, true);
    }
    LastWaveIndex = -1;
    RestartPending = false;
    SplitPending = false;
    LimitPosted = false;
    if (StopButton && StopButton->GetHandle())
        ::SetFocus(StopButton->GetHandle());
    PostToFrame(*this, WM_RECORDSTATECHANGED);
}

// The mixer's recording source and level, when the settings name them.
void TAppDialog::SetRecordingSource()
{
    if (AppState.RecLevel < 0 && AppState.RecSource[0] == '\0')
        return;
    SMixer mixer;
    if (mixer.Open(MIXER_OBJECTF_WAVEIN, AppState.WaveInDriver, GetHandle()) != MMSYSERR_NOERROR)
        return;
    if (AppState.RecSource[0] != '\0')
        (void)mixer.SelectRecordSource(AppState.RecSource);
    std::string source;
    if (AppState.RecLevel >= 0 && mixer.SelectedRecordSource(source))
        (void)mixer.SetRecordVolume(source, AppState.RecLevel);
}

void TAppDialog::ListenError(int stringId, bool stop)
{
    Error(stringId, MB_ICONEXCLAMATION);
    if (stop) {
        StopCapture();
        CmStop();
    }
}

void TAppDialog::CeRecord(TCommandEnabler& ce)
{
    ce.Enable(!CurrentFile || !CurrentFile->IsReadOnly());
}

LRESULT TAppDialog::EvMmWimData(WPARAM wParam, LPARAM lParam)
{
    if (!Recording || !lParam || !Capture.IsDeviceMessage(wParam) || IsTransportBusy())
        return 0;
    if (TraceCapture)
        TraceRing();
    bool restartDue = false;
    const bool first = Capture.Tally().taken == 0;
    WithCaptureSink([&](CaptureSink* sink, CaptureHost& host) {
        restartDue = Capture.TakeBack(reinterpret_cast<const WAVEHDR*>(lParam), sink, host);
    });
    if (first && Capture.Tally().taken > 0)
        WriteLog("first capture buffers back: " + std::to_string(Capture.RecordedMs()) + " ms recorded");
    LastWaveIndex = Capture.LastSlot();
    if (restartDue)
        PostRestart();
    return 0;
}

void TAppDialog::TraceRing() const
{
    std::string line;
    for (int slot = 0; slot < kRingSlots; ++slot) {
        const DWORD flags = Ring.Header(slot).dwFlags;
        char part[40];
        std::snprintf(part, sizeof part, "seg%d %s %s  ", slot, (flags & WHDR_DONE) ? "done" : "    ",
                      (flags & WHDR_INQUEUE) ? "q" : " ");
        line += part;
    }
    SMsg::WriteLog(line);
}

void TAppDialog::PostRestart()
{
    if (RestartPending)
        return;
    RestartPending = true;
    PostMessage(WM_RESTARTRECORDING, 1, 2);
}

LRESULT TAppDialog::EvRestartRecording(WPARAM wParam, LPARAM lParam)
{
    Log("Attempting to restart recording.");
    if (wParam != 1 || lParam != 2 || !hWaveIn.IsOpen() || !Recording)
        return 0;
    if (DeferWhileTransportBusy(WM_RESTARTRECORDING, wParam, lParam))
        return 0;
    RestartPending = false;
    BeginTransportBusy();
    WithCaptureSink([&](CaptureSink* sink, CaptureHost& host) { (void)Capture.Restart(sink, host); });
    LastWaveIndex = -1;
    EndTransportBusy();
    return 0;
}

void TAppDialog::StopCapture()
{
    const bool segmentOpen = Capture.Vox().hang > 0;
    const bool wasOpen = hWaveIn.IsOpen();
    BeginTransportBusy();
    WithCaptureSink([&](CaptureSink* sink, CaptureHost& host) { Capture.Stop(sink, host); });
    EndTransportBusy();
    Recording = 0;
    LastWaveIndex = -1;
    RestartPending = false;
    LastPeakShown = 0xFFFFFFFFu;  // the stop empties the meter: the next level is drawn
    Capture.Vox().ClearForStart();
    if (!wasOpen)
        return;
    WriteLog(CaptureTallyText(Capture.Tally(), Capture.Restarts()));
    if (segmentOpen && AppState.NotifyWindow)
        ::PostMessage(AppState.NotifyWindow, WM_SEGMENTENDED, 1, 1);
    RefreshMarks(false);
}

// Whether the next automatically named file would take this recording's
// audio as it comes from the device, so the device can keep running.
bool TAppDialog::NextFileTakesSameAudio() const
{
    if (!CurrentFile || !hWaveIn.IsOpen())
        return false;
    const int type = FileTypeForOpen(nullptr, AppState.DefaultAudioFormat);
    if (type != CurrentFile->GetFileType())
        return false;
    const NewFileFormats next = FormatsForNewFile(type, AppState);
    const WAVEFORMATEX& now = CaptureFormat;
    const WAVEFORMATEX& then = next.captureFormat;
    return next.fileFormat->wFormatTag == FileFormat->wFormatTag && then.nChannels == now.nChannels &&
           then.nSamplesPerSec == now.nSamplesPerSec && then.wBitsPerSample == now.wBitsPerSample;
}

// Ends the current file between two captured buffers and goes on in a new
// automatically named one, the device running all along: every buffer lands
// in one of the two files. Through a codec, the old stream's end goes into
// the old file and the new file gets a stream of its own, which starts with
// the next buffer. False when the new file or its stream could not be opened
// (the recording is then stopped).
bool TAppDialog::SwitchRecordingFile()
{
    bool segmentWasOpen = false;
    bool encoding = true;
    {
        TransportBusyScope busy(*this);
        // What the device has given back so far belongs to the full file.
        WithCaptureSink([&](CaptureSink* sink, CaptureHost& host) {
            (void)Capture.TakeBack(nullptr, sink, host);
            if (sink)
                segmentWasOpen = Capture.EndFilePart(*sink, host);
        });
        (void)CurrentFile->Update();
        DropCurrentFileKeepingData();
        // Opening the file tests its codec, which closes the old stream.
        OpenFile(nullptr);
        if (CurrentFile && Capture.Writer().Kind() == WriteKind::Converted)
            encoding = OpenEncodeStream();
        if (CurrentFile && encoding) {
            SeekRecordPosition();
            WithCaptureSink([&](CaptureSink* sink, CaptureHost& host) {
                Capture.BeginFilePart(*sink, segmentWasOpen, host);
                // Buffers that came back while the file was opened.
                (void)Capture.TakeBack(nullptr, sink, host);
            });
            LastWaveIndex = Capture.LastSlot();
        }
    }
    LimitPosted = false;
    SplitPending = false;
    if (!CurrentFile || !encoding) {
        StopCapture();
        CmStop();
        return false;
    }
    return true;
}
