#include "recorder/annotations/TPositionDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>

#include "audiofile/RecFile.h"
#include "recorder/annotations/ClockTime.h"

namespace {

const HelpPair kHelp[] = {
    {IDC_POSDAY, IDC_POSDAY},           {IDC_POSHOUR, IDC_POSHOUR},
    {IDC_POSMINUTE, IDC_POSMINUTE},     {IDC_POSSECOND, IDC_POSSECOND},
    {IDC_POSSEGMENT, IDC_POSSEGMENT},   {IDC_POSDAYSPIN, IDC_POSDAY},
    {IDC_POSHOURSPIN, IDC_POSHOUR},     {IDC_POSMINUTESPIN, IDC_POSMINUTE},
    {IDC_POSSECONDSPIN, IDC_POSSECOND}, {IDC_POSSEGMENTSPIN, IDC_POSSEGMENT},
    {IDC_POSDAYLABEL, IDC_POSDAY},      {IDC_POSHOURLABEL, IDC_POSHOUR},
    {IDC_POSMINUTELABEL, IDC_POSMINUTE}, {IDC_POSSECONDLABEL, IDC_POSSECOND},
    {IDC_POSSEGMENTLABEL, IDC_POSSEGMENT}, {IDC_POSSLIDER, IDC_POSSLIDER},
    {IDC_POSADJUST, IDC_POSADJUST},     {IDC_POSNOTE, IDC_POSNOTE},
    {0, 0},
};

std::string TwoDigits(int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%2.2d", value);
    return text;
}

}  // namespace

const MsgEntry<TPositionDialog> TPositionDialog::kMessages[] = {
    OnCommand(IDOK, &TPositionDialog::CmOk),
    OnNotify(IDC_POSDAYSPIN, UDN_DELTAPOS, &TPositionDialog::UdnDayStep),
    OnNotify(IDC_POSHOURSPIN, UDN_DELTAPOS, &TPositionDialog::UdnHourStep),
    OnNotify(IDC_POSMINUTESPIN, UDN_DELTAPOS, &TPositionDialog::UdnMinuteStep),
    OnNotify(IDC_POSSECONDSPIN, UDN_DELTAPOS, &TPositionDialog::UdnSecondStep),
    OnNotify(IDC_POSSEGMENTSPIN, UDN_DELTAPOS, &TPositionDialog::UdnSegmentStep),
    OnHScroll(&TPositionDialog::EvHScroll),
    OnChild(IDC_POSDAY, EN_CHANGE, &TPositionDialog::EnTimeChange),
    OnChild(IDC_POSHOUR, EN_CHANGE, &TPositionDialog::EnTimeChange),
    OnChild(IDC_POSMINUTE, EN_CHANGE, &TPositionDialog::EnTimeChange),
    OnChild(IDC_POSSECOND, EN_CHANGE, &TPositionDialog::EnTimeChange),
    OnChild(IDC_POSSEGMENT, EN_CHANGE, &TPositionDialog::EnSegmentChange),
    OnCommand(IDC_POSADJUST, &TPositionDialog::CmAdjust),
    OnCommand(CM_FORWARD1SECOND, &TPositionDialog::CmForward1Second),
};

bool TPositionDialog::Dispatch(Message& m)
{
    // The recording can go while the dialog is open (the end of the
    // session): nothing here touches it then, and the dialog ends as Cancel.
    if (!File() && (m.msg == WM_COMMAND || m.msg == WM_NOTIFY || m.msg == WM_HSCROLL) && !m.enabler) {
        if (!m.probe)
            CmCancel();
        return true;
    }
    return DispatchTable(*this, kMessages, m) || DispatchContextHelp(m) || TDialog::Dispatch(m);
}

TPositionDialog::TPositionDialog(TWindow* parent, RecFile* file, DialogResource resource)
    : TPositionDialog(parent, [file] { return file; }, resource)
{
}

