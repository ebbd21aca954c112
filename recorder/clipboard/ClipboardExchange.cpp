#include "recorder/clipboard/ClipboardExchange.h"

#include "core/AppState.h"
#include "audiofile/FileNames.h"
#include "audiofile/MediaFile.h"
#include "recorder/files/FileNaming.h"

std::unique_ptr<RecFile> PasteBuffer;

namespace {

constexpr TransferTexts kToClipboard{"Copying audio to clipboard...", " Copying to clipboard %d%%"};
constexpr TransferTexts kFromClipboard{"Copying clipboard audio to disk...",
                                       " Copying to temp file %d%%"};

}  // namespace

bool ClipboardExchange::PutOnClipboard(const std::string& name) {
    return PutFileOnClipboard(owner_, name, kToClipboard, progress_);
}

bool ClipboardExchange::PutImageOnClipboard(const std::string& name, HGLOBAL image) {
    return PutBlockOnClipboard(owner_, name, image);
}

bool ClipboardExchange::GetFromClipboard(const std::string& name) {
    return GetFileFromClipboard(owner_, name, kFromClipboard, progress_, hasRoom_) ==
           ClipboardGet::Done;
}

bool ClipboardExchange::ClipboardHasAudio(int type) const {
    if (type < 0)
        return ClipboardHasAudio(ftWav) || ClipboardHasAudio(ftMp3) || ClipboardHasAudio(ftOgg);
    if (!AppState.UseWinClip)
        return PasteBuffer && PasteBuffer->GetFileType() == type;
    return WindowsClipboardHasAudio(type);
}

int ClipboardExchange::SaveClipboardAs(const std::string& name, int currentType) {
    if (!AppState.UseWinClip)
        return SavePasteBufferAs(name);
    if (!ClipboardHasAudio(currentType))
        return kClipboardNoAudio;
    return GetFromClipboard(name) ? kClipboardSaved : kClipboardNotWritten;
}

// The paste buffer is closed so every byte is on disk, copied, and opened
// again at its position, so a later paste still finds it open.
int ClipboardExchange::SavePasteBufferAs(const std::string& name) {
    if (!PasteBuffer)
        return kClipboardNoPasteBuffer;
    RecFile& buffer = *PasteBuffer;
    if (hasRoom_ && !hasRoom_(FileSize(buffer.GetPath())))
        return kClipboardNotWritten;
    const bool temporary = buffer.IsTemporary();
    const uint32_t position = buffer.GetPosition();
    const bool targetExisted = PathExists(name);
    // A temporary file that closes unmodified is deleted by Close.
    buffer.SetTemporary(false);
    (void)buffer.Close();
    // The journal goes along: it holds the annotations of an MP3 with tags off.
    const bool copied = CopyFileA(buffer.GetPath().c_str(), name.c_str(), FALSE) != FALSE &&
                        RecFile::CopyJournal(buffer.GetPath(), name);
    // A copy that stopped part way (a full disk) leaves no half file behind;
    // a file that was there before is not ours to remove.
    if (!copied && !targetExisted)
        DeleteFileA(name.c_str());
    if (buffer.Reopen())
        (void)buffer.Position(position);
    buffer.SetTemporary(temporary);
    return copied ? kClipboardSaved : kClipboardNotWritten;
}
