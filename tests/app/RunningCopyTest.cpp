#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/AppState.h"
#include "core/CommandLine.h"
#include "core/PrivateMessages.h"
#include "app/RunningCopy.h"
#include "app/Startup.h"
#include "audiofile/FileNames.h"

namespace {

constexpr char kTestClass[] = "LarkspurTestCopy";

// What the stand-in for the running copy received, in order.
struct Received {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
    ULONG_PTR code;
    std::string text;
};
std::vector<Received> received;

LRESULT CALLBACK CopyProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COPYDATA) {
        auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lp);
        std::string text(static_cast<const char*>(data->lpData));
        EXPECT_EQ(text.size() + 1, data->cbData);
        received.push_back({msg, wp, 0, data->dwData, text});
        return TRUE;
    }
    if (msg >= WM_USER) {
        received.push_back({msg, wp, lp, 0, {}});
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wp, lp);
}

class RunningCopyTest : public ::testing::Test {
protected:
    void SetUp() override {
        WNDCLASSA wc{};
        wc.lpfnWndProc = CopyProc;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kTestClass;
        RegisterClassA(&wc);
        copy_ = CreateWindowA(kTestClass, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              wc.hInstance, nullptr);
        ASSERT_NE(nullptr, copy_);
        received.clear();
    }
    void TearDown() override { DestroyWindow(copy_); }

    // Runs the start-up on args; collects what was posted to the copy.
    bool Start(std::vector<std::string> args, int& exitCode) {
        args.insert(args.begin(), "larkspurpro.exe");
        std::vector<const char*> argv;
        for (const std::string& arg : args) argv.push_back(arg.c_str());
        exitCode = -1;
        bool done = PrepareProcess(static_cast<int>(argv.size()), argv.data(), exitCode);
        MSG msg;
        while (PeekMessageA(&msg, copy_, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        return done;
    }

    HWND copy_ = nullptr;
};

TEST_F(RunningCopyTest, ForwardsSwitchesInOrderWithExitCodes) {
    struct Case {
        const char* what;
        std::vector<std::string> args;
        bool done;
        int exitCode;
        std::vector<Received> expected;
    };
    const std::string ini = FullPath("forward.ini");
    const Case cases[] = {
        {"/F /L /P /X 5", {"/J", kTestClass, "/F", "/L", "/P", "/X", "5"}, true, 0,
         {{WM_REPOSITION, REMOTE_WPARAM, 5, 0, {}}, {WM_STOPTHENRECORD, REMOTE_WPARAM, 0, 0, {}}}},
        {"/F /X 0 /T", {"/J", kTestClass, "/F", "/X", "0", "/T"}, true, 0,
         {{WM_STOPTRANSPORT, REMOTE_WPARAM, 0, 0, {}}}},
        {"/F /P", {"/J", kTestClass, "/F", "/P"}, true, 0,
         {{WM_STOPTHENPLAY, REMOTE_WPARAM, 0, 0, {}}}},
        {"/F /I sends only the settings path", {"/J", kTestClass, "/F", "/I", "forward.ini"}, true, 0,
         {{WM_COPYDATA, 0, 0, COPYDATA_LOADSETTINGS, ini}}},
        {"/H sends the full path", {"/J", kTestClass, "/H", "x.wav"}, true, 0,
         {{WM_COPYDATA, 0, 0, COPYDATA_OPENFILE, FullPath("x.wav")}}},
        {"/O adds a comment", {"/J", kTestClass, "/O", "hello"}, true, 0,
         {{WM_COPYDATA, 0, 0, COPYDATA_ADDCOMMENT, "hello"}}},
        {"/Z goes to a comment", {"/J", kTestClass, "/Z", "intro"}, true, 0,
         {{WM_COPYDATA, 0, 0, COPYDATA_GOTOCOMMENT, "intro"}}},
        {"/H before /J addresses the product class", {"/H", "x.wav", "/J", kTestClass}, true, 1, {}},
        {"/O without a copy", {"/J", "NoSuchClass", "/O", "x"}, true, 1, {}},
        {"/H without a copy", {"/J", "NoSuchClass", "/H", "x.wav"}, true, 1, {}},
        {"/Z without a copy", {"/J", "NoSuchClass", "/Z", "x"}, true, 1, {}},
        {"/F without a copy starts normally", {"/J", "NoSuchClass", "/F", "/L"}, false, -1, {}},
        {"no switches start normally", {"a.wav"}, false, -1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        received.clear();
        int exitCode = 0;
        EXPECT_EQ(c.done, Start(c.args, exitCode));
        EXPECT_EQ(c.exitCode, exitCode);
        ASSERT_EQ(c.expected.size(), received.size());
        for (std::size_t i = 0; i < received.size(); ++i) {
            EXPECT_EQ(c.expected[i].msg, received[i].msg);
            EXPECT_EQ(c.expected[i].wp, received[i].wp);
            EXPECT_EQ(c.expected[i].lp, received[i].lp);
            EXPECT_EQ(c.expected[i].code, received[i].code);
            EXPECT_EQ(c.expected[i].text, received[i].text);
        }
    }
}

TEST_F(RunningCopyTest, ASecondCopyUnderAnotherClassIsNotTheFirst) {
    int exitCode = 0;
    Start({"/J", "NoSuchClass"}, exitCode);
    EXPECT_TRUE(AppState.FirstInstance);
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kProductWindowClass;
    RegisterClassA(&wc);
    HWND product = CreateWindowA(kProductWindowClass, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                                 nullptr, wc.hInstance, nullptr);
    Start({"/J", "NoSuchClass"}, exitCode);
    EXPECT_FALSE(AppState.FirstInstance);
    DestroyWindow(product);
    UnregisterClassA(kProductWindowClass, wc.hInstance);
}

struct HungCopy {
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HWND window = nullptr;
};

DWORD WINAPI HungCopyThread(LPVOID arg) {
    auto* h = static_cast<HungCopy*>(arg);
    h->window = CreateWindowA(kTestClass, "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    SetEvent(h->ready);
    WaitForSingleObject(h->release, INFINITE);  // takes no messages meanwhile
    DestroyWindow(h->window);
    return 0;
}

// A copy whose thread no longer takes messages must not hold up the sender.
TEST_F(RunningCopyTest, AHungCopyIsGivenUp) {
    HungCopy hung;
    HANDLE thread = CreateThread(nullptr, 0, HungCopyThread, &hung, 0, nullptr);
    WaitForSingleObject(hung.ready, INFINITE);
    EXPECT_FALSE(SendCopyData(hung.window, COPYDATA_OPENFILE, "x.wav", 200));
    SetEvent(hung.release);
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
    CloseHandle(hung.ready);
    CloseHandle(hung.release);
}

}  // namespace
