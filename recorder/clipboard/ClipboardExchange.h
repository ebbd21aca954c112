// Audio in and out of the recorder as whole file images: the Windows
// clipboard while the UseWinClip setting is on, the program's own paste
// buffer while it is off ("Private Clipboard"), when the Windows clipboard
// is neither read nor written. The edit operations build one of these for
// each command; the owner window is the one that owns the clipboard.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <utility>

#include "audiofile/RecFile.h"
#include "recorder/clipboard/ClipboardTransfer.h"

// The program-wide paste buffer: the audio of the last cut or copy, or the
// file being pasted; null when empty.
extern std::unique_ptr<RecFile> PasteBuffer;

// Results of SaveClipboardAs.
constexpr int kClipboardSaved = 0;
constexpr int kClipboardNoAudio = -15;      // nothing of the current file's type on the clipboard
constexpr int kClipboardNotWritten = -16;   // the image could not be written to the name
constexpr int kClipboardNoPasteBuffer = -17;

class ClipboardExchange {
public:
    ClipboardExchange(HWND owner, TransferProgress& progress, RoomCheck hasRoom = nullptr)
        : owner_(owner), progress_(progress), hasRoom_(std::move(hasRoom)) {}

    // The file's whole image onto the Windows clipboard.
    bool PutOnClipboard(const std::string& name);
    // An image of the named file already in a block onto the Windows
    // clipboard; the block is the clipboard's or freed.
    bool PutImageOnClipboard(const std::string& name, HGLOBAL image);
    // The clipboard's image of the name's type into that file.
    bool GetFromClipboard(const std::string& name);
    // Audio of the type waiting to be pasted; -1 asks for WAV, MP3 or Ogg
    // Vorbis. Under the private clipboard only the paste buffer counts.
    bool ClipboardHasAudio(int type) const;
    // Writes what would be pasted into a file of that name; currentType is
    // the current file's type (0 without one).
    int SaveClipboardAs(const std::string& name, int currentType);

private:
    int SavePasteBufferAs(const std::string& name);

    HWND owner_;
    TransferProgress& progress_;
    RoomCheck hasRoom_;
};
