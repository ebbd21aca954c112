// Each edit command in the real program, as a user gives it: the program
// runs on one recording, the selection is set by the position messages and
// Mark selection, the command is posted to its window and the time runs
// until the result can be seen from outside (the clipboard holds the cut or
// copied audio and another program can open it; the recording on disk has
// grown by the pasted audio). Each result is set against CopyFileA of as
// many bytes as the edit writes, timed in the same run.
// A copy or cut is also set against a bare program doing what the copy does
// without ours (bare_clipboard_put, beside this bench): a WAV file of the
// size of the program's clipboard image, written and flushed beforehand, is
// read into one block and put on the clipboard, timed from the go (the bare
// program is already up and waiting) to the same check from this process as
// for the program. Under Wine the block goes to the server and comes back
// from it, as the program's does. The least of three tries. (A cut also
// writes the kept audio as a new recording: that share is what its CopyFileA
// figure stands for, the bare program covers only the clipboard's.)
//   edit_command_bench PROGRAM SETTINGS MASTER SECONDS INSERT_FILE
// Each session runs the program on a fresh copy of MASTER (take.wav beside it).
// Prints one line per command: its name, the seconds from command to
// result, the bytes written and the CopyFileA seconds and ratio; for a copy
// or cut also the bare program's seconds and the ratio to them.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/PrivateMessages.h"
#include "resources/ResourceIds.h"
#include "tests/support/SaveDialogSearch.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr uint64_t kBytesPerSecond = 44100 * 4;  // the recordings are 44.1 kHz stereo 16-bit
constexpr double kGiveUpSeconds = 300;
constexpr uint64_t kHeaderRoom = 4096;  // a WAV file's bytes around its audio, at most
constexpr int kBareTries = 3;  // the bare program's time varies from try to try: the least counts

double Since(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

uint64_t FileBytes(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
}

// The bench's own window takes what is sent to it (the program may send to
// every top-level window and waits for the answer).
void PumpFor(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        (void)MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    } while (static_cast<LONG>(end - GetTickCount()) > 0);
}

// Seconds until done() holds (polled every millisecond), or -1.
double WaitFor(Clock::time_point start, const std::function<bool()>& done) {
    while (!done()) {
        if (Since(start) > kGiveUpSeconds)
            return -1;
        PumpFor(0);
    }
    return Since(start);
}

