// Hostile copy-data records and command lines. A record's text lies right
// before a page that may not be read, without its terminating zero, so any
// read past the size the sender gave ends the test at once; the same records
// also come from a second process. Command lines of any length and content
// leave the switch fields terminated and the copy-data text bounded.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/CommandLine.h"
#include "core/PrivateMessages.h"
#include "tests/app/AppFixture.h"
#include "tests/audiofile/MemoryRecFile.h"
#include "tests/hostile/Hostile.h"

namespace hostile {
namespace {

constexpr int kSuiteCases = 300;
const ULONG_PTR kCodes[] = {COPYDATA_ADDCOMMENT, COPYDATA_GOTOCOMMENT, COPYDATA_OPENFILE,
                            COPYDATA_LOADSETTINGS, 77};

// Memory whose last readable byte is the one before a no-access page.
class GuardedBuffer {
public:
    explicit GuardedBuffer(size_t bytes) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        const size_t page = info.dwPageSize;
        readable_ = (bytes + page - 1) / page * page + page;
        base_ = static_cast<char*>(VirtualAlloc(nullptr, readable_ + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(base_ + readable_, page, PAGE_NOACCESS, &old);
        data_ = base_ + readable_ - bytes;
    }
    ~GuardedBuffer() { VirtualFree(base_, 0, MEM_RELEASE); }
    GuardedBuffer(const GuardedBuffer&) = delete;
    GuardedBuffer& operator=(const GuardedBuffer&) = delete;
    char* data() { return data_; }

private:
    char* base_ = nullptr;
    char* data_ = nullptr;
    size_t readable_ = 0;
};

std::string WithoutZeros(std::string text) {
    for (char& c : text)
        if (c == '\0')
            c = 'z';
    return text;
}

class HostileCopyData : public AppFixture {};

TEST_F(HostileCopyData, RecordsEndingAtAPageThatCannotBeRead) {
    CreateFrame();
    recorder_->file = std::make_unique<MemoryRecFile>();
    Reader reader;
    reader.name = "copydata";
    reader.seeds = {"C:\\recordings\\a file.wav", std::string(600, 'c'), "note", "", "x"};
    reader.mutations = &TextMutations();
    reader.exercise = [this](const std::string& bytes, const std::string&, uint32_t caseNo) {
        const std::string text = caseNo % 3 ? WithoutZeros(bytes) : bytes;
        GuardedBuffer buffer(text.size());
        std::memcpy(buffer.data(), text.data(), text.size());
        COPYDATASTRUCT data{kCodes[caseNo % 5], static_cast<DWORD>(text.size()), buffer.data()};
        recorder_->calls.clear();
        recorder_->file->ClearComments();
        SendMessageA(FrameHandle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
        for (const std::string& call : recorder_->calls)
            EXPECT_LE(call.size(), kMaxCopyDataText + 16);
    };
    const int cases = CaseCount(kSuiteCases);
    ExpectClean(RunReader(reader, cases), cases);
}

// The sending half of the next test: runs only in the second process.
TEST(HostileCopyDataSender, SendsRecordsWithoutTheirEnd) {
    const char* target = std::getenv("LARKSPUR_HOSTILE_TARGET");
    if (!target)
        GTEST_SKIP() << "runs as the second process of RecordsFromASecondProcess";
    HWND window = reinterpret_cast<HWND>(static_cast<uintptr_t>(std::strtoull(target, nullptr, 16)));
    const std::string longText(5000, 'q');
    char unterminated[] = {'a', 'b', 'c'};
    const COPYDATASTRUCT records[] = {
        {COPYDATA_OPENFILE, 3, unterminated},
        {COPYDATA_OPENFILE, static_cast<DWORD>(longText.size()), const_cast<char*>(longText.data())},
        {COPYDATA_ADDCOMMENT, 2, unterminated},
        {COPYDATA_OPENFILE, 0, nullptr},
        {COPYDATA_LOADSETTINGS, 1, unterminated},
        {COPYDATA_OPENFILE, 1, const_cast<char*>("")},
    };
    for (const COPYDATASTRUCT& record : records)
        SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record));
}

TEST_F(HostileCopyData, RecordsFromASecondProcess) {
    CreateFrame();
    recorder_->file = std::make_unique<MemoryRecFile>();
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    char target[32];
    std::snprintf(target, sizeof target, "%llx",
                  static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(FrameHandle())));
    SetEnvironmentVariableA("LARKSPUR_HOSTILE_TARGET", target);
    std::string command = std::string("\"") + self + "\" --gtest_filter=HostileCopyDataSender.*";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                        &startup, &process);
    SetEnvironmentVariableA("LARKSPUR_HOSTILE_TARGET", nullptr);
    ASSERT_TRUE(started);
    // The sender's messages arrive while this thread waits.
    BeginCase("copydata from a second process");
    for (;;) {
        const DWORD woke = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 20000, QS_ALLINPUT);
        if (woke != WAIT_OBJECT_0 + 1)
            break;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    EndCase();
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    EXPECT_EQ(exitCode, 0u);
    const std::vector<std::string> expected = {"open:abc", "open:" + std::string(kMaxCopyDataText, 'q'),
                                               "annotation", "load:a"};
    EXPECT_EQ(recorder_->calls, expected);
    ASSERT_EQ(recorder_->file->CommentCount(), 1);
    EXPECT_EQ(recorder_->file->GetCommentText(0), "ab");
}

// ---- command lines

TEST(Hostile, CommandLines) {
    Reader reader;
    reader.name = "cmdline";
    const std::string z(1, '\0');
    reader.seeds = {
        "larkspurpro.exe" + z + "/I" + z + "C:\\settings.ini" + z + "/L" + z + "/J" + z + "Class" + z + "take.wav",
        "larkspurpro.exe" + z + "-n" + z + "ffffffff" + z + "/Q" + z + "12" + z + "/C" + z + "L" + z + "/A" + z +
            "cmd /c echo" + z + "/H" + z + "x.wav",
        "larkspurpro.exe" + z + "/O" + z + std::string(400, 'o'),
        "larkspurpro.exe" + z + "/Z" + z + "comment" + z + "/T",
    };
    reader.mutations = &TextMutations();
    reader.exercise = [](const std::string& bytes, const std::string&, uint32_t) {
        std::vector<std::string> args;
        size_t at = 0;
        for (size_t end; (end = bytes.find('\0', at)) != std::string::npos; at = end + 1)
            args.push_back(bytes.substr(at, end - at));
        args.push_back(bytes.substr(at));
        std::vector<const char*> argv;
        for (const std::string& a : args)
            argv.push_back(a.c_str());
        argv.push_back(nullptr);
        auto state = std::make_unique<AppStateRecord>();
        ScopedCurrentFolder keepFolder;
        const CommandLineRequest request =
            ParseCommandLine(static_cast<int>(args.size()), argv.data(), *state);
        EXPECT_LE(request.text.size(), kMaxCopyDataText);
        EXPECT_LT(strnlen(state->IniPath, sizeof state->IniPath), sizeof state->IniPath);
        EXPECT_LT(strnlen(state->CommandLineFile, sizeof state->CommandLineFile), sizeof state->CommandLineFile);
    };
    const int cases = CaseCount(kSuiteCases);
    ExpectClean(RunReader(reader, cases), cases);
}

}  // namespace
}  // namespace hostile
