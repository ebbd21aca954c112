// The properties report of a recording as plain text: runs of text, some of
// them headings, made from the file alone so that the text can be checked
// without a window. ReportWriter puts the runs into a rich-edit control.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "audiofile/RecFile.h"

struct ReportRun {
    std::string text;
    bool heading = false;
};
using ReportRuns = std::vector<ReportRun>;

// Where the report takes what the file does not hold itself.
struct ReportSources {
    // The codec's name of a compressed format tag.
    std::function<std::string(WORD formatTag)> compressionName;
    // The clock-time text of a time code (ClockText).
    std::function<std::string(int64_t timeCode)> clockText;
};

// "0:45", or "1:02:05" from one hour on.
std::string ReportDurationText(uint32_t seconds);
// "44100 samples/sec 16 bit Stereo".
std::string ReportFormatText(const WAVEFORMATEX& format);
// The codec manager's name of a format tag; "MPEG Layer-3" for tag 85, and
// "Unknown (format tag N)" when no codec names it.
std::string CompressionNameFromAcm(WORD formatTag);
// The sources the program uses: the codec manager and ClockText.
ReportSources ProgramReportSources();

// The whole report of a file with data and a format.
ReportRuns BuildPropertiesReport(RecFile& file, const ReportSources& sources);
// The runs joined, headings included, as the control shows them.
std::string ReportPlainText(const ReportRuns& runs);
