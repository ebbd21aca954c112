#include "recorder/files/SavePlan.h"

#include <gtest/gtest.h>

#include "tests/recorder/FilesTestFolder.h"

namespace {

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
