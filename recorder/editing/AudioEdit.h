// AudioEdit: cut, copy, paste-insert and insert-a-file on the current
// recording. Nothing is edited in place: each operation copies the parts
// that stay into a new file beside the recording (in chunks, under a
// progress that can cancel), carries the segments and comments of every
// copied range over with shifted positions, and then puts the new file in
// place under the recording's own path. Cut and copied audio goes into the
// paste buffer and, while the Windows clipboard is in use, onto it.
//
// Windowless: the file slot is the recorder window's CurrentFile, the
// clipboard goes through ClipboardExchange and progress through
// EditProgress, so tests run every operation on real files.
#pragma once

#include <windows.h>
#include <mmreg.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "audiofile/RecFile.h"
#include "recorder/clipboard/ClipboardExchange.h"
#include "recorder/clipboard/ClipboardImage.h"
#include "recorder/editing/EditProgress.h"

// Results of the operations (0 or 1 on success).
constexpr int kEditDone = 0;
constexpr int kCutDone = 1;              // CutSelection, also after a cancel
constexpr int kCutNoFile = -1;           // no current file, or no room
constexpr int kCutNewFileFailed = -3;    // also CopySelection without a current file
constexpr int kEditBufferFailed = -4;    // the paste-buffer file cannot be made
constexpr int kCopyNoRoom = -5;
constexpr int kCopyCancelled = -6;
constexpr int kPasteNoClipboardFile = -7;
constexpr int kPasteNoBuffer = -8;
constexpr int kPasteBufferNoFormat = -9;
constexpr int kPasteBufferNotOpen = -10;
constexpr int kPasteNoCurrentFile = -11;
constexpr int kPasteFormatsDiffer = -12;
constexpr int kPasteNoRoom = -13;
constexpr int kPasteNewFileFailed = -14;
constexpr int kEditClipboardFailed = -19;
constexpr int kEditCopyFailed = -20;      // a read or write failed; the recording is unchanged
constexpr int kEditReadOnly = -21;        // the recording is read-only; nothing was done
constexpr int kEditNotReplaced = -22;     // the old file could not be removed; it stays as it was
constexpr int kEditKeptTemporary = -23;   // the edited file could not take the old name; it is
                                          // the current file under a temporary name
                                          // (no longer made by the edits)
constexpr int kEditCancelled = -24;       // InsertRecording cancelled; the recording is unchanged

// Bytes of audio moved per chunk.
constexpr uint32_t kEditChunkBytes = 600000;
// The most chunks one copy runs.
constexpr uint32_t kEditMaxRounds = 1000000;

// Lets the paste buffer go, deleting its file when it is a scratch file.
void DiscardPasteBuffer();
// Destroys the object and removes its file (and journal) from disk.
void DeleteScratchFile(std::unique_ptr<RecFile>& file);

// Puts newFile (made beside it) in the place of the file in slot, under
// that file's path and with its temporary mark, in one step: the name holds
// the old file until it holds the whole new one. kEditNotReplaced: the old
// file could not be replaced (another program holds it, or the new one lies
// on another volume); it is open again as it was and newFile is deleted.
int PutFileInPlace(std::unique_ptr<RecFile>& slot, std::unique_ptr<RecFile> newFile);

// Segments and comments of the source's [sourceStart, sourceEnd) go to where
// that range begins in the destination (destinationStart): the clock time
// at sourceStart starts a segment there, and a comment that began earlier
// and runs into the range starts with it. Comments are cut at sourceEnd; an
// open one ends at destinationEnd.
void CarryAnnotations(RecFile& destination, const RecFile& source, uint32_t sourceStart, uint32_t sourceEnd,
                      uint32_t destinationStart, uint32_t destinationEnd);

// Whether the formats of a recording and of audio to insert into it agree:
// the 16 bytes of a PCM format (so a plain 16-byte "fmt " matches its
// 18-byte form), else the whole record with the recording's extra bytes.
bool SameAudioFormat(const WAVEFORMATEX& current, const WAVEFORMATEX& other);

class AudioEdit {
public:
    AudioEdit(std::unique_ptr<RecFile>& fileSlot, EditProgress& progress, ClipboardExchange& clipboard,
              RoomCheck hasRoom = nullptr);
    ~AudioEdit();
    AudioEdit(const AudioEdit&) = delete;
    AudioEdit& operator=(const AudioEdit&) = delete;

