// The recorder window's playback: the output device, the ring of five
// buffers refilled as the device returns them, the decode stream of
// compressed files, play at speed and the end of the file.
#include "recorder/window/TAppDialog.h"

#include <algorithm>
#include <cstdio>
#include <new>
#include <string>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "recorder/controls/CoolButton.h"
#include "recorder/files/FileNaming.h"
#include "recorder/files/SavePlan.h"
#include "recorder/playback/PlayBlocks.h"
#include "recorder/playback/SpeedConvert.h"

namespace {

constexpr UINT kPlayRestartMs = 100;

void PostToFrame(const TAppDialog& window, UINT msg)
{
    if (const TWindow* frame = window.GetParent())
        ::PostMessage(frame->GetHandle(), msg, 0, 0);
}

}  // namespace

bool TAppDialog::DecodesItself() const
{
    if (!CurrentFile)
        return false;
    const int type = CurrentFile->GetFileType();
    return type == ftOgg || type == ftSpeex;
}

bool TAppDialog::PlaysThroughCodec() const
{
    return CurrentFile && !DecodesItself() && FileFormat->wFormatTag != WAVE_FORMAT_PCM;
}

void TAppDialog::StartPlayTimer(UINT ms)
{
    ArmTimer(TIMER_PLAYSTART, ms);
}

// The Play button shows the speed while playing at speed.
void TAppDialog::ShowPlaySpeed()
{
    if (!PlayButton || !PlayButton->GetHandle())
        return;
    if (SpeedMode == 2) {
        char caption[16];
        std::snprintf(caption, sizeof caption, "%1.1f", double(AppState.PlayRate));
        PlayButton->SetCaption(caption);
        PlayButton->SetNoCaption(false);
        SpeedMode = 1;
        PlayButton->Invalidate(false);
    } else if (SpeedMode == 0) {
        PlayButton->SetCaption("&Play");
        PlayButton->SetNoCaption(true);
        PlayButton->Invalidate(false);
    }
}

void TAppDialog::BnPlay()
{
    ShowPlaySpeed();
    // Play at speed chosen while playing takes effect with the next block.
    EnsureSpeedWork();
    if (!CurrentFile || CurrentFile->GetDataLength() == 0) {
        CmStop();
        return;
    }
    if (Recording) {
        SavedRecordingPath.clear();
        CmStop();
        if (PlayButton && PlayButton->GetHandle())
            PlayButton->SetState(CoolButton::kPressed, true);
        if (!PlayAfterRecording())
            return;
    }
    const uint32_t length = CurrentFile->GetLength();
    const uint32_t position = CurrentFile->GetPosition();
    if (std::max(position, length) - std::min(position, length) <= kNearEndBytes)
        (void)CurrentFile->Position(0);
    if (!Ring.IsAllocated())
        InitDat();
    PostToFrame(*this, WM_RECORDSTATECHANGED);
    if (hWaveOut.IsOpen() || !Ring.IsAllocated())
        return;
    if (!OpenPlayDevice())
        return;
    if (!FillPlayRing()) {
        // Nothing of the file could be read (a file type that cannot be
        // decoded here, or a damaged file): never play silence for it.
        Error(IDS_CANTPLAYFILE, MB_ICONEXCLAMATION);
        EvStopTransport(0, 0);
        return;
    }
}

// The stop of a recording may have saved it and opened a new, empty file
// (record mode 4): the recording the user was looking at is played, opened
// again from where the save put it (Save As or a category may have moved
// it, and the new file may have taken its old name). False (and stopped,
// with the reason shown) when there is nothing to play.
bool TAppDialog::PlayAfterRecording()
{
    if (CurrentFile && CurrentFile->GetDataLength() > 0)
        return true;
    const std::string recorded = SavedRecordingPath;
    if (!recorded.empty() && PathExists(recorded) &&
        !(CurrentFile && IsSameFile(recorded, CurrentFile->GetPath()))) {
        // The new file the stop opened was never used: it goes, not left
        // empty on disk.
        if (CurrentFile && CurrentFile->GetDataLength() == 0) {
            (void)CurrentFile->Delete();
            CurrentFile.reset();
        }
        OpenFile(recorded.c_str());
        if (CurrentFile && CurrentFile->GetDataLength() > 0)
            return true;
    }
    Error(IDS_RECORDINGSAVEDNOPLAY, MB_ICONINFORMATION);
    CmStop();
    RepaintTransportButtons();
    return false;
}

