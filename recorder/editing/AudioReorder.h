// Re-ordering a looped recording. A recording whose file limit loops wraps
// round to the start of its file and goes on over its oldest audio; when it
// stops, the file holds the newest audio before the stop position and the
// lap before it from there to where that lap wrapped. The re-ordering
// builds a new file that plays oldest to newest and puts it in place under
// the recording's path. The continuation file made at the wrap holds the
// segments and comments of the lap before; the recording holds the current
// lap's.
//
// Windowless: the file slot is the recorder window's CurrentFile; messages
// are the window's.
#pragma once

#include <cstdint>
#include <memory>

#include "audiofile/RecFile.h"
#include "recorder/clipboard/ClipboardTransfer.h"
#include "recorder/editing/AudioEdit.h"
#include "recorder/editing/EditProgress.h"

constexpr int kReorderDone = 0;
constexpr int kReorderNotWrapped = 1;       // no file, or not in overwrite state: nothing done
constexpr int kReorderNoRoom = -30;         // file kept as recorded
constexpr int kReorderNewFileFailed = -31;  // file kept as recorded
constexpr int kReorderCancelled = -32;      // file kept as recorded
constexpr int kReorderCopyFailed = -33;     // a Read or Write failed; file kept as recorded
// The old file could not be removed: it is kept as recorded.
constexpr int kReorderNotReplaced = kEditNotReplaced;
// The re-ordered file could not take the recording's name: it is the
// current file under a temporary name (the old one is gone).
constexpr int kReorderKeptTemporary = kEditKeptTemporary;

// Bytes moved per chunk.
constexpr uint32_t kReorderChunkBytes = 450000;

// Rebuilds the recording in current (overwrite flag on, positioned where the
// recording stopped) so that it plays oldest to newest: [position, wrap end)
// then [0, position). The wrap end is the larger of wrapPoint and the data
// length: no audio the file holds is dropped. The new file takes current's
// path and temporary mark and is left at its end.
// Whenever the recording is kept as recorded, the continuation's marks of
// its older audio are folded into it (FoldContinuation). The overwrite flag
// is off afterwards in every case.
int ReorderWrappedFile(std::unique_ptr<RecFile>& current, const RecFile* continuation, uint32_t wrapPoint,
                       EditProgress& progress, const RoomCheck& hasRoom);

// Adds to current, at their own positions, the continuation's segments and
// comments of the older audio [current's position, wrap end) that a looped
// recording still holds: the clock time at the position starts a segment
// there, comments are cut to that range, and current's own comments end at
// the position.
void FoldContinuation(RecFile& current, const RecFile& continuation, uint32_t wrapPoint);
