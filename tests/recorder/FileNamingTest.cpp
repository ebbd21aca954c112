#include "recorder/files/FileNaming.h"

#include <gtest/gtest.h>

#include "tests/recorder/FilesTestFolder.h"

namespace {

TEST(FileNamingTest, TimePatternsAreCheckedBeforeExpansion) {
    const struct {
        const char* pattern;
        const char* expected;  // "" = refused
    } cases[] = {
        {"%Y%m%d", "20260307"},
        {"rec-%H%M%S", "rec-090503"},
        {"%#d", "7"},
        {"100%%", "100%"},
        {"%%03d", "%03d"},
        {"rec%", ""},    // lone trailing '%'
        {"%e", ""},      // C99 code unknown to the runtime
        {"%n", ""},
        {"%s", ""},
        {"a%#", ""},
        {"", ""},
        {"%A %B", "Saturday March"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(ExpandTimePattern(c.pattern, SampleLocalTime()), c.expected);
    }
}

TEST(FileNamingTest, ExpansionRefusesWhatDoesNotFitAndBrokenTimes) {
    EXPECT_EQ(ExpandTimePattern(std::string(300, 'a'), SampleLocalTime()), "");
    EXPECT_EQ(ExpandTimePattern(std::string(259, 'a'), SampleLocalTime()), std::string(259, 'a'));
    std::tm broken = SampleLocalTime();
    broken.tm_mon = 12;
    EXPECT_EQ(ExpandTimePattern("%b", broken), "");
}

TEST(FileNamingTest, OnlyOneIntegerConversionNumbers) {
    const struct {
        const char* text;
        const char* filled;  // with 7; null = no numbering slot
    } cases[] = {
        {"rec%03d", "rec007"},
        {"C:\\a%s\\rec%d", "C:\\a%s\\rec7"},  // %s stays text
        {"%n%d", "%n7"},
        {"x%-4dy", "x7   y"},
        {"%.2u", "07"},
        {"%d%d", nullptr},     // two conversions: none is used
        {"100%%d", nullptr},   // escaped percent
        {"%*d", nullptr},      // would read a second argument
        {"%lld", nullptr},     // would read eight bytes
        {"%123d", nullptr},    // width longer than two digits
        {"rec", nullptr},
        {"%", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        NumberingSlot slot;
        const bool found = FindNumberingSlot(c.text, slot);
        EXPECT_EQ(found, c.filled != nullptr);
        if (found && c.filled) {
            EXPECT_EQ(FillNumberingSlot(c.text, slot, 7), c.filled);
        }
    }
}

TEST(FileNamingTest, AllNumbersTakenGivesTheLast) {
    const auto all = [](const std::string&) { return true; };
    EXPECT_EQ(PickUniqueName("D\\", "rec", ".wav", true, all), "D\\rec_9999.wav");
}

class ComposeFileNameTest : public ::testing::Test {
protected:
    ComposeFileNameTest() : clock_(SampleLocalTime()) { settings.defaultDirectory = folder.Path(); }
    std::string Compose(const char* base, bool temporary, const char* extension) {
        return ComposeFileName(base, temporary, extension, settings, true);
    }
    FilesTestFolder folder;
    FixedNamingClock clock_;
    NamingSettings settings;
};

TEST_F(ComposeFileNameTest, NamesInTheDefaultDirectory) {
    EXPECT_EQ(Compose("ignored", true, NewFileExtension(0)), folder / "~rec_1.wav");
    ASSERT_TRUE(FilesTestFolder::WriteFile(folder / "~rec_1.wav"));
    EXPECT_EQ(Compose(nullptr, true, ".wav"), folder / "~rec_2.wav");

    settings.lhMode = 1;
    EXPECT_EQ(Compose("rec", false, NewFileExtension(1)), folder / "rec.mp3");
    ASSERT_TRUE(FilesTestFolder::WriteFile(folder / "rec.mp3"));
    EXPECT_EQ(Compose("rec", false, ".mp3"), folder / "rec_1.mp3");
    settings.lhMode = 2;
    EXPECT_EQ(Compose("talk", false, ".mp3"), folder / "talk_1.mp3");

    EXPECT_EQ(Compose("", false, "ogg"), folder / "rec_1.ogg");
    EXPECT_EQ(Compose("x", false, ""), folder / "x_1.wav");
    settings.defaultDirectory = folder.Path() + "\\";
    EXPECT_EQ(Compose("y", false, nullptr), folder / "y_1.wav");
}

TEST_F(ComposeFileNameTest, DatePatternsAndNumbering) {
    settings.autoName = true;
    EXPECT_EQ(Compose("%Y%m%d", false, ".wav"), folder / "20260307_1.wav");
    settings.lhMode = 1;
    EXPECT_EQ(Compose("%Y%m%d", false, ".wav"), folder / "20260307.wav");
    EXPECT_EQ(Compose("d%%03d", false, ".wav"), folder / "d001.wav");
    ASSERT_TRUE(FilesTestFolder::WriteFile(folder / "d001.wav"));
    EXPECT_EQ(Compose("d%%03d", false, ".wav"), folder / "d002.wav");
    // A bad pattern never reaches strftime; the name falls back to "rec".
    EXPECT_EQ(Compose("talk%n", false, ".wav"), folder / "rec.wav");
    // With the prompt on, a base without '%' is a plain category name.
    settings.autoPrompt = true;
    EXPECT_EQ(Compose("%d meeting", false, ".wav"), folder / "07 meeting.wav");
    EXPECT_EQ(Compose("Y%m", false, ".wav"), folder / "Y03.wav");
    EXPECT_EQ(Compose("memo", false, ".wav"), folder / "memo.wav");
}

TEST_F(ComposeFileNameTest, PercentInTheFolderIsPlainText) {
    const std::string odd = folder / "a%s%n%d";
    ASSERT_TRUE(CreateDirectoryA(odd.c_str(), nullptr));
    settings.defaultDirectory = odd;
    EXPECT_EQ(Compose("rec", false, ".wav"), odd + "\\rec_1.wav");
}

TEST_F(ComposeFileNameTest, UnusableDefaultGoesToTheTemporaryFolder) {
    settings.defaultDirectory = folder / "missing";
    EXPECT_EQ(CheckDirectory(settings.defaultDirectory), DirectoryState::Missing);
    EXPECT_EQ(CheckDirectory(""), DirectoryState::Missing);
    EXPECT_EQ(CheckDirectory(folder.Path()), DirectoryState::Usable);
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string name = ComposeFileName("rec", false, ".wav", settings, false);
    EXPECT_EQ(name.rfind(temp, 0), 0u) << name;
    EXPECT_STREQ(DirectoryStateText(DirectoryState::Missing), "Default directory does not exist!");
}

}  // namespace
