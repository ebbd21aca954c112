// Re-ordering a looped recording into a new file, oldest audio first.
#include "recorder/editing/AudioReorder.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

enum class PassEnd { Done, Cancelled, Failed };

// Where the older audio ends: the end of the data. The data keeps the
// longest lap, so past a later lap that wrapped sooner it holds audio older
// still; that is kept behind the older lap rather than dropped, as a wrap
// point that came out short would otherwise drop the newest audio of an
// earlier recording.
uint32_t WrapEnd(const RecFile& file, uint32_t wrapPoint) {
    return std::max(wrapPoint, file.GetLength());
}

bool IsOpenEnd(uint32_t end) { return end == 0 || end == kNoPosition; }

// Counted in halves, rounded, as the progress dialog always showed it.
int PercentDone(uint32_t remaining, uint32_t total) {
    const uint64_t half = std::max<uint32_t>(total, 2) / 2;
    return 100 - static_cast<int>((uint64_t{remaining / 2} * 100 + half / 2) / half);
}

// Copies count bytes from the source's position to the end of the
// destination.
PassEnd CopyPass(RecFile& source, RecFile& destination, uint32_t count, std::vector<unsigned char>& buffer,
                 EditProgress& progress) {
    uint32_t remaining = count;
    while (remaining > 0) {
        if (!progress.SetPercent(PercentDone(remaining, count)) || progress.IsCancelled())
            return PassEnd::Cancelled;
        const uint32_t chunk = std::min(remaining, kReorderChunkBytes);
        const int32_t got = source.Read(buffer.data(), chunk);
        if (got <= 0 || static_cast<uint32_t>(got) > chunk)
            return PassEnd::Failed;
        if (destination.Write(buffer.data(), static_cast<uint32_t>(got)) != got)
            return PassEnd::Failed;
        remaining -= static_cast<uint32_t>(got);
    }
    return PassEnd::Done;
}

// The older lap's marks (the continuation's, from split to the wrap end)
// come first, then the current lap's, moved on by the older audio's length.
void AnnotateReordered(RecFile& reordered, const RecFile& current, const RecFile* continuation, uint32_t split,
                       uint32_t wrapEnd) {
    const uint32_t tail = wrapEnd > split ? wrapEnd - split : 0;
    if (continuation && tail > 0)
        CarryAnnotations(reordered, *continuation, split, wrapEnd, 0, tail);
    for (const TimeCodeRec& segment : current.TimeCodes())
        if (segment.position < split)
            reordered.AddTimeCode(segment.position + tail, segment.timeCode);
    for (const CommentRec& comment : current.Comments())
        reordered.AddComment(comment.text, comment.start + tail,
                             IsOpenEnd(comment.end) ? comment.end : comment.end + tail);
}

}  // namespace

void FoldContinuation(RecFile& current, const RecFile& continuation, uint32_t wrapPoint) {
    const uint32_t position = std::min(current.GetPosition(), current.GetLength());
    const uint32_t wrapEnd = WrapEnd(current, wrapPoint);
    if (position >= wrapEnd)
        return;  // the current lap went over all of the older one
    current.EndComment(position);
    CarryAnnotations(current, continuation, position, wrapEnd, position, wrapEnd);
}

int ReorderWrappedFile(std::unique_ptr<RecFile>& current, const RecFile* continuation, uint32_t wrapPoint,
                       EditProgress& progress, const RoomCheck& hasRoom) {
    if (!current || !current->GetOverwrite())
        return kReorderNotWrapped;
    current->SetOverwrite(false);
    if (!current->CanOverwrite())
        return kReorderNotWrapped;
    const auto keepAsRecorded = [&](int result) {
        if (continuation)
            FoldContinuation(*current, *continuation, wrapPoint);
        return result;
    };
    if (hasRoom && !hasRoom(current->GetDataLength()))
        return keepAsRecorded(kReorderNoRoom);
    std::unique_ptr<RecFile> reordered = AudioEdit::MakeFileBeside(*current, MMIO_READWRITE);
    if (!reordered)
        return keepAsRecorded(kReorderNewFileFailed);

    const uint32_t split = std::min(current->GetPosition(), current->GetLength());
    const uint32_t wrapEnd = WrapEnd(*current, wrapPoint);
    AnnotateReordered(*reordered, *current, continuation, split, wrapEnd);
    std::vector<unsigned char> buffer(kReorderChunkBytes);
    progress.Show("Copying audio data 1/2");
    PassEnd end = PassEnd::Failed;
    if (current->Position(split))
        end = CopyPass(*current, *reordered, wrapEnd > split ? wrapEnd - split : 0, buffer, progress);
    if (end == PassEnd::Done) {
        progress.Show("Copying audio data 2/2");
        end = current->Position(0) ? CopyPass(*current, *reordered, split, buffer, progress) : PassEnd::Failed;
    }
    progress.Close();
    (void)current->Position(split);
    if (end != PassEnd::Done) {
        DeleteScratchFile(reordered);
        return keepAsRecorded(end == PassEnd::Cancelled ? kReorderCancelled : kReorderCopyFailed);
    }
    const int placed = PutFileInPlace(current, std::move(reordered));
    if (placed == kEditNotReplaced)
        return keepAsRecorded(kReorderNotReplaced);
    (void)current->Update();
    (void)current->Position(current->GetLength());
    return placed;
}
