// The General and HotKey pages: start-up flags, the start-with-Windows
// entry, top-most at once, shortcuts in a throw-away folder, hot keys that
// hold against a second window, and their context help.
#include "tests/prefs/PageSheetFixture.h"

#include <commctrl.h>
#include <shlobj.h>

#include "app/HotKeys.h"
#include "core/HtmlHelp.h"
#include "prefs/CShortcut.h"
#include "prefs/TSetKey.h"
#include "prefs/TSetStart.h"
#include "resources/ResourceIds.h"
#include "tests/fakes/ScratchSettings.h"

namespace {

constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The start-with-Windows entry under root, or "<missing>".
std::string RunValue(HKEY root) {
    char text[MAX_PATH + 8] = {};
    DWORD size = sizeof text;
    if (RegGetValueA(root, kRunKey, "Larkspur-PRO", RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return "<missing>";
    return text;
}
std::string AnyRunValue() {
    const std::string machine = RunValue(HKEY_LOCAL_MACHINE);
    return machine != "<missing>" ? machine : RunValue(HKEY_CURRENT_USER);
}

class StartPage : public PageSheetTest {
protected:
    void SetUp() override {
        PageSheetTest::SetUp();
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folders_ = std::string(temp) + "larkspur-shortcuts-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(folders_.c_str(), nullptr);
        CShortcut::RedirectFolders(folders_);
    }
    void TearDown() override {
        PageSheetTest::TearDown();
        TSetStart::RemoveRunEntry();
        CShortcut::RedirectFolders(std::string());
        for (const char* sub : {"\\0\\Larkspur-PRO.lnk", "\\999\\Larkspur-PRO.lnk"}) DeleteFileA((folders_ + sub).c_str());
        RemoveDirectoryA((folders_ + "\\0").c_str());
        RemoveDirectoryA((folders_ + "\\999").c_str());
        RemoveDirectoryA(folders_.c_str());
    }
    bool LinkFile(const char* folder) const {
        return GetFileAttributesA((folders_ + "\\" + folder + "\\Larkspur-PRO.lnk").c_str()) != INVALID_FILE_ATTRIBUTES;
    }
    std::string folders_;
};

TEST_F(StartPage, FlagsShowAndStoreInBothStores) {
    const int boxes[] = {IDC_LAUNCHATBOOT, IDC_MINIMIZEATBOOT, IDC_LISTENATSTART, IDC_ALWAYSONTOP, IDC_TRAYICONBOX};
    for (const StoreCase& store : kStores) {
        SCOPED_TRACE(store.name);
        AppState.ListenOnStart = true;
        AppState.TrayIcon = true;
        SaveAndReload<TSetStart>(store);
        auto& page = Open<TSetStart>();
        const bool shown[] = {false, false, true, false, true};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(shown[i], Checked(page, boxes[i])) << boxes[i];
        for (int box : boxes) SetCheck(page, box, box == IDC_MINIMIZEATBOOT || box == IDC_LAUNCHATBOOT);
        Press(IDOK);
        EXPECT_TRUE(Finished());
        SaveAndReload<TSetStart>(store);
        EXPECT_TRUE(AppState.AlwaysStart);
        EXPECT_TRUE(AppState.MinimizeOnStart);
        EXPECT_FALSE(AppState.ListenOnStart);
        EXPECT_FALSE(AppState.TrayIcon);
        AppState.Reset();
    }
}

TEST_F(StartPage, OnlyARegistrySaveWritesTheRunEntry) {
    TSetStart::RemoveRunEntry();
    AppState.AlwaysStart = true;
    AppState.MinimizeOnStart = true;
    TSetStart::Save(nullptr, ini_.path());
    EXPECT_EQ("<missing>", AnyRunValue());

    TSetStart::Save(key_.get(), "");
    const std::string entry = AnyRunValue();
    EXPECT_EQ(TSetStart::RunEntryText(), entry);
    ASSERT_GT(entry.size(), 3u);
    EXPECT_EQ(" -m", entry.substr(entry.size() - 3));
    const std::string program = entry.substr(0, entry.size() - 3);
    // A path with a blank is quoted, so nothing else can be started in its place.
    if (program.find(' ') != std::string::npos) {
        EXPECT_EQ('"', program.front());
    }

    AppState.AlwaysStart = false;
    TSetStart::Save(key_.get(), "");
    EXPECT_EQ("<missing>", RunValue(HKEY_LOCAL_MACHINE));
    EXPECT_EQ("<missing>", RunValue(HKEY_CURRENT_USER));
}

TEST_F(StartPage, ApplyPlacesTheMainWindowTopMostAtOnce) {
    TWindow main;
    main.Attr.style = WS_POPUP;
    ASSERT_TRUE(main.Create());
    ShowWindow(main.GetHandle(), SW_SHOWNOACTIVATE);  // shown, as the program's frame is
    auto& page = Open<TSetStart>(true, &main);
    auto topMost = [&](HWND w) { return (GetWindowLongA(w, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
    // Windows lifts the owner with the sheet it owns; Wine lifts only the
    // owned sheet and keeps the owner just below it until the sheet closes.
    auto liftedAtOnce = [&] { return topMost(main.GetHandle()) || topMost(sheet_->GetHandle()); };
    EXPECT_FALSE(liftedAtOnce());
    SetCheck(page, IDC_ALWAYSONTOP, true);
    Press(kApplyNow);
    EXPECT_FALSE(Finished());
    EXPECT_TRUE(AppState.OnTop);
    EXPECT_TRUE(liftedAtOnce());
    SetCheck(page, IDC_ALWAYSONTOP, false);
    Press(IDOK);
    EXPECT_FALSE(AppState.OnTop);
    EXPECT_FALSE(topMost(main.GetHandle()));
    sheet_.reset();
}

TEST_F(StartPage, ShortcutsAreMadeFoundAndDeleted) {
    struct Case {
        int box;
        const char* folder;
    };
    for (const Case& c : {Case{IDC_DESKTOPICON, "0"}, Case{IDC_QUICKLAUNCHICON, "999"}}) {
        SCOPED_TRACE(c.folder);
        auto& page = Open<TSetStart>();
        EXPECT_FALSE(Checked(page, c.box));
        SetCheck(page, c.box, true);
        Press(IDOK);
        EXPECT_TRUE(LinkFile(c.folder));

        auto& again = Open<TSetStart>();
        EXPECT_TRUE(Checked(again, c.box));  // found and resolved
        SetCheck(again, c.box, false);
        Press(IDOK);
        EXPECT_FALSE(LinkFile(c.folder));
        EXPECT_TRUE(fake_.messageBoxes.empty());
    }
}

TEST(CShortcutTest, ALinkToAMissingTargetDoesNotResolve) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string root = std::string(temp) + "larkspur-links-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(root.c_str(), nullptr);
    CShortcut::RedirectFolders(root);
    const std::string target = root + "\\target.exe";
    CloseHandle(CreateFileA(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    {
        CShortcut links;
        EXPECT_NE(0, links.FindLink("Missing", CSIDL_PERSONAL));
        ASSERT_TRUE(links.CreateLink(target, "Target", CSIDL_PERSONAL, "described", target, 0));
        EXPECT_EQ(0, links.FindLink("Target", CSIDL_PERSONAL));
        DeleteFileA(target.c_str());
        EXPECT_NE(0, links.FindLink("Target", CSIDL_PERSONAL));
        EXPECT_TRUE(links.DeleteLink("Target", CSIDL_PERSONAL));
        EXPECT_FALSE(links.DeleteLink("Target", CSIDL_PERSONAL));  // nothing left to delete, and no box
    }
    CShortcut::RedirectFolders(std::string());
    char sub[MAX_PATH];
    snprintf(sub, sizeof sub, "%s\\%x", root.c_str(), CSIDL_PERSONAL);
    RemoveDirectoryA(sub);
    RemoveDirectoryA(root.c_str());
}

using KeyPage = PageSheetTest;

TEST_F(KeyPage, HotKeysShowAndStoreInBothStores) {
    const WORD ctrlShiftF5 = MAKEWORD(VK_F5, HOTKEYF_CONTROL | HOTKEYF_SHIFT);
    for (const StoreCase& store : kStores) {
        SCOPED_TRACE(store.name);
        AppState.KeyRecord = MAKEWORD('R', HOTKEYF_ALT);
        SaveAndReload<TSetKey>(store);
        auto& page = Open<TSetKey>();
        EXPECT_EQ(MAKEWORD('R', HOTKEYF_ALT),
                  SendMessageA(GetDlgItem(page.GetHandle(), IDC_KEYRECORD), HKM_GETHOTKEY, 0, 0));
        SendMessageA(GetDlgItem(page.GetHandle(), IDC_KEYPLAY), HKM_SETHOTKEY, ctrlShiftF5, 0);
        SendMessageA(GetDlgItem(page.GetHandle(), IDC_KEYRECORD), HKM_SETHOTKEY, 0, 0);  // cleared
        Press(IDOK);
        EXPECT_EQ(884, AppState.KeyPlay);
        SaveAndReload<TSetKey>(store);
        EXPECT_EQ(884, AppState.KeyPlay);
        EXPECT_EQ(0, AppState.KeyRecord);
        if (store.ini) {
            EXPECT_EQ("884", ini_.Read("Key", "KeyPlay"));
        }
        AppState.Reset();
    }
}

TEST_F(KeyPage, ARegisteredKeyIsHeldAgainstASecondWindow) {
    TWindow frame, other;
    frame.Attr.style = other.Attr.style = WS_POPUP;
    ASSERT_TRUE(frame.Create());
    ASSERT_TRUE(other.Create());
    auto& page = Open<TSetKey>();
    SendMessageA(GetDlgItem(page.GetHandle(), IDC_KEYACTIVATE), HKM_SETHOTKEY,
                 MAKEWORD(VK_F9, HOTKEYF_CONTROL | HOTKEYF_ALT), 0);
    Press(IDOK);
    RegisterHotKeys(frame.GetHandle());  // what the frame does once the sheet has closed
    EXPECT_FALSE(RegisterHotKey(other.GetHandle(), 7, MOD_CONTROL | MOD_ALT, VK_F9));

    AppState.KeyActivate = 0;  // cleared: no key is held any more
    RegisterHotKeys(frame.GetHandle());
    EXPECT_TRUE(RegisterHotKey(other.GetHandle(), 7, MOD_CONTROL | MOD_ALT, VK_F9));
    UnregisterHotKey(other.GetHandle(), 7);
}

TEST_F(KeyPage, LabelsShowTheirControlsHelpAndHelpOpensThePageTopic) {
    CopyTextField(AppState.HelpFile, "C:\\larkspurpro.chm");
    CopyTextField(AppState.HelpPopupSource, "C:\\larkspurpro.chm::/CSLarkspurPRO.txt");
    auto& page = Open<TSetKey>();
    HELPINFO info{};
    info.cbSize = sizeof info;
    info.iContextType = HELPINFO_WINDOW;
    info.iCtrlId = IDC_KEYRECORDLABEL;
    info.hItemHandle = GetDlgItem(page.GetHandle(), IDC_KEYRECORDLABEL);
    SendMessageA(page.GetHandle(), WM_HELP, 0, reinterpret_cast<LPARAM>(&info));
    ASSERT_EQ(1u, help_.calls.size());
    EXPECT_EQ(static_cast<DWORD>(IDC_KEYRECORD), help_.calls[0].popupId);

    Press(IDHELP);
    ASSERT_EQ(2u, help_.calls.size());
    EXPECT_EQ(kHelpContext, help_.calls[1].command);
    EXPECT_EQ(static_cast<DWORD_PTR>(IDD_SETKEY), help_.calls[1].data);
}

}  // namespace
