#include <gtest/gtest.h>

#include <windows.h>

#include "audiofile/MediaFile.h"
#include "audiofile/RecFile.h"
#include "tests/audiofile/TempFolder.h"
#include "tests/audiofile/WaveTestSupport.h"

namespace {

TEST(FileNames, FileTypeFromExtension) {
    struct Case { const char* name; int type; };
    const Case cases[] = {
        {"song.MP3", ftMp3}, {"a.oga", ftOgg}, {"a.ogg", ftOgg}, {"a.wma", ftWmv}, {"a.asf", ftWmv},
        {"a.spx", ftSpeex},  {"a.aiff", ftWav}, {"a.wav", ftWav}, {"noext", ftWav},
        {"C:\\dir.mp3\\take", ftWav}, {nullptr, ftNone},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name ? c.name : "(null)");
        EXPECT_EQ(FileTypeFromExtension(c.name), c.type);
    }
    EXPECT_STREQ(ExtensionForType(ftWmv), "wmv");
    EXPECT_STREQ(ExtensionForType(7), "wav");
    EXPECT_STREQ(ExtensionForType(ftNone), "wav");
}

TEST(FileNames, PartsOfNames) {
    EXPECT_EQ(FileNamePart("C:\\rec\\take.wav"), "take.wav");
    EXPECT_EQ(FileNamePart("take.wav"), "take.wav");
    EXPECT_EQ(ExtensionPart("C:\\rec\\take.wav").value_or("none"), "wav");
    EXPECT_FALSE(ExtensionPart("C:\\rec.d\\take").has_value());
}

TEST(FileNames, JournalNames) {
    struct Case { const char* path; const char* journal; };
    const Case cases[] = {
        {"C:\\r\\x.wav", "C:\\r\\x.~av"}, {"C:\\r\\x.mp3", "C:\\r\\x.~p3"}, {"C:\\r\\x.ogg", "C:\\r\\x.~gg"},
        {"C:\\r\\x.wave", ""}, {"C:\\r\\x", ""}, {"C:\\r.ab\\x", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(RecFile::JournalNameFor(c.path), c.journal);
    }
}

TEST(FileNames, UniqueNamesCountUpAndFailWhenAllAreTaken) {
    TempFolder folder;
    std::string name;
    ASSERT_TRUE(MakeUniqueFileName(nullptr, "wav", name, false, folder.Path()));
    EXPECT_EQ(name, folder.Path() + "\\rec_1.wav");
    ASSERT_TRUE(WriteAllBytes(name, ""));
    ASSERT_TRUE(MakeUniqueFileName(nullptr, "wav", name, false, folder.Path() + "\\"));
    EXPECT_EQ(name, folder.Path() + "\\rec_2.wav");
    ASSERT_TRUE(MakeUniqueFileName(nullptr, nullptr, name, true, folder.Path()));
    EXPECT_EQ(FileNamePart(name), "~rec_1.tmp");

    for (int n = 1; n <= 9999; ++n) {
        const std::string taken = folder.File("full_" + std::to_string(n) + ".wav");
        HANDLE file = CreateFileA(taken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        CloseHandle(file);
    }
    name = "unchanged";
    EXPECT_FALSE(MakeUniqueFileName("full", ".wav", name, false, folder.Path()));
    EXPECT_EQ(name, "unchanged");
    EXPECT_EQ(FileSize(folder.File("full_9999.wav")), 0u);
    EXPECT_FALSE(MakeUniqueFileName(std::string(300, 'n').c_str(), ".wav", name, false, folder.Path()))
        << "a name cut to fit would not be the name checked";
}

TEST(FileNames, DirectoryWritableProbeLeavesNothingBehind) {
    TempFolder folder;
    char before[MAX_PATH] = {}, after[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, before);
    EXPECT_TRUE(IsDirectoryWritable(folder.Path()));
    EXPECT_FALSE(IsDirectoryWritable(folder.File("missing")));
    GetCurrentDirectoryA(MAX_PATH, after);
    EXPECT_STREQ(before, after);
    EXPECT_TRUE(folder.Names().empty());
}

TEST(FileNames, DirectoriesAndFullPaths) {
    TempFolder folder;
    const std::string deep = folder.File("a\\b\\c\\take.wav");
    EXPECT_TRUE(MakeDirectoryPath(deep));
    EXPECT_TRUE(IsDirectoryWritable(folder.File("a\\b\\c")));
    std::string relative = "take.wav";
    ASSERT_TRUE(GetFullPathNameDynamic(relative));
    EXPECT_EQ(relative, FullPath("take.wav"));
    EXPECT_TRUE(SamePath(folder.File("X.WAV"), folder.File("a\\..\\x.wav")));
    // Leading parts that are no folders of their own ("\\\\?\\", a share's
    // "\\\\server\\") cannot be made; the folders after them still are.
    EXPECT_TRUE(MakeDirectoryPath("\\\\?\\" + folder.File("u\\v\\take.wav")));
    EXPECT_TRUE(IsDirectoryWritable(folder.File("u\\v")));
    RemoveDirectoryA(folder.File("u\\v").c_str());
    RemoveDirectoryA(folder.File("u").c_str());
    RemoveDirectoryA(folder.File("a\\b\\c").c_str());
    RemoveDirectoryA(folder.File("a\\b").c_str());
    RemoveDirectoryA(folder.File("a").c_str());
}

TEST(FileStatus, EveryCodeHasItsOwnMessage) {
    for (int status = statusOk; status <= statusNoCodecFormat; ++status) {
        SCOPED_TRACE(status);
        EXPECT_GT(std::string(FileStatusMessage(status)).size(), 5u);
        EXPECT_STRNE(FileStatusMessage(status), FileStatusMessage(99));
    }
}

}  // namespace
