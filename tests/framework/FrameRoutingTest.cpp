// The application, its frame and a dialog client working together, with
// hidden windows: command routing, enablers on a pop-up menu, the close
// chain and the message loop.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/Dialog.h"
#include "framework/DialogTemplate.h"
#include "framework/FrameWindow.h"

namespace {

constexpr UINT CM_BOTH = 500;        // handled by the client and the application
constexpr UINT CM_APPONLY = 501;
constexpr UINT CM_DISABLED = 502;    // its enabler disables it
constexpr UINT CM_CHECKED = 503;
constexpr UINT CM_NOHANDLER = 504;

std::vector<std::string> calls;

DialogTemplate ClientTemplate() {
    DialogTemplate t("client", WS_POPUP | WS_CAPTION, 0, 0, 120, 60);
    t.AddControl("Button", "OK", IDOK, BS_PUSHBUTTON | WS_TABSTOP, 10, 10, 40, 14);
    t.AddControl("Button", "off", CM_DISABLED, BS_PUSHBUTTON, 55, 10, 40, 14);
    t.AddControl("Button", "toggle", CM_CHECKED, BS_AUTOCHECKBOX, 10, 30, 80, 14);
    return t;
}

class ClientDialog : public TDialog {
public:
    explicit ClientDialog(const DialogTemplate& t) : TDialog(nullptr, t) {}
    ~ClientDialog() override { calls.push_back("client destroyed"); }
    bool allowClose = true;
    bool checked = false;
    bool CanClose() override {
        calls.push_back("client CanClose");
        return allowClose && TDialog::CanClose();
    }
    void CmBoth() { calls.push_back("client CmBoth"); }
    void CmDisabled() { calls.push_back("client CmDisabled"); }
    void CeDisabled(TCommandEnabler& ce) { ce.Enable(false); }
    void CeChecked(TCommandEnabler& ce) {
        ce.SetCheck(checked ? 1 : 0);
        ce.SetText(checked ? "&Stop recording" : "&Start recording");
    }
    bool Dispatch(Message& m) override;
    static const MsgEntry<ClientDialog> kMessages[];
};
const MsgEntry<ClientDialog> ClientDialog::kMessages[] = {
    OnCommand(CM_BOTH, &ClientDialog::CmBoth),
    OnCommand(CM_DISABLED, &ClientDialog::CmDisabled),
    OnEnable(CM_DISABLED, &ClientDialog::CeDisabled),
    OnEnable(CM_CHECKED, &ClientDialog::CeChecked),
};
bool ClientDialog::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m) || TDialog::Dispatch(m); }

class TestApp : public TApplication {
public:
    TestApp() : TApplication("Larkspur test") {}
    std::unique_ptr<DialogTemplate> clientTemplate = std::make_unique<DialogTemplate>(ClientTemplate());
    ClientDialog* client = nullptr;
    bool closeAtStart = false;

    void InitMainWindow() override {
        auto dialog = std::make_unique<ClientDialog>(*clientTemplate);
        client = dialog.get();
        auto frame = std::make_unique<TFrameWindow>(nullptr, "frame", std::move(dialog), true);
        frame->Attr.style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;  // hidden
        SetMainWindow(std::move(frame));
    }
    bool CanClose() override {
        calls.push_back("app CanClose");
        return TApplication::CanClose();
    }
    bool IdleAction(long idleCount) override {
        if (closeAtStart && idleCount == 0) GetMainWindow()->PostMessage(WM_CLOSE);
        return TApplication::IdleAction(idleCount);
    }
    void CmBoth() { calls.push_back("app CmBoth"); }
    void CmAppOnly() { calls.push_back("app CmAppOnly"); }
    bool Dispatch(Message& m) override;
    static const MsgEntry<TestApp> kMessages[];
};
const MsgEntry<TestApp> TestApp::kMessages[] = {
    OnCommand(CM_BOTH, &TestApp::CmBoth),
    OnCommand(CM_APPONLY, &TestApp::CmAppOnly),
};
bool TestApp::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m); }

class FrameRouting : public ::testing::Test {
protected:
    void SetUp() override {
        calls.clear();
        app.InitMainWindow();
        ASSERT_TRUE(app.GetMainWindow()->Create());
        frame = app.GetMainWindow()->GetHandle();
    }
    TestApp app;
    HWND frame = nullptr;
};

TEST_F(FrameRouting, PostedMenuCommandsReachClientBeforeApplication) {
    struct Case {
        UINT id;
        std::vector<std::string> expected;
    } cases[] = {
        {CM_BOTH, {"client CmBoth"}},
        {CM_APPONLY, {"app CmAppOnly"}},
        {CM_DISABLED, {}},  // its enabler says no: never dispatched
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        calls.clear();
        PostMessageA(frame, WM_COMMAND, MAKEWPARAM(c.id, 0), 0);
        app.PumpWaitingMessages();
        EXPECT_EQ(c.expected, calls);
    }
}