// CopyFileA of a file of that many bytes (written first, so both ends are
// in the cache as the edit's are).
double CopyBaseline(const std::string& folder, uint64_t bytes) {
    const std::string from = folder + "\\baseline.bin", to = folder + "\\baseline.copy";
    HANDLE file = CreateFileA(from.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    std::vector<char> block(1 << 20, 'b');
    for (uint64_t left = bytes; left > 0;) {
        const DWORD take = static_cast<DWORD>(left < block.size() ? left : block.size());
        DWORD wrote = 0;
        if (!WriteFile(file, block.data(), take, &wrote, nullptr) || wrote != take)
            break;
        left -= take;
    }
    CloseHandle(file);
    const Clock::time_point start = Clock::now();
    const bool copied = CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
    const double took = Since(start);
    DeleteFileA(to.c_str());
    DeleteFileA(from.c_str());
    return copied ? took : -1;
}

class Program {
public:
    bool Start(const std::string& program, const std::string& settings, const std::string& recording) {
        std::string line = "\"" + program + "\" /I \"" + settings + "\" \"" + recording + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
            return false;
        for (int i = 0; i < 600 && !frame_; ++i, PumpFor(100)) {
            HWND found = FindWindowA("Larkspur-PRO", nullptr);
            if (found && IsWindowVisible(found))
                frame_ = found;
        }
        Settle();
        return frame_ != nullptr;
    }
    void Stop() {
        if (frame_)
            PostMessageA(frame_, WM_CLOSE, 0, 0);
        if (process_.hProcess && WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0)
            TerminateProcess(process_.hProcess, 1);
        if (process_.hProcess) {
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }
    HWND Frame() const { return frame_; }
    void Command(UINT id) const { PostMessageA(frame_, WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    void Move(int32_t seconds) const {
        PostMessageA(frame_, WM_REPOSITION, REMOTE_WPARAM, static_cast<LPARAM>(seconds));
    }
    // Everything posted so far has been handled: the program waits for
    // input with nothing queued (a sent message alone would overtake the
    // posted ones).
    void Settle() const {
        for (int i = 0; i < 3; ++i) {
            PumpFor(100);
            (void)WaitForInputIdle(process_.hProcess, 60000);
        }
    }
    // The selection from offset seconds for length seconds; the position
    // ends at its far end.
    // Each step is settled before the next: a build that relays the moves
    // behind later commands (before the relay was mended) would otherwise
    // mark the selection at the wrong place and copy far more than asked.
    void Select(int32_t offset, int32_t length) const {
        Move(-2000000000);
        if (offset > 0)
            Move(offset);
        Settle();
        Command(CM_MARKSELECTION);
        Settle();
        Move(length);
        Settle();
    }

private:
    PROCESS_INFORMATION process_{};
    HWND frame_ = nullptr;
};

// Empties the clipboard, so that what is there afterwards came from the
// program (a virtual desktop's clipboard manager may put the old data back).
void EmptyTheClipboard(HWND owner) {
    if (OpenClipboard(owner)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

// Another program can open the clipboard and finds audio of that many
// bytes there (and a file's bytes around it, no more: a larger image is a
// wrong selection, whose time would not be the command's). The size of the
// image found goes to *image.
bool ClipboardHolds(HWND owner, uint64_t bytes, uint64_t* image = nullptr) {
    if (!IsClipboardFormatAvailable(CF_WAVE) || !OpenClipboard(owner))
        return false;
    HANDLE data = GetClipboardData(CF_WAVE);
    const uint64_t size = data ? GlobalSize(data) : 0;
    const bool holds = size >= bytes && size <= bytes + 2 * kHeaderRoom;
    CloseClipboard();
    if (holds && image)
        *image = size;
    return holds;
}

struct Result {
    const char* name;
    double seconds;
    uint64_t written;
    uint64_t onClipboard = 0;  // audio bytes the command hands to the Windows clipboard
    uint64_t image = 0;        // the size of the block found there
};

// A flushed WAV file of that many bytes (44.1 kHz stereo 16-bit, a plain
// 44-byte header), as the program's paste buffer is on disk before a copy
// reads it.
bool WriteWavFile(const std::string& path, uint64_t bytes) {
    constexpr DWORD kHeaderBytes = 44;
    if (bytes < kHeaderBytes || bytes > 0xFFFFFFFF)
        return false;
    char header[kHeaderBytes];
    const auto put32 = [&](size_t at, uint64_t value) {
        for (size_t i = 0; i < 4; ++i)
            header[at + i] = static_cast<char>(value >> (8 * i));
    };
    std::memcpy(header, "RIFF....WAVEfmt \x10\0\0\0\x01\0\x02\0........\x04\0\x10\0data", 40);
    put32(4, bytes - 8);
    put32(24, 44100);
    put32(28, kBytesPerSecond);
    put32(40, bytes - kHeaderBytes);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD wrote = 0;
    bool written = WriteFile(file, header, kHeaderBytes, &wrote, nullptr) && wrote == kHeaderBytes;
    const std::vector<char> block(1 << 20, 'w');
    for (uint64_t left = bytes - kHeaderBytes; written && left > 0;) {
        const DWORD take = static_cast<DWORD>(left < block.size() ? left : block.size());
        written = WriteFile(file, block.data(), take, &wrote, nullptr) && wrote == take;
        left -= take;
    }
    written = FlushFileBuffers(file) && written;
    CloseHandle(file);
    return written;
}

// The bare program (bare_clipboard_put) on one file: up and waiting for the
// go once Start returns, so that its start-up is not timed.
class BareProgram {
public:
    BareProgram() = default;
    BareProgram(const BareProgram&) = delete;
    BareProgram& operator=(const BareProgram&) = delete;
    ~BareProgram() { Stop(); }

    bool Start(const std::string& exe, const std::string& file) {
        static int started = 0;
        const std::string events =
            "larkspur-edit-bench." + std::to_string(GetCurrentProcessId()) + "." + std::to_string(++started);
        ready_ = CreateEventA(nullptr, TRUE, FALSE, (events + ".ready").c_str());
        go_ = CreateEventA(nullptr, TRUE, FALSE, (events + ".go").c_str());
        quit_ = CreateEventA(nullptr, TRUE, FALSE, (events + ".quit").c_str());
        std::string line = "\"" + exe + "\" \"" + file + "\" " + events;
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        if (!ready_ || !go_ || !quit_ ||
            !CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process_))
            return false;
        const HANDLE readyOrEnded[] = {ready_, process_.hProcess};
        return WaitForMultipleObjects(2, readyOrEnded, FALSE, 60000) == WAIT_OBJECT_0;
    }
    void Go() const { SetEvent(go_); }
    bool Ended() const { return WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0; }
    void Stop() {
        if (quit_)
            SetEvent(quit_);
        if (process_.hProcess) {
            if (WaitForSingleObject(process_.hProcess, 20000) != WAIT_OBJECT_0)
                TerminateProcess(process_.hProcess, 1);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
            process_ = PROCESS_INFORMATION{};
        }
        for (HANDLE* event : {&ready_, &go_, &quit_})
            if (*event) {
                CloseHandle(*event);
                *event = nullptr;
            }
    }

private:
    PROCESS_INFORMATION process_{};
    HANDLE ready_ = nullptr, go_ = nullptr, quit_ = nullptr;
};

// One copy by the bare program, timed as the program's: from the go to
// the audio (bytes) found on the clipboard by this process. Seconds, or -1.
double BareTry(HWND owner, const std::string& exe, const std::string& file, uint64_t bytes) {
    BareProgram bare;
    if (!bare.Start(exe, file))
        return -1;
    EmptyTheClipboard(owner);
    const Clock::time_point start = Clock::now();
    bare.Go();
    bool ended = false;  // the bare program gave up
    const double took = WaitFor(start, [&] { return ClipboardHolds(owner, bytes) || (ended = bare.Ended()); });
    EmptyTheClipboard(owner);
    return ended ? -1 : took;
}

// The bare program's copy of an image of that many bytes holding that much
// audio: the least of kBareTries tries. Seconds, or -1.
double BareBaseline(HWND owner, const std::string& exe, const std::string& folder, uint64_t image,
                    uint64_t audio) {
    const std::string file = folder + "\\bare.wav";
    if (!WriteWavFile(file, image))
        return -1;
    double least = -1;
    for (int i = 0; i < kBareTries; ++i) {
        const double took = BareTry(owner, exe, file, audio);
        if (took >= 0 && (least < 0 || took < least))
            least = took;
    }
    DeleteFileA(file.c_str());
    return least;
}

class Bench {
public:
    Bench(Program& program, std::string recording, HWND owner)
        : program_(program), recording_(std::move(recording)), owner_(owner) {}

    // length 0: from offset to the end.
    Result CopyOrCut(UINT command, const char* name, int32_t offset, int32_t length) {
        const uint64_t before = FileBytes(recording_);
        const uint64_t bytes = length > 0 ? uint64_t(length) * kBytesPerSecond
                                          : before - std::min<uint64_t>(before, kHeaderRoom) - offset * kBytesPerSecond;
        program_.Select(offset, length > 0 ? length : 2000000000);
        EmptyTheClipboard(owner_);
        const Clock::time_point start = Clock::now();
        program_.Command(command);
        const bool cut = command == CM_CUT;
        uint64_t image = 0;
        const double took = WaitFor(start, [&] {
            return (!cut || FileBytes(recording_) + bytes <= before + kHeaderRoom) &&
                   ClipboardHolds(owner_, bytes, &image);
        });
        program_.Settle();
        // A cut writes the kept audio as a new recording and the cut audio
        // as the paste buffer; a copy writes the paste buffer.
        return {name, took, cut ? before : bytes, bytes, image};
    }
    Result PasteInsert(int32_t clipboardSeconds) {
        const uint64_t before = FileBytes(recording_);
        const uint64_t grown = before + uint64_t(clipboardSeconds) * kBytesPerSecond;
        const Clock::time_point start = Clock::now();
        program_.Command(CM_PASTEINSERT);
        const double took = WaitFor(start, [&] { return FileBytes(recording_) + kHeaderRoom >= grown; });
        program_.Settle();
        return {"paste insert", took, grown};
    }
    // From the dialog's OK to the recording grown by the file's audio.
    Result PasteFromFile(const std::string& insert, int32_t seconds) {
        const uint64_t before = FileBytes(recording_);
        const uint64_t grown = before + uint64_t(seconds) * kBytesPerSecond;
        program_.Command(CM_PASTEFROMFILE);
        DialogSearch search{GetWindowThreadProcessId(program_.Frame(), nullptr), nullptr};
        for (int i = 0; i < 200 && !search.found; ++i, PumpFor(100))
            EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
        HWND nameBox = nullptr;
        if (search.found) {
            PumpFor(300);
            EnumChildWindows(search.found, &FindNameBox, reinterpret_cast<LPARAM>(&nameBox));
        }
        if (!nameBox)
            return {"paste from file", -1, grown};
        SendMessageA(nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(insert.c_str()));
        const Clock::time_point start = Clock::now();
        PostMessageA(search.found, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(search.found, IDOK)));
        const double took = WaitFor(start, [&] { return FileBytes(recording_) + kHeaderRoom >= grown; });
        program_.Settle();
        return {"paste from file", took, grown};
    }

private:
    Program& program_;
    std::string recording_;
    HWND owner_;
};

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// One program on a fresh copy of the master recording for each session, so
// that no command meets what an earlier one left behind.
template <class Session>
bool RunSession(const std::string& program, const std::string& settings, const std::string& master,
                const std::string& recording, HWND owner, std::vector<Result>& results, Session session) {
    if (!CopyFileA(master.c_str(), recording.c_str(), FALSE))
        return false;
    // On disk before the program starts: the write-back of the copy would
    // otherwise stall the program's own file operations and be timed as theirs.
    HANDLE copy = CreateFileA(recording.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (copy != INVALID_HANDLE_VALUE) {
        (void)FlushFileBuffers(copy);
        CloseHandle(copy);
    }
    Program running;
    if (!running.Start(program, settings, recording)) {
        running.Stop();
        return false;
    }
    Bench bench(running, recording, owner);
    session(bench, results);
    running.Stop();
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: edit_command_bench PROGRAM SETTINGS MASTER SECONDS INSERT_FILE\n");
        return 2;
    }
    const std::string program = argv[1], settings = argv[2], master = argv[3], insert = argv[5];
    const std::string recording = FolderOf(master) + "\\take.wav";
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const std::string bare = FolderOf(self) + "\\bare_clipboard_put.exe";
    const int32_t seconds = std::atoi(argv[4]);
    HWND owner = CreateWindowExA(0, "STATIC", "edit bench", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    std::vector<Result> results;
    // A one-second selection: the whole of a one-second recording, else one
    // in the middle.
    const int32_t middle = seconds > 1 ? seconds / 2 : 0;
    using Sessions = std::vector<std::function<void(Bench&, std::vector<Result>&)>>;
    Sessions sessions = {
        [&](Bench& b, std::vector<Result>& r) {
            r.push_back(b.CopyOrCut(CM_COPY, "copy 1 s", middle, 1));
            r.push_back(b.PasteInsert(1));
        },
        [&](Bench& b, std::vector<Result>& r) { r.push_back(b.CopyOrCut(CM_CUT, "cut 1 s", middle, 1)); },
        [&](Bench& b, std::vector<Result>& r) { r.push_back(b.PasteFromFile(insert, 1)); },
    };
    if (seconds > 1) {
        // The whole recording, as the long edits of a user go.
        sessions.push_back([](Bench& b, std::vector<Result>& r) { r.push_back(b.CopyOrCut(CM_COPY, "copy all", 0, 0)); });
        sessions.push_back([](Bench& b, std::vector<Result>& r) { r.push_back(b.CopyOrCut(CM_CUT, "cut all", 0, 0)); });
    }
    int failed = 0;
    for (const auto& session : sessions)
        if (!RunSession(program, settings, master, recording, owner, results, session)) {
            std::printf("the program did not come up\n");
            ++failed;
        }
    DeleteFileA(recording.c_str());
    for (const Result& r : results) {
        const double copy = CopyBaseline(FolderOf(master), r.written);
        if (r.seconds < 0) {
            std::printf("%-16s no result\n", r.name);
            ++failed;
            continue;
        }
        std::printf("%-16s %8.3f s  writes %11llu B  CopyFileA %7.3f s  ratio %6.1f", r.name, r.seconds,
                    static_cast<unsigned long long>(r.written), copy, copy > 0 ? r.seconds / copy : 0.0);
        if (r.image > 0) {
            const double alone = BareBaseline(owner, bare, FolderOf(master), r.image, r.onClipboard);
            std::printf("  bare program %7.3f s  program/bare %5.1f", alone, alone > 0 ? r.seconds / alone : 0.0);
        }
        std::printf("\n");
    }
    DestroyWindow(owner);
    return failed ? 1 : 0;
}