TPositionDialog::TPositionDialog(TWindow* parent, std::function<RecFile*()> file, DialogResource resource)
    : TDialog(parent, resource), ContextHelpWin(kHelp), file_(std::move(file))
{
    if (!File())
        return;
    chosenPosition_ = File()->GetPosition();
    segmentIndex_ = File()->FindTimeCode(chosenPosition_);
    ClampSegmentIndex();
}

void TPositionDialog::SetupWindow()
{
    TDialog::SetupWindow();
    if (!File()) {
        CmCancel();
        return;
    }
    for (TUpDown* spin : {&daySpin_, &hourSpin_, &minuteSpin_, &secondSpin_, &segmentSpin_})
        spin->SetRange(0, 1000);
    slider_.SetRange(0, 1000, true);
    slider_.SetPosition(0);
    chosenPosition_ = File()->GetPosition();
    fieldsLive_ = false;
    TimeFromPosition();
    ShowTimeFields();
    ShowSegmentField();
    ShowSlider();
    ShowTimeNote(false);
    fieldsLive_ = true;
}

void TPositionDialog::ClampSegmentIndex()
{
    const int last = File()->TimeCodeCount() - 1;
    if (segmentIndex_ > last)
        segmentIndex_ = last;
    if (segmentIndex_ < 0)
        segmentIndex_ = 0;
}

// ---- display and conversion

void TPositionDialog::TimeFromPosition()
{
    chosenTime_ = File()->GetTimeCode(chosenPosition_);
    segmentIndex_ = File()->FindTimeCode(chosenPosition_);
    ClampSegmentIndex();
}

void TPositionDialog::ShowTimeFields()
{
    std::tm parts{};
    if (!LocalTimeOf(chosenTime_, parts))
        return;  // out of the calendar: the fields keep what they showed
    SetItemText(IDC_POSSECOND, TwoDigits(parts.tm_sec));
    SetItemText(IDC_POSMINUTE, TwoDigits(parts.tm_min));
    SetItemText(IDC_POSHOUR, TwoDigits(parts.tm_hour));
    SetItemText(IDC_POSDAY, DayText(chosenTime_));
}

void TPositionDialog::ShowSegmentField()
{
    char text[40];
    std::snprintf(text, sizeof text, "%d of %d", segmentIndex_ + 1, File()->TimeCodeCount());
    SetItemText(IDC_POSSEGMENT, text);
}

void TPositionDialog::ShowSlider()
{
    const int half = static_cast<int>(File()->GetLength() / 2);
    slider_.SetPosition(half > 0 ? MulDiv(static_cast<int>(chosenPosition_ / 2), 1000, half) : 0);
}

void TPositionDialog::ShowTimeNote(bool fromTime)
{
    if (fromTime)
        chosenPosition_ = File()->TimeCodeToPosition(chosenTime_);
    else
        chosenTime_ = File()->GetTimeCode(chosenPosition_);
    segmentIndex_ = File()->FindTimeCode(chosenPosition_);
    ClampSegmentIndex();
    const int64_t recorded = File()->GetTimeCode(chosenPosition_);
    const std::string text = ClockText(recorded);
    const bool exact = recorded == chosenTime_;
    SetItemText(IDC_POSNOTE, exact ? text : "Most recent recorded time: " + text);
    ::ShowWindow(GetDlgItem(IDC_POSADJUST), exact ? SW_HIDE : SW_SHOW);
}

void TPositionDialog::ReadTimeFields()
{
    const int second = std::atoi(GetItemText(IDC_POSSECOND).substr(0, 30).c_str());
    const int minute = std::atoi(GetItemText(IDC_POSMINUTE).substr(0, 30).c_str());
    const int hour = std::atoi(GetItemText(IDC_POSHOUR).substr(0, 30).c_str());
    std::tm parts{};
    if (!LocalTimeOf(chosenTime_, parts))
        return;
    parts.tm_sec = second;
    parts.tm_min = minute;
    parts.tm_hour = hour;
    int64_t time = 0;
    if (MakeClockTime(parts, time))
        chosenTime_ = time;
}

