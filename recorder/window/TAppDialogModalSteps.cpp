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

bool TAppDialog::IsHoldingRequests() const { return IsTransportBusy() || IsModalStepOpen(); }

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
    if (IsHoldingRequests())
        return;
    const std::vector<TransportRequest> held = std::move(DeferredRequests);
    DeferredRequests.clear();
    if (HeldForDialog && !held.empty())
        Log("the dialog has closed: " + std::to_string(held.size()) + " request(s) that waited run now");
    HeldForDialog = false;
    for (const TransportRequest& r : held)
        PostMessage(r.msg, r.wParam, r.lParam);
}

// A schedule check reports each minute once: an event due under a dialog
// is kept (a copy: the schedule may change meanwhile) rather than lost.
void TAppDialog::HoldScheduledEvent(bool start, int eventNumber) {
    const TimerEvent* event = AppState.Events.Get(eventNumber - 1);
    LateScheduleEvent late{++LateScheduleSerial, start, eventNumber, event && event->newFile,
                           event ? event->name : std::string()};
    LateScheduleEvents.push_back(late);
    Log(std::string("scheduled ") + (start ? "start" : "stop") + " of event " + std::to_string(eventNumber) +
        " waits: a dialog is open");
    (void)DeferIfTransportBusy(WM_LATESCHEDULE, start ? 1 : 0, late.serial);
}

LRESULT TAppDialog::EvLateSchedule(WPARAM wParam, LPARAM lParam) {
    if (DeferIfTransportBusy(WM_LATESCHEDULE, wParam, lParam))
        return 0;
    const auto found = std::find_if(LateScheduleEvents.begin(), LateScheduleEvents.end(),
                                    [lParam](const LateScheduleEvent& e) { return e.serial == lParam; });
    if (found == LateScheduleEvents.end())
        return 0;
    const LateScheduleEvent late = *found;
    LateScheduleEvents.erase(found);
    Log(std::string("scheduled ") + (late.start ? "start" : "stop") + " of event " + std::to_string(late.number) +
        " runs late, after a dialog closed");
    if (late.start)
        ScheduledStart(late.newFile, late.name);
    else
        ScheduledStop(late.newFile);
    return 0;
}
