#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/AppState.h"
#include "core/SMsg.h"
#include "resources/ResourceIds.h"
#include "tests/fakes/FakeUserInteraction.h"

namespace {

class SMsgTest : public ::testing::Test {
protected:
    void SetUp() override {
        char folder[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, folder);
        path_ = std::string(folder) + "larkspur_smsg_test.log";
        DeleteFileA(path_.c_str());
        AppState.Reset();
        CopyTextField(AppState.LogPath, path_.c_str());
    }
    void TearDown() override {
        DeleteFileA(path_.c_str());
        AppState.Reset();
    }

    std::string LogText() const {
        std::ifstream in(path_, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    int LineCount(const std::string& word) const {
        std::string text = LogText();
        int count = 0;
        for (auto at = text.find(word); at != std::string::npos; at = text.find(word, at + 1)) ++count;
        return count;
    }
    void WriteBytes(std::size_t bytes) const {
        std::ofstream out(path_, std::ios::binary);
        out << std::string(bytes, 'x');
    }

    std::string path_;
};

TEST_F(SMsgTest, CountedLogStopsAfterTheMarker) {
    struct Case {
        int messages;
        int written;
        bool marker;
        bool lastResult;
    };
    const Case cases[] = {{199, 199, false, true}, {200, 199, true, false}, {201, 199, true, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messages);
        DeleteFileA(path_.c_str());
        SMsg reporter;  // each construction restarts the count
        bool last = false;
        for (int i = 0; i < c.messages; ++i) last = SMsg::Log("warning line");
        EXPECT_EQ(c.lastResult, last);
        EXPECT_EQ(c.written, LineCount("warning line"));
        EXPECT_EQ(c.marker ? 1 : 0, LineCount("Maximum warnings reported"));
    }
    SMsg restart;
    EXPECT_TRUE(SMsg::Log("after restart"));
}

TEST_F(SMsgTest, LogLinesCarryTheTimeAndOverlongTextsAreCut) {
    SMsg reporter;
    SMsg::WriteLog("program started");
    std::string text = LogText();
    ASSERT_EQ(0u, text.find("program started  "));
    EXPECT_EQ('\n', text.back());
    SMsg::Log(std::string(300, 'q'));
    EXPECT_NE(std::string::npos, LogText().find(std::string(259, 'q') + "  "));
    EXPECT_EQ(std::string::npos, LogText().find(std::string(260, 'q')));
}

TEST_F(SMsgTest, LogPastTheLimitStartsAgain) {
    struct Case {
        std::size_t before;
        bool kept;
    };
    for (const Case& c : {Case{10000, true}, Case{10001, false}}) {
        SCOPED_TRACE(c.before);
        WriteBytes(c.before);
        SMsg::WriteLog("next");
        std::string text = LogText();
        EXPECT_EQ(c.kept, text.size() > c.before);
        EXPECT_EQ(c.kept ? c.before : 0u, text.find("next"));
    }
}

TEST_F(SMsgTest, NoLogPathWritesNothing) {
    AppState.LogPath[0] = 0;
    SMsg reporter;
    EXPECT_TRUE(SMsg::Log("nowhere"));  // counted, though nothing is written
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path_.c_str()));
}

TEST_F(SMsgTest, ErrorShowsTheDiagnosticForAnUnknownId) {
    FakeUserInteraction ui;
    ScopedUi scopedUi(ui);
    HWND owner = reinterpret_cast<HWND>(0x1234);
    SMsg reporter(owner);
    EXPECT_TRUE(reporter.Error(4711, MB_ICONHAND));
    ASSERT_EQ(1u, ui.messageBoxes.size());
    EXPECT_EQ("Diagnostic: 4711", ui.messageBoxes[0].text);
    EXPECT_EQ("Larkspur-PRO", ui.messageBoxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONHAND), ui.messageBoxes[0].flags);
    EXPECT_EQ(owner, ui.messageBoxes[0].owner);
    EXPECT_TRUE(reporter.Warn(4712));
    EXPECT_NE(std::string::npos, LogText().find("Diagnostic: 4712  "));
}

TEST_F(SMsgTest, TextsComeFromTheStringTable) {
    EXPECT_EQ("Can't save level subkey.\nProgram settings will not be saved. \n(savesettings)",
              SMsg::TextOf(IDS_SAVE_LEVEL_FAILED));
    EXPECT_EQ("File write not successful.\n Program settings will not be saved. \n(savesettings)",
              SMsg::TextOf(IDS_SAVE_INI_FAILED));
}

}  // namespace
