#include "audiofile/RecFile.h"

#include <algorithm>
#include <ctime>

const char* const kAnnotationKey = "quillmoor timecode";

RecFile::RecFile(const char* name, uint32_t openMode) : MediaFile(name, openMode) {}

RecFile::~RecFile() {
    if (journal_)
        CloseJournal(!journalNeeded_);
}

uint32_t RecFile::GetSeconds(uint32_t length) const {
    const uint32_t rate = GetAvgBytesPerSec();
    if (!GetFormat() || rate == 0)
        return 0;
    return (length == kWholeLength ? GetLength() : length) / rate;
}

uint32_t RecFile::RelativePosition(int32_t seconds) const {
    const int64_t target = int64_t{GetPosition()} + int64_t{seconds} * GetAvgBytesPerSec();
    if (target < 0)
        return 0;
    return target > int64_t{GetLength()} ? GetLength() : static_cast<uint32_t>(target);
}

int64_t RecFile::GetTimeCode(uint32_t position) const {
    if (position == kNoPosition)
        position = GetPosition();
    const int index = FindTimeCode(position);
    // Before the first segment there is no clock time.
    if (index < 0 || segments_[index].timeCode == 0)
        return 0;
    return segments_[index].timeCode + GetSeconds(position - segments_[index].position);
}

// ---- segments

void RecFile::InsertTimeCode(const TimeCodeRec& rec) {
    segments_.push_back(rec);
    const size_t n = segments_.size();
    if (n > 1 && segments_[n - 2].position > segments_[n - 1].position)
        std::stable_sort(segments_.begin(), segments_.end(),
                         [](const TimeCodeRec& a, const TimeCodeRec& b) { return a.position < b.position; });
}

void RecFile::AddTimeCode(uint32_t position, int64_t timeCode, bool force) {
    if (!force && readOnly_)
        return;
    if (position == kNoPosition)
        position = GetOverwrite() ? GetPosition() : GetLength();
    const int64_t stamp = timeCode < 0 ? static_cast<int64_t>(_time64(nullptr)) : timeCode;
    for (int i = TimeCodeCount() - 1; i >= 0 && segments_[i].position >= position; --i) {
        if (segments_[i].position != position)
            continue;
        if (segments_[i].timeCode == stamp)
            return;
        // Another clock time at the same place replaces it; that is a change to save.
        segments_.erase(segments_.begin() + i);
        InsertTimeCode({position, stamp});
        if (!readOnly_)
            modified_ = true;
        return;
    }
    // The audio before a first clock-timed segment has no clock time.
    if (timeCode > 0 && GetDataLength() != 0 && segments_.empty() && position > 0)
        InsertTimeCode({0, 0});
    InsertTimeCode({position, stamp});
    if (!readOnly_)
        modified_ = true;
}

void RecFile::DeleteTimeCode(int index) {
    if (readOnly_ || index < 0 || index >= TimeCodeCount())
        return;
    segments_.erase(segments_.begin() + index);
    modified_ = true;
}

uint32_t RecFile::GetTimeCodePos(int index) const {
    return (index < 0 || index >= TimeCodeCount()) ? kNoPosition : segments_[index].position;
}

int64_t RecFile::GetTimeCodeAt(int index) const {
    return (index < 0 || index >= TimeCodeCount()) ? 0 : segments_[index].timeCode;
}

int RecFile::FindTimeCode(uint32_t position) const {
    if (position == kNoPosition)
        position = GetPosition();
    int found = -1;
    for (int i = 0; i < TimeCodeCount() && segments_[i].position <= position; ++i)
        found = i;
    return found;
}

uint32_t RecFile::NextSegmentPosition(uint32_t position) const {
    if (GetDataLength() == 0)
        return 0;
    const int next = FindTimeCode(position) + 1;  // segment 0 when none starts before
    return next < TimeCodeCount() ? segments_[next].position : GetLength();
}

uint32_t RecFile::PrevSegmentPosition(uint32_t position) const {
    const WAVEFORMATEX* format = GetFormat();
    const bool frames = GetFileType() == ftOgg || GetFileType() == ftSpeex;
    const uint32_t margin = !format ? 300 : frames ? PositionUnitsPerSecond() : format->nAvgBytesPerSec;
    if (position == kNoPosition)
        position = GetPosition();
    const int index = FindTimeCode(position);
    if (index < 0)
        return 0;
    // Close after a segment start, "back" means the segment before.
    if (uint64_t{position} <= uint64_t{segments_[index].position} + margin)
        return index > 0 ? segments_[index - 1].position : 0;
    return segments_[index].position;
}

uint32_t RecFile::SegmentLength(int index) const {
    if (index < 0)
        index = FindTimeCode(kNoPosition);
    if (index < 0 || index >= TimeCodeCount())
        return 0;
    const uint32_t start = segments_[index].position;
    const uint32_t end = index + 1 < TimeCodeCount() ? segments_[index + 1].position : GetLength();
    return end > start ? end - start : 0;
}

void RecFile::CleanTimeCodes() {
    if (GetDataLength() == 0) {
        segments_.clear();
        return;
    }
    for (int i = 0; i < TimeCodeCount();) {
        if (SegmentLength(i) == 0 && !readOnly_)
            segments_.erase(segments_.begin() + i);
        else
            ++i;
    }
}

uint32_t RecFile::TimeCodeToPosition(int64_t clockTime) const {
    const WAVEFORMATEX* format = GetFormat();
    const uint32_t rate = PositionUnitsPerSecond() ? PositionUnitsPerSecond() : 8000;
    const uint32_t blockAlign = format ? format->nBlockAlign : 0;
    uint32_t best = 0;
    int64_t bestDistance = INT64_MAX;
    for (int i = 0; i < TimeCodeCount(); ++i) {
        const TimeCodeRec& segment = segments_[i];
        if (segment.timeCode == 0)
            continue;
        const uint32_t spanEnd = i + 1 < TimeCodeCount()
            ? (segments_[i + 1].position > blockAlign ? segments_[i + 1].position - blockAlign : 0)
            : GetLength();
        const uint32_t spanBytes = spanEnd > segment.position ? spanEnd - segment.position : 0;
        const int64_t clockEnd = segment.timeCode + GetSeconds(spanBytes);
        if (clockTime >= segment.timeCode && clockTime <= clockEnd) {
            const uint64_t position = segment.position + uint64_t(clockTime - segment.timeCode) * rate;
            return position > GetLength() ? GetLength() : static_cast<uint32_t>(position);
        }
        const bool after = segment.timeCode > clockTime;
        const int64_t distance = after ? segment.timeCode - clockTime : clockTime - clockEnd;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = after ? segment.position : segment.position + spanBytes;
        }
    }
    return best;
}
