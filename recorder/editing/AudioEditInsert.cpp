// Inserting the paste buffer into the current recording, and putting a
// rebuilt file in place of the recording.
#include "recorder/editing/AudioEdit.h"

#include <algorithm>
#include <utility>

#include "audiofile/FileNames.h"
#include "audiofile/FileSystem.h"
#include "recorder/editing/VorbisSetupHeader.h"

namespace {

// The packets of an Ogg Vorbis buffer are copied as they are: they decode in
// the recording only under the same setup header (the nominal rate alone
// says nothing of how another encoder coded them).
bool SameVorbisSetup(const RecFile& current, const RecFile& buffer) {
    if (current.GetFileType() != ftOgg)
        return true;
    const std::string setup = ReadVorbisSetupHeader(current.GetPath());
    return !setup.empty() && setup == ReadVorbisSetupHeader(buffer.GetPath());
}

}  // namespace

int AudioEdit::DropMadeFile(int result) {
    if (madeCurrentFile_ && fileSlot_) {
        Drop(fileSlot_);
        madeCurrentFile_ = false;
    }
    return result;
}

int AudioEdit::PrepareInsert(uint32_t& at, bool insertingFile, const std::string& name) {
    if (!PasteBuffer)
        return kPasteNoBuffer;
    if (!PasteBuffer->GetFormat())
        return kPasteBufferNoFormat;
    if (!PasteBuffer->IsOpen())
        return kPasteBufferNotOpen;
    if (!fileSlot_) {
        // A paste with no recording makes one: a scratch recording in the
        // temporary folder that still needs its name, as a new recording does.
        std::string path;
        const std::optional<std::string> extension = ExtensionPart(name);
        const bool named = insertingFile ? MakeName(nullptr, path, true, extension ? extension->c_str() : nullptr)
                                         : MakeTempName(nullptr, path, true, PasteBuffer->GetFileType());
        if (named)
            fileSlot_ = MakeNewFile(*PasteBuffer, path.c_str(), MMIO_CREATE | MMIO_READWRITE);
        if (!fileSlot_)
            return kPasteNoCurrentFile;
        (void)fileSlot_->Update();
        fileSlot_->SetTemporary(true);
        madeCurrentFile_ = true;
    }
    const RecFile& current = *fileSlot_;
    if (!current.GetFormat() || current.GetFileType() != PasteBuffer->GetFileType() ||
        !SameAudioFormat(*current.GetFormat(), *PasteBuffer->GetFormat()) ||
        !SameVorbisSetup(current, *PasteBuffer))
        return DropMadeFile(kPasteFormatsDiffer);
    if (!HasDiskSpace(uint64_t{current.GetDataLength()} + PasteBuffer->GetDataLength()))
        return DropMadeFile(kPasteNoRoom);
    at = std::min(at, current.GetLength());
    return kEditDone;
}

int AudioEdit::InsertBuffer(uint32_t at) {
    RecFile* current = fileSlot_.get();
    (void)current->Position(0);
    std::unique_ptr<RecFile> newFile = MakeNewFile(*current, nullptr, MMIO_READWRITE);
    if (!newFile)
        return DropMadeFile(kPasteNewFileFailed);
    CopyRange(newFile.get(), current, at, " Copying before insert ");
    (void)newFile->Update();
    (void)PasteBuffer->Position(0);
    if (!Stopped())
        CopyRange(newFile.get(), PasteBuffer.get(), PasteBuffer->GetLength(), " Inserting paste buffer");
    (void)current->Position(at);
    if (!Stopped())
        CopyRange(newFile.get(), current, current->GetLength() - at, " Appending end buffer");
    const int result = FinishPasses(std::move(newFile), at, kEditDone);
    // A cancelled paste into a recording it made leaves no empty recording.
    return Stopped() ? DropMadeFile(result) : result;
}

int AudioEdit::FinishPasses(std::unique_ptr<RecFile> newFile, uint32_t position, int done) {
    int result = done;
    if (!Stopped()) {
        const int placed = PutFileInPlace(fileSlot_, std::move(newFile));
        if (placed != kEditDone)
            result = placed;
    }
    Drop(newFile);
    progress_.Close();
    if (fileSlot_) {
        (void)fileSlot_->Update();
        (void)fileSlot_->Position(position);
    }
    return failed_ ? kEditCopyFailed : result;
}

// The old file goes first, then the new one takes its name. When the old
// file cannot be removed (another program holds it) it is opened again as
// it was and the new file deleted; when the new file cannot take the name,
// the old one is already gone and the edited audio stays the current file,
// marked temporary so it is saved under a name and not lost.
int PutFileInPlace(std::unique_ptr<RecFile>& slot, std::unique_ptr<RecFile> newFile) {
    RecFile& old = *slot;
    const std::string keptPath = old.GetPath();
    const bool keptTemporary = old.IsTemporary();
    const uint32_t keptPosition = old.GetPosition();
    (void)old.Update();
    if (!old.Delete()) {
        if (!old.IsOpen())
            (void)old.Open();
        old.SetTemporary(keptTemporary);
        (void)old.Position(keptPosition);
        DeleteScratchFile(newFile);
        return kEditNotReplaced;
    }
    slot.reset();
    (void)newFile->Update();
    const std::string scratchPath = newFile->GetPath();
    newFile->SetTemporary(false);
    const bool renamed = newFile->Rename(keptPath);
    if (!newFile->IsOpen())
        (void)newFile->Open();
    if (!renamed) {
        newFile->SetTemporary(true);
        slot = std::move(newFile);
        return kEditKeptTemporary;
    }
    // Moving to another drive copies: the scratch file is left behind.
    if (!SamePath(scratchPath, keptPath) && FileExists(scratchPath))
        (void)Files().Delete(scratchPath);
    newFile->SetTemporary(keptTemporary);
    slot = std::move(newFile);
    return kEditDone;
}
