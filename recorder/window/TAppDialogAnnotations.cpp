// The recorder window's annotations (comments over stretches of the
// recording, shown in the annotation field), the properties report and the
// position dialog.
#include "recorder/window/TAppDialog.h"

#include <algorithm>

#include "core/AppState.h"
#include "framework/Application.h"
#include "framework/InputDialog.h"
#include "recorder/annotations/PropertiesReport.h"
#include "recorder/annotations/TPositionDialog.h"
#include "recorder/annotations/TReportFrame.h"

namespace {

constexpr int kCommentChars = 260;
constexpr char kReportTitle[] = "Larkspur-PRO Report File Properties";

bool Editable(const RecFile* file) { return file && !file->IsReadOnly(); }

}  // namespace

// ---- the annotation field

void TAppDialog::ShowAnnotation(uint32_t position)
{
    if (!CurrentFile) {
        // Nothing shown and nothing remembered: the next file starts afresh.
        LastAnnotationText.reset();
        SetItemText(IDC_ANNOTATION, "");
        return;
    }
    const uint32_t at = position == kNoPosition ? CurrentFile->GetPosition() : position;
    std::optional<std::string> text = CurrentFile->FindComment(at);
    if (text == LastAnnotationText)
        return;
    LastAnnotationText = std::move(text);
    SetItemText(IDC_ANNOTATION, LastAnnotationText.value_or(std::string()));
}

// ---- annotation commands

void TAppDialog::CmInsertAnnotation()
{
    if (!CurrentFile)
        return;
    char buffer[kCommentChars] = {};
    TInputDialog dialog(this, "Comment", "Enter comment:", buffer, sizeof buffer);
    (void)dialog.Execute();
    // Whatever would close the file waits for the dialog, except the end of
    // the session, which closes the dialog and the file.
    if (!CurrentFile)
        return;
    if (buffer[0] != '\0')
        CurrentFile->AddComment(buffer, kNoPosition, kNoPosition);
    ShowAnnotation(CurrentFile->GetPosition());
}

void TAppDialog::CmEndAnnotation()
{
    if (!CurrentFile)
        return;
    CurrentFile->EndComment(CurrentFile->GetPosition());
    ShowAnnotation(CurrentFile->GetPosition());
}

void TAppDialog::CmDeleteAnnotation()
{
    if (!CurrentFile)
        return;
    CurrentFile->DeleteCommentAt(CurrentFile->GetPosition());
    ShowAnnotation(CurrentFile->GetPosition());
}

void TAppDialog::CeInsertAnnotation(TCommandEnabler& ce) { ce.Enable(Editable(CurrentFile.get())); }

void TAppDialog::CeEndAnnotation(TCommandEnabler& ce)
{
    ce.Enable(Editable(CurrentFile.get()) && CurrentFile->FindComment(CurrentFile->GetPosition()));
}

void TAppDialog::CeDeleteAnnotation(TCommandEnabler& ce) { CeEndAnnotation(ce); }

// ---- the properties report

void TAppDialog::CmProperties()
{
    if (!CurrentFile || CurrentFile->GetDataLength() == 0 || !CurrentFile->GetFormat())
        return;
    // Reports the user has closed leave the list.
    ReportFrames.erase(std::remove_if(ReportFrames.begin(), ReportFrames.end(),
                                      [](const std::unique_ptr<TReportFrame>& frame) {
                                          return !frame->GetHandle();
                                      }),
                       ReportFrames.end());
    auto frame = std::make_unique<TReportFrame>(kReportTitle,
                                                BuildPropertiesReport(*CurrentFile, ProgramReportSources()));
    if (!frame->Create())
        return;
    PropertiesWindow = frame->GetHandle();
    if (AppState.PropertiesOnly) {
        TApplication* app = GetApplication();
        if (app && app->GetMainWindow())
            ::ShowWindow(app->GetMainWindow()->GetHandle(), SW_HIDE);
    }
    ::ShowWindow(PropertiesWindow, SW_SHOW);
    ReportFrames.push_back(std::move(frame));
}

void TAppDialog::CeProperties(TCommandEnabler& ce)
{
    ce.Enable(CurrentFile && CurrentFile->GetDataLength() != 0);
}

// ---- the position dialog

bool TAppDialog::CanChoosePosition() const
{
    return CurrentFile && CurrentFile->GetDataLength() != 0 && CurrentFile->GetTimeCode(0) != 0;
}

bool TAppDialog::RunPositionDialog()
{
    if (!CanChoosePosition())
        return false;
    const uint32_t before = CurrentFile->GetPosition();
    // The dialog asks for the file at every event, never keeping it.
    TPositionDialog dialog(this, [this] { return CurrentFile.get(); }, IDD_POSITION);
    // While recording, the file's position is where the audio goes: a looped
    // file would take the newest audio over its older audio there.
    dialog.SetMayMoveFile([this] { return !Recording; });
    const bool chosen = dialog.Execute() == IDOK;
    // Adjust moves the file at once, so after Adjust and Cancel the time,
    // slider and comment must follow the file as well.
    if (!CurrentFile || (!chosen && CurrentFile->GetPosition() == before))
        return false;
    Position(CurrentFile->GetPosition(), true);
    return true;
}

void TAppDialog::CmPosition() { (void)RunPositionDialog(); }

void TAppDialog::CePosition(TCommandEnabler& ce) { ce.Enable(CanChoosePosition()); }

// A double click strictly inside the message line opens the position dialog.
LRESULT TAppDialog::EvLButtonDblClk(WPARAM, LPARAM point)
{
    const HWND line = GetDlgItem(IDC_MESSAGELINE);
    if (!line || !CanChoosePosition())
        return 0;
    RECT box{};
    ::GetWindowRect(line, &box);
    ::MapWindowPoints(HWND_DESKTOP, GetHandle(), reinterpret_cast<POINT*>(&box), 2);
    const int x = static_cast<short>(LOWORD(point)), y = static_cast<short>(HIWORD(point));
    if (x > box.left && x < box.right - 1 && y > box.top && y < box.bottom - 1)
        (void)RunPositionDialog();
    return 0;
}
