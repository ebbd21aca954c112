#include "tests/hostile/Hostile.h"
#include "tests/audiofile/TempFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <mutex>
#include <new>
#include <thread>

namespace hostile {

uint64_t Prng::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

uint32_t HostileSize(Prng& rng, uint32_t original) {
    switch (rng.Below(10)) {
    case 0: return 0;
    case 1: return 0xFFFFFFFFu;
    case 2: return 0x7FFFFFFFu;
    case 3: return 0x80000000u;
    case 4: return original + 1;
    case 5: return original ? original - 1 : 1;
    case 6: return original * 2 + 1;
    case 7: return 0xFFFFFFFFu - rng.Below(16);
    case 8: return original | 1;
    default: return rng.Below(1u << rng.Below(32));
    }
}

namespace {

// ---- generic byte mutations

void Put32(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4 && at + i < bytes.size(); ++i)
        bytes[at + i] = static_cast<char>(value >> (8 * i));
}
uint32_t Get32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (int i = 0; i < 4 && at + i < bytes.size(); ++i)
        value |= uint32_t{static_cast<uint8_t>(bytes[at + i])} << (8 * i);
    return value;
}
size_t Anywhere(const std::string& bytes, Prng& rng) {
    return bytes.empty() ? 0 : rng.Below(static_cast<uint32_t>(bytes.size()));
}

std::string FlipBits(const std::string& in, Prng& rng) {
    std::string out = in;
    for (uint32_t n = 1 + rng.Below(8); n && !out.empty(); --n)
        out[Anywhere(out, rng)] ^= static_cast<char>(1u << rng.Below(8));
    return out;
}
std::string HostileWord(const std::string& in, Prng& rng) {
    std::string out = in;
    const size_t at = Anywhere(out, rng);
    Put32(out, at, HostileSize(rng, Get32(out, at)));
    return out;
}
std::string Truncate(const std::string& in, Prng& rng) {
    return in.substr(0, Anywhere(in, rng));
}
std::string InsertNoise(const std::string& in, Prng& rng) {
    std::string noise(1 + rng.Below(64), '\0');
    for (char& c : noise)
        c = static_cast<char>(rng.Next());
    std::string out = in;
    out.insert(Anywhere(out, rng), noise);
    return out;
}
std::string NoiseBurst(const std::string& in, Prng& rng) {
    std::string out = in;
    const size_t at = Anywhere(out, rng);
    for (size_t i = at, n = 1 + rng.Below(256); i < out.size() && n; ++i, --n)
        out[i] = static_cast<char>(rng.Next());
    return out;
}
std::string Duplicate(const std::string& in, Prng& rng) {
    const size_t at = Anywhere(in, rng);
    const size_t length = std::min<size_t>(in.size() - at, 1 + rng.Below(512));
    std::string out = in;
    out.insert(Anywhere(out, rng), in.substr(at, length));
    return out;
}
std::string DropZeros(const std::string& in, Prng&) {
    std::string out = in;
    std::replace(out.begin(), out.end(), '\0', 'A');
    return out;
}
std::string Noise(const std::string& in, Prng& rng) {
    std::string out(rng.Below(static_cast<uint32_t>(in.size() + 64)), '\0');
    for (char& c : out)
        c = static_cast<char>(rng.Next());
    return out;
}

const Mutation kByte[] = {
    {"flip", FlipBits},        {"word", HostileWord},  {"truncate", Truncate},
    {"insert", InsertNoise},   {"burst", NoiseBurst},  {"duplicate", Duplicate},
    {"no-zero", DropZeros},    {"noise", Noise},
};

// ---- RIFF: the offsets of chunk headers as a plain walk finds them

std::vector<size_t> ChunkHeaders(const std::string& bytes) {
    std::vector<size_t> headers;
    if (bytes.size() < 12)
        return headers;
    size_t end = std::min<size_t>(bytes.size(), 8 + size_t{Get32(bytes, 4)});
    for (size_t at = 12; at + 8 <= end; ) {
        headers.push_back(at);
        const uint32_t size = Get32(bytes, at + 4);
        // LIST: its sub-chunks are chunks too.
        if (bytes.compare(at, 4, "LIST") == 0) {
            at += 12;
            continue;
        }
        at += 8 + size_t{size} + (size & 1);
    }
    return headers;
}