// Opens the output device in the capture format and, for compressed files,
// the decode stream. False (and stopped) on failure.
bool TAppDialog::OpenPlayDevice()
{
    ClosePlayTail();
    PlayReachedEnd = false;
    const UINT device = ChooseWaveDevice(WaveDirection::Output, AppState.WaveOutDriver);
    const MMRESULT opened = hWaveOut.Open(device, CaptureFormat, GetHandle());
    if (opened == MMSYSERR_ALLOCATED) {
        Error(IDS_WAVEOUTBUSY, MB_ICONEXCLAMATION);
        CmStop();
        return false;
    }
    if (opened != MMSYSERR_NOERROR) {
        Error(IDS_CANTOPENWAVEOUT, MB_ICONEXCLAMATION);
        CmStop();
        RepaintTransportButtons();
        return false;
    }
    if (PlaysThroughCodec() && AcmMode != 2 && (!Ring.HasConversion() || !AcmOpen(false, 2))) {
        CmStop();
        RepaintTransportButtons();
        return false;
    }
    PlayedPosition = CurrentFile->GetPosition();
    return true;
}

// Reads the first five blocks and hands them to the device (or to the
// decode stream). False when nothing at all could be read.
bool TAppDialog::FillPlayRing()
{
    EnsureSpeedWork();
    Playing = 1;
    EndSilenceLent = false;
    PlayCount.Begin();
    PlayDoneIndex = kRingSlots - 1;
    PlayQueuedIndex = kRingSlots - 1;
    PlayDecodedIndex = kRingSlots - 1;
    uint32_t readTotal = 0;
    for (int i = 0; i < kRingSlots; ++i) {
        WAVEHDR& header = Ring.Header(i);
        if (PlaysThroughCodec()) {
            header.dwFlags = WHDR_DONE;
            ACMSTREAMHEADER& record = *Ring.Conversion(i);
            record.cbSrcLength = ReadPlayData(record.pbSrc);
            record.dwSrcUser = CurrentFile->GetPosition();
            readTotal += record.cbSrcLength;
            DecodePlayBuffer(i);
            PlayDecodedIndex = i;
            if (i == 0)
                StartPlayTimer(kPlayRestartMs);
        } else {
            // A header left empty reads as returned at the end of the file.
            header.dwFlags = WHDR_DONE;
            header.dwBufferLength = ReadPlayData(header.lpData);
            header.dwUser = CurrentFile->GetPosition();
            readTotal += header.dwBufferLength;
            if (header.dwBufferLength > 0)
                MmOutData(i);
            else if (readTotal > 0)
                (void)LendEndSilence(i, CurrentFile->GetPosition());
        }
    }
    PlayDoneIndex = kRingSlots - 1;
    PlayQueuedIndex = kRingSlots - 1;
    return readTotal > 0;
}

uint32_t TAppDialog::ReadPlayData(void* buffer)
{
    if (!CurrentFile)
        return 0;
    RecFile& file = *CurrentFile;
    if (SoundByteMode && FileFormat->nAvgBytesPerSec != 0) {
        const uint32_t position = file.GetPosition();
        const int segment = file.FindTimeCode(position);
        const uint32_t start = segment < 0 ? 0 : file.GetTimeCodePos(segment);
        const uint32_t seconds = file.GetSeconds(position >= start ? position - start : 0);
        if (AppState.SoundByte >= 0 && seconds >= uint32_t(AppState.SoundByte))
            (void)file.Position(file.NextSegmentPosition(position));
    }
    if (DecodesItself()) {
        const int32_t got = static_cast<int32_t>(
            file.ReadSamples(static_cast<int16_t*>(buffer), DecodedPlayBlockBytes(CaptureFormat)));
        return got > 0 ? static_cast<uint32_t>(got) : 0;
    }
    const uint32_t n = PlayBlockBytes(*FileFormat.Get(), SpeedMode != 0, AppState.PlayRate,
                                      file.GetPosition(), file.GetLength());
    if (n == 0)
        return 0;
    const int32_t got = file.Read(buffer, n);
    return got > 0 ? static_cast<uint32_t>(got) : 0;
}

