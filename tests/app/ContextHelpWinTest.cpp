#include <gtest/gtest.h>

#include "core/AppState.h"
#include "core/ContextHelpWin.h"
#include "tests/app/FakeHelpViewer.h"

namespace {

const HelpPair kTable[] = {{101, 0}, {102, 5002}, {0, 0}};

TEST(ContextHelpWinTest, LooksUpControlsInTheTable) {
    struct Case {
        DWORD control;
        DWORD help;
    };
    const Case cases[] = {{101, 101}, {102, 5002}, {103, 0}, {0, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.control);
        EXPECT_EQ(c.help, LookUpHelpId(kTable, c.control));
    }
    EXPECT_EQ(0u, LookUpHelpId(nullptr, 101));
}

// A hidden top-level window with two buttons, placed left of and above the
// primary monitor, so its controls have negative screen coordinates.
class ContextHelpWinWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        AppState.Reset();
        CopyTextField(AppState.HelpFile, "C:\\larkspurpro.chm");
        CopyTextField(AppState.HelpPopupSource, "C:\\larkspurpro.chm::/CSLarkspurPRO.txt");
        window_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, -600, -400, 300, 200, nullptr, nullptr, nullptr, nullptr);
        first_ = Button(101, 10);
        second_ = Button(103, 60);
    }
    void TearDown() override {
        DestroyWindow(window_);
        AppState.Reset();
    }
    HWND Button(int id, int y) {
        return CreateWindowExA(0, "BUTTON", "b", WS_CHILD | WS_VISIBLE, 10, y, 80, 30, window_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
    }
    // A right click at a point of the window's client area, as the
    // platform packs it.
    LPARAM ScreenPoint(int clientX, int clientY) {
        POINT p{clientX, clientY};
        ClientToScreen(window_, &p);
        return MAKELPARAM(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
    }
    DWORD ContextMenuAt(ContextHelpWin& help, HWND clicked, LPARAM where) {
        Message m;
        m.hwnd = window_;
        m.msg = WM_CONTEXTMENU;
        m.wParam = reinterpret_cast<WPARAM>(clicked);
        m.lParam = where;
        const size_t before = viewer_.calls.size();
        EXPECT_TRUE(help.DispatchContextHelp(m));
        return viewer_.calls.size() > before ? viewer_.calls.back().popupId : 0;
    }

    FakeHelpViewer viewer_;
    HWND window_ = nullptr;
    HWND first_ = nullptr;
    HWND second_ = nullptr;
};

TEST_F(ContextHelpWinWindowTest, RightClickFindsTheControlOnMonitorsLeftOfThePrimary) {
    ContextHelpWin help(kTable);
    EXPECT_EQ(101u, ContextMenuAt(help, window_, ScreenPoint(20, 20)));
    EXPECT_EQ(0u, ContextMenuAt(help, window_, ScreenPoint(200, 150)));  // no control there
    EXPECT_EQ(0u, ContextMenuAt(help, window_, ScreenPoint(20, 70)));    // not in the table
    ASSERT_FALSE(viewer_.calls.empty());
    EXPECT_EQ("C:\\larkspurpro.chm::/CSLarkspurPRO.txt", viewer_.calls[0].file);
    EXPECT_EQ(kHelpDisplayTextPopup, viewer_.calls[0].command);
}

TEST_F(ContextHelpWinWindowTest, TheMenuKeyAsksForTheFocusedControl) {
    ContextHelpWin help(kTable);
    SetFocus(first_);
    if (GetFocus() != first_) GTEST_SKIP() << "no focus in a hidden window here";
    EXPECT_EQ(101u, ContextMenuAt(help, first_, MAKELPARAM(0xFFFF, 0xFFFF)));
}

TEST_F(ContextHelpWinWindowTest, F1UsesTheRequestsControlOrItsWindow) {
    ContextHelpWin withTable(kTable);
    ContextHelpWin withoutTable;
    struct Case {
        const char* name;
        ContextHelpWin* help;
        int contextType;
        int controlId;
        HWND item;
        DWORD expected;
    };
    const Case cases[] = {
        {"table, id given", &withTable, HELPINFO_WINDOW, 102, nullptr, 5002},
        {"table, id from the window", &withTable, HELPINFO_WINDOW, 0, first_, 101},
        {"table, unknown control", &withTable, HELPINFO_WINDOW, 103, second_, 0},
        {"no table", &withoutTable, HELPINFO_WINDOW, 777, nullptr, 777},
        {"a menu item", &withTable, HELPINFO_MENUITEM, 101, nullptr, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        viewer_.calls.clear();
        HELPINFO info{};
        info.cbSize = sizeof info;
        info.iContextType = c.contextType;
        info.iCtrlId = c.controlId;
        info.hItemHandle = c.item;
        Message m;
        m.hwnd = window_;
        m.msg = WM_HELP;
        m.lParam = reinterpret_cast<LPARAM>(&info);
        EXPECT_TRUE(c.help->DispatchContextHelp(m));
        EXPECT_EQ(c.expected ? 1u : 0u, viewer_.calls.size());
        if (c.expected && !viewer_.calls.empty()) {
            EXPECT_EQ(c.expected, viewer_.calls[0].popupId);
        }
    }
}

TEST_F(ContextHelpWinWindowTest, TheHelpButtonOpensThePagesTopic) {
    ContextHelpWin withContext(kTable, 4711);
    ContextHelpWin withoutContext(kTable);
    withContext.CmHelp(window_);
    withoutContext.CmHelp(window_);
    ASSERT_EQ(2u, viewer_.calls.size());
    EXPECT_EQ(kHelpContext, viewer_.calls[0].command);
    EXPECT_EQ(4711u, viewer_.calls[0].data);
    EXPECT_EQ("C:\\larkspurpro.chm", viewer_.calls[0].file);
    EXPECT_EQ(kHelpDisplayTopic, viewer_.calls[1].command);
    EXPECT_EQ("Controls.html", viewer_.calls[1].topic);
}

TEST_F(ContextHelpWinWindowTest, WithoutAHelpFileNothingReachesTheViewer) {
    AppState.HelpFile[0] = '\0';
    AppState.HelpPopupSource[0] = '\0';
    ContextHelpWin help(kTable, 4711);
    help.CmHelp(window_);
    ContextHelpWin::ShowHelpPopup(101, window_);
    EXPECT_TRUE(viewer_.calls.empty());
}

}  // namespace
