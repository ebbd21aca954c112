// The example file names and the limit estimate of the File page and the
// pattern dialog.
#include "prefs/files/FileNameField.h"
#include "prefs/files/FileLimitEstimate.h"
#include "prefs/files/FileNamePreview.h"

#include <gtest/gtest.h>

#include "framework/Validators.h"

namespace {

std::tm TwoFivePastTwo() {
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 1;
    t.tm_mday = 29;
    t.tm_hour = 14;
    t.tm_min = 5;
    t.tm_wday = 4;
    t.tm_yday = 59;
    return t;
}

TEST(FileNamePreviewTest, PatternInstanceAndType) {
    struct Case {
        const char* pattern;
        bool instance;
        int type;
        const char* expected;
    };
    const Case cases[] = {
        {"", true, 0, "rec_1.wav"},
        {"", false, 3, "rec.ogg"},
        {"rec%H", true, 1, "rec14_1.mp3"},
        {"rec%H", false, 1, "rec14.mp3"},
        {"call %Y%m%d", false, 4, "call 20240229.wav"},
        {"sub/rec", false, 0, "sub/rec.wav"},
        {"rec%", true, 0, ""},       // a lone '%' would end the program in strftime
        {"rec%e", false, 0, ""},     // a code the runtime does not know
        {"100%%", false, 0, "100%.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pattern);
        EXPECT_EQ(c.expected, FileNamePreview(c.pattern, c.instance, c.type, TwoFivePastTwo()));
    }
}

TEST(FileNamePreviewTest, EstimateOfTheLimit) {
    std::string caption, text;
    ASSERT_TRUE(FileLimitEstimate(20, false, 16000, caption, text));
    EXPECT_EQ("Total recording time at default sample rate:", caption);
    EXPECT_EQ("21.8 minutes", text);
    ASSERT_TRUE(FileLimitEstimate(60, true, 16000, caption, text));
    EXPECT_EQ("Total recording size at default sample rate:", caption);
    EXPECT_EQ("54.9 MB", text);
    // Beyond 2048 MB the byte count no longer fits 32 bits.
    ASSERT_TRUE(FileLimitEstimate(9999, false, 176400, caption, text));
    EXPECT_EQ("990.6 minutes", text);
    ASSERT_TRUE(FileLimitEstimate(9999, true, 176400, caption, text));
    EXPECT_EQ("100926.8 MB", text);
    caption = text = "unchanged";
    EXPECT_FALSE(FileLimitEstimate(20, false, 0, caption, text));
    EXPECT_EQ("unchanged", text);
}

TEST(FileNamePreviewTest, LimitsStayWithinWhatThePageOffers) {
    EXPECT_EQ(1, ClampFileLimit(0));
    EXPECT_EQ(1, ClampFileLimit(-5));
    EXPECT_EQ(2048, ClampFileLimit(2048));
    EXPECT_EQ(9999, ClampFileLimit(10000));
    EXPECT_EQ(9999, ClampFileLimit(1LL << 40));
}

TEST(FileNamePreviewTest, RefusedCharactersAndDashes) {
    const TExceptCharSet names(kFileNameRefusedChars);
    for (char c : std::string(":*?<>|\"")) EXPECT_FALSE(names.Has(static_cast<unsigned char>(c))) << c;
    for (char c : std::string("/\\%_- .aZ9")) EXPECT_TRUE(names.Has(static_cast<unsigned char>(c))) << c;
    // A leading or trailing '-' is the character itself, not a range.
    const TExceptCharSet leading("-ac");
    EXPECT_FALSE(leading.Has('-'));
    EXPECT_TRUE(leading.Has('b'));
    const TExceptCharSet trailing("ac-");
    EXPECT_FALSE(trailing.Has('-'));
    EXPECT_TRUE(trailing.Has('b'));
    const TExceptCharSet range("a-c");
    EXPECT_TRUE(range.Has('-'));
    EXPECT_FALSE(range.Has('b'));
}

}  // namespace