void TAppDialog::DecodePlayBuffer(int index)
{
    ACMSTREAMHEADER* record = Ring.Conversion(index);
    if (!record || !PlaysThroughCodec())
        return;
    if (record->cbSrcLength == 0) {
        // Nothing read: an empty record counts as converted.
        record->cbDstLengthUsed = 0;
        record->fdwStatus |= ACMSTREAMHEADER_STATUSF_DONE;
        return;
    }
    if (!(record->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED)) {
        const DWORD sourceBytes = record->cbSrcLength;
        record->cbSrcLength = kRingBlockBytes;
        record->cbDstLength = kRingBlockBytes;
        const MMRESULT prepared = hAcmStream.Prepare(*record);
        record->cbSrcLength = sourceBytes;
        if (prepared != MMSYSERR_NOERROR) {
            // Its block is passed over; the play goes on with the next.
            Warn(IDS_PREPAREFAILED);
            record->cbDstLengthUsed = 0;
            record->fdwStatus |= ACMSTREAMHEADER_STATUSF_DONE;
            return;
        }
    }
    if (hAcmStream.Convert(*record, ACM_STREAMCONVERTF_BLOCKALIGN) != MMSYSERR_NOERROR) {
        record->cbDstLengthUsed = 0;
        record->fdwStatus |= ACMSTREAMHEADER_STATUSF_DONE;
    }
}

bool TAppDialog::QueuePlayBuffers()
{
    if (!hWaveOut.IsOpen() || !Ring.HasConversion() || !CurrentFile)
        return false;
    std::array<bool, kRingSlots> converted{}, headerFree{};
    for (int i = 0; i < kRingSlots; ++i) {
        converted[i] = (Ring.Conversion(i)->fdwStatus & ACMSTREAMHEADER_STATUSF_DONE) != 0;
        headerFree[i] = (Ring.Header(i).dwFlags & WHDR_DONE) != 0;
    }
    std::array<int, kRingSlots> slots{};
    bool queued = false;
    const int toQueue = QueueOrder(PlayQueuedIndex, PlayDecodedIndex, converted, headerFree, slots);
    for (int k = 0; k < toQueue; ++k) {
        const int i = slots[k];
        ACMSTREAMHEADER& record = *Ring.Conversion(i);
        WAVEHDR& header = Ring.Header(i);
        const DWORD bytes = std::min<DWORD>(record.cbDstLengthUsed, kRingBlockBytes);
        PlayQueuedIndex = i;
        // A record is played once: until it is decoded again it is not
        // ready, or a walk that finds every decoded record queued would go
        // round the ring and hand the device blocks it has played.
        record.fdwStatus &= ~ACMSTREAMHEADER_STATUSF_DONE;
        if (bytes == 0 && record.cbSrcLength == 0) {
            // Nothing was read for this record: the end of the file.
            queued |= LendEndSilence(i, static_cast<uint32_t>(record.dwSrcUser));
            continue;
        }
        std::copy(record.pbDst, record.pbDst + bytes, reinterpret_cast<uint8_t*>(header.lpData));
        header.dwBufferLength = bytes;
        header.dwUser = record.dwSrcUser;
        MmOutData(i);
        queued |= bytes > 0;
    }
    bool readAnything = false;
    const int toRefill = RefillOrder(PlayDecodedIndex, PlayDoneIndex, slots);
    for (int k = 0; k < toRefill; ++k) {
        const int j = slots[k];
        ACMSTREAMHEADER& record = *Ring.Conversion(j);
        record.cbSrcLength = ReadPlayData(record.pbSrc);
        record.dwSrcUser = CurrentFile->GetPosition();
        readAnything |= record.cbSrcLength > 0;
        DecodePlayBuffer(j);
        PlayDecodedIndex = j;
    }
    if (!queued) {
        // Reads that stopped short of the file's length (a damaged file)
        // would re-arm the timer for ever: with nothing left to play the
        // playback ends as at the end of the file.
        if (!readAnything && BuffersWithPlayDevice() == 0 && Playing)
            EndOfPlayback();
        else
            StartPlayTimer(kPlayRestartMs);
    }
    return queued;
}

