#include "recorder/files/TSubjectDialog.h"

#include <gtest/gtest.h>

#include "recorder/files/Categories.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

class TSubjectDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(FilesTestFolder::WriteFile(folder / "talks.CAT"));
        ASSERT_TRUE(FilesTestFolder::WriteFile(folder / "memo.old.CAT"));
        ASSERT_TRUE(dialog.Create());
    }
    void Press(int id) { dialog.SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    void Type(const std::string& text) {
        SetWindowTextA(dialog.GetDlgItem(IDC_SUBJECTCOMBO), text.c_str());
    }
    int Entries() const {
        return static_cast<int>(SendMessageA(dialog.GetDlgItem(IDC_SUBJECTCOMBO), CB_GETCOUNT, 0, 0));
    }

    FilesTestFolder folder;
    FakeUserInteraction ui;
    ScopedUi installed{ui};
    std::string answer = "none";
    TSubjectDialog dialog{nullptr, "AutoPrompt", "Please enter category for recording:", answer,
                          folder.Path()};
};

TEST_F(TSubjectDialogTest, ShowsPromptCategoriesAndTheAnswer) {
    EXPECT_EQ(dialog.GetCaption(), "AutoPrompt");
    EXPECT_EQ(dialog.GetItemText(IDC_SUBJECTPROMPT), "Please enter category for recording:");
    EXPECT_EQ(dialog.GetItemText(IDC_SUBJECTCOMBO), "none");
    EXPECT_EQ(Entries(), 2);
}

TEST_F(TSubjectDialogTest, OkCreatesANewCategoryAndAnswers) {
    Type("meeting");
    Press(IDOK);
    EXPECT_EQ(answer, "meeting");
    EXPECT_TRUE(PathExists(folder / "meeting.CAT"));
    EXPECT_FALSE(dialog.IsWindow());
}

TEST_F(TSubjectDialogTest, BadNamesAreRefusedAndTheDialogStays) {
    for (const char* bad : {"..\\x", "", ".hidden", "CON"}) {
        SCOPED_TRACE(bad);
        Type(bad);
        Press(IDOK);
        EXPECT_TRUE(dialog.IsWindow());
        EXPECT_EQ(answer, "none");
        ASSERT_FALSE(ui.messageBoxes.empty());
        EXPECT_EQ(ui.messageBoxes.back().text, "Not a valid category name.");
        EXPECT_EQ(ui.messageBoxes.back().caption, "Create Category");
    }
    EXPECT_FALSE(PathExists(folder / ".CAT"));
    EXPECT_FALSE(PathExists(folder.Path() + "\\..\\x.CAT"));
    Press(IDCANCEL);
    EXPECT_EQ(answer, "");
}

TEST_F(TSubjectDialogTest, DeleteAsksThenRemovesTheMarker) {
    ui.messageBoxAnswers = {IDCANCEL, IDOK, IDOK};
    Type("talks");
    Press(IDC_DELETECATEGORY);  // not confirmed
    EXPECT_TRUE(PathExists(folder / "talks.CAT"));
    EXPECT_EQ(ui.messageBoxes[0].text, "Delete pre-defined category: talks ?");
    EXPECT_EQ(ui.messageBoxes[0].caption, "Delete Category");
    EXPECT_EQ(ui.messageBoxes[0].flags, static_cast<UINT>(MB_OKCANCEL));

    Press(IDC_DELETECATEGORY);
    EXPECT_FALSE(PathExists(folder / "talks.CAT"));
    EXPECT_EQ(Entries(), 1);

    Type("ghost");
    Press(IDC_DELETECATEGORY);
    ASSERT_EQ(ui.messageBoxes.size(), 4u);
    EXPECT_EQ(ui.messageBoxes[3].text, "ghost-- Not a valid category");
    EXPECT_EQ(ui.messageBoxes[3].flags, static_cast<UINT>(MB_ICONHAND));
    EXPECT_TRUE(PathExists(folder / "memo.old.CAT"));
}

}  // namespace
