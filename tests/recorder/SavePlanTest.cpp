#include "recorder/SavePlan.h"

#include <gtest/gtest.h>

#include "tests/recorder/FilesTestFolder.h"

namespace {

TEST(SavePlanTest, FileCanCloseMatrix) {
    const struct {
        bool hasFile, temporary, hasData, autoName;
        CloseRoute expected;
    } cases[] = {
        {false, true, true, false, CloseRoute::Nothing},
        {true, false, false, false, CloseRoute::Save},
        {true, false, true, true, CloseRoute::Save},
        {true, true, true, true, CloseRoute::Save},
        {true, true, true, false, CloseRoute::AskToSave},
        {true, true, false, false, CloseRoute::DeleteTemporary},
        {true, true, false, true, CloseRoute::DeleteTemporary},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.hasFile << c.temporary << c.hasData << c.autoName);
        EXPECT_EQ(PlanFileCanClose(c.hasFile, c.temporary, c.hasData, c.autoName), c.expected);
    }
}

TEST(SavePlanTest, SaveFileMatrix) {
    FilesTestFolder folder;
    const std::string current = folder / "~rec_1.wav";
    ASSERT_TRUE(FilesTestFolder::WriteFile(current, 10));
    const struct {
        const char* what;
        bool hasFile, temporary;
        uint32_t data;
        std::string newName;
        bool close, autoName, autoPrompt;
        SaveRoute expected;
    } cases[] = {
        {"no file", false, false, 0, "", true, false, false, SaveRoute::Nothing},
        {"empty temp at close", true, true, 0, "", true, false, false, SaveRoute::DiscardEmpty},
        {"empty named at close", true, false, 0, "", true, false, false, SaveRoute::DiscardEmpty},
        {"empty kept open", true, true, 0, "", false, false, false, SaveRoute::AskName},
        {"same name other case", true, true, 5, folder / "~REC_1.WAV", true, false, false,
         SaveRoute::UpdateOnly},
        {"temp to new name", true, true, 5, folder / "talk.wav", false, false, false,
         SaveRoute::MoveTo},
        {"named same drive", true, false, 5, folder / "talk.wav", false, false, false,
         SaveRoute::CopyTo},
        {"named other drive", true, false, 5, "Q:\\talk.wav", false, false, false,
         SaveRoute::MoveTo},
        {"named keeps", true, false, 5, "", true, true, true, SaveRoute::KeepName},
        {"temp asks name", true, true, 5, "", true, false, true, SaveRoute::AskName},
        {"temp asks category", true, true, 5, "", false, true, true, SaveRoute::AskCategory},
        {"temp pattern name", true, true, 5, "", true, true, false, SaveRoute::ClaimName},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SaveSituation s;
        s.hasFile = c.hasFile;
        s.temporary = c.temporary;
        s.dataLength = c.data;
        s.currentPath = current;
        s.newName = c.newName;
        s.close = c.close;
        s.autoName = c.autoName;
        s.autoPrompt = c.autoPrompt;
        EXPECT_EQ(PlanSave(s), c.expected);
    }
}

TEST(SavePlanTest, SameFileByLongFullPath) {
    FilesTestFolder folder;
    const std::string sub = folder / "Recordings of the week";
    ASSERT_TRUE(CreateDirectoryA(sub.c_str(), nullptr));
    const std::string file = sub + "\\a long recording name.wav";
    ASSERT_TRUE(FilesTestFolder::WriteFile(file, 1));
    char shortName[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(file.c_str(), shortName, MAX_PATH), 0u);
    ASSERT_STRNE(shortName, file.c_str());

    EXPECT_TRUE(IsSameFile(shortName, file));
    ASSERT_TRUE(SetCurrentDirectoryA(sub.c_str()));
    EXPECT_TRUE(IsSameFile("a long recording name.wav", file));
    EXPECT_TRUE(IsSameFile(".\\A LONG recording name.WAV", shortName));
    EXPECT_TRUE(IsSameFile("..\\Recordings of the week\\a long recording name.wav", file));
    // A target that does not exist yet is compared through its folder.
    char shortFolder[MAX_PATH] = {};
    ASSERT_NE(GetShortPathNameA(sub.c_str(), shortFolder, MAX_PATH), 0u);
    EXPECT_TRUE(IsSameFile(std::string(shortFolder) + "\\new.wav", sub + "\\NEW.wav"));
    EXPECT_FALSE(IsSameFile("other.wav", file));
    EXPECT_FALSE(IsSameFile("", file));

    EXPECT_FALSE(OnDifferentDrives("c:\\a.wav", "C:\\b.wav"));
    EXPECT_TRUE(OnDifferentDrives("C:\\a.wav", "D:\\b.wav"));
    EXPECT_FALSE(OnDifferentDrives("\\\\server\\share\\a.wav", "D:\\b.wav"));
}

}  // namespace
