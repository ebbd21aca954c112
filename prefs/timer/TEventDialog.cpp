#include "prefs/timer/TEventDialog.h"

#include <cstdio>
#include <memory>

#include "core/AppState.h"
#include "core/HtmlHelp.h"
#include "framework/UserInteraction.h"
#include "framework/Validators.h"
#include "prefs/files/FileNameField.h"
#include "schedule/TimerEventText.h"
#include "resources/ResourceIds.h"

namespace {

constexpr int kMaxNameChars = 259;

const HelpPair kHelpTable[] = {
    {IDC_EVENTNAME, IDC_EVENTNAME},       {IDC_EVENTNAMELABEL, IDC_EVENTNAME},
    {IDC_EVENTNEWFILE, IDC_EVENTNEWFILE}, {IDC_EVENTSTART, IDC_EVENTSTART},
    {IDC_EVENTSTARTLABEL, IDC_EVENTSTART}, {IDC_EVENTSTOP, IDC_EVENTSTOP},
    {IDC_EVENTSTOPLABEL, IDC_EVENTSTOP},  {IDC_EVENTDAYLABEL, IDC_EVENTDAYLABEL},
    {IDC_EVENTSUNDAY, IDC_EVENTDAYLABEL}, {IDC_EVENTSUNDAY + 1, IDC_EVENTDAYLABEL},
    {IDC_EVENTSUNDAY + 2, IDC_EVENTDAYLABEL}, {IDC_EVENTSUNDAY + 3, IDC_EVENTDAYLABEL},
    {IDC_EVENTSUNDAY + 4, IDC_EVENTDAYLABEL}, {IDC_EVENTSUNDAY + 5, IDC_EVENTDAYLABEL},
    {IDC_EVENTSUNDAY + 6, IDC_EVENTDAYLABEL}, {0, 0},
};

std::unique_ptr<TValidator> TimeFilter() {
    return std::make_unique<TFilterValidator>(TCharSet("0-9:apmAPM "));
}

std::string TimeText(int hour, int minute) {
    if (hour < 0) return std::string();
    char text[32];
    std::snprintf(text, sizeof text, "%2.2d:%2.2d", hour, minute);
    return text;
}

}  // namespace

const MsgEntry<TEventDialog> TEventDialog::kMessages[] = {
    OnCommand(IDOK, &TEventDialog::CmOk),
    OnCommand(IDHELP, &TEventDialog::CmHelp),
};

TEventDialog::TEventDialog(TWindow* parent, TimerEvent* event)
    : TDialog(parent, IDD_EVENT),
      ContextHelpWin(kHelpTable),
      name(this, IDC_EVENTNAME, kMaxNameChars),
      newFile(this, IDC_EVENTNEWFILE),
      start(this, IDC_EVENTSTART, 40),
      stop(this, IDC_EVENTSTOP, 40),
      event_(event) {
    // The name becomes part of the event's file name: what no file name
    // holds cannot be typed or pasted, but a stored name is taken as it is.
    name.SetValidator(std::make_unique<FileNameFieldValidator>(""));
    start.SetValidator(TimeFilter());
    stop.SetValidator(TimeFilter());
}

bool TEventDialog::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || DispatchContextHelp(m) || TDialog::Dispatch(m);
}

bool TEventDialog::ParseTime(const char* text, int& hour, int& minute) {
    return ParseClockTimeKeepHour(text, hour, minute);
}

void TEventDialog::SetupWindow() {
    TDialog::SetupWindow();
    name.SetText(event_->name);
    start.SetText(TimeText(event_->startHour, event_->startMinute));
    stop.SetText(TimeText(event_->stopHour, event_->stopMinute));
    for (int day = 0; day < 7; ++day) {
        CheckDlgButton(GetHandle(), IDC_EVENTSUNDAY + day,
                       (event_->days & (1 << day)) ? BST_CHECKED : BST_UNCHECKED);
    }
    newFile.SetCheck(event_->newFile ? BST_CHECKED : BST_UNCHECKED);
}

void TEventDialog::CmOk() {
    // The whole texts are checked too (CanClose runs the validators).
    if (!CanClose()) return;
    TimerEvent edited = *event_;
    edited.name = name.GetText().substr(0, kMaxNameChars);
    ParseTime(start.GetText().c_str(), edited.startHour, edited.startMinute);
    ParseTime(stop.GetText().c_str(), edited.stopHour, edited.stopMinute);
    // An hour the clock never shows would make an event that never runs,
    // silently: it is refused, and the dialog stays open with what was typed.
    if (edited.startHour > 23 || edited.stopHour > 23) {
        Ui().MessageBox(GetHandle(),
                        "The hour of a time must be 0 to 23 (for example 21:30 or 9:30pm).",
                        "Event", MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(edited.startHour > 23 ? start.GetHandle() : stop.GetHandle());
        return;
    }
    edited.days = 0;
    for (int day = 0; day < 7; ++day) {
        if (IsDlgButtonChecked(GetHandle(), IDC_EVENTSUNDAY + day) == BST_CHECKED)
            edited.days |= 1 << day;
    }
    Normalize(edited);
    edited.newFile = newFile.IsChecked();
    *event_ = edited;
    CloseWindow(IDOK);
}

void TEventDialog::CmHelp() {
    if (AppState.HelpFile[0] == '\0') return;
    static const char kTopic[] = "Event_Dialog.html";
    Help().Call(GetHandle(), AppState.HelpFile, kHelpDisplayTopic, reinterpret_cast<DWORD_PTR>(kTopic));
}
