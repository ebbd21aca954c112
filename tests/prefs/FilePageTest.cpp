// The File page in a hidden sheet, the pattern dialog and the directory
// picker.
#include <gtest/gtest.h>

#include <memory>

#include "core/AppState.h"
#include "core/TimePattern.h"
#include "prefs/files/TDirPick.h"
#include "prefs/files/TPatternDialog.h"
#include "prefs/files/TSetFile.h"
#include "resources/ResourceIds.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/prefs/DialogDriving.h"

namespace {

class FixedClock : public NamingClock {
public:
    std::tm LocalNow() const override {
        std::tm t{};
        t.tm_year = 126;
        t.tm_mday = 9;
        t.tm_hour = 14;
        t.tm_min = 5;
        return t;
    }
};

class PatternDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetNamingClock(&clock);
        ASSERT_TRUE(dialog.Create());
    }
    void TearDown() override {
        if (dialog.IsWindow()) dialog.Destroy();
        SetNamingClock(nullptr);
    }
    FixedClock clock;
    FakeUserInteraction ui;
    ScopedUi scoped{ui};
    std::string text = "rec";
    int flags = 2;  // bit 1 belongs to others
    TPatternDialog dialog{nullptr, text, 1, &flags};
};

TEST_F(PatternDialogTest, ListsTheCodesAndPreviews) {
    EXPECT_EQ(17, dialog.codes.GetCount());
    EXPECT_EQ(0, dialog.codes.GetSelIndex());
    EXPECT_EQ("%Z Time zone name", dialog.codes.GetString(16));
    EXPECT_TRUE(dialog.always.IsChecked());
    EXPECT_EQ("rec_1.mp3", dialog.preview.GetText());
    dialog.pattern.SetText("rec%");
    EXPECT_EQ("", dialog.preview.GetText());
}

TEST_F(PatternDialogTest, RefusesCharactersNoFileNameHolds) {
    dialog.pattern.SetText("");
    Type(dialog.pattern.GetHandle(), "a:b?c*d<e>f|g\"h/i%H");
    EXPECT_EQ("abcdefgh/i%H", dialog.pattern.GetText());
}

// What no file name holds is refused as typed; a pattern stored with one of
// "<>|\"" is confirmed as it stands, one with ":", "*" or "?" is not.
TEST_F(PatternDialogTest, ConfirmsAStoredPatternUnlessItHoldsWhatThePatternRefuses) {
    dialog.Destroy();
    text = "a<b>c|d\"e";
    ASSERT_TRUE(dialog.Create());
    Press(dialog.GetHandle(), IDOK);
    EXPECT_FALSE(dialog.IsWindow());  // confirmed
    EXPECT_TRUE(ui.messageBoxes.empty());
    text = "a:b";
    ASSERT_TRUE(dialog.Create());
    Press(dialog.GetHandle(), IDOK);
    EXPECT_TRUE(dialog.IsWindow());  // refused
    EXPECT_EQ(1u, ui.messageBoxes.size());
}

TEST_F(PatternDialogTest, InsertsTheCodeAtTheCaret) {
    dialog.pattern.SetSelection(3, 3);
    dialog.codes.SetSelIndex(6);
    Press(dialog.GetHandle(), IDC_PATTERNINSERT);
    EXPECT_EQ("rec%H", dialog.pattern.GetText());
    EXPECT_EQ("rec14_1.mp3", dialog.preview.GetText());
    dialog.pattern.SetSelection(0, 0);
    dialog.codes.SetSelIndex(15);
    Press(dialog.GetHandle(), IDC_PATTERNINSERT);
    EXPECT_EQ("%Yrec%H", dialog.pattern.GetText());
    dialog.codes.SetSelIndex(0);
    Press(dialog.GetHandle(), IDC_PATTERNINSERT);
    EXPECT_EQ("%Yrec%H", dialog.pattern.GetText());
}

