// Open and Update of the recording layer, the annotation text in the tag and
// the sidecar journal.
#include <algorithm>
#include <cstring>
#include <vector>

#include "audiofile/FileSystem.h"
#include "audiofile/RecFile.h"

bool RecFile::Open() {
    if (GetDataLength() != 0) {
        ParseAnnotationText();
        return true;
    }
    newFile_ = true;
    StartRunningDigest();
    return true;
}

bool RecFile::Update() {
    bool ok = true;
    if (modified_ && journalMode_) {
        ok = WriteAnnotationJournal();
    } else if (modified_) {
        // Stays modified when the tag could not be written, so the next
        // Update tries again; the journal holds the annotations meanwhile.
        ok = BuildAnnotationText();
        if (ok)
            modified_ = false;
    }
    writeCounter_ = 0;
    return ok;
}

void RecFile::NoteAudioWrite(const void* data, uint32_t bytes, uint32_t positionBefore) {
    if (bytes == 0)
        return;
    FeedRunningDigest(data, bytes, positionBefore);
    if (++writeCounter_ >= kRefreshWrites && GetFileType() == ftWav)
        RefreshOnDisk();
}

void RecFile::RefreshOnDisk() {
    // Sizes and journal on disk, so a crash loses little; the tag waits for
    // the final Update. The container's Update keeps position and overwrite flag.
    writeCounter_ = 0;
    journalMode_ = true;
    Update();
    journalMode_ = false;
    modified_ = true;
}

std::string RecFile::JournalNameFor(const std::string& path) {
    std::string name = path.substr(0, kMaxPathChars);
    const size_t n = name.size();
    if (n < 5 || name[n - 4] != '.' || name.find_first_of("\\/.", n - 3) != std::string::npos)
        return std::string();
    name[n - 3] = '~';
    return name;
}

std::vector<TimeCodeRec> RecFile::SegmentsWorthWriting() const {
    std::vector<TimeCodeRec> kept;
    for (int i = 0; i < TimeCodeCount(); ++i)
        if (SegmentLength(i) != 0)
            kept.push_back(segments_[i]);
    return kept;
}

bool RecFile::BuildAnnotationText() {
    if (readOnly_)
        return false;
    std::string text = FormatAnnotationLines(AnnotationForm::TagBlock, SegmentsWorthWriting(), comments_);
    if (newFile_) {
        signature_ = ComputeSignature();
        text += FormatSignatureLine(signature_);
    }
    const bool stored = SetTag(kAnnotationKey, text);
    const bool journaled = WriteAnnotationJournal();
    // Only a tag known to hold the annotations lets the journal go at the end.
    if (stored)
        journalNeeded_ = false;
    // Kept out of the tag by the file's setting, they are saved once the
    // journal holds them: no failure to report.
    return stored || (journaled && !StoresAnnotationsInTag());
}

bool RecFile::OpenJournal(bool create) {
    if (journal_)
        return true;
    const std::string name = JournalNameFor(path_);
    if (name.empty())
        return false;
    const bool exists = FileExists(name);
    if (!exists && !create)
        return false;
    DWORD mode = MMIO_READWRITE | (exists ? 0 : MMIO_CREATE);
    journal_ = mmioOpenA(const_cast<char*>(name.c_str()), nullptr, mode);
    if (!journal_ && exists && !create)
        journal_ = mmioOpenA(const_cast<char*>(name.c_str()), nullptr, MMIO_READ);
    if (!journal_)
        return false;
    journalName_ = name;
    return true;
}

void RecFile::CloseJournal(bool deleteFile) {
    if (journal_)
        mmioClose(journal_, 0);
    journal_ = nullptr;
    if (deleteFile && !journalName_.empty())
        Files().Delete(journalName_);
    journalName_.clear();
    journalNeeded_ = false;
}

bool RecFile::JournalIsNewerThanTag() const {
    // A read-only opening leaves a crashed run's journal alone, unless the
    // journal is where the annotations live: it then shows what a writable
    // opening would, not an older tag.
    if (readOnly_ && StoresAnnotationsInTag())
        return false;
    if (journal_)
        return journalNeeded_;
    const std::string name = JournalNameFor(path_);
    return !name.empty() && FileExists(name);
}

void RecFile::KeepJournalForUnwrittenTag() {
    journalNeeded_ = true;
    modified_ = true;
}

void RecFile::DiscardJournal() {
    if (journal_)
        CloseJournal(true);
    else if (const std::string name = JournalNameFor(path_); !name.empty() && FileExists(name))
        Files().Delete(name);
}

void RecFile::LetJournalGo() {
    if (StoresAnnotationsInTag()) {
        DiscardJournal();
        return;
    }
    if (journal_)
        mmioClose(journal_, 0);
    journal_ = nullptr;
    journalName_.clear();
    journalNeeded_ = false;
}

