#include <gtest/gtest.h>

#include "app/AboutDlg.h"
#include "app/ProjectRCVersion.h"
#include "resources/ResourceIds.h"
#include "tests/fakes/FakeUserInteraction.h"

namespace {

TEST(ProjectRCVersionTest, ReadsTheTestProgramsOwnVersionBlock) {
    const ProjectRCVersion block;
    ASSERT_TRUE(block.HasBlock());
    EXPECT_EQ(MAKELONG(0x409, 1252), block.Translation());
    std::string text;
    ASSERT_TRUE(block.GetProductName(text));
    EXPECT_EQ("Larkspur-PRO", text);
    ASSERT_TRUE(block.GetProductVersion(text));
    EXPECT_EQ(LARKSPUR_VERSION_TEXT, text);
    EXPECT_FALSE(block.GetSpecialBuild(text));
    EXPECT_EQ("\\StringFileInfo\\040904e4\\ProductName", ProjectRCVersion::QueryFor(MAKELONG(0x409, 0x4E4), "ProductName"));
}

TEST(ProjectRCVersionTest, AModuleWithoutABlockHasNoTexts) {
    const ProjectRCVersion none(reinterpret_cast<HMODULE>(static_cast<INT_PTR>(1)));
    std::string text;
    EXPECT_FALSE(none.HasBlock());
    EXPECT_FALSE(none.GetProductName(text));
}

TEST(AboutDlgTest, ShowsNameVersionAndCopyrightFromTheVersionBlock) {
    FakeUserInteraction ui;
    ScopedUi scoped(ui);
    AboutDlg about(nullptr);
    ASSERT_TRUE(about.Create());
    EXPECT_EQ("About Larkspur-PRO", about.GetCaption());
    // The resource's "Version " ends in a blank: two blanks before the number.
    EXPECT_EQ(std::string("Larkspur-PRO Version  ") + LARKSPUR_VERSION_TEXT, about.GetItemText(IDC_ABOUTVERSION));
    EXPECT_EQ("Copyright (C) 2026 Quillmoor", about.GetItemText(IDC_ABOUTCOPYRIGHT));

    SendMessageA(about.GetHandle(), WM_COMMAND, MAKEWPARAM(IDC_ABOUTLINK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(about.GetDlgItem(IDC_ABOUTLINK)));
    ASSERT_EQ(1u, ui.shellOpens.size());
    EXPECT_EQ("http://www.quillmoor.invalid", ui.shellOpens[0].first);
    about.Destroy();
}

}  // namespace
