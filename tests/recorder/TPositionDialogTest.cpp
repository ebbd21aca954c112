#include "recorder/annotations/TPositionDialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "recorder/annotations/ClockTime.h"
#include "tests/recorder/ReportTestFile.h"

namespace {

constexpr int64_t kStart = 315623035;  // Wed Jan 02 01:03:55 1980 UTC
constexpr uint32_t kRate = 8000;       // 8-bit mono: one byte a sample

// Two minutes of recording: one at kStart, the next two hours later. The
// dialog is a hidden modeless instance, driven by sent messages.
class PositionDialogTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        _putenv_s("TZ", "UTC0");
        _tzset();
        file.AddTimeCode(0, kStart);
        file.AddTimeCode(60 * kRate, kStart + 7200);
        ASSERT_TRUE(dialog.Create());
    }
    void TearDown() override
    {
        _putenv_s("TZ", "");
        _tzset();
    }
    void Spin(int id, int delta)
    {
        NMUPDOWN step{};
        step.hdr.hwndFrom = dialog.GetDlgItem(id);
        step.hdr.idFrom = static_cast<UINT_PTR>(id);
        step.hdr.code = UDN_DELTAPOS;
        step.iDelta = delta;
        dialog.SendMessage(WM_NOTIFY, static_cast<WPARAM>(id), reinterpret_cast<LPARAM>(&step));
    }
    void Press(int id) { dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void Type(int id, const char* text)
    {
        ::SetFocus(dialog.GetDlgItem(id));
        ::SetWindowTextA(dialog.GetDlgItem(id), text);
    }
    bool AdjustShown() const
    {
        return (GetWindowLongA(dialog.GetDlgItem(IDC_POSADJUST), GWL_STYLE) & WS_VISIBLE) != 0;
    }
    std::string Text(int id) const { return dialog.GetItemText(id); }

    ReportTestFile file{"C:\\pos.wav", PcmFormat(1, kRate, 8), 120 * kRate};
    TPositionDialog dialog{nullptr, &file};
};

TEST_F(PositionDialogTest, HourIntoTheGapOffersTheRecordedTimeAndAdjustMovesThere)
{
    EXPECT_EQ("Wed Jan 02 01:03:55 1980", Text(IDC_POSNOTE));  // recorded: no Adjust
    EXPECT_FALSE(AdjustShown());
    Spin(IDC_POSHOURSPIN, 1);
    EXPECT_EQ("02", Text(IDC_POSHOUR));
    EXPECT_EQ(kStart + 3600, dialog.ChosenTime());
    // Nearest recorded: the end of the first minute.
    const uint32_t end = 60 * kRate - 1;
    EXPECT_EQ(end, dialog.ChosenPosition());
    EXPECT_EQ("Most recent recorded time: " + ClockText(kStart + 59), Text(IDC_POSNOTE));
    EXPECT_TRUE(AdjustShown());
    EXPECT_EQ(0u, file.GetPosition());

    Press(IDC_POSADJUST);
    EXPECT_EQ(end, file.GetPosition());  // at once, whatever the dialog's end
    EXPECT_EQ(kStart + 59, dialog.ChosenTime());
    EXPECT_EQ(ClockText(kStart + 59), Text(IDC_POSNOTE));
    EXPECT_FALSE(AdjustShown());
    EXPECT_EQ("04", Text(IDC_POSMINUTE));
    EXPECT_EQ("54", Text(IDC_POSSECOND));

    Press(IDCANCEL);
    EXPECT_EQ(end, file.GetPosition());
}

