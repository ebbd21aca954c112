#include <gtest/gtest.h>

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

}  // namespace
