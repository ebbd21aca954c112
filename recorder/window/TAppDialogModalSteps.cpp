// The recorder window under a modal step: what arrives while a message box,
// dialog, file dialog or sheet is open and would stop, save, switch or close
// the current file is kept and runs when the step has ended. Handlers that
// ran a step look at CurrentFile again afterwards and never through a
// pointer taken before it.
#include "recorder/window/TAppDialog.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "core/AppState.h"
#include "core/PrivateMessages.h"
#include "schedule/ScheduleCheck.h"

void TAppDialog::WatchModalSteps() {
    ModalStepsEnd = std::make_unique<ModalStepWatch>([this] { ReleaseHeldRequests(); });
}

// The end of the session runs the whole stop at once, under whatever dialog
// is still open.
bool TAppDialog::IsHoldingRequests() const {
    return IsTransportBusy() || (IsModalStepOpen() && !EndingSession);
}

// What keeps the capture running and its audio on disk: the restart of a
// stalled device and the split at the format's ceiling. A dialog left open
// would otherwise lose the audio of all that time. And the end of the
// session, kept only while a start or stop ran.
bool TAppDialog::NeverWaitsForADialog(UINT msg) {
    return msg == WM_RESTARTRECORDING || msg == WM_SPLITFILE || msg == WM_ENDSESSIONREQUEST;
}

bool TAppDialog::DeferWhileTransportBusy(UINT msg, WPARAM wParam, LPARAM lParam) {
    return IsTransportBusy() && DeferIfTransportBusy(msg, wParam, lParam);
}

void TAppDialog::LogHeldRequest(UINT msg, WPARAM wParam) {
    HeldForDialog = true;
    char text[96];
    if (msg == WM_COMMAND)
        std::snprintf(text, sizeof text, "a dialog is open: command %u waits", static_cast<unsigned>(LOWORD(wParam)));
    else
        std::snprintf(text, sizeof text, "a dialog is open: message 0x%X waits", msg);
    Log(text);
}

void TAppDialog::ReleaseHeldRequests() {
    if (IsTransportBusy())
        return;
    if (IsHoldingRequests()) {
        // A dialog is open: only what never waits for one goes now.
        const auto now = std::stable_partition(DeferredRequests.begin(), DeferredRequests.end(),
                                               [](const TransportRequest& r) { return NeverWaitsForADialog(r.msg); });
        const std::vector<TransportRequest> going(DeferredRequests.begin(), now);
        DeferredRequests.erase(DeferredRequests.begin(), now);
        for (const TransportRequest& r : going)
            PostHeld(r);
        return;
    }
    const std::vector<TransportRequest> held = std::move(DeferredRequests);
    DeferredRequests.clear();
    if (HeldForDialog && !held.empty())
        Log("the dialog has closed: " + std::to_string(held.size()) + " request(s) that waited run now");
    HeldForDialog = false;
    for (const TransportRequest& r : held)
        PostHeld(r);
}

void TAppDialog::PostHeld(const TransportRequest& request) {
    if (request.target)
        ::PostMessage(request.target, request.msg, request.wParam, request.lParam);
    else
        PostMessage(request.msg, request.wParam, request.lParam);
}

bool TAppDialog::HoldInOrder(HWND target, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (!IsHoldingRequests())
        return false;
    DeferredRequests.push_back({msg, wParam, lParam, target});
    if (!IsTransportBusy())
        HeldForDialog = true;
    return true;
}

namespace {

bool SameEvent(const TimerEvent& a, const TimerEvent& b) {
    return a.days == b.days && a.startHour == b.startHour && a.startMinute == b.startMinute &&
           a.stopHour == b.stopHour && a.stopMinute == b.stopMinute && a.newFile == b.newFile && a.name == b.name;
}

// The event's number in the schedule now (from 1), or 0 when it was deleted
// or changed.
int NumberNow(const TimerEvent& event) {
    for (int i = 0; i < AppState.Events.Count(); ++i)
        if (SameEvent(*AppState.Events.Get(i), event))
            return i + 1;
    return 0;
}

int MinuteOfWeek(const WallClockTime& t) { return (t.dayOfWeek * 24 + t.hour) * 60 + t.minute; }

// The event's stop came between the start falling due and now.
bool StopHasPassed(const TimerEvent& event, const WallClockTime& due, const WallClockTime& now) {
    if (!event.HasStop())
        return false;
    constexpr int kMinutesPerDay = 24 * 60, kMinutesPerWeek = 7 * kMinutesPerDay;
    const int dueMinute = due.hour * 60 + due.minute;
    const int untilStop =
        static_cast<int>(((event.StopMinuteOfDay() - dueMinute) % kMinutesPerDay + kMinutesPerDay) % kMinutesPerDay);
    const int waited = ((MinuteOfWeek(now) - MinuteOfWeek(due)) % kMinutesPerWeek + kMinutesPerWeek) % kMinutesPerWeek;
    return untilStop > 0 && waited >= untilStop;
}

}  // namespace

// A schedule check reports each minute once: an event due under a dialog, or
// while a start, stop, save or edit pumps messages, is kept (a copy: the
// schedule may change meanwhile) rather than lost.
void TAppDialog::HoldScheduledEvent(bool start, int eventNumber) {
    const TimerEvent* event = AppState.Events.Get(eventNumber - 1);
    LateScheduleEvent late{++LateScheduleSerial, start, eventNumber, event ? *event : TimerEvent(),
                           TheScheduleClock().Now(), !IsTransportBusy()};
    LateScheduleEvents.push_back(late);
    Log(std::string("scheduled ") + (start ? "start" : "stop") + " of event " + std::to_string(eventNumber) +
        (late.forDialog ? " waits: a dialog is open" : " waits: the transport is busy"));
    (void)DeferIfTransportBusy(WM_LATESCHEDULE, start ? 1 : 0, late.serial);
}

// What the dialog changed counts: the timer switched off, the event deleted
// or changed, and a start whose stop has passed meanwhile, run nothing.
LRESULT TAppDialog::EvLateSchedule(WPARAM wParam, LPARAM lParam) {
    if (DeferIfTransportBusy(WM_LATESCHEDULE, wParam, lParam))
        return 0;
    const auto found = std::find_if(LateScheduleEvents.begin(), LateScheduleEvents.end(),
                                    [lParam](const LateScheduleEvent& e) { return e.serial == lParam; });
    if (found == LateScheduleEvents.end())
        return 0;
    const LateScheduleEvent late = *found;
    LateScheduleEvents.erase(found);
    const std::string what = std::string("scheduled ") + (late.start ? "start" : "stop") + " of event " +
                             std::to_string(late.number);
    const int number = NumberNow(late.event);
    if (!AppState.TimerEnable || number == 0) {
        Log(what + " does not run: " + (AppState.TimerEnable ? "the event was changed" : "the timer is off"));
        return 0;
    }
    if (late.start && StopHasPassed(late.event, late.due, TheScheduleClock().Now())) {
        Log(what + " missed: its stop has passed");
        return 0;
    }
    Log(what + (late.forDialog ? " runs late, after a dialog closed" : " runs late, after the transport"));
    if (late.start)
        ScheduledStart(late.event.newFile, late.event.name);
    else
        ScheduledStop(late.event.newFile);
    return 0;
}
