#include "recorder/window/TAppDialog.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <functional>
#include <vector>

#include "framework/InputDialog.h"
#include "recorder/annotations/TPositionDialog.h"
#include "recorder/annotations/TReportFrame.h"
#include "tests/recorder/CaptureWindowFixture.h"
#include "tests/recorder/FilesTestFolder.h"
#include "tests/recorder/ReportTestFile.h"

namespace {

// The window on a real 8000 Hz 8-bit mono WAV file of 10 seconds.
class AnnotationsTest : public CaptureWindowTest {
protected:
    void SetUp() override
    {
        CaptureWindowTest::SetUp();
        path = TempWavePath("annotations_test.wav");
        UseNewWaveFile(path, PcmFormat(1, 8000, 8));
        const std::vector<char> audio(80000, 0);
        ASSERT_EQ(80000, dialog->CurrentFile->Write(audio.data(), 80000));
    }
    void TearDown() override
    {
        CaptureWindowTest::TearDown();
        DeleteFileA(path.c_str());
    }
    std::string Field() const { return dialog->GetItemText(IDC_ANNOTATION); }
    void Mark() { dialog->SetItemText(IDC_ANNOTATION, "untouched"); }
    void MoveTo(uint32_t position)
    {
        ASSERT_TRUE(dialog->CurrentFile->Position(position));
        dialog->ShowAnnotation();
    }
    bool Enabled(void (TAppDialog::*enabler)(TCommandEnabler&), UINT id)
    {
        TCommandEnabler ce(id);
        (dialog->*enabler)(ce);
        return ce.Enabled().value_or(true);
    }
    // Answers the next modal dialog as the user would: made modeless,
    // filled in by fill, then closed with OK.
    void AnswerNextDialog(std::function<void(TDialog&)> fill)
    {
        ui.modalScripts.push_back([fill](ModalRun& modal) {
            auto& dialog = dynamic_cast<TDialog&>(modal);
            if (!dialog.Create())
                return -1;
            fill(dialog);
            dialog.SendMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return IDOK;
        });
    }

