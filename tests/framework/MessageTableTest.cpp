// Lookup in message tables: own table, then mix-ins, then bases; declining
// handlers; the kinds of entries and what each one matches.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <stdexcept>
#include <string>

#include "framework/Window.h"

namespace {

constexpr UINT kAll = WM_USER + 1;        // every class handles it
constexpr UINT kMixinAndBase = WM_USER + 2;
constexpr UINT kBaseOnly = WM_USER + 3;
constexpr UINT kDeclined = WM_USER + 4;   // own handler declines
constexpr UINT kNobody = WM_USER + 5;

std::string lastHandler;

class BaseWindow : public TWindow {
public:
    LRESULT EvAll(WPARAM, LPARAM) { lastHandler = "base"; return 1; }
    LRESULT EvMixinAndBase(WPARAM, LPARAM) { lastHandler = "base"; return 1; }
    LRESULT EvBaseOnly(WPARAM, LPARAM) { lastHandler = "base"; return 1; }
    LRESULT EvDeclined(WPARAM, LPARAM) { lastHandler = "base"; return 1; }
    bool Dispatch(Message& m) override;
    static const MsgEntry<BaseWindow> kMessages[];
};
const MsgEntry<BaseWindow> BaseWindow::kMessages[] = {
    OnMessage(kAll, &BaseWindow::EvAll),
    OnMessage(kMixinAndBase, &BaseWindow::EvMixinAndBase),
    OnMessage(kBaseOnly, &BaseWindow::EvBaseOnly),
    OnMessage(kDeclined, &BaseWindow::EvDeclined),
};
bool BaseWindow::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m) || TWindow::Dispatch(m); }

// A mix-in: no window of its own, a table of its own.
class Mixin {
public:
    LRESULT EvAll(WPARAM, LPARAM) { lastHandler = "mixin"; return 2; }
    LRESULT EvMixinAndBase(WPARAM, LPARAM) { lastHandler = "mixin"; return 2; }
    bool DispatchOwn(Message& m);
    static const MsgEntry<Mixin> kMessages[];
};
const MsgEntry<Mixin> Mixin::kMessages[] = {
    OnMessage(kAll, &Mixin::EvAll),
    OnMessage(kMixinAndBase, &Mixin::EvMixinAndBase),
};
bool Mixin::DispatchOwn(Message& m) { return DispatchTable(*this, kMessages, m); }

class OwnWindow : public BaseWindow, public Mixin {
public:
    LRESULT EvAll(WPARAM, LPARAM) { lastHandler = "own"; return 3; }
    bool EvDeclined(Message&) { lastHandler = "own declined"; return false; }
    void CmSave() { lastHandler = "CmSave"; }
    void CmRange(UINT id) { lastHandler = "CmRange " + std::to_string(id); }
    void CeSave(TCommandEnabler& ce) { ce.Enable(false); }
    void BnDouble() { lastHandler = "BnDouble"; }
    void EvSliderAll(UINT code) { lastHandler = "slider " + std::to_string(code); }
    LRESULT LvnClick(NMHDR&) { lastHandler = "LvnClick"; return 7; }
    LRESULT EvNamed(WPARAM wp, LPARAM) { lastHandler = "named " + std::to_string(wp); return 0; }
    bool Dispatch(Message& m) override;
    static const MsgEntry<OwnWindow> kMessages[];
};
const MsgEntry<OwnWindow> OwnWindow::kMessages[] = {
    OnMessage(kAll, &OwnWindow::EvAll),
    OnMessage(kDeclined, &OwnWindow::EvDeclined),
    OnCommand(100, &OwnWindow::CmSave),
    OnEnable(100, &OwnWindow::CeSave),
    OnCommandRange(200, 205, &OwnWindow::CmRange),
    OnChild(300, BN_DOUBLECLICKED, &OwnWindow::BnDouble),
    OnChildAll(310, &OwnWindow::EvSliderAll),
    OnNotify(320, LVN_COLUMNCLICK, &OwnWindow::LvnClick),
    OnRegistered("LarkspurTestMessage", &OwnWindow::EvNamed),
};
bool OwnWindow::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || Mixin::DispatchOwn(m) || BaseWindow::Dispatch(m);
}

Message Make(UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    Message m;
    m.msg = msg;
    m.wParam = wp;
    m.lParam = lp;
    return m;
}

TEST(MessageTable, SearchesOwnThenMixinThenBase) {
    struct Case {
        UINT msg;
        const char* handler;
        LRESULT result;
    } cases[] = {
        {kAll, "own", 3},
        {kMixinAndBase, "mixin", 2},
        {kBaseOnly, "base", 1},
        {kDeclined, "base", 1},  // own declined, search went on
    };
    OwnWindow window;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.handler);
        lastHandler.clear();
        Message m = Make(c.msg);
        ASSERT_TRUE(window.Dispatch(m));
        EXPECT_EQ(c.handler, lastHandler);
        EXPECT_EQ(c.result, m.result);
    }
    Message unknown = Make(kNobody);
    EXPECT_FALSE(window.Dispatch(unknown));
}

