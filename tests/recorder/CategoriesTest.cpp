#include "recorder/files/Categories.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/recorder/FilesTestFolder.h"

namespace {

TEST(CategoriesTest, NamesThatCannotBeOnePlainFileAreRefused) {
    const struct {
        const char* name;
        bool valid;
    } cases[] = {
        {"meeting", true}, {"memo old", true}, {"v1.2", true}, {"%d talks", true},
        {"", false},       {"..\\x", false},   {"a/b", false}, {"c:x", false},
        {"a*", false},     {"a?", false},      {"\"q\"", false}, {"<a>", false},
        {"a|b", false},    {".hidden", false}, {"CON", false}, {"nul.x", false},
        {"com3", false},   {"LPT9 ", false},   {"COM0", true}, {"tab\there", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(IsValidCategoryName(c.name), c.valid);
    }
    EXPECT_FALSE(IsValidCategoryName(std::string(201, 'a')));
}

TEST(CategoriesTest, MarkersAreListedCreatedAndDeleted) {
    FilesTestFolder folder;
    ASSERT_TRUE(FilesTestFolder::WriteFile(folder / "talks.CAT"));
    ASSERT_TRUE(FilesTestFolder::WriteFile(folder / "memo.old.CAT"));
    ASSERT_TRUE(FilesTestFolder::WriteFile(folder / "notes.catalog"));
    ASSERT_TRUE(CreateDirectoryA((folder / "dir.CAT").c_str(), nullptr));
    auto listed = ListCategories(folder.Path());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, (std::vector<std::string>{"memo", "talks"}));

    EXPECT_EQ(EnsureCategory(folder.Path(), "meeting"), CategoryOutcome::Created);
    EXPECT_TRUE(PathExists(folder / "meeting.CAT"));
    EXPECT_EQ(EnsureCategory(folder.Path() + "\\", "talks"), CategoryOutcome::Existing);
    EXPECT_EQ(EnsureCategory(folder.Path(), ""), CategoryOutcome::InvalidName);
    EXPECT_FALSE(PathExists(folder / ".CAT"));
    EXPECT_EQ(EnsureCategory(folder.Path(), "..\\x"), CategoryOutcome::InvalidName);
    EXPECT_EQ(EnsureCategory(folder / "missing", "x"), CategoryOutcome::CannotCreate);

    EXPECT_EQ(DeleteCategory(folder.Path(), "talks"), DeleteOutcome::Deleted);
    EXPECT_FALSE(PathExists(folder / "talks.CAT"));
    EXPECT_EQ(DeleteCategory(folder.Path(), "talks"), DeleteOutcome::NoSuchCategory);
    EXPECT_EQ(DeleteCategory(folder.Path(), "dir"), DeleteOutcome::NoSuchCategory);
    EXPECT_TRUE(PathExists(folder / "dir.CAT"));
}

}  // namespace