void TPositionDialog::ReadSegmentField()
{
    int number = 0;
    if (std::sscanf(GetItemText(IDC_POSSEGMENT).substr(0, 30).c_str(), "%d", &number) != 1)
        number = segmentIndex_ + 1;  // nothing readable: stay on the segment shown
    segmentIndex_ = number - 1;
    ClampSegmentIndex();
    chosenPosition_ = File()->TimeCodePosition(segmentIndex_);
    if (chosenPosition_ == kNoPosition)
        chosenPosition_ = 0;
    chosenTime_ = File()->GetTimeCode(chosenPosition_);
}

// ---- steps and edits

LRESULT TPositionDialog::TimeStep(NMHDR& header, int64_t secondsPerStep)
{
    chosenTime_ += int64_t{reinterpret_cast<NMUPDOWN&>(header).iDelta} * secondsPerStep;
    RefreshAfterTimeStep();
    return 0;
}

void TPositionDialog::CmForward1Second()
{
    chosenTime_ += 1;
    RefreshAfterTimeStep();
}

void TPositionDialog::RefreshAfterTimeStep()
{
    fieldsLive_ = false;
    ShowTimeFields();
    ShowTimeNote(true);
    ShowSlider();
    ShowSegmentField();
    fieldsLive_ = true;
}

LRESULT TPositionDialog::UdnSegmentStep(NMHDR& header)
{
    segmentIndex_ += reinterpret_cast<NMUPDOWN&>(header).iDelta;
    ClampSegmentIndex();
    fieldsLive_ = false;
    ShowSegmentField();
    ReadSegmentField();
    ShowTimeFields();
    ShowTimeNote(false);
    ShowSlider();
    fieldsLive_ = true;
    return 0;
}

bool TPositionDialog::FocusIsOn(std::initializer_list<int> ids) const
{
    const HWND focus = ::GetFocus();
    for (int id : ids)
        if (focus && focus == GetDlgItem(id))
            return true;
    return false;
}

void TPositionDialog::EnTimeChange()
{
    if (!fieldsLive_ || !FocusIsOn({IDC_POSSECOND, IDC_POSMINUTE, IDC_POSHOUR, IDC_POSDAY}))
        return;
    ReadTimeFields();
    ShowTimeNote(true);
    ShowSlider();
    ShowSegmentField();
}

void TPositionDialog::EnSegmentChange()
{
    if (!fieldsLive_ || !FocusIsOn({IDC_POSSEGMENT}))
        return;
    ReadSegmentField();
    fieldsLive_ = false;  // the time fields are ours to write, not the user's typing
    ShowTimeFields();
    fieldsLive_ = true;
    ShowTimeNote(true);
    ShowSlider();
}

void TPositionDialog::EvHScroll(UINT, int, HWND control)
{
    if (control != slider_.GetHandle())
        return;
    // In 64 bits: half a file of more than 1 GB times the thumb overflows int.
    const uint64_t half = File()->GetLength() / 2;
    const int thumb = slider_.GetPosition();
    const uint64_t position = thumb > 0 ? half * static_cast<uint64_t>(thumb) / 500 : 0;
    chosenPosition_ = static_cast<uint32_t>(std::min<uint64_t>(position, File()->GetLength()));
    fieldsLive_ = false;
    TimeFromPosition();
    ShowTimeFields();
    ShowSegmentField();
    ShowTimeNote(false);
    fieldsLive_ = true;
}

// ---- moving the file

void TPositionDialog::CmAdjust()
{
    chosenPosition_ = File()->TimeCodeToPosition(chosenTime_);
    chosenTime_ = File()->GetTimeCode(chosenPosition_);
    MoveToChosen();
    fieldsLive_ = false;
    ShowTimeFields();
    ShowSegmentField();
    ShowTimeNote(true);
    ShowSlider();
    fieldsLive_ = true;
}

void TPositionDialog::CmOk()
{
    MoveToChosen();
    CloseWindow(IDOK);
}

void TPositionDialog::MoveToChosen()
{
    if (!mayMove_ || mayMove_())
        (void)File()->Position(chosenPosition_);
}

RecFile* TPositionDialog::File() const { return file_ ? file_() : nullptr; }
