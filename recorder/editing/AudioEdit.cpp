// The edit operations: cut, copy, paste-insert and insert-a-file, each
// building a new file and putting it in place of the current recording.
#include "recorder/editing/AudioEdit.h"

#include <algorithm>
#include <utility>

#include "core/AppState.h"
#include "audiofile/FileNames.h"
#include "audiofile/FileSystem.h"
#include "audiofile/WaveFile.h"

AudioEdit::AudioEdit(std::unique_ptr<RecFile>& fileSlot, EditProgress& progress, ClipboardExchange& clipboard,
                     RoomCheck hasRoom)
    : fileSlot_(fileSlot), progress_(progress), clipboard_(clipboard), hasRoom_(std::move(hasRoom)) {}

AudioEdit::~AudioEdit() { progress_.Close(); }

bool AudioEdit::HasDiskSpace(uint64_t bytes) const { return !hasRoom_ || hasRoom_(bytes); }

bool AudioEdit::UseWindowsClipboard() const { return AppState.UseWinClip != 0; }

void AudioEdit::Drop(std::unique_ptr<RecFile>& file) { DeleteScratchFile(file); }

int AudioEdit::MakeCutBuffer(const RecFile& current) {
    std::string name;
    if (!MakeTempName("~rec", name, true, current.GetFileType()))
        return kEditBufferFailed;
    PasteBuffer = MakeNewFile(current, name.c_str(), MMIO_CREATE | MMIO_READWRITE);
    if (!PasteBuffer)
        return kEditBufferFailed;
    PasteBuffer->SetTemporary(true);  // our scratch file: discarding it deletes it
    return kEditDone;
}

void AudioEdit::StartClipboardImage(uint64_t audioBytes) {
    clipboardImage_.reset();
    const auto* wave = dynamic_cast<const WaveFile*>(PasteBuffer.get());
    if (!UseWindowsClipboard() || !wave || wave->GetFileType() != ftWav || wave->GetLength() != 0)
        return;
    clipboardImage_ = std::make_unique<ClipboardImage>(wave->GetDataStart(), audioBytes);
}

// The paste buffer's file goes onto the Windows clipboard and then leaves
// the disk; the buffer is empty afterwards.
int AudioEdit::HandBufferToClipboard() {
    (void)PasteBuffer->Update();
    PasteBuffer->SetTemporary(false);
    (void)PasteBuffer->Close();
    const std::string path = PasteBuffer->GetPath();
    HGLOBAL image = nullptr;
    if (clipboardImage_) {
        const auto* wave = dynamic_cast<const WaveFile*>(PasteBuffer.get());
        if (wave)
            image = clipboardImage_->Finish(path, wave->GetDataStart(), wave->GetDataLength());
        clipboardImage_.reset();
    }
    const bool put = image ? clipboard_.PutImageOnClipboard(path, image) : clipboard_.PutOnClipboard(path);
    DeleteScratchFile(PasteBuffer);
    return put ? kEditDone : kEditClipboardFailed;
}

int AudioEdit::CutSelection(uint32_t a, uint32_t b) {
    if (!fileSlot_)
        return kCutNoFile;
    if (fileSlot_->IsReadOnly())
        return kEditReadOnly;
    RecFile* current = fileSlot_.get();
    const uint32_t length = current->GetLength();
    const uint32_t start = std::min({a, b, length});
    const uint32_t end = std::min(std::max(a, b), length);
    if (!HasDiskSpace(current->GetDataLength()))
        return kCutNoFile;
    DiscardPasteBuffer();
    if (MakeCutBuffer(*current) != kEditDone)
        return kEditBufferFailed;
    std::unique_ptr<RecFile> newFile = MakeFileBeside(*current, MMIO_READWRITE);
    if (!newFile) {
        DiscardPasteBuffer();
        return kCutNewFileFailed;
    }
    StartClipboardImage(end - start);
    (void)current->Position(0);
    CopyRange(newFile.get(), current, start, "Copying audio data 1/3");
    if (!Stopped()) {
        (void)current->Position(start);
        CopyRange(PasteBuffer.get(), current, end - start, "Copying audio to clipboard 2/3");
    }
    // A cut cancelled later still leaves the whole cut range in the buffer.
    const bool bufferWhole = !Stopped();
    (void)PasteBuffer->Update();  // all of it on disk (an Ogg stream holds back its last page)
    if (!Stopped()) {
        (void)current->Position(end);
        CopyRange(newFile.get(), current, length - end, "Copying audio data 3/3");
    }
    int result = FinishPasses(std::move(newFile), start, kCutDone);
    if (!bufferWhole)
        DiscardPasteBuffer();
    if (PasteBuffer && UseWindowsClipboard()) {
        if (HandBufferToClipboard() != kEditDone && result >= 0)
            result = kEditClipboardFailed;
    }
    return result;
}