    std::string path;
};

TEST_F(AnnotationsTest, FieldIsRedrawnOnlyWhenTheCommentChanges)
{
    dialog->CurrentFile->AddComment("intro", 8000, 24000);
    MoveTo(10000);
    EXPECT_EQ("intro", Field());
    Mark();
    MoveTo(20000);  // same comment: no redraw
    EXPECT_EQ("untouched", Field());
    MoveTo(40000);  // out of it: cleared once
    EXPECT_EQ("", Field());
    Mark();
    MoveTo(50000);
    EXPECT_EQ("untouched", Field());
}

TEST_F(AnnotationsTest, ANewCommentOrFileWithTheSameAddressIsStillShown)
{
    dialog->CurrentFile->AddComment("first", 0, 0);
    MoveTo(100);
    ASSERT_EQ("first", Field());
    dialog->CurrentFile->DeleteCommentAt(100);
    dialog->CurrentFile->AddComment("second", 0, 0);
    dialog->ShowAnnotation();
    EXPECT_EQ("second", Field());

    // A file change: no file, then a file whose comment has the old text.
    dialog->CurrentFile.reset();
    dialog->ShowAnnotation();
    EXPECT_EQ("", Field());
    auto other = std::make_unique<ReportTestFile>("C:\\other.wav", PcmFormat(1, 8000, 8), 8000);
    other->AddComment("second", 0, 0);
    dialog->CurrentFile = std::move(other);
    dialog->ShowAnnotation();
    EXPECT_EQ("second", Field());
}

// Closing, opening a new file, a file that will not open: after each the
// field shows the comment of whatever file is current, even when it has
// the text shown before the change.
TEST_F(AnnotationsTest, EveryFileChangeShowsTheNewFilesComment)
{
    dialog->CurrentFile->AddComment("talk", 0, 0);
    MoveTo(0);
    ASSERT_EQ("talk", Field());
    dialog->CmClose();
    ASSERT_FALSE(dialog->CurrentFile);
    EXPECT_EQ("", Field());
    dialog->OpenFile(path.c_str());
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ("talk", Field());

    const std::string fresh = TempWavePath("annotations_fresh.wav");
    dialog->OpenFile(fresh.c_str());
    ASSERT_TRUE(dialog->CurrentFile);
    EXPECT_EQ("", Field());
    dialog->OpenFile(path.c_str());
    EXPECT_EQ("talk", Field());

    const std::string broken = TempWavePath("annotations_broken.wav");
    ASSERT_TRUE(FilesTestFolder::WriteFile(broken, 100));  // no RIFF header
    dialog->OpenFile(broken.c_str());
    EXPECT_FALSE(dialog->CurrentFile);
    EXPECT_EQ("", Field());
    DeleteFileA(fresh.c_str());
    DeleteFileA(broken.c_str());
}

TEST_F(AnnotationsTest, InsertEndAndDeleteOnTheCurrentPosition)
{
    MoveTo(16000);
    ui.defaultModalAnswer = IDCANCEL;  // Cancel: nothing added
    dialog->CmInsertAnnotation();
    EXPECT_EQ(0, dialog->CurrentFile->CommentCount());
    AnswerNextDialog([](TDialog&) {});  // OK on an empty text: nothing either
    dialog->CmInsertAnnotation();
    EXPECT_EQ(0, dialog->CurrentFile->CommentCount());

    AnswerNextDialog([](TDialog& input) { input.SetItemText(TInputDialog::kEditId, "Chapter one"); });
    dialog->CmInsertAnnotation();
    ASSERT_EQ(1, dialog->CurrentFile->CommentCount());
    EXPECT_EQ(16000u, dialog->CurrentFile->GetCommentStart(0));
    EXPECT_EQ("Chapter one", Field());
    EXPECT_TRUE(Enabled(&TAppDialog::CeEndAnnotation, CM_ENDANNOTATION));

    MoveTo(32000);
    dialog->CmEndAnnotation();
    EXPECT_EQ(32000u, dialog->CurrentFile->GetCommentEnd(0));
    EXPECT_EQ("", Field());
    EXPECT_FALSE(Enabled(&TAppDialog::CeDeleteAnnotation, CM_DELETEANNOTATION));

    MoveTo(20000);
    EXPECT_EQ("Chapter one", Field());
    dialog->CmDeleteAnnotation();
    EXPECT_EQ(0, dialog->CurrentFile->CommentCount());
    EXPECT_EQ("", Field());
}

TEST_F(AnnotationsTest, EnablersFollowTheFile)
{
    EXPECT_TRUE(Enabled(&TAppDialog::CeInsertAnnotation, CM_INSERTANNOTATION));
    EXPECT_TRUE(Enabled(&TAppDialog::CeProperties, CM_PROPERTIES));
    EXPECT_FALSE(Enabled(&TAppDialog::CePosition, CM_POSITION));  // no clock times
    dialog->CurrentFile->AddTimeCode(0, 315623035);
    EXPECT_TRUE(Enabled(&TAppDialog::CePosition, CM_POSITION));

    auto readOnly = std::make_unique<ReportTestFile>("C:\\ro.wav", PcmFormat(1, 8000, 8), 8000);
    readOnly->AddComment("kept", 0, 0);
    readOnly->SetReadOnly(true);
    dialog->CurrentFile = std::move(readOnly);
    EXPECT_FALSE(Enabled(&TAppDialog::CeInsertAnnotation, CM_INSERTANNOTATION));
    EXPECT_FALSE(Enabled(&TAppDialog::CeEndAnnotation, CM_ENDANNOTATION));
    EXPECT_FALSE(Enabled(&TAppDialog::CeDeleteAnnotation, CM_DELETEANNOTATION));
    EXPECT_TRUE(Enabled(&TAppDialog::CeProperties, CM_PROPERTIES));

    dialog->CurrentFile.reset();
    EXPECT_FALSE(Enabled(&TAppDialog::CeInsertAnnotation, CM_INSERTANNOTATION));
    EXPECT_FALSE(Enabled(&TAppDialog::CeProperties, CM_PROPERTIES));
    dialog->CmInsertAnnotation();  // nothing without a file
    EXPECT_EQ(0, ui.modalCount);
}

TEST_F(AnnotationsTest, PropertiesOpensAReportWindowEachTime)
{
    dialog->CmProperties();
    dialog->CmProperties();
    ASSERT_EQ(2u, dialog->ReportFrames.size());
    TReportFrame& report = *dialog->ReportFrames.back();
    EXPECT_EQ(report.GetHandle(), dialog->PropertiesWindow);
    EXPECT_EQ("Larkspur-PRO Report File Properties", report.GetCaption());
    EXPECT_TRUE(::IsWindowVisible(report.GetHandle()));
    char text[2000] = {};
    ::GetWindowTextA(report.Edit(), text, sizeof text);
    EXPECT_EQ(0, std::string(text).find("Summary for file:    annotations_test.wav"));
    EXPECT_NE(std::string::npos, std::string(text).find("Size:         0.076MB"));

    dialog->ReportFrames.front()->CloseWindow();
    dialog->CmProperties();  // the closed one leaves the list
    EXPECT_EQ(2u, dialog->ReportFrames.size());

    dialog->CurrentFile->SetDataLength(0);
    dialog->CmProperties();  // nothing for a file without data
    EXPECT_EQ(2u, dialog->ReportFrames.size());
}

TEST_F(AnnotationsTest, PositionCommandMovesTheWindowOnOk)
{
    dialog->CurrentFile->AddTimeCode(0, 315623035);
    AnswerNextDialog([](TDialog& position) {
        const HWND slider = position.GetDlgItem(IDC_POSSLIDER);
        ::SendMessageA(slider, TBM_SETPOS, TRUE, 500);
        position.SendMessage(WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, 500), reinterpret_cast<LPARAM>(slider));
    });
    dialog->CmPosition();
    EXPECT_EQ(1, ui.modalCount);
    EXPECT_EQ(40000u, dialog->CurrentFile->GetPosition());
    EXPECT_EQ(500, ::SendMessageA(dialog->PositionSlider(), TBM_GETPOS, 0, 0));
}

