#include "recorder/capture/FileLimits.h"

#include "core/AppState.h"
#include "audiofile/MediaFile.h"
#include "audiofile/RiffFile.h"

namespace {

constexpr uint64_t kMegabyte = 1048576;
// Room for the buffers that arrive between two checks, a pre-trigger copy
// included, and for the chunks written after the data.
constexpr uint64_t kCeilingMargin = 32 * kMegabyte;

}  // namespace

FileLimitSettings FileLimitSettings::From(const AppStateValues& state)
{
    FileLimitSettings s;
    s.action = state.FileAction;
    s.sizeSel = state.FileSizeSel;
    s.sizeMb = state.FileSize;
    s.durationMinutes = state.FileDuration;
    return s;
}

uint64_t FileCeilingUnits(int fileType)
{
    if (fileType == ftWav)
        return RiffFile::kMaxFileOffset - kCeilingMargin;
    return 0xFFFFFFFFull - kCeilingMargin;
}

LimitHit CheckFileLimit(const FileLimitSettings& limits, const FileProgress& progress,
                        uint64_t ceilingUnits)
{
    if (limits.action != 0) {
        if (limits.sizeSel == 0 && limits.sizeMb > 0 &&
            progress.units >= uint64_t(limits.sizeMb) * kMegabyte)
            return LimitHit::UserLimit;
        if (limits.sizeSel == 1 && limits.durationMinutes > 0 &&
            progress.seconds >= uint64_t(limits.durationMinutes) * 60)
            return LimitHit::UserLimit;
    }
    return progress.units >= ceilingUnits ? LimitHit::Ceiling : LimitHit::None;
}

bool MegabytesToLimit(const FileLimitSettings& limits, double usedMb, uint32_t avgBytesPerSec,
                      double& restMb)
{
    if (limits.action == 0)
        return false;
    if (limits.sizeSel == 0 && limits.sizeMb != 0) {
        restMb = limits.sizeMb - usedMb;
        return true;
    }
    if (limits.sizeSel == 1 && limits.durationMinutes != 0 && avgBytesPerSec != 0) {
        const double limitMb = double(uint64_t(limits.durationMinutes) * 60 * avgBytesPerSec) / kMegabyte;
        restMb = limitMb - usedMb;
        if (restMb < 0)
            restMb = 0;
        return true;
    }
    return false;
}
