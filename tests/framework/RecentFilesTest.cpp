// The recent-files list: six entries newest first, stored and read back,
// shown before the marker item, and a chosen entry reaches the application
// as "MRUFILEMESSAGE" through the frame.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Application.h"
#include "framework/FrameWindow.h"
#include "framework/RecentFiles.h"

namespace {

constexpr UINT CM_EXIT = 24310;

std::string TempIniPath() {
    char folder[MAX_PATH];
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + "larkspur-recent-test.ini";
}

class RecentApp : public TApplication, public TRecentFiles {
public:
    explicit RecentApp(const std::string& ini) : TApplication("recent test"), TRecentFiles(ini, 6, 40, false) {
        SetMarkerCommand(CM_EXIT);
    }
    std::string opened;
    void CmExit() {}
    LRESULT EvMruFileMessage(WPARAM id, LPARAM) {
        GetMenuText(static_cast<UINT>(id), opened);
        return 0;
    }
    bool Dispatch(Message& m) override;
    static const MsgEntry<RecentApp> kMessages[];
};
const MsgEntry<RecentApp> RecentApp::kMessages[] = {
    OnCommand(CM_EXIT, &RecentApp::CmExit),
    OnRegistered(TRecentFiles::kMessageName, &RecentApp::EvMruFileMessage),
};
bool RecentApp::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m) || DispatchRecentFiles(m); }

TEST(RecentFiles, KeepsSixNewestFirstAndStoresThem) {
    const std::string ini = TempIniPath();
    const std::string key = "Software\\LarkspurFrameworkTest";
    for (bool registry : {false, true}) {
        SCOPED_TRACE(registry ? "registry" : "INI file");
        DeleteFileA(ini.c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, (key + "\\Recent Files").c_str());
        {
            TRecentFiles list(ini, 6, 40, registry);
            if (registry) list.SetRegistryKey(key);
            for (int i = 1; i <= 8; ++i) list.SaveMenuChoice("C:\\rec\\take" + std::to_string(i) + ".wav");
            list.SaveMenuChoice("c:\\REC\\take5.wav");  // listed already: moves to the top, not twice
            ASSERT_EQ(6u, list.Entries().size());
            EXPECT_EQ("c:\\REC\\take5.wav", list.Entries()[0]);
            EXPECT_EQ("C:\\rec\\take8.wav", list.Entries()[1]);
            EXPECT_EQ("C:\\rec\\take3.wav", list.Entries()[5]);
        }
        TRecentFiles reread(ini, 6, 40, registry);
        if (registry) reread.SetRegistryKey(key);
        ASSERT_EQ(6u, reread.Entries().size());
        EXPECT_EQ("c:\\REC\\take5.wav", reread.Entries()[0]);
        std::string path;
        EXPECT_TRUE(reread.GetMenuText(TRecentFiles::kFirstCommand + 1, path));
        EXPECT_EQ("C:\\rec\\take8.wav", path);
        EXPECT_FALSE(reread.GetMenuText(TRecentFiles::kFirstCommand + 6, path));
    }
    DeleteFileA(ini.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, (key + "\\Recent Files").c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
}

TEST(RecentFiles, MenuShowsEntriesAndChoicePostsTheMessage) {
    const std::string ini = TempIniPath();
    DeleteFileA(ini.c_str());
    RecentApp app(ini);
    app.SaveMenuChoice("C:\\R&B\\first.wav");
    app.SaveMenuChoice("C:\\a very long folder name indeed\\and a long file name as well.wav");
    auto frame = std::make_unique<TFrameWindow>(nullptr, "frame", nullptr);
    frame->Attr.style = WS_OVERLAPPED;
    app.SetMainWindow(std::move(frame));
    ASSERT_TRUE(app.GetMainWindow()->Create());
    HWND hwnd = app.GetMainWindow()->GetHandle();

    HMENU popup = CreatePopupMenu();
    AppendMenuA(popup, MF_STRING, CM_EXIT, "E&xit");
    for (int opened = 0; opened < 2; ++opened) {  // a second opening does not add the entries twice
        SendMessageA(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(popup), 0);
        ASSERT_EQ(4, GetMenuItemCount(popup));  // two entries, a separator, Exit
    }
    char text[80] = {};
    GetMenuStringA(popup, 0, text, sizeof text, MF_BYPOSITION);
    // At most 40 characters of the path, its end kept.
    EXPECT_EQ("&1 ...deed\\and a long file name as well.wav", std::string(text));
    GetMenuStringA(popup, 1, text, sizeof text, MF_BYPOSITION);
    EXPECT_EQ("&2 C:\\R&&B\\first.wav", std::string(text));  // "&" shows as itself, not a mnemonic
    EXPECT_EQ(CM_EXIT, GetMenuItemID(popup, 3));
    DestroyMenu(popup);

    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(TRecentFiles::kFirstCommand + 1, 0), 0);
    app.PumpWaitingMessages();
    EXPECT_EQ("C:\\R&B\\first.wav", app.opened);
    DeleteFileA(ini.c_str());
}

}  // namespace
