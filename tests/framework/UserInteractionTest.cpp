#include <gtest/gtest.h>

#include "framework/CommonDialogs.h"
#include "framework/ModalSteps.h"
#include "framework/UserInteraction.h"

namespace {

constexpr char kCaption[] = "Larkspur message box check";

// Answers the box from inside its own modal loop, as a user would.
void CALLBACK PressOk(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowA("#32770", kCaption);
    if (box) PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST(UserInteractionTest, TheRealMessageBoxShowsAndReportsTheButtonPressed) {
    UserInteraction* installed = SetUi(nullptr);  // the real service for this test
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, &PressOk);
    const int answer = timer ? Ui().MessageBox(nullptr, "check", kCaption, MB_OK) : 0;
    KillTimer(nullptr, timer);
    SetUi(installed);
    EXPECT_EQ(IDOK, answer);
}

void CALLBACK EndTheSession(HWND, UINT, UINT_PTR, DWORD) { CancelModalSteps(); }

// Ending every modal step (the end of the Windows session) ends an open file
// dialog as its own Cancel does: its caller is told nothing was chosen.
TEST(UserInteractionTest, CancellingTheModalStepsCancelsARealFileDialog) {
    UserInteraction* installed = SetUi(nullptr);
    HWND owner = CreateWindowExA(0, "STATIC", "file dialog owner", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, owner);
    for (bool save : {false, true}) {
        SCOPED_TRACE(save ? "save" : "open");
        FileDialogData data;
        data.filter = "Wave files (*.wav)|*.wav|";
        const UINT_PTR timer = SetTimer(nullptr, 0, 200, &EndTheSession);
        const bool chosen = save ? Ui().SaveFileDialog(owner, data) : Ui().OpenFileDialog(owner, data);
        KillTimer(nullptr, timer);
        EXPECT_FALSE(chosen);
    }
    DestroyWindow(owner);
    SetUi(installed);
}

}  // namespace