void TAppDialog::MmOutData(int index, bool atSpeed)
{
    if (index < 0 || index >= kRingSlots)
        return;
    WAVEHDR& header = Ring.Header(index);
    if (header.dwBufferLength == 0)
        return;
    header.dwFlags = 0;
    header.dwLoops = 0;
    header.lpNext = nullptr;
    PlayPeak[index] = PeakLevel(reinterpret_cast<const uint8_t*>(header.lpData), header.dwBufferLength,
                                CaptureFormat);
    if (SpeedMode != 0 && atSpeed)
        SpeedConvert(index);
    if (hWaveOut.Prepare(header) != MMSYSERR_NOERROR) {
        Warn(IDS_CANTPREPAREWAVEOUT);
        header.dwFlags = WHDR_DONE;  // free again for the next block
        PlayCount.Handed(index, false);
        return;
    }
    if (hWaveOut.Queue(header) != MMSYSERR_NOERROR) {
        (void)hWaveOut.Unprepare(header);
        header.dwFlags = WHDR_DONE;
        PlayCount.Handed(index, false);
        return;
    }
    PlayCount.Handed(index, true);
}

void TAppDialog::SpeedConvert(int index)
{
    if (!SpeedWork)
        return;
    WAVEHDR& header = Ring.Header(index);
    const uint32_t bytes = std::min<uint32_t>(header.dwBufferLength, kRingBlockBytes);
    const uint32_t converted = ::SpeedConvert(reinterpret_cast<uint8_t*>(header.lpData), bytes, SpeedWork.get(),
                                              SampleLayout::Of(CaptureFormat), AppState.PlayRate,
                                              kSpeedOutputLimit, &PlaySpeedBalance);
    if (converted > 0)
        header.dwBufferLength = converted;
}

LRESULT TAppDialog::EvMmWomDone(WPARAM wParam, LPARAM lParam)
{
    const auto* reported = reinterpret_cast<const WAVEHDR*>(lParam);
    if (!hWaveOut.IsHandle(wParam) || !Ring.IsAllocated() || !reported || !(reported->dwFlags & WHDR_DONE))
        return 0;
    // MmOutDone moves PlayDoneIndex: the walk counts from where it began.
    const int start = PlayDoneIndex;
    for (int step = 1; step <= kRingSlots; ++step) {
        const int i = (start + step + kRingSlots) % kRingSlots;
        WAVEHDR& header = Ring.Header(i);
        if (!(header.dwFlags & WHDR_DONE))
            break;
        MmOutDone(header, i);
        if (!hWaveOut.IsOpen())
            break;
    }
    return 0;
}

void TAppDialog::MmOutDone(WAVEHDR& header, int index)
{
    PlayCount.Returned(index);
    if (Playing) {
        PlayedPosition = static_cast<uint32_t>(header.dwUser);
        if (header.dwFlags & WHDR_PREPARED)
            (void)hWaveOut.Unprepare(header);
        PlayDoneIndex = index;
        ShowPlayPosition(header);
    }
    if (!hWaveOut.IsOpen())
        return;
    if (!CurrentFile) {
        PostMessage(WM_STOPTRANSPORT);
        return;
    }
    ShowLevel(PlayPeak[(index + 1) % kRingSlots]);
    if (PlaysThroughCodec())
        QueuePlayBuffers();
    else
        RefillPlayHeader(index);
    if (Playing && PlayedToTheEnd(header))
        EndOfPlayback();
}

