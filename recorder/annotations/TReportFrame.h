// TReportFrame: the top-level window of a properties report, a frame
// without parent whose client is a rich-edit control holding the report in
// the fixed system font, headings in bold underlined magenta.
#pragma once

#include <windows.h>

#include <string>

#include "framework/FrameWindow.h"
#include "recorder/annotations/PropertiesReport.h"

class TRichEdit;

constexpr int kReportEditId = 777;

class TReportFrame : public TFrameWindow {
public:
    TReportFrame(const std::string& title, ReportRuns runs);

    void SetupWindow() override;
    HWND Edit() const;

private:
    ReportRuns runs_;
};

// Appends the runs at the caret of a rich-edit control, each heading in
// heading style and the rows after it in the tool-tip text colour.
void WriteReport(HWND edit, const ReportRuns& runs);