    // The range between two positions in either order.
    int CutSelection(uint32_t a, uint32_t b);
    int CopySelection(uint32_t a, uint32_t b);
    // kNoPosition: the current file's position.
    int PasteInsert(uint32_t position);
    int InsertFile(uint32_t position, const std::string& name);
    // Inserts a recording made to go in here (a record-insert's audio),
    // which stays open and where it is; the paste buffer is not touched.
    // A cancel is no success here: the audio is not in the recording.
    int InsertRecording(uint32_t position, std::unique_ptr<RecFile>& recorded);

    // Copies count position units (bytes; sample frames for Ogg files) from
    // the source's position to the destination's end, with the segments and
    // comments of that range. The source's advance; a cancel, a failed read
    // or a failed write ends it early (Stopped).
    uint32_t CopyRange(RecFile* destination, RecFile* source, uint32_t count, const char* label);
    // The last copy ended early: Cancel, or a failed read or write (Failed).
    bool Stopped() const { return cancelled_ || failed_; }
    bool Failed() const { return failed_; }

    // The file object for a type (by the name's extension when a name is
    // given), opened; null for types without a file class, for a name that
    // cannot be had, and for a file to read (mode 0) that does not exist.
    static std::unique_ptr<RecFile> OpenFileOfType(const char* name, const WAVEFORMATEX* format,
                                                   uint32_t mode, int type);
    // Whether an edit can build a new file of this recording's kind: not for
    // Speex (no new file of it is made) nor for an Ogg stream whose encoder
    // set-up is unknown to us (its packets would not decode in a new file).
    static bool CanRebuild(const RecFile& file);
    // A free "prefix_N.ext" name, in the temporary folder when temporary.
    static bool MakeTempName(const char* prefix, std::string& out, bool temporary, int type);
    static bool MakeName(const char* prefix, std::string& out, bool temporary, const char* extension);
    // A new scratch file of the kind of like that will take its place, open;
    // null when it cannot be made.
    static std::unique_ptr<RecFile> MakeNewFile(const RecFile& like, const char* name, uint32_t mode);
    // The same beside like, in its folder and on its drive: the file that
    // will replace it there in one step.
    static std::unique_ptr<RecFile> MakeFileBeside(const RecFile& like, uint32_t mode);

private:
    bool HasDiskSpace(uint64_t bytes) const;
    bool UseWindowsClipboard() const;
    int MakeCutBuffer(const RecFile& current);
    // While the Windows clipboard is in use, a WAV paste buffer's audio is
    // also taken into the clipboard's block as it is written (at most
    // audioBytes), so handing it over need not read the file back.
    void StartClipboardImage(uint64_t audioBytes);
    int HandBufferToClipboard();
    // Checks the paste buffer against the current file (made when there is
    // none) and fixes the insert position.
    int PrepareInsert(uint32_t& at, bool insertingFile, const std::string& name);
    int InsertBuffer(uint32_t at);
    // A current file this paste made is dropped again when the paste fails.
    int DropMadeFile(int result);
    // After the passes: the new file takes the recording's place unless the
    // copy stopped early (it is dropped then); the progress goes and the
    // recording is left up to date at position. done is the success result.
    int FinishPasses(std::unique_ptr<RecFile> newFile, uint32_t position, int done);
    void Drop(std::unique_ptr<RecFile>& file);
    void RenumberPacket(unsigned char* record, uint32_t bytes, const RecFile& destination, uint32_t sourceStart,
                        uint32_t destinationStart);

    std::unique_ptr<RecFile>& fileSlot_;
    EditProgress& progress_;
    ClipboardExchange& clipboard_;
    RoomCheck hasRoom_;
    bool progressShown_ = false;
    bool cancelled_ = false;
    bool failed_ = false;
    bool madeCurrentFile_ = false;  // the paste made the current file (dropped on failure)
    // The next packet number of each new Ogg file this operation writes.
    std::map<const RecFile*, int64_t> packetNumbers_;
    std::unique_ptr<ClipboardImage> clipboardImage_;  // of the paste buffer, while it is written
};