// The end: the last block was played, or the reads stopped short of the
// file's length; and nothing is left with the device, the silence after the
// last block included, so that the end of the file has been heard.
bool TAppDialog::PlayedToTheEnd(const WAVEHDR& returned) const
{
    if (BuffersWithPlayDevice() > 0)
        return false;
    return PlayedPosition >= CurrentFile->GetLength() || (!PlaysThroughCodec() && returned.dwBufferLength == 0);
}

void TAppDialog::RefillPlayHeader(int index)
{
    WAVEHDR& header = Ring.Header(index);
    header.dwBufferLength = ReadPlayData(header.lpData);
    header.dwUser = CurrentFile->GetPosition();
    if (header.dwBufferLength == 0) {
        (void)LendEndSilence(index, CurrentFile->GetPosition());
        return;
    }
    MmOutData(index);
}

// Lends header index a block of silence after the file's last block, once
// per playback; position is the file position it stands for (the end). A
// header given no silence stays free (and marked done). True when lent.
bool TAppDialog::LendEndSilence(int index, uint32_t position)
{
    WAVEHDR& header = Ring.Header(index);
    header.dwUser = position;
    header.dwBufferLength = 0;
    header.dwFlags = WHDR_DONE;
    if (EndSilenceLent || !Playing)
        return false;
    EndSilenceLent = true;
    const uint32_t block = std::max<uint32_t>(CaptureFormat.nBlockAlign, 1);
    const uint32_t wanted = static_cast<uint32_t>(uint64_t{CaptureFormat.nAvgBytesPerSec} * kEndSilenceMs / 1000);
    const uint32_t bytes = std::min<uint32_t>(wanted, kRingBlockBytes) / block * block;
    if (bytes == 0)
        return false;
    std::fill_n(reinterpret_cast<uint8_t*>(header.lpData), bytes, CaptureFormat.wBitsPerSample == 8 ? 0x80 : 0);
    header.dwBufferLength = bytes;
    MmOutData(index, false);
    return (header.dwFlags & WHDR_PREPARED) != 0;  // a refused block is marked done alone
}

void TAppDialog::EnsureSpeedWork()
{
    PlaySpeedBalance = SpeedBalance{};  // a new play or a new speed
    if (SpeedMode != 0 && !SpeedWork)
        SpeedWork.reset(new (std::nothrow) uint8_t[kRingBlockBytes]);
}

int TAppDialog::BuffersWithPlayDevice() const
{
    int lent = 0;
    for (int i = 0; i < kRingSlots; ++i)
        lent += (Ring.Header(i).dwFlags & WHDR_INQUEUE) != 0;
    return lent;
}

void TAppDialog::EndPlayTally()
{
    if (!hWaveOut.IsOpen() || !Ring.IsAllocated())
        return;
    std::array<bool, kRingSlots> done{};
    for (int i = 0; i < kRingSlots; ++i)
        done[i] = (Ring.Header(i).dwFlags & WHDR_DONE) != 0;
    PlayCount.End(done);
    if (PlayCount.Tally().handed > 0)
        WriteLog(PlayTallyText(PlayCount.Tally()));
    PlayCount.Begin();
}

// In echo mode recording starts again; otherwise the transport stops.
void TAppDialog::EndOfPlayback()
{
    PlayReachedEnd = true;
    if (AppState.RecordMode == 1) {
        PostMessage(WM_STOPTHENRECORD);
        Playing = 0;
    } else {
        PostMessage(WM_STOPTRANSPORT);
    }
}

void TAppDialog::ClosePlayTail()
{
    DisarmTimer(TIMER_PLAYTAIL);
    if (PlayTail.IsOpen())
        LogPlayDeviceClosed(PlayTail.Close());
}

void TAppDialog::LogPlayDeviceClosed(const WaveCloseResult& closed)
{
    WriteLog(closed.Ok() ? std::string("Play device closed")
                         : "Play device closed, close result " + std::to_string(closed.close));
}

LRESULT TAppDialog::EvMmAcmDone(WPARAM, LPARAM)
{
    // The streams have no callback: every conversion ends inside its call.
    return 0;
}
