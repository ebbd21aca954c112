// TEventDialog ("Event"): edits one timer event in place: its name, the
// new-file flag, the start and stop times and the days of the week.
#pragma once

#include <string>

#include "core/ContextHelpWin.h"
#include "framework/Control.h"
#include "framework/Dialog.h"
#include "framework/Edit.h"
#include "core/TimerEvent.h"

class TEventDialog : public TDialog, public ContextHelpWin {
public:
    // event: edited in place on OK only; the caller acts only on IDOK.
    TEventDialog(TWindow* parent, TimerEvent* event);

    void SetupWindow() override;
    void CmOk() override;
    void CmHelp();
    bool Dispatch(Message& m) override;

    // A time as the dialog enters it: the steps of ParseClockTime, with the
    // hour kept as read (25:00 keeps hour 25). Empty text: hour -1, minute
    // unchanged, false.
    static bool ParseTime(const char* text, int& hour, int& minute);
    static void Normalize(TimerEvent& event) { TimerEvent::Normalize(event); }

    TEdit name;
    TCheckBox newFile;
    TEdit start;
    TEdit stop;

private:
    TimerEvent* event_;
    static const MsgEntry<TEventDialog> kMessages[];
};
