#include <gtest/gtest.h>

#include "audiofile/FileSystem.h"
#include "tests/audiofile/TempFolder.h"
#include "tests/audiofile/WaveTestSupport.h"

TEST(FileSystem, RealDelete) {
    TempFolder folder;
    const std::string b = folder.File("b.bin");
    ASSERT_TRUE(WriteAllBytes(b, "xyz"));
    EXPECT_TRUE(Files().Delete(b));
    EXPECT_FALSE(FileExists(b));
}
TEST(FileSystem, RealRename) {
    TempFolder folder;
    const std::string a = folder.File("a.bin"), b = folder.File("b.bin");
    ASSERT_TRUE(WriteAllBytes(a, "xyz"));
    EXPECT_TRUE(Files().Rename(a, b));
    EXPECT_FALSE(FileExists(a));
    EXPECT_EQ(ReadAllBytes(b), "xyz");
}
