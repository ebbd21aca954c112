#include "recorder/annotations/TReportFrame.h"

#include <richedit.h>

#include <memory>

#include "framework/CommonControls.h"

namespace {

void SetCaretFormat(HWND edit, DWORD mask, DWORD effects, COLORREF colour)
{
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = mask;
    format.dwEffects = effects;
    format.crTextColor = colour;
    ::SendMessageA(edit, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
}

void Append(HWND edit, const std::string& text)
{
    ::SendMessageA(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

}  // namespace

void WriteReport(HWND edit, const ReportRuns& runs)
{
    for (const ReportRun& run : runs) {
        if (!run.heading) {
            Append(edit, run.text);
            continue;
        }
        SetCaretFormat(edit, CFM_COLOR | CFM_BOLD | CFM_UNDERLINE, CFE_BOLD | CFE_UNDERLINE, RGB(255, 0, 255));
        Append(edit, run.text);
        SetCaretFormat(edit, CFM_COLOR | CFM_BOLD | CFM_UNDERLINE, 0, ::GetSysColor(COLOR_INFOTEXT));
    }
}

TReportFrame::TReportFrame(const std::string& title, ReportRuns runs)
    : TFrameWindow(nullptr, title, std::make_unique<TRichEdit>(nullptr, kReportEditId, "", 0, 0, 0, 0)),
      runs_(std::move(runs))
{
}

HWND TReportFrame::Edit() const
{
    return GetClient() ? GetClient()->GetHandle() : nullptr;
}

void TReportFrame::SetupWindow()
{
    TFrameWindow::SetupWindow();
    const HWND edit = Edit();
    if (!edit)
        return;
    ::SendMessageA(edit, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(ANSI_FIXED_FONT)), TRUE);
    WriteReport(edit, runs_);
}