// Adjust moves the file at once: after Adjust and Cancel the window's time,
// slider and comment show where the file now is.
TEST_F(AnnotationsTest, AdjustThenCancelRefreshesTheWindow)
{
    _putenv_s("TZ", "UTC0");
    _tzset();
    const int64_t start = 315623035;
    dialog->CurrentFile->AddTimeCode(0, start);
    dialog->CurrentFile->AddTimeCode(40000, start + 7200);  // a gap of two hours less five seconds
    dialog->CurrentFile->AddComment("late", 32000, 0);
    dialog->Position(0, true);
    const std::string timeAtStart = dialog->GetItemText(IDC_TIMETEXT);
    ui.modalScripts.push_back([](ModalRun& modal) {
        auto& position = dynamic_cast<TDialog&>(modal);
        if (!position.Create())
            return -1;
        NMUPDOWN step{};
        step.hdr.hwndFrom = position.GetDlgItem(IDC_POSHOURSPIN);
        step.hdr.idFrom = IDC_POSHOURSPIN;
        step.hdr.code = UDN_DELTAPOS;
        step.iDelta = 1;  // into the gap: Adjust is offered
        position.SendMessage(WM_NOTIFY, IDC_POSHOURSPIN, reinterpret_cast<LPARAM>(&step));
        position.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_POSADJUST, BN_CLICKED), 0);
        position.SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        return IDCANCEL;
    });
    EXPECT_TRUE(dialog->RunPositionDialog());
    EXPECT_EQ(39999u, dialog->CurrentFile->GetPosition());  // the end of the first segment
    EXPECT_EQ(499, ::SendMessageA(dialog->PositionSlider(), TBM_GETPOS, 0, 0));
    EXPECT_EQ("late", Field());
    EXPECT_NE(timeAtStart, dialog->GetItemText(IDC_TIMETEXT));
    _putenv_s("TZ", "");
    _tzset();
}

}  // namespace
