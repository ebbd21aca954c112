// The recording layer between MediaFile and the containers: segments (where a
// stretch of recording began, with its clock time), comments, the signature,
// and the annotation text kept in the file's tag and in a sidecar journal.
#pragma once

#include <string>
#include <vector>

#include "audiofile/Annotations.h"
#include "audiofile/MediaFile.h"
#include "audiofile/RunningSha1.h"
#include "audiofile/Sha1.h"

enum class SignatureCheck { Unsigned, Match, Mismatch, ReadFailed };

// The tag key of the annotation text block.
extern const char* const kAnnotationKey;  // "quillmoor timecode"

class RecFile : public MediaFile {
public:
    RecFile(const char* name, uint32_t openMode);
    // Closes the journal; deletes it only when the annotations it holds are
    // known to be in the file's tag. Concrete destructors Close first.
    ~RecFile() override;

    // Interface defaults of the recording layer.
    bool Open() override;
    bool Update() override;
    bool Flush() override { return true; }
    uint32_t GetPosition() const override { return 0; }
    bool Position(uint32_t) override { return false; }
    uint32_t GetLength() const override { return GetDataLength(); }
    uint32_t GetDataLength() const override { return 0; }
    uint32_t GetSeconds(uint32_t length = kWholeLength) const override;
    uint32_t RelativePosition(int32_t seconds) const override;
    int64_t GetTimeCode(uint32_t position) const override;
    // Positions per second of audio: bytes for WAV and MP3, sample frames
    // for Ogg files.
    virtual uint32_t PositionUnitsPerSecond() const { return GetAvgBytesPerSec(); }
    // False where a setting keeps the annotations out of the file's tag
    // (MP3 files with ID3v2 tags switched off): the journal is their home.
    virtual bool StoresAnnotationsInTag() const { return true; }

    // Segments, sorted by position. An index outside the list reads as
    // kNoPosition (positions) or 0 (time codes, lengths).
    // timeCode < 0 means "now"; position kNoPosition means GetPosition with the
    // overwrite flag, else GetLength. force adds even on a read-only file.
    void AddTimeCode(uint32_t position, int64_t timeCode, bool force = false);
    void DeleteTimeCode(int index);
    void ClearTimeCodes() { segments_.clear(); }
    int TimeCodeCount() const { return static_cast<int>(segments_.size()); }
    uint32_t GetTimeCodePos(int index) const;
    int64_t GetTimeCodeAt(int index) const;
    uint32_t TimeCodePosition(int index) const { return GetTimeCodePos(index); }
    // Index of the segment containing position (kNoPosition = GetPosition); -1 when none.
    int FindTimeCode(uint32_t position) const;
    uint32_t NextSegmentPosition(uint32_t position) const;
    uint32_t PrevSegmentPosition(uint32_t position) const;
    // index < 0: the segment at GetPosition.
    uint32_t SegmentLength(int index) const;
    void CleanTimeCodes();
    uint32_t TimeCodeToPosition(int64_t clockTime) const;
    const std::vector<TimeCodeRec>& TimeCodes() const { return segments_; }

    // Comments, sorted by start. end kNoPosition or 0: up to the next comment.
    void AddComment(const std::string& text, uint32_t start, uint32_t end, bool force = false);
    void EndComment(uint32_t position);
    std::optional<std::string> FindComment(uint32_t position) const;
    uint32_t FindCommentByText(const std::string& text) const;  // kNoPosition when none
    uint32_t NextComment(uint32_t position) const;
    uint32_t PrevComment(uint32_t position) const;
    void DeleteCommentAt(uint32_t position);
    void DeleteComment(int index);
    void ClearComments() { comments_.clear(); }
    int CommentCount() const { return static_cast<int>(comments_.size()); }
    uint32_t GetCommentStart(int index) const;
    uint32_t GetCommentEnd(int index) const;
    std::string GetCommentText(int index) const;
    const std::vector<CommentRec>& Comments() const { return comments_; }

