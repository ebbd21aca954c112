#include "recorder/annotations/PropertiesReport.h"

#include <cstdarg>
#include <cstdio>

#include "recorder/annotations/ClockTime.h"
#include "sound/AcmServices.h"
#include "recorder/capture/StatusTexts.h"

namespace {

std::string Printf(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string Printf(const char* format, ...)
{
    char text[600];
    va_list args;
    va_start(args, format);
    vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

std::string HmsText(uint32_t seconds)
{
    return Printf("%u:%2.2u:%2.2u", seconds / 3600, seconds / 60 % 60, seconds % 60);
}

constexpr const char* kTagKeys[] = {"Copyright", "Title", "Artist", "Album", "Year", "Comment"};

class ReportBuilder {
public:
    ReportBuilder(RecFile& file, const ReportSources& sources) : file_(file), sources_(sources) {}

    ReportRuns Build()
    {
        Summary();
        Tags();
        Add("\r\n\r\n");
        Segments();
        Comments();
        return std::move(runs_);
    }

private:
    void Add(const std::string& text, bool heading = false)
    {
        if (!heading && !runs_.empty() && !runs_.back().heading)
            runs_.back().text += text;
        else
            runs_.push_back({text, heading});
    }

    void Summary()
    {
        const std::string& path = file_.GetPath();
        const size_t slash = path.find_last_of('\\');
        const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
        const WAVEFORMATEX& format = *file_.GetFormat();
        Add(Printf("Summary for file:    %s\r\n\r\n\r\n", name.c_str()));
        Add(Printf("\r\nLocation:     %s", path.c_str()));
        Add("\r\nSize:         " + SizeText(file_.GetDataLength(), false, 0));
        if (format.nAvgBytesPerSec != 0)
            Add("\r\nDuration:     " + ReportDurationText(file_.GetSeconds(kWholeLength)));
        Add("\r\nFormat:       " + ReportFormatText(format));
        if (format.wFormatTag != WAVE_FORMAT_PCM)
            Add("\r\nCompression:  " + sources_.compressionName(format.wFormatTag));
        if (format.nAvgBytesPerSec != 0)
            Add(Printf("\r\nBitrate:      %u kbits/s",
                       static_cast<unsigned>(uint64_t{format.nAvgBytesPerSec} * 8 / 1000)));
    }

    void Tags()
    {
        for (const char* key : kTagKeys) {
            const std::optional<std::string> value = file_.GetTag(key);
            if (value && !value->empty())
                Add(Printf("\r\n%s:   %s", key, value->c_str()));
        }
    }

    // Seconds of the stretch [from, to): GetSeconds of the difference, so
    // that Ogg files (positions in frames) come out right too.
    uint32_t StretchSeconds(uint32_t from, uint32_t to) const
    {
        if (to == kNoPosition || to <= from)
            return 0;
        return file_.GetSeconds(to - from);
    }

    void Segments()
    {
        if (file_.GetTimeCodeAt(0) == 0)
            return;
        Add("\r\nSegment, Time,                        Duration", true);
        const int count = file_.TimeCodeCount();
        for (int i = 0; i < count; ++i) {
            const uint32_t start = file_.GetTimeCodePos(i);
            const uint32_t end = i + 1 < count ? file_.GetTimeCodePos(i + 1) : file_.GetLength();
            const int64_t timeCode = file_.GetTimeCodeAt(i);
            if (timeCode == 0)
                continue;
            Add(Printf("\r\n %d,       %s,       %s", i + 1, sources_.clockText(timeCode).c_str(),
                       HmsText(StretchSeconds(start, end)).c_str()));
        }
    }

    void Comments()
    {
        const int count = file_.CommentCount();
        if (count == 0)
            return;
        Add("\r\n\r\n");
        Add("\r\nNote,  Start Time,             Stop Time,              Text", true);
        for (int i = 0; i < count; ++i) {
            uint32_t end = file_.GetCommentEnd(i);
            if (end == 0 || end == kNoPosition)
                end = file_.GetLength();
            const std::string start = sources_.clockText(file_.GetTimeCode(file_.GetCommentStart(i)));
            const std::string stop = sources_.clockText(file_.GetTimeCode(end));
            Add(Printf("\r\n %d,     %s,  %s,  %s", i + 1, start.c_str(), stop.c_str(),
                       file_.GetCommentText(i).c_str()));
        }
    }

    RecFile& file_;
    const ReportSources& sources_;
    ReportRuns runs_;
};

}  // namespace

std::string ReportDurationText(uint32_t seconds)
{
    const uint32_t hours = seconds / 3600;
    if (hours == 0)
        return Printf("%u:%2.2u", seconds / 60, seconds % 60);
    return HmsText(seconds);
}

std::string ReportFormatText(const WAVEFORMATEX& format)
{
    std::string text = Printf("%lu samples/sec", static_cast<unsigned long>(format.nSamplesPerSec));
    if (format.wFormatTag == WAVE_FORMAT_PCM && format.wBitsPerSample == 8)
        text += " 8 bit";
    else if (format.wFormatTag == WAVE_FORMAT_PCM && format.wBitsPerSample == 16)
        text += " 16 bit";
    text += format.nChannels == 2 ? " Stereo" : " Mono";
    return text;
}

std::string CompressionNameFromAcm(WORD formatTag)
{
    if (formatTag == kFormatTagMp3)
        return "MPEG Layer-3";
    ACMFORMATTAGDETAILSA details{};
    details.cbStruct = sizeof details;
    details.dwFormatTag = formatTag;
    const MMRESULT result = Acm().FormatTagDetails(nullptr, details, ACM_FORMATTAGDETAILSF_FORMATTAG);
    if (result == MMSYSERR_NOERROR && details.szFormatTag[0] != '\0')
        return std::string(details.szFormatTag, strnlen(details.szFormatTag, sizeof details.szFormatTag));
    return Printf("Unknown (format tag %u)", static_cast<unsigned>(formatTag));
}

ReportSources ProgramReportSources()
{
    return {CompressionNameFromAcm, ClockText};
}

ReportRuns BuildPropertiesReport(RecFile& file, const ReportSources& sources)
{
    return ReportBuilder(file, sources).Build();
}

std::string ReportPlainText(const ReportRuns& runs)
{
    std::string text;
    for (const ReportRun& run : runs)
        text += run.text;
    return text;
}