TEST_F(PatternDialogTest, OkWritesTextAndOnlyBitZero) {
    dialog.pattern.SetText("call");
    dialog.always.Uncheck();
    dialog.whenNeeded.Check();
    Press(dialog.GetHandle(), IDC_PATTERNWHENNEEDED);
    EXPECT_EQ("call.mp3", dialog.preview.GetText());
    Press(dialog.GetHandle(), IDOK);
    EXPECT_FALSE(dialog.IsWindow());
    EXPECT_EQ("call", text);
    EXPECT_EQ(3, flags);
}

TEST_F(PatternDialogTest, CancelWritesNothing) {
    dialog.pattern.SetText("other");
    Press(dialog.GetHandle(), IDCANCEL);
    EXPECT_EQ("rec", text);
    EXPECT_EQ(2, flags);
}

TEST(DirPickTest, StandInNameIsCut) {
    EXPECT_EQ("C:\\Rec\\", TDirPick::FolderOf("C:\\Rec\\foo.bar"));
    EXPECT_EQ("C:\\Rec\\", TDirPick::FolderOf("C:\\Rec\\"));
}

// The real classic dialog: a picker whose set-up presses OK at once.
class PressingDirPick : public TDirPick {
public:
    using TDirPick::TDirPick;
    void SetupWindow() override {
        TDirPick::SetupWindow();
        hiddenName = !::IsWindowVisible(GetDlgItem(1152));
        PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED));
    }
    bool hiddenName = false;
};

TEST(DirPickTest, TheRealDialogReturnsItsStartingFolder) {
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    std::string start = folder;
    while (start.size() > 3 && start.back() == '\\') start.pop_back();
    UserInteraction* previous = SetUi(nullptr);  // the platform's dialog
    char result[MAX_PATH] = "untouched";
    FileDialogData data;
    data.initialDir = start;
    data.SetFileName("foo.bar");
    PressingDirPick picker(nullptr, result, data, IDD_DIRPICK, "Choose directory");
    const int answer = picker.Execute();
    SetUi(previous);
    ASSERT_EQ(IDOK, answer);
    EXPECT_TRUE(picker.hiddenName);
    EXPECT_EQ(0, lstrcmpiA((start + "\\").c_str(), result)) << result;
    EXPECT_EQ(0u, data.flags & (OFN_EXPLORER | OFN_FILEMUSTEXIST));
}

class FilePageTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppState.Reset();
        SetNamingClock(&clock);
        AppState.FileSize = 20;
        AppState.FileDuration = 60;
        AppState.SampleRate = 8000;
        AppState.Resolution = true;  // 16000 bytes a second
        AppState.FileAction = 2;
        AppState.AutoName = true;
        CopyTextField(AppState.ImprovedFilePrefix, "rec%H");
        CopyTextField(AppState.DefaultDirectory, "C:\\Rec\\");
        page = &static_cast<TSetFile&>(sheet.AddPage(std::make_unique<TSetFile>(&defaultType)));
        ASSERT_TRUE(sheet.Create());
    }
    void TearDown() override {
        SetNamingClock(nullptr);
        AppState.Reset();
    }
    void ChooseUnit(int index) {
        page->unit.SetSelIndex(index);
        SendMessageA(page->GetHandle(), WM_COMMAND, MAKEWPARAM(IDC_FILEUNIT, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(page->unit.GetHandle()));
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    FixedClock clock;
    FakeUserInteraction ui;
    ScopedUi scoped{ui};
    int defaultType = 1;
    TPropertySheet sheet{nullptr, "Options", true, false};
    TSetFile* page = nullptr;
};

TEST_F(FilePageTest, ShowsTheSettings) {
    EXPECT_TRUE(page->stopAction.IsChecked());
    EXPECT_TRUE(page->autoName.IsChecked());
    EXPECT_TRUE(page->patternNaming.IsChecked());
    EXPECT_EQ("20", page->limit.GetText());
    EXPECT_EQ("MB", page->unit.GetText());
    EXPECT_EQ("21.8 minutes", page->estimate.GetText());
    EXPECT_EQ("rec14_1.mp3", page->preview.GetText());
    EXPECT_EQ("C:\\Rec\\", page->directory.GetText());
}

TEST_F(FilePageTest, TheUnitChangesTheEstimate) {
    page->limit.SetText("60");
    ChooseUnit(1);
    EXPECT_EQ("54.9 MB", page->estimate.GetText());
    EXPECT_EQ("Total recording size at default sample rate:", page->estimateCaption.GetText());
}

TEST_F(FilePageTest, ApplyStoresWithinTheLimits) {
    page->limit.SetText("");  // as "0": the least limit
    page->loopAction.Check();
    page->stopAction.Uncheck();
    Press(page->GetHandle(), IDC_FILEPROMPT);
    EXPECT_FALSE(page->patternNaming.IsChecked());
    Press(sheet.GetHandle(), IDOK);
    ASSERT_TRUE(sheet.IsFinished());
    EXPECT_EQ(1, AppState.FileSize);
    EXPECT_EQ(60, AppState.FileDuration);
    EXPECT_EQ(0, AppState.FileSizeSel);
    EXPECT_EQ(1, AppState.FileAction);
    EXPECT_TRUE(AppState.AutoPrompt);
}

// A file type without a stored format of its own (Speex) is estimated at
// the rate of the recorder window's format, when it has one.
TEST(FilePageEstimate, ByteRatePerFileType) {
    AppState.Reset();
    AppState.VorByteRate = 16000;
    AppState.Mp3FormatSize = AppState.WaveFormatSize = 2000;
    AppState.Mp3Format->nAvgBytesPerSec = 16000;  // 128 kbit/s
    AppState.WaveFormat->nAvgBytesPerSec = 4055;  // IMA ADPCM, 8000 Hz stereo
    AppState.SampleRate = 8000;
    AppState.Resolution = true;  // PCM: 16000 bytes a second
    struct Case {
        int type;
        uint32_t recorderRate;
        long long expected;
    };
    const Case cases[] = {{3, 2000, 16000}, {1, 2000, 16000}, {0, 2000, 4055},
                          {4, 2000, 2000},  {4, 0, 16000}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.type) + " " + std::to_string(c.recorderRate));
        EXPECT_EQ(c.expected, TSetFile::ByteRateOf(c.type, c.recorderRate));
    }
    AppState.Mp3Format->nAvgBytesPerSec = 0;  // no rate stored: the recorder's
    EXPECT_EQ(2000, TSetFile::ByteRateOf(1, 2000));
    AppState.Reset();
}

TEST_F(FilePageTest, MinutesBeyond2048AreKept) {
    page->limit.SetText("5000");
    ChooseUnit(1);
    Press(sheet.GetHandle(), IDOK);
    EXPECT_EQ(5000, AppState.FileDuration);
    EXPECT_EQ(20, AppState.FileSize);
    EXPECT_EQ(1, AppState.FileSizeSel);
}

TEST_F(FilePageTest, BrowseAndPatternEditReachTheSettingsOnApply) {
    ui.fileDialogAnswers.push_back(std::string("D:\\Takes\\foo.bar"));
    Press(page->GetHandle(), IDC_FILEBROWSE);
    ASSERT_EQ(1u, ui.fileDialogs.size());
    EXPECT_EQ("C:\\Rec\\", ui.fileDialogs[0].initialDir);
    EXPECT_EQ("D:\\Takes\\", page->directory.GetText());
    ui.modalScripts.push_back([](ModalRun& modal) {
        auto& dialog = static_cast<TPatternDialog&>(modal);
        if (!dialog.Create()) return -1;
        dialog.pattern.SetText("take");
        dialog.always.Uncheck();
        dialog.whenNeeded.Check();
        Press(dialog.GetHandle(), IDOK);
        return IDOK;
    });
    Press(page->GetHandle(), IDC_FILEEDITPATTERN);
    EXPECT_EQ("take.mp3", page->preview.GetText());
    Press(sheet.GetHandle(), IDOK);
    EXPECT_STREQ("take", AppState.ImprovedFilePrefix);
    EXPECT_STREQ("D:\\Takes\\", AppState.DefaultDirectory);
    EXPECT_EQ(1, AppState.LHMode & 1);
}

}  // namespace