size_t PickChunk(const std::string& bytes, Prng& rng, const char* id = nullptr) {
    std::vector<size_t> headers = ChunkHeaders(bytes);
    if (id)
        headers.erase(std::remove_if(headers.begin(), headers.end(),
                                     [&](size_t at) { return bytes.compare(at, 4, id) != 0; }),
                      headers.end());
    if (headers.empty())
        return std::string::npos;
    return headers[rng.Below(static_cast<uint32_t>(headers.size()))];
}

std::string ChunkSize(const std::string& in, Prng& rng) {
    std::string out = in;
    const size_t at = PickChunk(out, rng);
    if (at != std::string::npos)
        Put32(out, at + 4, HostileSize(rng, Get32(out, at + 4)));
    return out;
}
std::string RiffSize(const std::string& in, Prng& rng) {
    std::string out = in;
    Put32(out, 4, HostileSize(rng, Get32(out, 4)));
    return out;
}
std::string ChunkId(const std::string& in, Prng& rng) {
    static const char* const ids[] = {"fmt ", "data", "fact", "LIST", "INFO", "RIFF", "\0\0\0\0", "JUNK"};
    std::string out = in;
    const size_t at = PickChunk(out, rng);
    if (at != std::string::npos)
        out.replace(at, 4, ids[rng.Below(8)], 4);
    return out;
}
std::string FormatField(const std::string& in, Prng& rng) {
    std::string out = in;
    const size_t at = PickChunk(out, rng, "fmt ");
    if (at == std::string::npos)
        return HostileWord(in, rng);
    // tag, channels (16-bit); rate, bytes per second (32-bit); block align,
    // bits, cbSize (16-bit).
    static const int offsets[] = {0, 2, 4, 8, 12, 14, 16};
    const int field = offsets[rng.Below(7)];
    const size_t where = at + 8 + field;
    if (field == 4 || field == 8) {
        Put32(out, where, HostileSize(rng, Get32(out, where)));
    } else if (where + 1 < out.size()) {
        static const uint16_t values[] = {0, 1, 0xFFFF, 0x8000, 3, 0x55, 7, 2000, 1982, 1983};
        const uint16_t value = rng.OneIn(3) ? static_cast<uint16_t>(rng.Next()) : values[rng.Below(10)];
        out[where] = static_cast<char>(value);
        out[where + 1] = static_cast<char>(value >> 8);
    }
    return out;
}
std::string DropChunk(const std::string& in, Prng& rng) {
    const size_t at = PickChunk(in, rng);
    if (at == std::string::npos)
        return in;
    const uint32_t size = Get32(in, at + 4);
    std::string out = in;
    out.erase(at, std::min<size_t>(out.size() - at, 8 + size_t{size} + (size & 1)));
    return out;
}
std::string CutInChunk(const std::string& in, Prng& rng) {
    const size_t at = PickChunk(in, rng);
    if (at == std::string::npos)
        return Truncate(in, rng);
    return in.substr(0, at + rng.Below(24));
}

const Mutation kRiff[] = {
    {"chunk-size", ChunkSize}, {"chunk-size", ChunkSize}, {"riff-size", RiffSize},
    {"chunk-id", ChunkId},     {"fmt-field", FormatField}, {"fmt-field", FormatField},
    {"drop-chunk", DropChunk}, {"cut-in-chunk", CutInChunk},
};

// ---- text