int AudioEdit::CopySelection(uint32_t a, uint32_t b) {
    if (!fileSlot_)
        return kCutNewFileFailed;
    RecFile* current = fileSlot_.get();
    const uint32_t kept = current->GetPosition();
    DiscardPasteBuffer();
    if (MakeCutBuffer(*current) != kEditDone)
        return kEditBufferFailed;
    (void)PasteBuffer->Position(PasteBuffer->GetLength());
    const uint32_t length = current->GetLength();
    const uint32_t start = std::min({a, b, length});
    const uint32_t end = std::min(std::max(a, b), length);
    if (!HasDiskSpace(end - start)) {
        DiscardPasteBuffer();
        return kCopyNoRoom;
    }
    (void)current->Position(start);
    StartClipboardImage(end - start);
    CopyRange(PasteBuffer.get(), current, end - start, " Copying to temp file");
    (void)PasteBuffer->Update();
    progress_.Close();
    int result = kEditDone;
    if (Stopped()) {
        DiscardPasteBuffer();  // a part of the range is no copy of it
        result = failed_ ? kEditCopyFailed : kCopyCancelled;
    } else if (UseWindowsClipboard()) {
        result = HandBufferToClipboard();
    }
    (void)current->Position(kept);
    return result;
}

int AudioEdit::PasteInsert(uint32_t position) {
    if (fileSlot_ && fileSlot_->IsReadOnly())
        return kEditReadOnly;
    if (position == kNoPosition)
        position = fileSlot_ ? fileSlot_->GetPosition() : 0;
    const bool windowsClipboard = UseWindowsClipboard();
    if (windowsClipboard) {
        int type = ftWav;
        if (fileSlot_) {
            type = fileSlot_->GetFileType();
        } else {
            for (const int candidate : {ftWav, ftMp3, ftOgg})
                if (clipboard_.ClipboardHasAudio(candidate)) {
                    type = candidate;
                    break;
                }
        }
        std::string name;
        if (!MakeTempName("temp", name, true, type))
            return kPasteNoClipboardFile;
        if (!clipboard_.GetFromClipboard(name)) {
            if (FileExists(name))
                (void)Files().Delete(name);  // a cancelled transfer leaves a part
            return kPasteNoClipboardFile;
        }
        DiscardPasteBuffer();
        PasteBuffer = OpenFileOfType(name.c_str(), nullptr, MMIO_READ, -1);
        if (PasteBuffer)
            PasteBuffer->SetTemporary(true);
        else
            (void)Files().Delete(name);
    }
    uint32_t at = position;
    int result = PrepareInsert(at, false, std::string());
    if (result == kEditDone)
        result = InsertBuffer(at);
    if (windowsClipboard)
        DeleteScratchFile(PasteBuffer);
    return result;
}

int AudioEdit::InsertFile(uint32_t position, const std::string& name) {
    if (fileSlot_ && fileSlot_->IsReadOnly())
        return kEditReadOnly;
    DiscardPasteBuffer();
    // The recording itself cannot be read while it is being replaced.
    if (!(fileSlot_ && SamePath(name, fileSlot_->GetPath())))
        PasteBuffer = OpenFileOfType(name.c_str(), nullptr, MMIO_READ, -1);
    uint32_t at = position;
    int result = PrepareInsert(at, true, name);
    if (result == kEditDone)
        result = InsertBuffer(at);
    PasteBuffer.reset();  // the inserted file stays where it is, untouched
    return result;
}

int AudioEdit::InsertRecording(uint32_t position, std::unique_ptr<RecFile>& recorded) {
    if (!fileSlot_)
        return kPasteNoCurrentFile;
    if (fileSlot_->IsReadOnly())
        return kEditReadOnly;
    if (!recorded)
        return kPasteNoBuffer;
    // The recording takes the paste buffer's place for the insert; the
    // user's last cut or copy waits in its slot meanwhile.
    std::swap(PasteBuffer, recorded);
    uint32_t at = position;
    int result = PrepareInsert(at, false, std::string());
    if (result == kEditDone)
        result = InsertBuffer(at);
    if (result == kEditDone && cancelled_)
        result = kEditCancelled;
    std::swap(PasteBuffer, recorded);
    return result;
}
