// The recorder window's read-outs: level, time, segment, size and length,
// free disk space with the distance to the file limit, the position slider;
// and the file-limit test run after every written buffer.
#include "recorder/window/TAppDialog.h"

#include <commctrl.h>

#include <algorithm>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "recorder/controls/SMeter.h"
#include "recorder/capture/StatusTexts.h"

namespace {

constexpr double kMegabyte = 1048576.0;

int LevelPercent(uint32_t level) { return static_cast<int>(std::min<uint32_t>(level, 127) * 100 / 127); }

// Slider steps 0..1000 for a position, in 64 bits (positions pass 2^31).
int SliderFor(uint32_t position, uint32_t length)
{
    return length < 2 ? 1000 : static_cast<int>(std::min<uint64_t>(uint64_t{position} * 1000 / length, 1000));
}

}  // namespace

FileProgress TAppDialog::FileProgressOf(const RecFile& file)
{
    // A looping file keeps its full data length while it overwrites its
    // start: how far it has come is the write position.
    const bool looping = AppState.FileAction == 1 && file.GetOverwrite();
    const uint32_t units = looping ? file.GetPosition() : file.GetDataLength();
    return FileProgress{units, file.GetSeconds(units)};
}

void TAppDialog::ShowLevel(uint32_t peak)
{
    if (peak == LastPeakShown)
        return;
    LastPeakShown = peak;
    int shown = 0;
    if (CaptureFormat.nChannels == 2) {
        const int left = LevelPercent((peak >> 8) & 0xFF), right = LevelPercent(peak & 0xFF);
        if (Meter)
            Meter->SetValues(left, right);
        shown = std::max(left, right);
    } else {
        shown = LevelPercent(peak);
        if (Meter)
            Meter->SetValue(shown);
    }
    SetItemText(IDC_LEVELTEXT, std::to_string(shown));
}

void TAppDialog::ShowTime(uint32_t position, bool)
{
    if (!CurrentFile) {
        SetItemText(IDC_TIMETEXT, "");
        return;
    }
    const int64_t timeCode = CurrentFile->GetTimeCode(position);
    const uint32_t seconds = CurrentFile->GetSeconds(position);
    if (timeCode > 0)
        SetItemText(IDC_TIMETEXT, ClockTimeText(timeCode, AppState.TimeOffset, seconds));
    else if (FileFormat->nAvgBytesPerSec == 0)
        SetItemText(IDC_TIMETEXT, "");
    else
        SetItemText(IDC_TIMETEXT, ElapsedText(seconds));
}

void TAppDialog::ShowSegment(uint32_t position)
{
    if (!CurrentFile || CurrentFile->TimeCodeCount() == 0) {
        if (ShownSegmentCount != 0) {
            ShownSegmentIndex = -1;
            ShownSegmentCount = 0;
            SetItemText(IDC_SEGMENTTEXT, "");
        }
        return;
    }
    const uint32_t at = position == kNoPosition ? CurrentFile->GetPosition() : position;
    const int index = CurrentFile->FindTimeCode(at);
    const int count = CurrentFile->TimeCodeCount();
    if (index == ShownSegmentIndex && count == ShownSegmentCount)
        return;
    ShownSegmentIndex = index;
    ShownSegmentCount = count;
    SetItemText(IDC_SEGMENTTEXT, SegmentText(index, count));
}

void TAppDialog::ShowSize()
{
    if (!CurrentFile) {
        SetItemText(IDC_SIZETEXT, "");
        return;
    }
    const bool looping = AppState.FileAction == 1 && CurrentFile->GetOverwrite();
    const uint64_t bytes = looping ? CurrentFile->GetPosition() : CurrentFile->GetDataLength();
    SetItemText(IDC_SIZETEXT, SizeText(bytes, FileFormat->nAvgBytesPerSec != 0,
                                       CurrentFile->GetSeconds(kWholeLength)));
}

// Free bytes of the volume holding the current file, asked of the file's
// own folder (a mounted folder or a network share has its own free space).
bool TAppDialog::FreeBytesForCurrentFile(uint64_t& freeBytes) const
{
    const std::string directory = DirectoryOf(CurrentFile->GetPath());
    const char* where = directory.empty() ? nullptr : directory.c_str();
    if (DiskFreeSpaceEx) {
        ULARGE_INTEGER available{}, total{}, totalFree{};
        if (!DiskFreeSpaceEx(where, &available, &total, &totalFree))
            return false;
        freeBytes = totalFree.QuadPart;
        return true;
    }
    std::string root = VolumeLabel(CurrentFile->GetPath());
    if (!root.empty())
        root += '\\';
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, clusters = 0;
    if (!GetDiskFreeSpaceA(root.empty() ? nullptr : root.c_str(), &sectorsPerCluster, &bytesPerSector,
                           &freeClusters, &clusters))
        return false;
    freeBytes = uint64_t{sectorsPerCluster} * bytesPerSector * freeClusters;
    return true;
}