std::string HugeNumber(const std::string& in, Prng& rng) {
    static const char* const numbers[] = {
        "4294967295", "4294967296", "-1", "-2147483648", "99999999999999999999999",
        "18446744073709551616", "0x7fffffff", "2147483647", "1e308", "-0"};
    std::string out = in;
    // Replace a run of digits, or insert one.
    size_t at = Anywhere(out, rng);
    size_t end = at;
    while (end < out.size() && (isdigit(static_cast<unsigned char>(out[end])) || out[end] == '-'))
        ++end;
    out.replace(at, end - at, numbers[rng.Below(10)]);
    return out;
}
std::string LongLine(const std::string& in, Prng& rng) {
    std::string out = in;
    out.insert(Anywhere(out, rng), std::string(200 + rng.Below(70000), static_cast<char>('!' + rng.Below(90))));
    return out;
}
std::string NoLineEnds(const std::string& in, Prng&) {
    std::string out = in;
    out.erase(std::remove_if(out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n' || c == '\0'; }),
              out.end());
    return out;
}
std::string ControlBytes(const std::string& in, Prng& rng) {
    static const char controls[] = {'\0', '\r', '\n', '\t', '\x1a', '\x7f', '\xff', '%', '=', '[', ']'};
    std::string out = in;
    for (uint32_t n = 1 + rng.Below(6); n; --n)
        out.insert(Anywhere(out, rng), 1, controls[rng.Below(sizeof controls)]);
    return out;
}
constexpr size_t kMaxMutatedBytes = size_t{4} << 20;

std::string RepeatLines(const std::string& in, Prng& rng) {
    const size_t at = Anywhere(in, rng);
    const size_t end = in.find('\n', at);
    const std::string line = in.substr(at, end == std::string::npos ? std::string::npos : end - at + 1);
    std::string out = in;
    // Bounded: a line that is itself a long line, repeated thousands of times,
    // would ask for hundreds of megabytes before the reader's cut, more than a
    // 32-bit process has in one piece.
    for (uint32_t n = 100 + rng.Below(3000); n && out.size() + line.size() <= kMaxMutatedBytes; --n)
        out += line;
    return out;
}

const Mutation kText[] = {
    {"huge-number", HugeNumber}, {"huge-number", HugeNumber}, {"long-line", LongLine},
    {"no-line-ends", NoLineEnds}, {"control-bytes", ControlBytes}, {"repeat-lines", RepeatLines},
};


// ---- the case under way

std::mutex caseLock;
std::string currentCase;
std::atomic<uint64_t> caseGeneration{0};
std::atomic<bool> caseRunning{false};
std::atomic<bool> capArmed{false};
std::atomic<int> oversize{0};
std::atomic<size_t> largestRefused{0};
std::atomic<int> openedCases{0};

LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
    std::fprintf(stderr, "\nhostile: CRASH (exception 0x%08lx) in case %s\n",
                 info ? info->ExceptionRecord->ExceptionCode : 0ul, currentCase.c_str());
    std::fflush(stderr);
    ExitProcess(4);
    return EXCEPTION_EXECUTE_HANDLER;
}

void Watch() {
    uint64_t seen = 0;
    DWORD since = GetTickCount();
    for (;;) {
        Sleep(200);
        const uint64_t now = caseGeneration.load();
        if (now != seen || !caseRunning.load()) {
            seen = now;
            since = GetTickCount();
            continue;
        }
        if (GetTickCount() - since > kCaseTimeoutMs) {
            std::lock_guard<std::mutex> hold(caseLock);
            std::fprintf(stderr, "\nhostile: HANG (over %u ms) in case %s\n", kCaseTimeoutMs, currentCase.c_str());
            std::fflush(stderr);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
}

void StartWatchdog() {
    static std::once_flag once;
    std::call_once(once, [] {
        SetUnhandledExceptionFilter(ReportCrash);
        std::thread(Watch).detach();
    });
}

std::string TempPath() {
    char buffer[MAX_PATH];
    const DWORD n = GetTempPathA(MAX_PATH, buffer);
    std::string path(buffer, n);
    if (!path.empty() && path.back() != '\\')
        path += '\\';
    return path;
}

std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names = FileNamesIn(folder);
    std::sort(names.begin(), names.end());
    return names;
}

bool IsInputName(const std::string& name) { return name.compare(0, 5, "input") == 0; }

const char kBystander[] = "bystander.dat";

}  // namespace

std::vector<Mutation> WithByteMutations(const Mutation* first, size_t count) {
    std::vector<Mutation> all(first, first + count);
    all.insert(all.end(), std::begin(kByte), std::end(kByte));
    return all;
}

const std::vector<Mutation>& ByteMutations() {
    static const std::vector<Mutation> all(std::begin(kByte), std::end(kByte));
    return all;
}
const std::vector<Mutation>& RiffMutations() {
    static const std::vector<Mutation> all = WithByteMutations(kRiff, std::size(kRiff));
    return all;
}
const std::vector<Mutation>& TextMutations() {
    static const std::vector<Mutation> all = WithByteMutations(kText, std::size(kText));
    return all;
}

void BeginCase(const std::string& description) {
    StartWatchdog();
    {
        std::lock_guard<std::mutex> hold(caseLock);
        currentCase = description;
    }
    oversize = 0;
    ++caseGeneration;
    caseRunning = true;
    capArmed = true;
}

void EndCase() {
    capArmed = false;
    caseRunning = false;
    ++caseGeneration;
}

int OversizeAllocations() { return oversize.load(); }

void NoteOpened() { ++openedCases; }

void RunSuite(const Reader& reader, int suiteCases) {
    const int cases = CaseCount(suiteCases);
    ExpectClean(RunReader(reader, cases), cases);
}