void RecFile::ReleaseJournalForRename() {
    if (!journalNeeded_) {
        DiscardJournal();
        return;
    }
    if (journal_)
        mmioClose(journal_, 0);
    journal_ = nullptr;
    journalName_.clear();
}

void RecFile::MoveJournal(const std::string& fromPath, const std::string& toPath) {
    const std::string from = JournalNameFor(fromPath);
    const std::string to = JournalNameFor(toPath);
    if (to.empty())
        return;
    const bool present = !from.empty() && FileExists(from);
    // Two names may share one journal name ("a.wav", "a.mav"): it is in place.
    if (present && (SamePath(from, to) || SameFileOnDisk(from, to)))
        return;
    if (present && RenameOrCopy(from, to)) {
        if (FileExists(from))
            Files().Delete(from);
        return;
    }
    // One beside toPath came with the file the rename replaced: it is not
    // this file's.
    if (FileExists(to))
        (void)Files().Delete(to);
}

bool RecFile::CopyJournal(const std::string& fromPath, const std::string& toPath) {
    const std::string from = JournalNameFor(fromPath);
    const std::string to = JournalNameFor(toPath);
    if (to.empty())
        return true;
    if (from.empty() || !FileExists(from))
        return !FileExists(to) || Files().Delete(to);
    return SamePath(from, to) || CopyFileBytes(from, to);
}

bool RecFile::WriteAnnotationJournal() {
    if (readOnly_ || !OpenJournal(true))
        return false;
    // Rewritten from the start and never shortened: the zero byte ends it.
    const std::string image = BuildJournalImage(SegmentsWorthWriting(), comments_);
    if (mmioSeek(journal_, 0, SEEK_SET) != 0)
        return false;
    const LONG size = static_cast<LONG>(image.size());
    if (mmioWrite(journal_, image.data(), size) != size)
        return false;
    journalNeeded_ = true;
    return true;
}

void RecFile::ApplyParsedAnnotations(const ParsedAnnotations& parsed, bool force) {
    for (const TimeCodeRec& segment : parsed.segments)
        AddTimeCode(segment.position, segment.timeCode, force);
    for (const CommentRec& comment : parsed.comments)
        if (!comment.text.empty())
            AddComment(comment.text, comment.start, comment.end, force);
}

bool RecFile::ParseAnnotationText() {
    segments_.clear();
    comments_.clear();
    const std::optional<std::string> tag = GetTag(kAnnotationKey);
    const std::string text = tag ? std::string(tag->c_str()) : std::string();  // up to its terminating zero
    const ParsedAnnotations parsed = ParseAnnotationLines(text, AnnotationForm::TagBlock);
    // The journal is removed once the tag is known to hold the annotations,
    // so one still there (a failed tag write, a crash) is the newer copy.
    if (!tag || JournalIsNewerThanTag()) {
        if (ParseAnnotationJournal()) {
            if (parsed.hasSignature)
                signature_ = parsed.signature;
            return true;
        }
        if (!tag)
            return false;
        segments_.clear();
        comments_.clear();
    }
    ApplyParsedAnnotations(parsed, true);
    if (parsed.hasSignature)
        signature_ = parsed.signature;
    CleanTimeCodes();
    modified_ = false;
    return true;
}

bool RecFile::ParseAnnotationJournal() {
    if (!OpenJournal(false))
        return false;
    segments_.clear();
    comments_.clear();
    LONG size = mmioSeek(journal_, 0, SEEK_END);
    if (size < 4 || mmioSeek(journal_, 0, SEEK_SET) != 0)
        return false;
    // A journal we wrote is far smaller; of a larger one only the start is read.
    size = std::min<LONG>(size, kMaxJournalBytes);
    std::vector<char> bytes(static_cast<size_t>(size) + 1, '\0');
    if (mmioRead(journal_, bytes.data(), size) != size)
        return false;
    uint32_t mark = 0;
    std::memcpy(&mark, bytes.data(), 4);
    if (mark != kJournalMark)
        return false;
    const ParsedAnnotations parsed =
        ParseAnnotationLines(std::string(bytes.data() + 4), AnnotationForm::Journal);
    // A journal is the trace of a run that did not end well, which a
    // read-only opening does not take up; where the tag holds no annotations
    // by the file's setting, it is their home and is read in every case.
    ApplyParsedAnnotations(parsed, !StoresAnnotationsInTag());
    CleanTimeCodes();
    // The journal is the only copy until the next Update stores it in the tag.
    journalNeeded_ = true;
    if (!readOnly_)
        modified_ = true;
    return true;
}