void TAppDialog::ShowDiskSpace()
{
    if (!CurrentFile)
        return;
    uint64_t freeBytes = 0;
    if (!FreeBytesForCurrentFile(freeBytes)) {
        SetItemText(IDC_TIMETEXT, "");
        return;
    }
    const double freeMb = double(freeBytes) / kMegabyte;
    const double usedMb = double(CurrentFile->GetDataLength()) / kMegabyte;
    double restMb = 0;
    const bool withLimit = MegabytesToLimit(FileLimitSettings::From(AppState), usedMb,
                                            FileFormat->nAvgBytesPerSec, restMb);
    if (!OverwriteMode)
        SetItemText(IDC_TIMETEXT, DiskSpaceText(freeMb, VolumeLabel(CurrentFile->GetPath()), withLimit, restMb));
    if (freeMb < kDiskNearlyFullMb) {
        if (TWindow* frame = GetParent())
            frame->SetCaption("Disk nearly full!");
        PostMessage(WM_STOPTRANSPORT);
    }
}

void TAppDialog::UpdateStatus(int, bool showSegment)
{
    StatusCounter = (StatusCounter + 1) % 5;
    if (StatusCounter == 0) {
        ShowSize();
        ShowDiskSpace();
    }
    if (showSegment)
        ShowSegment(kNoPosition);
    if (!CurrentFile)
        return;
    if (OverwriteMode) {
        const uint32_t position = CurrentFile->GetPosition();
        ShowTime(position);
        if (CurrentFile->GetDataLength() > 1)
            SetPositionSlider(SliderFor(position, CurrentFile->GetLength()));
    }
    if (CurrentFile->TimeCodeCount() == 0 && CurrentFile->GetDataLength() == 0)
        ShowSegment(kNoPosition);
    CheckFileLimitWhileRecording();
}

// The File page's limit takes its action; a file near the ceiling of its
// format goes on in a new file. Each request is posted once per recording.
void TAppDialog::CheckFileLimitWhileRecording()
{
    // A record-insert or record-overwrite is an edit of the recording, not
    // its growth: no limit action may end or wrap the file under it.
    if (InEditRecording())
        return;
    const LimitHit hit = CheckFileLimit(FileLimitSettings::From(AppState), FileProgressOf(*CurrentFile),
                                        FileCeilingUnits(CurrentFile->GetFileType()));
    if (hit == LimitHit::UserLimit && AppState.FileAction == 1) {
        if (!LimitPosted)
            EvFileLimit(0, 0);
    } else if (hit == LimitHit::UserLimit && !LimitPosted) {
        LimitPosted = true;
        PostMessage(WM_FILELIMIT);
    } else if (hit == LimitHit::Ceiling && !SplitPending) {
        SplitPending = true;
        PostMessage(WM_SPLITFILE);
    }
}

void TAppDialog::ShowPlayPosition(const WAVEHDR& header)
{
    const uint32_t position = static_cast<uint32_t>(header.dwUser);
    if (position == 0 || !Playing || !CurrentFile)
        return;
    ShowSegment(position);
    SetPositionSlider(CurrentFile->GetDataLength() >= 2 ? SliderFor(position, CurrentFile->GetLength()) : 0);
    ShowTime(position);
}

void TAppDialog::SeekRecordPosition()
{
    if (CurrentFile)
        (void)CurrentFile->Position(CurrentFile->GetLength());
}

void TAppDialog::SetPositionSlider(int value)
{
    ::SendMessage(PositionSlider(), TBM_SETPOS, TRUE, value);
    SetSliderRange();  // the selection follows the thumb
}

bool TAppDialog::EvSliderNotify(UINT)
{
    return false;
}

void TAppDialog::EvHScroll(UINT code, int, HWND control)
{
    if (!CurrentFile || control != PositionSlider())
        return;
    if (code == SB_LINERIGHT || code == SB_LINELEFT) {
        code == SB_LINERIGHT ? CmFastForward() : CmRewind();
        SliderLineStep = true;
        return;
    }
    if (code == SB_ENDSCROLL && SliderLineStep) {
        SliderLineStep = false;
        return;
    }
    // While recording, the file's position is where the audio goes: a drag
    // would write the newest audio over the older audio of a looped file,
    // or leave old audio behind in its way. The thumb goes back.
    if (Recording) {
        SliderDragged = false;
        if (code == SB_ENDSCROLL && CurrentFile->GetDataLength() > 1)
            SetPositionSlider(SliderFor(CurrentFile->GetPosition(), CurrentFile->GetLength()));
        return;
    }
    if (Playing) {
        ResumeAfterDrag = true;
        EvStopTransport(0, 0);
    }
    if (CurrentFile->GetDataLength() == 0)
        return;
    const int slider = static_cast<int>(::SendMessage(PositionSlider(), TBM_GETPOS, 0, 0));
    const uint32_t position =
        static_cast<uint32_t>(uint64_t(std::clamp(slider, 0, 1000)) * CurrentFile->GetLength() / 1000);
    if (code == SB_THUMBTRACK) {
        ShowTime(position);
        ShowSegment(position);
        SliderDragged = true;
    } else if (code == SB_ENDSCROLL) {
        if (SliderDragged) {
            (void)CurrentFile->Position(position);
            ShowTime(CurrentFile->GetPosition());
            ShowSegment(kNoPosition);
            SliderDragged = false;
        }
        if (ResumeAfterDrag) {
            ResumeAfterDrag = false;
            EvStopThenPlay(0, 0);
        }
    }
}