TEST(MessageTable, EntriesMatchTheirKindOfMessage) {
    // Windows that send notifications: their control ids are what matter.
    HWND slider = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, nullptr, nullptr);
    SetWindowLongPtrA(slider, GWLP_ID, 310);
    NMHDR click{nullptr, 320, LVN_COLUMNCLICK};
    NMHDR otherCode{nullptr, 320, LVN_ITEMCHANGED};
    const UINT named = RegisterWindowMessageA("LarkspurTestMessage");
    auto ctl = reinterpret_cast<LPARAM>(slider);
    struct Case {
        const char* what;
        Message m;
        const char* handler;  // null: no entry takes it
    } cases[] = {
        {"menu command", Make(WM_COMMAND, MAKEWPARAM(100, 0)), "CmSave"},
        {"accelerator", Make(WM_COMMAND, MAKEWPARAM(100, 1)), "CmSave"},
        {"button click", Make(WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), ctl), "CmSave"},
        {"other notification is no command", Make(WM_COMMAND, MAKEWPARAM(100, BN_SETFOCUS), ctl), nullptr},
        {"range start", Make(WM_COMMAND, MAKEWPARAM(200, 0)), "CmRange 200"},
        {"range end", Make(WM_COMMAND, MAKEWPARAM(205, 0)), "CmRange 205"},
        {"past range", Make(WM_COMMAND, MAKEWPARAM(206, 0)), nullptr},
        {"child code", Make(WM_COMMAND, MAKEWPARAM(300, BN_DOUBLECLICKED), ctl), "BnDouble"},
        {"child other code", Make(WM_COMMAND, MAKEWPARAM(300, BN_CLICKED), ctl), nullptr},
        {"scroll by sender", Make(WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, 5), ctl), "slider 5"},
        {"notify", Make(WM_NOTIFY, 320, reinterpret_cast<LPARAM>(&click)), "LvnClick"},
        {"notify other code", Make(WM_NOTIFY, 320, reinterpret_cast<LPARAM>(&otherCode)), nullptr},
        {"registered", Make(named, 9), "named 9"},
    };
    OwnWindow window;
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        lastHandler.clear();
        const bool handled = window.Dispatch(c.m);
        EXPECT_EQ(c.handler != nullptr, handled);
        if (c.handler) {
            EXPECT_EQ(c.handler, lastHandler);
        }
    }
    DestroyWindow(slider);
}

TEST(MessageTable, EnablerQueryReachesOnlyEnablers) {
    OwnWindow window;
    TCommandEnabler enabler(100);
    Message query = Make(WM_NULL);
    query.enabler = &enabler;
    lastHandler.clear();
    ASSERT_TRUE(window.Dispatch(query));
    EXPECT_TRUE(enabler.Handled());
    ASSERT_TRUE(enabler.Enabled().has_value());
    EXPECT_FALSE(*enabler.Enabled());
    EXPECT_TRUE(lastHandler.empty());  // the command itself did not run

    Message probe = Make(WM_COMMAND, MAKEWPARAM(100, 0));
    probe.probe = true;
    EXPECT_TRUE(window.Dispatch(probe));
    EXPECT_TRUE(lastHandler.empty());
}

// A window whose set-up or handler throws, as a library call might.
class ThrowingWindow : public TWindow {
public:
    explicit ThrowingWindow(bool inSetup) : inSetup_(inSetup) { Attr.style = WS_POPUP; }
    void SetupWindow() override {
        if (inSetup_) throw std::runtime_error("set-up failed");
        TWindow::SetupWindow();
    }
    LRESULT EvThrow(WPARAM, LPARAM) { throw std::runtime_error("handler failed"); }
    bool Dispatch(Message& m) override;
    static const MsgEntry<ThrowingWindow> kMessages[];

private:
    bool inSetup_;
};
const MsgEntry<ThrowingWindow> ThrowingWindow::kMessages[] = {
    OnMessage(kAll, &ThrowingWindow::EvThrow),
};
bool ThrowingWindow::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m) || TWindow::Dispatch(m); }

TEST(Dispatch, ExceptionsStopAtTheWindowProcedure) {
    for (bool inSetup : {true, false}) {
        SCOPED_TRACE(inSetup ? "set-up" : "handler");
        ThrowingWindow window(inSetup);
        ASSERT_TRUE(window.Create());
        EXPECT_EQ(0, window.SendMessage(kAll));  // the program goes on; the message counts as handled
        EXPECT_TRUE(window.IsWindow());
    }
}

}  // namespace
