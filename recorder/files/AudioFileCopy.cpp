#include "recorder/files/AudioFileCopy.h"

#include <windows.h>
#include <mmsystem.h>

#include <algorithm>
#include <vector>

#include "audiofile/RecFile.h"
#include "recorder/files/SavePlan.h"

namespace {

struct MmioFile {
    HMMIO handle = nullptr;
    ~MmioFile() { Close(); }
    void Close() {
        if (handle)
            mmioClose(handle, 0);
        handle = nullptr;
    }
};

HMMIO OpenMmio(const std::string& name, DWORD mode) {
    std::vector<char> buffer(name.begin(), name.end());
    buffer.push_back('\0');
    return mmioOpenA(buffer.data(), nullptr, mode);
}

CopyOutcome CopyBlocks(HMMIO input, HMMIO output, uint64_t size, const CopyProgress& progress) {
    std::vector<char> block(kCopyBlockBytes);
    uint64_t copied = 0;
    while (copied < size) {
        if (!progress(CopyPercent(copied, size)))
            return CopyOutcome::Cancelled;
        const LONG bytes = static_cast<LONG>(std::min<uint64_t>(size - copied, kCopyBlockBytes));
        if (mmioRead(input, block.data(), bytes) != bytes)
            return CopyOutcome::ReadFailed;
        if (mmioWrite(output, block.data(), bytes) != bytes)
            return CopyOutcome::WriteFailed;
        copied += static_cast<uint64_t>(bytes);
    }
    return CopyOutcome::Done;
}

}  // namespace

CopyOutcome CopyAudioFile(const std::string& from, const std::string& to,
                          const CopyProgress& progress) {
    MmioFile input;
    input.handle = OpenMmio(from, MMIO_READ);
    if (!input.handle)
        return CopyOutcome::CannotOpenInput;
    MmioFile output;
    output.handle = OpenMmio(to, MMIO_CREATE | MMIO_WRITE);
    if (!output.handle)
        return CopyOutcome::CannotOpenOutput;
    const LONG end = mmioSeek(input.handle, 0, SEEK_END);
    mmioSeek(input.handle, 0, SEEK_SET);
    CopyOutcome outcome = end < 0 ? CopyOutcome::ReadFailed
                                  : CopyBlocks(input.handle, output.handle,
                                               static_cast<uint64_t>(end), progress);
    // mmio buffers nothing here, but a failing close still means lost data.
    if (mmioClose(output.handle, 0) != MMSYSERR_NOERROR && outcome == CopyOutcome::Done)
        outcome = CopyOutcome::WriteFailed;
    output.handle = nullptr;
    // Annotations kept beside the file (an MP3 with tags off) go with it.
    if (outcome == CopyOutcome::Done && !RecFile::CopyJournal(from, to))
        outcome = CopyOutcome::WriteFailed;
    if (outcome != CopyOutcome::Done)
        DeleteFileA(to.c_str());
    return outcome;
}
