// A cut from the middle of a 10-minute and a 60-minute 44.1 kHz stereo
// 16-bit WAV recording against a plain copy of the same file (CopyFileA),
// both in the same run and the same folder. The cut reads and writes the
// whole file once (the kept parts into a new file, the cut part into the
// paste buffer) and renames, so it should take about one copy.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "core/AppState.h"
#include "audiofile/FileNames.h"
#include "audiofile/PcmFormat.h"
#include "audiofile/Sha1.h"
#include "audiofile/WaveFile.h"
#include "recorder/editing/AudioEdit.h"

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

bool MakeRecording(const std::string& path, uint32_t minutes) {
    const WAVEFORMATEX format = PcmFormat(2, 44100, 16);
    WaveFile file(path.c_str(), &format, MMIO_CREATE | MMIO_READWRITE);
    if (!file.Open())
        return false;
    std::vector<char> second(format.nAvgBytesPerSec);
    for (size_t i = 0; i < second.size(); ++i)
        second[i] = static_cast<char>(i * 31 + i / 977);
    for (uint32_t s = 0; s < minutes * 60; ++s)
        if (file.Write(second.data(), static_cast<uint32_t>(second.size())) != static_cast<int32_t>(second.size()))
            return false;
    return file.Close();
}

// Cuts the middle tenth; the seconds it took, or -1.
double TimeCut(const std::string& path) {
    std::unique_ptr<RecFile> slot = std::make_unique<WaveFile>(path.c_str(), nullptr, MMIO_READWRITE);
    if (!slot->Open())
        return -1;
    const uint32_t length = slot->GetLength();
    SilentEditProgress progress;
    SilentProgress quiet;
    ClipboardExchange clipboard(nullptr, quiet);
    const Clock::time_point start = Clock::now();
    int result;
    {
        AudioEdit edit(slot, progress, clipboard);
        result = edit.CutSelection(length / 20 * 9, length / 20 * 11);
    }
    slot.reset();  // closed: every byte on disk
    const double took = Seconds(start);
    DiscardPasteBuffer();
    return result == kCutDone ? took : -1;
}

// The cut's own parts: reading the recording through the file class in
// chunks, and writing it into a new recording.
void TimeParts(const std::string& path, double& readSeconds, double& writeSeconds) {
    WaveFile in(path.c_str(), nullptr, MMIO_READ);
    readSeconds = writeSeconds = -1;
    if (!in.Open())
        return;
    const std::string copy = path + ".parts.wav";
    WaveFile out(copy.c_str(), in.GetFormat(), MMIO_CREATE | MMIO_READWRITE);
    if (!out.Open())
        return;
    std::vector<char> buffer(kEditChunkBytes);
    Clock::time_point start = Clock::now();
    while (in.Read(buffer.data(), kEditChunkBytes) > 0) {
    }
    readSeconds = Seconds(start);
    (void)in.Position(0);
    start = Clock::now();
    for (int32_t got; (got = in.Read(buffer.data(), kEditChunkBytes)) > 0;)
        (void)out.Write(buffer.data(), static_cast<uint32_t>(got));
    (void)out.Close();
    writeSeconds = Seconds(start) - readSeconds;
    DeleteFileA(copy.c_str());
}

// Every new recording is signed as it is written: the digest of that many bytes.
double TimeDigest(uint64_t bytes) {
    std::vector<char> buffer(kEditChunkBytes, 'x');
    Sha1 digest;
    digest.Init();
    const Clock::time_point start = Clock::now();
    for (uint64_t done = 0; done < bytes; done += buffer.size())
        digest.Update(buffer.data(), buffer.size());
    (void)digest.Final();
    return Seconds(start);
}

double TimeCopy(const std::string& from, const std::string& to) {
    const Clock::time_point start = Clock::now();
    const bool ok = CopyFileA(from.c_str(), to.c_str(), FALSE) != FALSE;
    const double took = Seconds(start);
    DeleteFileA(to.c_str());
    return ok ? took : -1;
}

}  // namespace

int main() {
    AppState.Reset();
    AppState.UseWinClip = false;  // the private paste buffer: no clipboard in the timing
    std::string dir;
    GetTempDirectory(dir);
    for (const uint32_t minutes : {10u, 60u}) {
        const std::string path = dir + "lkbench_cut_" + std::to_string(minutes) + ".wav";
        if (!MakeRecording(path, minutes)) {
            std::printf("cannot write %s\n", path.c_str());
            return 1;
        }
        const uint64_t bytes = FileSize(path);
        (void)TimeCopy(path, path + ".copy");  // warm the cache for both
        const double copy = TimeCopy(path, path + ".copy");
        double readSeconds = 0, writeSeconds = 0;
        TimeParts(path, readSeconds, writeSeconds);
        const double cut = TimeCut(path);
        DeleteFileA(path.c_str());
        if (copy <= 0 || cut < 0) {
            std::printf("%u minutes: the copy or the cut failed\n", minutes);
            return 1;
        }
        std::printf("%2u minutes (%llu bytes): copy %.3f s, cut %.3f s, cut/copy %.2f\n", minutes,
                    static_cast<unsigned long long>(bytes), copy, cut, cut / copy);
        std::printf("   reading it through the file class %.3f s, writing it as a new recording %.3f s,"
                    " its signature digest alone %.3f s\n",
                    readSeconds, writeSeconds, TimeDigest(bytes));
    }
    return 0;
}
