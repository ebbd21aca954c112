// Inserting the paste buffer into the current recording, and putting a
// rebuilt file in place of the recording.
#include "recorder/editing/AudioEdit.h"

#include <algorithm>
#include <utility>

#include "audiofile/FileNames.h"
#include "audiofile/FileSystem.h"
#include "audiofile/VorbisSetupHeader.h"

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
    std::unique_ptr<RecFile> newFile = MakeFileBeside(*current, MMIO_READWRITE);
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

// The new file takes the old one's name in one step (the old file is closed
// for it, never deleted first): the name holds either the whole old file or
// the whole new one. When the replacement is refused (another program holds
// the old file) the old file is opened again as it was and the new one goes.
int PutFileInPlace(std::unique_ptr<RecFile>& slot, std::unique_ptr<RecFile> newFile) {
    RecFile& old = *slot;
    const std::string keptPath = old.GetPath();
    const bool keptTemporary = old.IsTemporary();
    const uint32_t keptPosition = old.GetPosition();
    (void)old.Update();
    (void)newFile->Update();
    const std::string scratchPath = newFile->GetPath();
    newFile->SetTemporary(false);
    old.SetTemporary(false);  // closing a temporary file would delete it
    (void)old.Close();
    old.LetJournalGo();
    // A journal still on disk is the old file's only copy of its marks: it
    // waits under another name, so the new file never opens with it.
    const std::string oldJournal = RecFile::JournalNameFor(keptPath);
    std::string journalAside;
    if (!oldJournal.empty() && FileExists(oldJournal)) {
        journalAside = ScratchNameBeside(oldJournal);
        if (journalAside.empty() || !Files().Rename(oldJournal, journalAside))
            journalAside.clear();
    }
    if (!newFile->Rename(keptPath)) {
        if (!journalAside.empty())
            (void)Files().Rename(journalAside, oldJournal);
        if (!old.IsOpen())
            (void)old.Open();
        old.SetTemporary(keptTemporary);
        (void)old.Position(keptPosition);
        DeleteScratchFile(newFile);
        return kEditNotReplaced;
    }
    slot.reset();
    if (!journalAside.empty())
        (void)Files().Delete(journalAside);
    if (!newFile->IsOpen())
        (void)newFile->Open();
    // Moving to another drive copies: the scratch file is left behind.
    if (!SamePath(scratchPath, keptPath) && FileExists(scratchPath))
        (void)Files().Delete(scratchPath);
    newFile->SetTemporary(keptTemporary);
    slot = std::move(newFile);
    return kEditDone;
}