void ExpectClean(const ReaderCounts& counts, int cases) {
    EXPECT_EQ(counts.run, cases);
    EXPECT_EQ(counts.oversize, 0);
    EXPECT_EQ(counts.escaped, 0);
}

int CaseCount(int suiteCases) {
    const char* scale = std::getenv("LARKSPUR_HOSTILE_SCALE");
    const long factor = scale ? std::strtol(scale, nullptr, 10) : 1;
    return factor > 1 ? static_cast<int>(suiteCases * factor) : suiteCases;
}

std::vector<std::string> SeedFiles(const char* extension) {
    std::vector<std::string> seeds;
    const char* dir = std::getenv("LARKSPUR_HOSTILE_SOX_DIR");
    if (!dir || !*dir)
        return seeds;
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((std::string(dir) + "\\*." + extension).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return seeds;
    do
        seeds.push_back(ReadBytes(std::string(dir) + "\\" + found.cFileName));
    while (FindNextFileA(search, &found));
    FindClose(search);
    return seeds;
}

std::string MakeFolder(const std::string& prefix) {
    const std::string base = TempPath();
    for (int n = 1; n < 100000; ++n) {
        const std::string path = base + prefix + std::to_string(GetCurrentProcessId()) + "_" + std::to_string(n);
        if (CreateDirectoryA(path.c_str(), nullptr))
            return path;
    }
    return {};
}

void RemoveFolder(const std::string& folder) {
    for (const std::string& name : Names(folder)) {
        const std::string path = folder + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

std::vector<std::pair<std::string, std::string>> Snapshot(const std::string& folder) {
    std::vector<std::pair<std::string, std::string>> files;
    for (const std::string& name : Names(folder))
        files.emplace_back(name, ReadBytes(folder + "\\" + name));
    return files;
}

ReaderCounts RunReader(const Reader& reader, int cases) {
    ReaderCounts counts;
    const std::string folder = MakeFolder("lkhx");
    const std::string temp = TempPath();
    uint64_t nameSeed = 1469598103934665603ull;
    for (char c : reader.name)
        nameSeed = (nameSeed ^ static_cast<uint8_t>(c)) * 1099511628211ull;
    const std::vector<Mutation>& mutations = reader.mutations ? *reader.mutations : ByteMutations();
    int wroteOutside = 0;
    openedCases = 0;
    // A folder that keeps the input of a case that crashed, hung or failed a
    // check, to be turned into a regression test.
    const char* keepEnv = std::getenv("LARKSPUR_HOSTILE_KEEP");
    const std::string keep = keepEnv ? keepEnv : "";
    for (int n = 0; n < cases && !reader.seeds.empty(); ++n) {
        Prng rng(nameSeed + static_cast<uint64_t>(n));
        const size_t seedNo = static_cast<size_t>(n) % reader.seeds.size();
        std::string bytes = reader.seeds[seedNo];
        std::string applied;
        // Mostly one mutation, sometimes several on top of each other.
        for (uint32_t k = rng.OneIn(4) ? 2 + rng.Below(4) : 1; k; --k) {
            const Mutation& m = mutations[rng.Below(static_cast<uint32_t>(mutations.size()))];
            bytes = m.apply(bytes, rng);
            if (bytes.size() > reader.maxBytes)
                bytes.resize(reader.maxBytes);
            applied += applied.empty() ? m.name : std::string("+") + m.name;
        }
        const std::string description = reader.name + " #" + std::to_string(n) + " seed " +
                                        std::to_string(seedNo) + " " + applied;
        RemoveFolder(folder);
        CreateDirectoryA(folder.c_str(), nullptr);
        WriteBytes(folder + "\\" + kBystander, "bystander " + description);
        std::vector<std::string> tempBefore = Names(temp.substr(0, temp.size() - 1));
        const auto before = Snapshot(folder);

        const std::string kept = keep.empty() ? "" : keep + "\\" + reader.name + "-" + std::to_string(n) + ".bin";
        if (!kept.empty())
            WriteBytes(kept, bytes);
        const int failuresBefore = counts.escaped + counts.oversize + wroteOutside;
        const bool checkFailedBefore = ::testing::Test::HasFailure();

        BeginCase(description);
        try {
            reader.exercise(bytes, folder, static_cast<uint32_t>(n));
        } catch (const std::exception& e) {
            ++counts.escaped;
            std::printf("hostile: exception \"%s\" escaped in case %s\n", e.what(), description.c_str());
        } catch (...) {
            ++counts.escaped;
            std::printf("hostile: exception escaped in case %s\n", description.c_str());
        }
        const int refused = OversizeAllocations();
        EndCase();
        ++counts.run;
        if (refused) {
            ++counts.oversize;
            std::printf("hostile: allocation over %zu bytes (largest %zu) in case %s\n", kAllocationCap,
                        largestRefused.load(), description.c_str());
        }

        // Only the input and its own companions may have changed.
        auto after = Snapshot(folder);
        auto keep = [](const std::pair<std::string, std::string>& f) { return !IsInputName(f.first); };
        std::vector<std::pair<std::string, std::string>> b, a;
        std::copy_if(before.begin(), before.end(), std::back_inserter(b), keep);
        std::copy_if(after.begin(), after.end(), std::back_inserter(a), keep);
        std::vector<std::string> tempAfter = Names(temp.substr(0, temp.size() - 1));
        // Other tests may run beside this one in the same temporary folder:
        // only the audio-file classes' own temporary files ("RIF...") count.
        auto scratch = [](const std::string& name) { return _strnicmp(name.c_str(), "RIF", 3) != 0; };
        tempBefore.erase(std::remove_if(tempBefore.begin(), tempBefore.end(), scratch), tempBefore.end());
        tempAfter.erase(std::remove_if(tempAfter.begin(), tempAfter.end(), scratch), tempAfter.end());
        if (a != b || tempAfter != tempBefore) {
            ++wroteOutside;
            std::string changed;
            for (const std::string& name : tempAfter)
                if (!std::binary_search(tempBefore.begin(), tempBefore.end(), name))
                    changed += " +" + name;
            for (const std::string& name : tempBefore)
                if (!std::binary_search(tempAfter.begin(), tempAfter.end(), name))
                    changed += " -" + name;
            std::printf("hostile: wrote outside its file in case %s:%s%s\n", description.c_str(),
                        a != b ? " (the case folder)" : "", changed.c_str());
        }
        if (!kept.empty() && failuresBefore == counts.escaped + counts.oversize + wroteOutside &&
            checkFailedBefore == ::testing::Test::HasFailure())
            DeleteFileA(kept.c_str());
    }
    RemoveFolder(folder);
    counts.opened = openedCases.load();
    // The file readers tell how many damaged files still opened.
    const std::string opened = counts.opened ? " (opened " + std::to_string(counts.opened) + ")" : "";
    std::printf("hostile: %-10s cases %d%s, crashed %d, hung %d, oversize allocations %d, "
                "escaped exceptions %d, writes outside %d\n",
                reader.name.c_str(), counts.run, opened.c_str(), counts.crashed, counts.hung, counts.oversize,
                counts.escaped, wroteOutside);
    std::fflush(stdout);
    counts.escaped += wroteOutside;  // counted as failures by the callers' check
    return counts;
}

}  // namespace hostile

// ---- the allocation cap: every operator new of this binary, and in the
// 64-bit build every malloc, calloc and realloc of the C libraries linked
// into it (the codecs and libogg), which the link wraps.

namespace {
bool RefuseOverCap(size_t size) {
    if (!hostile::capArmed.load(std::memory_order_relaxed) || size <= hostile::kAllocationCap)
        return false;
    ++hostile::oversize;
    if (size > hostile::largestRefused)
        hostile::largestRefused = size;
    return true;
}

void* Allocate(size_t size, bool nothrow) {
    if (RefuseOverCap(size)) {
        if (nothrow)
            return nullptr;
        throw std::bad_alloc();
    }
    void* p = std::malloc(size ? size : 1);
    if (!p && !nothrow)
        throw std::bad_alloc();
    return p;
}
}  // namespace

void* operator new(size_t size) { return Allocate(size, false); }
void* operator new[](size_t size) { return Allocate(size, false); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return Allocate(size, true); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return Allocate(size, true); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

#ifdef _WIN64
extern "C" {
void* __real_malloc(size_t size);
void* __real_calloc(size_t count, size_t size);
void* __real_realloc(void* p, size_t size);
void* __wrap_malloc(size_t size) { return RefuseOverCap(size) ? nullptr : __real_malloc(size); }
void* __wrap_calloc(size_t count, size_t size) {
    const size_t total = count && size > SIZE_MAX / count ? SIZE_MAX : count * size;
    return RefuseOverCap(total) ? nullptr : __real_calloc(count, size);
}
void* __wrap_realloc(void* p, size_t size) { return RefuseOverCap(size) ? nullptr : __real_realloc(p, size); }
}
#endif
