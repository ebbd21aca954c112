// The file-dialog record: what reaches the platform's dialog and what comes back.
#include <gtest/gtest.h>

#include <string>

#include "framework/CommonDialogs.h"
#include "tests/fakes/FakeUserInteraction.h"

namespace {

UINT_PTR CALLBACK NoHook(HWND, UINT, WPARAM, LPARAM) { return 0; }

TEST(FileDialogData, FilterAndFieldsReachThePlatformRecord) {
    FileDialogData data;
    data.filter = "Wave files (*.wav)|*.wav|MP3 files (*.mp3)|*.mp3|";
    data.defaultExt = "wav";
    data.flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER;
    data.SetFileName("take1.wav");
    data.readOnly = true;
    std::string buffer;
    OPENFILENAMEA ofn;
    FillOpenFileName(data, nullptr, buffer, ofn);
    // Pairs separated by NULs, the list ended by two.
    const std::string expected("Wave files (*.wav)\0*.wav\0MP3 files (*.mp3)\0*.mp3\0\0", 48);
    EXPECT_EQ(expected, std::string(ofn.lpstrFilter, expected.size()));
    EXPECT_STREQ("take1.wav", ofn.lpstrFile);
    EXPECT_EQ(static_cast<DWORD>(MAX_PATH), ofn.nMaxFile);
    EXPECT_STREQ("wav", ofn.lpstrDefExt);
    EXPECT_EQ(nullptr, ofn.lpstrInitialDir);  // empty: the platform's choice
    EXPECT_EQ(static_cast<DWORD>(OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_READONLY), ofn.Flags);

    ofn.Flags &= ~static_cast<DWORD>(OFN_READONLY);  // the user cleared the box
    ofn.nFilterIndex = 2;
    ReadBackOpenFileName(ofn, data);
    EXPECT_FALSE(data.readOnly);
    EXPECT_EQ(2, data.filterIndex);
}

TEST(FileDialogData, ClassicVariantCarriesHookAndTemplate) {
    FileDialogData data;
    data.flags = OFN_HIDEREADONLY;
    data.hook = &NoHook;
    data.hookData = 42;
    data.templateId = 30600;
    std::string buffer;
    OPENFILENAMEA ofn;
    FillOpenFileName(data, nullptr, buffer, ofn);
    EXPECT_EQ(static_cast<DWORD>(OFN_HIDEREADONLY | OFN_ENABLEHOOK | OFN_ENABLETEMPLATE), ofn.Flags);
    EXPECT_EQ(42, ofn.lCustData);
    EXPECT_EQ(MAKEINTRESOURCEA(30600), ofn.lpTemplateName);
}

TEST(FileDialog, AnswersComeFromTheSeam) {
    FakeUserInteraction fake;
    fake.fileDialogAnswers = {std::string("C:\\rec\\a.wav"), std::nullopt};
    fake.answerReadOnly = true;
    ScopedUi installed(fake);
    FileDialogData data;
    data.filter = "Wave files (*.wav)|*.wav|";
    TFileOpenDialog open(nullptr, data);
    EXPECT_EQ(IDOK, open.Execute());
    EXPECT_EQ("C:\\rec\\a.wav", data.FileName());
    EXPECT_TRUE(data.readOnly);
    TFileSaveDialog save(nullptr, data);
    EXPECT_EQ(IDCANCEL, save.Execute());
    ASSERT_EQ(2u, fake.fileDialogs.size());
    EXPECT_FALSE(fake.fileDialogs[0].save);
    EXPECT_TRUE(fake.fileDialogs[1].save);
    EXPECT_EQ(nullptr, data.hook);  // no hook left behind for the next caller
}

}  // namespace
