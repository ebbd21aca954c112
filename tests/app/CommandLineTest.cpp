#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/CommandLine.h"
#include "core/PrivateMessages.h"
#include "audiofile/FileNames.h"

namespace {

std::string Full(const char* name) { return FullPath(name); }

CommandLineRequest Walk(std::vector<std::string> args, AppStateRecord& state) {
    args.insert(args.begin(), "larkspurpro.exe");
    std::vector<const char*> argv;
    for (const std::string& arg : args) argv.push_back(arg.c_str());
    state.Reset();
    return ParseCommandLine(static_cast<int>(argv.size()), argv.data(), state);
}

struct WalkCase {
    const char* what;
    std::vector<std::string> args;
    void (*check)(const AppStateRecord& state, const CommandLineRequest& request);
};

const WalkCase kCases[] = {
    {"slash and hyphen, any case", {"-l", "/P", "/t", "-M", "/d", "/s", "/R", "/F"},
     [](const AppStateRecord& s, const CommandLineRequest& r) {
         EXPECT_TRUE(s.ListenAtStart && s.PlayAtStart && s.StopAtStart && s.MinimizeAtStart);
         EXPECT_TRUE(s.NoCodecs && s.ForceFormatSuggest && s.PropertiesOnly && s.ForwardToRunning);
         EXPECT_FALSE(r.sendNow);
     }},
    {"channel right", {"/c", "right"},
     [](const AppStateRecord& s, const CommandLineRequest&) { EXPECT_EQ(1, s.RecordChannel); }},
    {"channel left", {"/C", "l"},
     [](const AppStateRecord& s, const CommandLineRequest&) { EXPECT_EQ(-1, s.RecordChannel); }},
    {"channel other", {"/c", "x"},
     [](const AppStateRecord& s, const CommandLineRequest&) { EXPECT_EQ(0, s.RecordChannel); }},
    {"values", {"/X", "5", "/Q", "1", "/N", "1a2b", "/E", "notify.bat", "/A", "say hi", "/J", "TestClass"},
     [](const AppStateRecord& s, const CommandLineRequest&) {
         EXPECT_EQ(5, s.RepositionArg);
         EXPECT_EQ(1, s.UnalignedPositions);
         EXPECT_EQ(reinterpret_cast<HWND>(0x1a2b), s.NotifyWindow);
         EXPECT_STREQ("notify.bat", s.SaveCommand);
         EXPECT_EQ("say hi", s.VoxCommand);
         EXPECT_STREQ("TestClass", s.WindowClassName);
     }},
    {"a value switch takes the next argument whatever it is", {"/J", "/L"},
     [](const AppStateRecord& s, const CommandLineRequest&) {
         EXPECT_STREQ("/L", s.WindowClassName);
         EXPECT_FALSE(s.ListenAtStart);
     }},
    {"value switch last takes nothing", {"/L", "/E"},
     [](const AppStateRecord& s, const CommandLineRequest&) {
         EXPECT_TRUE(s.ListenAtStart);
         EXPECT_STREQ("", s.SaveCommand);
     }},
    {"two file arguments open the first, as a full path", {"a.wav", "b.wav"},
     [](const AppStateRecord& s, const CommandLineRequest&) {
         EXPECT_EQ(Full("a.wav"), s.CommandLineFile);
     }},
    {"/W before a file takes the device", {"/W", "Dev", "a.wav"},
     [](const AppStateRecord& s, const CommandLineRequest&) {
         EXPECT_STREQ("Dev", s.WaveInDriverOverride);
         EXPECT_EQ(Full("a.wav"), s.CommandLineFile);
     }},
    {"/W after a file takes nothing", {"a.wav", "/W", "Dev"},
     [](const AppStateRecord& s, const CommandLineRequest&) {
         EXPECT_STREQ("", s.WaveInDriverOverride);
         EXPECT_EQ(Full("a.wav"), s.CommandLineFile);
     }},
    {"/I becomes a full path", {"/I", "my.ini"},
     [](const AppStateRecord& s, const CommandLineRequest&) { EXPECT_EQ(Full("my.ini"), s.IniPath); }},
    {"/K skips its value; unknown and odd switches are ignored", {"/K", "x.wav", "/B", "/9", "-", "/"},
     [](const AppStateRecord& s, const CommandLineRequest& r) {
         EXPECT_STREQ("", s.CommandLineFile);
         EXPECT_FALSE(r.sendNow);
     }},
    {"/J before /H addresses that class", {"/J", "TestClass", "/H", "x.wav", "/L"},
     [](const AppStateRecord& s, const CommandLineRequest& r) {
         EXPECT_STREQ("TestClass", s.WindowClassName);
         EXPECT_TRUE(r.sendNow);
         EXPECT_EQ(COPYDATA_OPENFILE, r.code);
         EXPECT_EQ(Full("x.wav"), r.text);
         EXPECT_FALSE(s.ListenAtStart);  // not read after /H
     }},
    {"/J after /H is not read", {"/H", "x.wav", "/J", "TestClass"},
     [](const AppStateRecord& s, const CommandLineRequest& r) {
         EXPECT_STREQ("", s.WindowClassName);
         EXPECT_TRUE(r.sendNow);
     }},
    {"a trailing /H without a name is ignored", {"/L", "/H"},
     [](const AppStateRecord& s, const CommandLineRequest& r) {
         EXPECT_FALSE(r.sendNow);
         EXPECT_TRUE(s.ListenAtStart);
     }},
    {"/Z goes to a comment", {"/Z", "chapter 2"},
     [](const AppStateRecord&, const CommandLineRequest& r) {
         EXPECT_EQ(COPYDATA_GOTOCOMMENT, r.code);
         EXPECT_EQ("chapter 2", r.text);
     }},
    {"a 300-character /O arrives as 259 characters", {"/O", std::string(300, 'c')},
     [](const AppStateRecord&, const CommandLineRequest& r) {
         EXPECT_TRUE(r.sendNow);
         EXPECT_EQ(COPYDATA_ADDCOMMENT, r.code);
         EXPECT_EQ(std::string(259, 'c'), r.text);
     }},
};

TEST(CommandLineTest, SwitchWalk) {
    for (const WalkCase& c : kCases) {
        SCOPED_TRACE(c.what);
        AppStateRecord state;
        CommandLineRequest request = Walk(c.args, state);
        c.check(state, request);
    }
}

}  // namespace