    // Signature of a new recording (written at Update), or as read from the file.
    const RecordingSignature& GetSignature() const { return signature_; }
    // Recomputes the digest from the file as it stands; keeps the position.
    SignatureCheck VerifySignature();
    bool IsNewFile() const { return newFile_; }

    // Annotation text into the tag and the journal; false on a read-only file
    // or when the tag could not be written (the journal then stays). Where
    // the file is set to keep no tag, the journal alone holds them: true
    // once it is written.
    bool BuildAnnotationText();
    bool WriteAnnotationJournal();
    bool ParseAnnotationText();
    bool ParseAnnotationJournal();
    // The journal's name: the path with the first letter of a three-letter
    // extension replaced by '~'; empty when the path has no such extension.
    static std::string JournalNameFor(const std::string& path);
    // Before another file takes this one's name: the journal is closed, and
    // deleted where the tag holds the annotations; where it is their home it
    // stays on disk for whichever file holds the name afterwards.
    void LetJournalGo();
    // After the file at fromPath was copied to toPath: gives the copy the
    // source's journal (where a file keeps annotations its tag lacks), or
    // removes a journal left beside toPath by a file it replaced. False
    // when the journal could not be copied.
    static bool CopyJournal(const std::string& fromPath, const std::string& toPath);

    // Every this many audio writes a WAV file refreshes its sizes and journal.
    static constexpr int kRefreshWrites = 600;
    // The most of a journal that is read: far more lines than any recording
    // writes, far less memory than a damaged size could ask for.
    static constexpr long kMaxJournalBytes = 16L << 20;

protected:
    // Containers call this after each audio write to the data (never for their
    // own header or tag writes): feeds the running digest while writes append
    // in order, and every kRefreshWrites writes refreshes a WAV file on disk.
    void NoteAudioWrite(const void* data, uint32_t bytes, uint32_t positionBefore);
    // The audio changed other than by appending (data length set, edits).
    void InvalidateRunningDigest() { digestInOrder_ = false; }
    bool InJournalMode() const { return journalMode_; }
    // Closes the journal and removes it (the recording itself was deleted).
    void DiscardJournal();
    // Before a rename: when the journal holds annotations the tag does not,
    // its handle is closed and it stays on disk for MoveJournal to take
    // along; otherwise it is removed.
    void ReleaseJournalForRename();
    // After the file at fromPath took the name toPath: gives the journal of
    // fromPath (where one is still on disk) the journal name of toPath, and
    // otherwise removes a journal there, the one of the file that was replaced.
    static void MoveJournal(const std::string& fromPath, const std::string& toPath);
    // For containers that write the tag only at Close: the text handed to
    // SetTag did not reach the file, so the journal stays and holds it; the
    // next opening reads the journal, not the old tag.
    void KeepJournalForUnwrittenTag();

private:
    bool JournalIsNewerThanTag() const;
    bool OpenJournal(bool create);
    void CloseJournal(bool deleteFile);
    void InsertTimeCode(const TimeCodeRec& rec);
    void InsertComment(CommentRec rec);
    int FirstCommentCovering(uint32_t position) const;
    std::vector<TimeCodeRec> SegmentsWorthWriting() const;
    void StartRunningDigest();
    void FeedRunningDigest(const void* data, uint32_t bytes, uint32_t positionBefore);
    RecordingSignature ComputeSignature();
    bool DigestFileAudio(Sha1& digest);
    void DigestSegments(Sha1& digest) const;
    void ApplyParsedAnnotations(const ParsedAnnotations& parsed, bool force);
    void RefreshOnDisk();

    bool newFile_ = false;
    RecordingSignature signature_{};
    RunningSha1 runningDigest_;
    bool digestInOrder_ = false;
    uint32_t digestedBytes_ = 0;
    std::vector<CommentRec> comments_;
    std::vector<TimeCodeRec> segments_;
    int writeCounter_ = 0;
    HMMIO journal_ = nullptr;
    std::string journalName_;
    bool journalMode_ = false;
    // The journal holds annotations that are not (known to be) in the tag.
    bool journalNeeded_ = false;
};
