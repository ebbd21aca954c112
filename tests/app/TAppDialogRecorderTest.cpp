// The application object over the program's own recorder window: the end of
// the Windows session finishes the recording on disk without asking.
#include <gtest/gtest.h>

#include <vector>

#include "app/App.h"
#include "app/AppState.h"
#include "app/PrivateMessages.h"
#include "app/SDIDecFrame.h"
#include "app/TAppDialogRecorder.h"
#include "audiofile/WaveFile.h"
#include "recorder/TAppDialog.h"
#include "tests/app/FakeTrayShell.h"
#include "tests/fakes/FakeAcm.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/fakes/ScratchSettings.h"
#include "tests/recorder/FilesTestFolder.h"

namespace {

TEST(TAppDialogRecorderTest, EndOfSessionUpdatesAndClosesTheRecordingWithoutAsking) {
    AppState.Reset();
    FakeAcm acm;
    SetAcm(&acm);
    FakeUserInteraction ui;
    ScopedUi scopedUi(ui);
    FakeTrayShell tray;
    ScratchIni ini;
    FilesTestFolder folder;
    CopyTextField(AppState.IniPath, ini.path().c_str());  // /I: nothing saved anywhere
    {
        App app(MakeTAppDialogRecorder);
        CopyTextField(AppState.DefaultDirectory, folder.Path().c_str());
        AppState.SampleRate = 22050;
        app.InitMainWindow();
        ASSERT_TRUE(app.GetMainWindow()->Create());
        auto* dialog = static_cast<TAppDialog*>(app.GetMainWindow()->GetClient());
        dialog->OpenFile(nullptr);
        ASSERT_TRUE(dialog->CurrentFile);
        const std::vector<char> audio(8000, 3);
        ASSERT_EQ(8000, dialog->CurrentFile->Write(audio.data(), 8000));
        const std::string path = dialog->CurrentFile->GetPath();

        const char note[] = "last words";
        COPYDATASTRUCT data{COPYDATA_ADDCOMMENT, sizeof note, const_cast<char*>(note)};
        const HWND frame = app.GetMainWindow()->GetHandle();
        SendMessageA(frame, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        SendMessageA(frame, WM_QUERYENDSESSION, 0, 0);
        SendMessageA(frame, WM_ENDSESSION, TRUE, 0);

        EXPECT_FALSE(dialog->CurrentFile);
        EXPECT_TRUE(ui.messageBoxes.empty());
        WaveFile check(path.c_str(), nullptr, MMIO_READ);
        ASSERT_TRUE(check.Open()) << path;
        EXPECT_EQ(8000u, check.GetDataLength());
        ASSERT_EQ(1, check.CommentCount());
        EXPECT_EQ("last words", check.GetCommentText(0));
    }
    SetAcm(nullptr);
    AppState.Reset();
}

}  // namespace
