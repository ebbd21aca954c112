#include "recorder/annotations/PropertiesReport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "recorder/annotations/ClockTime.h"
#include "tests/recorder/ReportTestFile.h"

namespace {

// The report's clock times in a pinned zone, so the texts do not depend on
// the machine's.
class PinnedZone {
public:
    explicit PinnedZone(const char* zone)
    {
        const char* old = std::getenv("TZ");
        saved_ = old ? old : "";
        _putenv_s("TZ", zone);
        _tzset();
    }
    ~PinnedZone()
    {
        _putenv_s("TZ", saved_.c_str());
        _tzset();
    }

private:
    std::string saved_;
};

ReportSources TestSources()
{
    return {[](WORD tag) { return tag == 2 ? std::string("Microsoft ADPCM") : std::string("?"); }, ClockText};
}

constexpr int64_t kJan2_1980 = 315623035;  // Wed Jan 02 01:03:55 1980 UTC

class PropertiesReportTest : public ::testing::Test {
protected:
    PinnedZone zone{"UTC0"};
};

TEST_F(PropertiesReportTest, PcmFileWithTagsSegmentsAndComments)
{
    // 16-bit stereo at 44100: 176400 bytes a second; 500000 bytes are 2 s.
    ReportTestFile file("C:\\talks\\monday.wav", PcmFormat(2, 44100, 16), 500000);
    file.tags["Title"] = "Monday";
    file.tags["Artist"] = "";  // empty values are left out
    file.tags["Year"] = "1980";
    file.AddTimeCode(0, kJan2_1980);
    file.AddTimeCode(352800, kJan2_1980 + 7200);  // two hours later, after 2 s
    file.AddComment("opening", 0, 176400);
    file.AddComment("the rest", 176400, 0);       // open: runs to the end

    const ReportRuns runs = BuildPropertiesReport(file, TestSources());
    const std::string expected =
        "Summary for file:    monday.wav\r\n\r\n\r\n"
        "\r\nLocation:     C:\\talks\\monday.wav"
        "\r\nSize:         0.477MB"
        "\r\nDuration:     0:02"
        "\r\nFormat:       44100 samples/sec 16 bit Stereo"
        "\r\nBitrate:      1411 kbits/s"
        "\r\nTitle:   Monday"
        "\r\nYear:   1980"
        "\r\n\r\n"
        "\r\nSegment, Time,                        Duration"
        "\r\n 1,       Wed Jan 02 01:03:55 1980,       0:00:02"
        "\r\n 2,       Wed Jan 02 03:03:55 1980,       0:00:00"
        "\r\n\r\n"
        "\r\nNote,  Start Time,             Stop Time,              Text"
        "\r\n 1,     Wed Jan 02 01:03:55 1980,  Wed Jan 02 01:03:56 1980,  opening"
        "\r\n 2,     Wed Jan 02 01:03:56 1980,  Wed Jan 02 03:03:55 1980,  the rest";
    EXPECT_EQ(expected, ReportPlainText(runs));

    int headings = 0;
    for (const ReportRun& run : runs)
        if (run.heading) {
            ++headings;
            EXPECT_EQ(0u, run.text.find("\r\n"));
        }
    EXPECT_EQ(2, headings);
}

TEST_F(PropertiesReportTest, SizesDurationsAndFormats)
{
    ReportTestFile big("C:\\big.wav", PcmFormat(1, 8000, 8), 157286400);
    EXPECT_NE(std::string::npos, ReportPlainText(BuildPropertiesReport(big, TestSources())).find("Size:         150MB"));
    EXPECT_EQ("0:45", ReportDurationText(45));
    EXPECT_EQ("1:02:05", ReportDurationText(3725));
    EXPECT_EQ("59:59", ReportDurationText(3599));
    EXPECT_EQ("8000 samples/sec 8 bit Mono", ReportFormatText(PcmFormat(1, 8000, 8)));
    EXPECT_EQ("48000 samples/sec Stereo", ReportFormatText(PcmFormat(2, 48000, 24)));
}

TEST_F(PropertiesReportTest, CompressedFormatNamesItsCodecAndNoSegmentTableWithoutClockTimes)
{
    WAVEFORMATEX adpcm = PcmFormat(1, 22050, 4);
    adpcm.wFormatTag = 2;
    adpcm.nAvgBytesPerSec = 11155;
    ReportTestFile file("C:\\memo.wav", adpcm, 11155 * 45);
    file.AddTimeCode(0, 0);        // segments, but without clock times
    file.AddTimeCode(11155 * 10, 0);
    const std::string text = ReportPlainText(BuildPropertiesReport(file, TestSources()));
    EXPECT_NE(std::string::npos, text.find("\r\nFormat:       22050 samples/sec Mono"));
    EXPECT_NE(std::string::npos, text.find("\r\nCompression:  Microsoft ADPCM"));
    EXPECT_NE(std::string::npos, text.find("\r\nDuration:     0:45"));
    EXPECT_NE(std::string::npos, text.find("\r\nBitrate:      89 kbits/s"));
    EXPECT_EQ(std::string::npos, text.find("Segment,"));
    EXPECT_EQ(std::string::npos, text.find("Note,"));
}

TEST_F(PropertiesReportTest, OggSegmentDurationsAreSecondsOfFrames)
{
    // Positions are frames at 8000 a second; the byte rate says nothing of them.
    WAVEFORMATEX vorbis = PcmFormat(1, 8000, 16);
    vorbis.wFormatTag = 6771;
    vorbis.nAvgBytesPerSec = 2000;
    ReportTestFile file("C:\\ogg\\a.ogg", vorbis, 8000 * 100, true);
    file.AddTimeCode(0, kJan2_1980);
    file.AddTimeCode(8000 * 75, kJan2_1980 + 600);
    const std::string text = ReportPlainText(BuildPropertiesReport(file, TestSources()));
    EXPECT_NE(std::string::npos, text.find("\r\n 1,       Wed Jan 02 01:03:55 1980,       0:01:15"));
    EXPECT_NE(std::string::npos, text.find("\r\n 2,       Wed Jan 02 01:13:55 1980,       0:00:25"));
    EXPECT_NE(std::string::npos, text.find("\r\nDuration:     1:40"));
}

TEST_F(PropertiesReportTest, ClockTextsOutsideTheCalendarAreEmpty)
{
    EXPECT_EQ("Sat Jan 03 00:00:00 1970", ClockText(2 * 86400));
    EXPECT_EQ("Sat Jan 03 ", DayText(2 * 86400));
    EXPECT_EQ("", ClockText(-86400));
    EXPECT_EQ("", DayText(-1));
    std::tm parts{};
    parts.tm_year = 50;  // 1950
    parts.tm_mday = 1;
    int64_t time = 42;
    EXPECT_FALSE(LocalTimeOf(-86400, parts));
    EXPECT_EQ(50, parts.tm_year);  // untouched
    EXPECT_FALSE(MakeClockTime(parts, time));
    EXPECT_EQ(42, time);
    ASSERT_TRUE(LocalTimeOf(kJan2_1980, parts));
    parts.tm_sec = 75;
    ASSERT_TRUE(MakeClockTime(parts, time));
    EXPECT_EQ(kJan2_1980 - 55 + 75, time);
}

}  // namespace