TEST_F(FrameRouting, EnablersSetMenuItemsOnInitMenuPopup) {
    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, CM_CHECKED, "placeholder");
    AppendMenuA(popup, MF_STRING, CM_DISABLED, "disabled");
    AppendMenuA(popup, MF_STRING, CM_APPONLY, "app only");
    AppendMenuA(popup, MF_STRING, CM_NOHANDLER, "nobody");
    auto text = [&](UINT id) {
        char buffer[64] = {};
        GetMenuStringA(popup, id, buffer, sizeof buffer, MF_BYCOMMAND);
        return std::string(buffer);
    };
    for (bool checked : {true, false, true}) {
        SCOPED_TRACE(checked);
        app.client->checked = checked;
        SendMessageA(frame, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        EXPECT_EQ(checked, (GetMenuState(popup, CM_CHECKED, MF_BYCOMMAND) & MF_CHECKED) != 0);
        EXPECT_EQ(checked ? "&Stop recording" : "&Start recording", text(CM_CHECKED));
    }
    EXPECT_TRUE(GetMenuState(popup, CM_DISABLED, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_FALSE(GetMenuState(popup, CM_APPONLY, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(popup, CM_NOHANDLER, MF_BYCOMMAND) & MF_GRAYED);
    DestroyMenu(popup);
}

TEST_F(FrameRouting, RefusedCloseKeepsTheWindowAndClientAsksTheFrame) {
    app.client->allowClose = false;
    SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_EQ((std::vector<std::string>{"app CanClose", "client CanClose"}), calls);

    // A close request from the client goes through the same check and
    // does not destroy the client on its own.
    calls.clear();
    SendMessageA(app.client->GetHandle(), WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    EXPECT_TRUE(IsWindow(app.client->GetHandle()));
    EXPECT_EQ((std::vector<std::string>{"app CanClose", "client CanClose"}), calls);

    app.client->allowClose = true;
    HWND tooltip = app.GetMainWindow()->GetTooltip();
    ASSERT_TRUE(IsWindow(tooltip));
    SendMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(frame));
    EXPECT_FALSE(IsWindow(tooltip));
    EXPECT_EQ(nullptr, app.GetMainWindow()->GetTooltip());  // no stale handle left to destroy later
}

TEST_F(FrameRouting, AcceleratorKeysInTheClientBecomeRoutedCommands) {
    ACCEL keys[] = {{FVIRTKEY, VK_F5, CM_BOTH}, {FVIRTKEY, VK_F6, CM_DISABLED}};
    HACCEL table = CreateAcceleratorTableA(keys, 2);
    app.GetMainWindow()->SetAccelerators(table);
    HWND button = GetDlgItem(app.client->GetHandle(), IDOK);
    struct Case {
        WPARAM key;
        std::vector<std::string> expected;
    } cases[] = {
        {VK_F5, {"client CmBoth"}},
        {VK_F6, {}},  // disabled by its enabler: the key does nothing
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        calls.clear();
        PostMessageA(button, WM_KEYDOWN, c.key, 1);
        app.PumpWaitingMessages();
        EXPECT_EQ(c.expected, calls);
    }
    app.GetMainWindow()->SetAccelerators(nullptr);
    DestroyAcceleratorTable(table);
}

TEST_F(FrameRouting, FrameShrinksToItsClient) {
    RECT client;
    GetClientRect(frame, &client);
    RECT dialog;
    GetWindowRect(app.client->GetHandle(), &dialog);
    EXPECT_EQ(dialog.right - dialog.left, client.right);
    EXPECT_EQ(dialog.bottom - dialog.top, client.bottom);
    EXPECT_TRUE(GetWindowLongPtrA(app.client->GetHandle(), GWL_STYLE) & WS_CHILD);
}

TEST(ApplicationRun, CloseEndsTheLoopAndDestroysTheMainWindow) {
    calls.clear();
    TestApp app;
    app.SetShowCommand(SW_HIDE);
    app.closeAtStart = true;
    EXPECT_EQ(0, app.Run());
    EXPECT_EQ(nullptr, app.GetMainWindow());
    EXPECT_EQ((std::vector<std::string>{"app CanClose", "client CanClose", "client destroyed"}), calls);
}

// The buttons of the client follow their enablers on every pass, though
// the list of buttons is kept between passes; a button destroyed meanwhile
// is passed over.
TEST_F(FrameRouting, ClientButtonsFollowTheirEnablersPassAfterPass) {
    auto* frameWindow = static_cast<TFrameWindow*>(app.GetMainWindow());
    const HWND client = app.client->GetHandle();
    const HWND disabled = GetDlgItem(client, CM_DISABLED), toggle = GetDlgItem(client, CM_CHECKED);
    for (bool checked : {true, false, true}) {
        SCOPED_TRACE(checked);
        app.client->checked = checked;
        frameWindow->UpdateButtons();
        EXPECT_FALSE(IsWindowEnabled(disabled));
        EXPECT_EQ(checked ? BST_CHECKED : BST_UNCHECKED, SendMessageA(toggle, BM_GETCHECK, 0, 0));
        EXPECT_EQ(checked ? "&Stop recording" : "&Start recording", TWindow::WindowText(toggle));
    }
    DestroyWindow(toggle);
    frameWindow->UpdateButtons();
    EXPECT_FALSE(IsWindowEnabled(disabled));
}

// A window destroyed behind its object's back (not through the object)
// takes its entry along: a later window given the same handle is not taken
// for the dead one's object.
TEST(WindowObjects, DestroyedWindowLeavesNoObjectBehind) {
    TWindow window(nullptr, "bound");
    window.Attr.style = WS_OVERLAPPED;
    ASSERT_TRUE(window.Create());
    const HWND hwnd = window.GetHandle();
    EXPECT_EQ(&window, TWindow::FromHandle(hwnd));
    DestroyWindow(hwnd);
    EXPECT_EQ(nullptr, TWindow::FromHandle(hwnd));
}

}  // namespace
