#include "recorder/controls/CoolButton.h"

#include <gtest/gtest.h>

#include <memory>

#include "core/PrivateMessages.h"
#include "framework/DeviceContext.h"
#include "resources/ResourceIds.h"
#include "tests/recorder/ButtonHost.h"

namespace {

// The transport group as the recorder window builds it.
class CoolButtonGroupTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int id = CM_RECORD; id <= CM_STOP; ++id)
            buttons[id - CM_RECORD] = std::make_unique<CoolButton>(&host.Dialog(), id, CM_RECORD, CM_STOP);
        ASSERT_TRUE(host.Create());
    }
    CoolButton& Button(int id) { return *buttons[id - CM_RECORD]; }

    ButtonHost host;
    std::unique_ptr<CoolButton> buttons[5];
};

TEST_F(CoolButtonGroupTest, CheckingOneButtonSetsTheOthersOfItsGroupToNormal) {
    Button(CM_RECORD).SetState(CoolButton::kPressed, false);
    Button(CM_STOP).SetState(CoolButton::kChecked, false);
    Button(CM_PLAY).SetState(CoolButton::kChecked, true);
    EXPECT_EQ(CoolButton::kChecked, Button(CM_PLAY).GetState());
    EXPECT_EQ(CoolButton::kNormal, Button(CM_RECORD).GetState());
    EXPECT_EQ(CoolButton::kNormal, Button(CM_STOP).GetState());
}

TEST_F(CoolButtonGroupTest, APressedButtonStaysPressedWhenItsGroupIsBroadcast) {
    Button(CM_PLAY).SetState(CoolButton::kChecked, false);
    Button(CM_STOP).SetState(CoolButton::kPressed, true);
    EXPECT_EQ(CoolButton::kPressed, Button(CM_STOP).GetState());
    EXPECT_EQ(CoolButton::kNormal, Button(CM_PLAY).GetState());
}

TEST_F(CoolButtonGroupTest, NotificationsDoNotBroadcastWithoutCheckOrPress) {
    Button(CM_RECORD).SetState(CoolButton::kChecked, false);
    Button(CM_PLAY).SetState(CoolButton::kNormal, true);
    Button(CM_STOP).SetState(CoolButton::kPressed, false);  // no notify
    EXPECT_EQ(CoolButton::kChecked, Button(CM_RECORD).GetState());
}

TEST_F(CoolButtonGroupTest, GroupMessagesForOtherRangesAreIgnored) {
    Button(CM_PLAY).SetState(CoolButton::kChecked, false);
    SendMessageA(host.Item(CM_PLAY), WM_COOLBUTTONGROUP, MAKEWPARAM(300, 310), 305);
    EXPECT_EQ(CoolButton::kChecked, Button(CM_PLAY).GetState());
    SendMessageA(host.Item(CM_PLAY), WM_COOLBUTTONGROUP, MAKEWPARAM(CM_RECORD, CM_STOP), CM_PLAY);
    EXPECT_EQ(CoolButton::kChecked, Button(CM_PLAY).GetState());
}

TEST(CoolButtonCaption, TheFirstAmpersandMarksTheMnemonic) {
    struct Case {
        const char* caption;
        const char* shown;
        int index;
    } cases[] = {
        {"&Rec", "Rec", 0}, {"Re&w", "Rew", 2}, {"Forw&ard", "Forward", 4}, {"Stop", "Stop", -1},
        {"A&&B", "A&B", 1}, {"", "", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.caption);
        int index = 99;
        EXPECT_EQ(c.shown, CoolButton::StripMnemonic(c.caption, index));
        EXPECT_EQ(c.index, index);
    }
}

TEST(CoolButtonImage, TheImageFollowsEnablingAndState) {
    struct Case {
        bool enabled;
        int state;
        bool hasDisabled;
        int image;
    } cases[] = {
        {true, CoolButton::kUnset, true, 0},   {true, CoolButton::kNormal, true, 0},
        {true, CoolButton::kChecked, true, 1}, {true, CoolButton::kPressed, true, 1},
        {true, CoolButton::kDisabledLook, true, 0}, {false, CoolButton::kNormal, true, 2},
        {false, CoolButton::kChecked, false, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.enabled << " " << c.state << " " << c.hasDisabled);
        EXPECT_EQ(c.image, CoolButton::ImageFor(c.enabled, c.state, c.hasDisabled));
    }
}

// The key colour (192,192,192) of a button image must never reach the face.
TEST(CoolButtonImage, TransparentDrawingLeavesKeyColouredPixelsOut) {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, 32, 32);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, target);
    RECT all{0, 0, 32, 32};
    HBRUSH face = CreateSolidBrush(RGB(10, 200, 30));
    FillRect(dc, &all, face);
    DeleteObject(face);

    HBITMAP stop = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_STOP));
    ASSERT_NE(nullptr, stop);
    TDC(dc).DrawTransparentBitmap(stop, 8, 8, CoolButton::kTransparent);
    EXPECT_EQ(RGB(10, 200, 30), GetPixel(dc, 8, 8));      // the glyph's corner is key colour
    EXPECT_NE(RGB(10, 200, 30), GetPixel(dc, 8 + 8, 8 + 8));  // its middle is the glyph
    EXPECT_NE(RGB(192, 192, 192), GetPixel(dc, 8 + 8, 8 + 8));
    EXPECT_EQ(RGB(10, 200, 30), GetPixel(dc, 30, 30));    // outside the image untouched

    DeleteObject(stop);
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
}

}  // namespace
