// The recorder window's timers: the playback start, the scheduler poll and
// the properties watch of /R. The scheduler has no timer of its own; this
// window asks its stop and start checks on every tick of timers 42 and 43.
#include "recorder/window/TAppDialog.h"

#include <string>

#include "core/AppState.h"
#include "framework/UserInteraction.h"
#include "schedule/EventFileName.h"
#include "schedule/ScheduleCheck.h"
#include "recorder/controls/CoolButton.h"
#include "recorder/window/TAppDialogFileSteps.h"

namespace {

// A copy of the event: stopping and starting let waiting messages run, and
// one of them may reload the schedule.
TimerEvent EventAt(int eventNumber) {
    const TimerEvent* event = AppState.Events.Get(eventNumber - 1);
    return event ? *event : TimerEvent();
}

}  // namespace

void TAppDialog::SpinTimer() {
    if (!ArmTimer(TIMER_SCHEDULER, kSchedulerFirstMs)) Warn(IDS_TIMERERROR_SPIN);
}

void TAppDialog::EvTimer(UINT timerId) {
    switch (timerId) {
    case TIMER_PLAYSTART:
        DisarmTimer(TIMER_PLAYSTART);
        QueuePlayBuffers();
        break;
    case TIMER_PLAYTAIL:
        ClosePlayTail();
        break;
    case TIMER_PROPERTIESWATCH:
        // With /R the program lives only as long as the properties report.
        if (!PropertiesWindow || !::IsWindow(PropertiesWindow)) {
            HWND frame = GetParent() ? GetParent()->GetHandle() : nullptr;
            ::PostMessageA(frame, WM_QUIT, 0, 0);
        }
        SchedulerPoll();
        break;
    case TIMER_SCHEDULER:
        SchedulerPoll();
        break;
    default:
        break;
    }
}

void TAppDialog::SchedulerPoll() {
    // Each check reports its minute once, so they run on every tick. What
    // falls due while a start, stop, save or edit pumps messages, or under a
    // modal step, is kept whole and runs when they have ended: a scheduled
    // stop run at once would be deferred but its file dropped at once,
    // losing the audio captured until the deferred stop ran.
    if (const int stop = CheckTimerStop()) {
        if (IsHoldingRequests()) HoldScheduledEvent(false, stop);
        else ScheduledStop(EventAt(stop).newFile);
    }
    if (const int start = CheckTimerStart()) {
        if (IsHoldingRequests()) {
            HoldScheduledEvent(true, start);
        } else {
            const TimerEvent event = EventAt(start);
            ScheduledStart(event.newFile, event.name);
        }
    }
    if (!ArmTimer(TIMER_SCHEDULER, kSchedulerPeriodMs)) Warn(IDS_TIMERERROR_TICK);
}

// A due stop ends the recording; an event with its own file also closes it.
void TAppDialog::ScheduledStop(bool newFile) {
    CmStop();
    StopButton->SetState(CoolButton::kPressed, true);
    if (newFile && CurrentFile) {
        DropCurrentFileKeepingData();
        SetTitle(nullptr, false);
    }
}

// A due start records, into a file of its own when the event asks for one:
// named after the event (and the file-name prefix), or named automatically.
void TAppDialog::ScheduledStart(bool newFile, const std::string& eventName) {
    if (newFile && CurrentFile) {
        CmStop();
        DropCurrentFileKeepingData();
    }
    if (!CurrentFile) {
        if (!eventName.empty()) OpenEventFile(eventName);
        else OpenFile(nullptr);
    }
    Listen();
    RecordButton->SetState(CoolButton::kPressed, true);
}

void TAppDialog::OpenEventFile(const std::string& eventName) {
    // The event's name is plain text: no date codes, numbering or folders.
    std::string base = EventNameAsFileName(eventName);
    if (AppState.ImprovedFilePrefix[0] != '\0') base += std::string("_") + AppState.ImprovedFilePrefix;
    std::string path;
    if (NewFileName(base.c_str(), path, false, AppState.DefaultAudioFormat)) OpenFile(path.c_str());
    if (!CurrentFile) Ui().MessageBox(GetHandle(), CantOpenFileText(path), "Larkspur-PRO", MB_OK);
    CmClearMark();
}

// Lets go of the current file. A file that holds audio loses its temporary
// mark first: the stop has already brought it up to date and cleared its
// "modified" flag, so closing it as a temporary file would delete the
// recording.
void TAppDialog::DropCurrentFileKeepingData() {
    if (CurrentFile->GetDataLength() > 0 && CurrentFile->IsTemporary()) {
        // Renaming to its own path clears the temporary mark.
        (void)CurrentFile->Rename(CurrentFile->GetPath());
    }
    CurrentFile.reset();
}