TEST_F(PositionDialogTest, SegmentSpinStopsAtBothEnds)
{
    Spin(IDC_POSSEGMENTSPIN, -1);
    EXPECT_EQ("1 of 2", Text(IDC_POSSEGMENT));
    EXPECT_EQ(0u, dialog.ChosenPosition());
    Spin(IDC_POSSEGMENTSPIN, 1);
    EXPECT_EQ("2 of 2", Text(IDC_POSSEGMENT));
    EXPECT_EQ(60 * kRate, dialog.ChosenPosition());
    EXPECT_EQ("03", Text(IDC_POSHOUR));
    Spin(IDC_POSSEGMENTSPIN, 5);
    EXPECT_EQ("2 of 2", Text(IDC_POSSEGMENT));
    EXPECT_EQ(1, dialog.SegmentIndex());
    EXPECT_EQ(0u, file.GetPosition());  // only OK moves the file
    Press(IDOK);
    EXPECT_EQ(60 * kRate, file.GetPosition());
    EXPECT_FALSE(dialog.IsWindow());
}

TEST_F(PositionDialogTest, TypedSecondsAreNormalisedAndTheDayFieldIsNotRead)
{
    ::ShowWindow(dialog.GetHandle(), SW_SHOW);  // the edits take the focus only when shown
    Type(IDC_POSSECOND, "75");
    EXPECT_EQ(kStart + 20, dialog.ChosenTime());  // 01:04:15
    EXPECT_EQ(20 * kRate, dialog.ChosenPosition());
    EXPECT_EQ(ClockText(kStart + 20), Text(IDC_POSNOTE));

    Type(IDC_POSDAY, "Fri Jan 04 ");
    EXPECT_EQ(kStart + 20, dialog.ChosenTime());
    Spin(IDC_POSDAYSPIN, 1);
    EXPECT_EQ(kStart + 20 + 86400, dialog.ChosenTime());
    EXPECT_EQ("Thu Jan 03 ", Text(IDC_POSDAY));
}

TEST_F(PositionDialogTest, SliderAtTheMiddlePicksTheMiddle)
{
    const HWND slider = dialog.GetDlgItem(IDC_POSSLIDER);
    ::SendMessageA(slider, TBM_SETPOS, TRUE, 500);
    dialog.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 500), reinterpret_cast<LPARAM>(slider));
    EXPECT_EQ(60 * kRate, dialog.ChosenPosition());
    EXPECT_EQ("2 of 2", Text(IDC_POSSEGMENT));
    EXPECT_EQ("03", Text(IDC_POSHOUR));
}

TEST_F(PositionDialogTest, DaysBeforeTheCalendarKeepTheFields)
{
    Spin(IDC_POSDAYSPIN, -4000);  // before 1970
    EXPECT_EQ("Wed Jan 02 ", Text(IDC_POSDAY));
    EXPECT_EQ("01", Text(IDC_POSHOUR));
    EXPECT_TRUE(dialog.IsWindow());
}

TEST_F(PositionDialogTest, UnreadableSegmentTextKeepsTheSegment)
{
    ::ShowWindow(dialog.GetHandle(), SW_SHOW);
    Spin(IDC_POSSEGMENTSPIN, 1);
    Type(IDC_POSSEGMENT, "next");
    EXPECT_EQ(1, dialog.SegmentIndex());
    EXPECT_EQ(60 * kRate, dialog.ChosenPosition());
    Type(IDC_POSSEGMENT, "1");
    EXPECT_EQ(0u, dialog.ChosenPosition());
    EXPECT_EQ("01", Text(IDC_POSHOUR));
}

TEST(PositionDialogLargeFile, SliderReachesBeyondTwoGigabytes)
{
    // 3 GB of 8-bit mono: half the file times the thumb is past int's range.
    ReportTestFile file("C:\\long.wav", PcmFormat(1, 8000, 8), 3000000000u);
    file.AddTimeCode(0, kStart);
    TPositionDialog dialog(nullptr, &file);
    ASSERT_TRUE(dialog.Create());
    const HWND slider = dialog.GetDlgItem(IDC_POSSLIDER);
    for (int thumb : {500, 1000}) {
        ::SendMessageA(slider, TBM_SETPOS, TRUE, thumb);
        dialog.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, thumb), reinterpret_cast<LPARAM>(slider));
        EXPECT_EQ(3000000000ull * thumb / 1000, dialog.ChosenPosition());
    }
}

}  // namespace
