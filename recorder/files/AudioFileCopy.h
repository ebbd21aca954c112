// Byte-for-byte copy of a recording to a new name, in 450000-byte blocks,
// reporting progress between blocks so the caller can pump messages, show
// the percentage and cancel; the journal beside the recording goes with it
// (RecFile::CopyJournal). A copy that does not finish leaves no partial
// target behind.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

enum class CopyOutcome {
    Done,
    Cancelled,
    CannotOpenInput,
    CannotOpenOutput,
    ReadFailed,
    WriteFailed,
};

// Called before each block with the percentage done; returns false to cancel.
using CopyProgress = std::function<bool(int percent)>;

constexpr uint32_t kCopyBlockBytes = 450000;

CopyOutcome CopyAudioFile(const std::string& from, const std::string& to,
                          const CopyProgress& progress);
