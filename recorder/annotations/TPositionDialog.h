// TPositionDialog: picks a position in the current recording by the clock
// time at which it was recorded (day, hour, minute and second spins), by
// segment number or with a slider, and moves the file there on OK. Where the
// chosen time falls between recorded stretches, the note shows the nearest
// recorded time and Adjust moves there at once.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <utility>

#include "core/ContextHelpWin.h"
#include "framework/CommonControls.h"
#include "framework/Dialog.h"
#include "resources/ResourceIds.h"

class RecFile;

class TPositionDialog : public TDialog, public ContextHelpWin {
public:
    // file: the recording (not owned); it must hold data and outlive the dialog.
    TPositionDialog(TWindow* parent, RecFile* file, DialogResource resource = IDD_POSITION);
    // file: asked for the recording at every event; null (it was closed
    // meanwhile) ends the dialog as Cancel without touching anything.
    TPositionDialog(TWindow* parent, std::function<RecFile*()> file, DialogResource resource = IDD_POSITION);

    // Asked before OK or Adjust moves the file; false leaves the file where
    // it is (a recording that is running writes there).
    void SetMayMoveFile(std::function<bool()> mayMove) { mayMove_ = std::move(mayMove); }

    void SetupWindow() override;
    void CmOk() override;
    bool Dispatch(Message& m) override;

    uint32_t ChosenPosition() const { return chosenPosition_; }
    int64_t ChosenTime() const { return chosenTime_; }
    int SegmentIndex() const { return segmentIndex_; }

    // Handlers (public for the message table).
    LRESULT UdnDayStep(NMHDR& header) { return TimeStep(header, 86400); }
    LRESULT UdnHourStep(NMHDR& header) { return TimeStep(header, 3600); }
    LRESULT UdnMinuteStep(NMHDR& header) { return TimeStep(header, 60); }
    LRESULT UdnSecondStep(NMHDR& header) { return TimeStep(header, 1); }
    LRESULT UdnSegmentStep(NMHDR& header);
    void EvHScroll(UINT code, int thumb, HWND control);
    void EnTimeChange();
    void EnSegmentChange();
    void CmAdjust();
    void CmForward1Second();

private:
    LRESULT TimeStep(NMHDR& header, int64_t secondsPerStep);
    void RefreshAfterTimeStep();
    void ClampSegmentIndex();
    void TimeFromPosition();
    void ShowTimeFields();
    void ShowSegmentField();
    void ShowSlider();
    void ShowTimeNote(bool fromTime);
    void ReadTimeFields();
    void ReadSegmentField();
    bool FocusIsOn(std::initializer_list<int> ids) const;

    RecFile* File() const;
    void MoveToChosen();

    std::function<RecFile*()> file_;
    std::function<bool()> mayMove_;
    uint32_t chosenPosition_ = 0;
    int segmentIndex_ = 0;
    int64_t chosenTime_ = 0;
    bool fieldsLive_ = true;
    TUpDown daySpin_{this, IDC_POSDAYSPIN};
    TUpDown hourSpin_{this, IDC_POSHOURSPIN};
    TUpDown minuteSpin_{this, IDC_POSMINUTESPIN};
    TUpDown secondSpin_{this, IDC_POSSECONDSPIN};
    TUpDown segmentSpin_{this, IDC_POSSEGMENTSPIN};
    TSlider slider_{this, IDC_POSSLIDER};

    static const MsgEntry<TPositionDialog> kMessages[];
};
