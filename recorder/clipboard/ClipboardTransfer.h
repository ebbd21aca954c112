// The transfer of a whole audio-file image between a file and the Windows
// clipboard: the bytes of the file from its first to its last, in one
// movable shared global block, under the clipboard format of the file's
// type. Windowless: the clipboard is opened for the owner window given, and
// progress goes through TransferProgress, so tests drive it with a hidden
// window and a scripted progress.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <utility>
#include <string>

// Bytes copied between two progress steps.
constexpr uint32_t kClipboardChunkBytes = 600000;

// What a transfer shows: the progress dialog's title and the main window's
// caption pattern (one "%d", the percentage).
struct TransferTexts {
    const char* dialogTitle;
    const char* captionPattern;
};

// Progress of one transfer: Begin before the first chunk, Step before each
// chunk (false cancels; it may pump messages), End once afterwards.
class TransferProgress {
public:
    virtual ~TransferProgress() = default;
    virtual void Begin(const TransferTexts& texts) = 0;
    virtual bool Step(int percent) = 0;
    virtual void End() = 0;
};

// A progress that shows nothing and never cancels.
class SilentProgress : public TransferProgress {
public:
    void Begin(const TransferTexts&) override {}
    bool Step(int) override { return true; }
    void End() override {}
};

// The percentage shown with remaining bytes left of total (total at least 2).
int TransferPercent(uint64_t remaining, uint64_t total);

// The clipboard format of a file type: CF_WAVE for WAV and every type
// without a format of its own, the registered "mp3", "wmv" and "ogg" formats
// for types 1, 2 and 3. 0 when a registration fails.
UINT ClipboardFormatForType(int type);
// The format for a file name, by its extension.
UINT ClipboardFormatForName(const std::string& path);

// Puts the file's whole image on the clipboard, replacing everything on it.
// False when the file cannot be read or is empty, memory is short, the transfer was
// cancelled (the clipboard is then unchanged) or the clipboard refused.
bool PutFileOnClipboard(HWND owner, const std::string& path, const TransferTexts& texts,
                        TransferProgress& progress);
// Puts a file image already in a block on the clipboard under the format
// for the path's type, replacing everything on it. The block is the
// clipboard's on success and freed otherwise.
bool PutBlockOnClipboard(HWND owner, const std::string& path, HGLOBAL image);

// Room for the image on the disk; asked before the file is made.
using RoomCheck = std::function<bool(uint64_t bytes)>;

enum class ClipboardGet {
    Done,
    NoData,      // the clipboard cannot be opened or holds nothing of the name's type
    NoRoom,      // the room check refused
    CannotWrite, // the file cannot be made or written (nothing is left of it)
    Cancelled,   // the part written so far stays
};

// Writes the clipboard's image of the name's type into the file. The file
// is made only when there is an image to write, and the clipboard stays open
// until the last byte is written.
ClipboardGet GetFileFromClipboard(HWND owner, const std::string& path, const TransferTexts& texts,
                                  TransferProgress& progress, const RoomCheck& hasRoom);

// IsClipboardFormatAvailable for the type's format; false for types without
// audio on the clipboard (anything but 0, 1, 3).
bool WindowsClipboardHasAudio(int type);
