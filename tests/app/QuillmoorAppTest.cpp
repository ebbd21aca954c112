#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/AppState.h"
#include "app/QuillmoorApp.h"
#include "core/TextFormat.h"
#include "app/WebAddress.h"
#include "resources/ResourceIds.h"
#include "tests/fakes/FakeUserInteraction.h"

namespace {

TEST(WebAddressTest, AddsTheWebSchemeOnlyWhereNoneIsNamed) {
    struct Case {
        const char* given;
        const char* opened;
    };
    const Case cases[] = {
        {"www.quillmoor.invalid", "http://www.quillmoor.invalid"},
        {"http://a.invalid/x", "http://a.invalid/x"},
        {"https://a.invalid/x", "https://a.invalid/x"},
        {"HTTPS://a.invalid", "HTTPS://a.invalid"},
        {"mailto:someone@a.invalid", "mailto:someone@a.invalid"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.given);
        EXPECT_EQ(c.opened, WithWebScheme(c.given));
    }
    EXPECT_EQ(259u, WithWebScheme(std::string(400, 'a')).size());
}

TEST(WebAddressTest, QuotesProgramPathsAndBuildsTheUpdatePage) {
    EXPECT_EQ("\"C:\\Program Files\\Larkspur\\larkspurpro.exe\"",
              QuotedCommandLine("C:\\Program Files\\Larkspur\\larkspurpro.exe"));
    EXPECT_EQ("\"C:\\a b\\x.exe\" /L", QuotedCommandLine("C:\\a b\\x.exe", "/L"));
    EXPECT_EQ("http://s.invalid/update.py?product=P&version=1.2", UpdatePageAddress("http://s.invalid", "P", "1.2"));
    EXPECT_EQ("http://s.invalid/update.py?product=P", UpdatePageAddress("http://s.invalid", "P", ""));
}

TEST(TextFormatTest, FormatsTextsOfAnyLength) {
    EXPECT_EQ("", FormatString(nullptr));
    EXPECT_EQ("7 of 9", FormatString("%d of %d", 7, 9));
    const std::string longText(1000, 'q');
    EXPECT_EQ(longText + "!", FormatString("%s!", longText.c_str()));
}

TEST(TextFormatTest, FormatsLocalTimes) {
    struct tm fixed{};
    fixed.tm_year = 2024 - 1900;
    fixed.tm_mon = 1;
    fixed.tm_mday = 29;
    fixed.tm_hour = 13;
    fixed.tm_min = 5;
    fixed.tm_isdst = -1;
    const time_t when = mktime(&fixed);
    EXPECT_EQ("2024-02-29 13:05", FormatTime("%Y-%m-%d %H:%M", when));
    EXPECT_EQ(4u, FormatTime("%Y").size());  // 0: now
    EXPECT_EQ("", FormatTime(std::string(300, 'x').c_str(), when));  // does not fit
}

TEST(QuillmoorAppTest, OpensTheMakersPagesAndTheUpdatePageWithTheVersion) {
    FakeUserInteraction ui;
    ScopedUi scoped(ui);
    QuillmoorApp app;
    for (UINT command : {CM_CHECKFORUPDATE, CM_MAKERWEBSITE, CM_PRODUCTWEBPAGE}) {
        Message m;
        m.msg = WM_COMMAND;
        m.wParam = MAKEWPARAM(command, 0);
        app.Dispatch(m);
    }
    ASSERT_EQ(3u, ui.shellOpens.size());
    EXPECT_EQ(std::string(kMakerSite) + "/update.py?product=Larkspur-PRO&version=" + LARKSPUR_VERSION_TEXT,
              ui.shellOpens[0].first);
    EXPECT_EQ(kMakerSite, ui.shellOpens[1].first);
    EXPECT_EQ(kProductPage, ui.shellOpens[2].first);
    EXPECT_NE(std::string::npos, ui.shellOpens[0].first.find(".invalid/"));
}

TEST(QuillmoorAppTest, AMissingHelpFileEmptiesEveryHelpPath) {
    QuillmoorApp::FillHelpPaths("C:\\no such folder\\");
    EXPECT_STREQ("", AppState.HelpFile);
    EXPECT_STREQ("", AppState.WinHelpFile);
    EXPECT_STREQ("", AppState.HelpPopupSource);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string help = std::string(temp) + "larkspurpro.chm";
    FILE* file = fopen(help.c_str(), "wb");
    ASSERT_NE(nullptr, file);
    fclose(file);
    QuillmoorApp::FillHelpPaths(temp);
    EXPECT_EQ(help, AppState.HelpFile);
    EXPECT_EQ(help + "::/CSLarkspurPRO.txt", AppState.HelpPopupSource);
    remove(help.c_str());
    AppState.Reset();
}

}  // namespace
