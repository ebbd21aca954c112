// The copy core of the edit operations: ranges in chunks with their
// segments and comments, the file objects by type, scratch names, and the
// paste buffer's disposal.
#include "recorder/editing/AudioEdit.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/AppState.h"
#include "audiofile/FileNames.h"
#include "audiofile/FileSystem.h"
#include "audiofile/Mp3File.h"
#include "audiofile/OggVorbisFile.h"
#include "audiofile/WaveFile.h"

namespace {

// Ogg files hand out and take whole packet records, one per call, and count
// positions in sample frames: every read offers the whole buffer, and the
// range is measured by how far the position moved.
bool ExchangesPackets(const RecFile& file) {
    return file.GetFileType() == ftOgg || file.GetFileType() == ftSpeex;
}

int PercentDone(uint32_t remaining, uint32_t total) {
    if (total == 0)
        return 100;
    return 100 - static_cast<int>(uint64_t{remaining} * 100 / total);
}

bool IsOpenEnd(uint32_t end) { return end == 0 || end == kNoPosition; }

}  // namespace

void DeleteScratchFile(std::unique_ptr<RecFile>& file) {
    if (!file)
        return;
    // Closing a scratch file that holds audio would keep it ("still needs a
    // name"): the object goes first, then its file and journal.
    const std::string path = file->GetPath();
    file->SetTemporary(false);
    file.reset();
    if (path.empty())
        return;
    if (FileExists(path))
        (void)Files().Delete(path);
    const std::string journal = RecFile::JournalNameFor(path);
    if (!journal.empty() && FileExists(journal))
        (void)Files().Delete(journal);
}

void DiscardPasteBuffer() {
    if (PasteBuffer && PasteBuffer->IsTemporary())
        DeleteScratchFile(PasteBuffer);
    PasteBuffer.reset();
}

bool SameAudioFormat(const WAVEFORMATEX& current, const WAVEFORMATEX& other) {
    // A PCM format is fully told by its first 16 bytes; other programs write
    // "fmt " without the extra-bytes count.
    const size_t bytes = current.wFormatTag == WAVE_FORMAT_PCM ? 16 : sizeof(WAVEFORMATEX) + current.cbSize;
    return std::memcmp(&current, &other, bytes) == 0;
}

std::unique_ptr<RecFile> AudioEdit::OpenFileOfType(const char* name, const WAVEFORMATEX* format,
                                                   uint32_t mode, int type) {
    const bool named = name && *name;
    if (named)
        type = FileTypeFromExtension(name);
    std::string path;
    if (named) {
        path = name;
        // Reading never makes a file: a missing one is no file at all.
        if ((mode & (MMIO_WRITE | MMIO_READWRITE | MMIO_CREATE)) == 0 && !FileExists(path))
            return nullptr;
    } else if (!MakeTempName("~rec", path, true, type)) {
        return nullptr;
    }
    std::unique_ptr<RecFile> file;
    if (type == ftMp3)
        file = std::make_unique<Mp3File>(path.c_str(), format, mode);
    else if (type == ftOgg)
        file = std::make_unique<OggVorbisFile>(path.c_str(), format, -10, mode);
    else if (type == ftWmv || type == ftSpeex)
        return nullptr;
    else
        file = std::make_unique<WaveFile>(path.c_str(), format, mode);
    (void)file->Open();  // callers ask IsOpen
    return file;
}

bool AudioEdit::MakeName(const char* prefix, std::string& out, bool temporary, const char* extension) {
    std::string directory;
    if (temporary && !GetTempDirectory(directory))
        return false;
    return MakeUniqueFileName(prefix ? prefix : "~rec", extension, out, temporary, directory);
}

bool AudioEdit::MakeTempName(const char* prefix, std::string& out, bool temporary, int type) {
    return MakeName(prefix, out, temporary, ExtensionForType(type));
}

uint32_t AudioEdit::CopyRange(RecFile* destination, RecFile* source, uint32_t count, const char* label) {
    if (!destination || !source || count == 0)
        return 0;
    if (!progressShown_) {
        progress_.Show(label ? label : "");
        progressShown_ = true;
    }
    const uint32_t sourceStart = source->GetPosition();
    const uint32_t sourceEnd = static_cast<uint32_t>(std::min<uint64_t>(uint64_t{sourceStart} + count, kNoPosition));
    const uint32_t destinationStart = destination->GetLength();
    const bool packets = ExchangesPackets(*source);
    std::vector<unsigned char> buffer(kEditChunkBytes);
    uint32_t advance = 0;
    for (uint32_t round = 0; round < kEditMaxRounds && advance < count; ++round) {
        const int percent = PercentDone(count - advance, count);
        if (label) {
            char caption[160];
            std::snprintf(caption, sizeof caption, " %s %d%%", label, percent);
            progress_.SetCaption(caption);
        }
        if (!progress_.SetPercent(percent) || progress_.IsCancelled()) {
            cancelled_ = true;
            break;
        }
        const uint32_t chunk = packets ? kEditChunkBytes : std::min(count - advance, kEditChunkBytes);
        const int32_t got = source->Read(buffer.data(), chunk);
        if (got < 0) {
            failed_ = true;  // nothing was read: the new file is dropped
            break;
        }
        if (got == 0)
            break;  // the end of the source's audio
        if (packets)
            RenumberPacket(buffer.data(), static_cast<uint32_t>(got), *destination, sourceStart, destinationStart);
        if (destination->Write(buffer.data(), static_cast<uint32_t>(got)) != got) {
            failed_ = true;
            break;
        }
        if (clipboardImage_ && destination == PasteBuffer.get())
            clipboardImage_->Take(destination->GetPosition() - static_cast<uint32_t>(got), buffer.data(),
                                  static_cast<uint32_t>(got));
        const uint32_t now = source->GetPosition();
        advance = now > sourceStart ? now - sourceStart : 0;

    }
    CarryAnnotations(*destination, *source, sourceStart, sourceEnd, destinationStart, destination->GetLength());
    return std::min(advance, count);
}

// A packet goes into the new stream as the next of its packets, and its
// granule position (sample frames) moves with the range, so the new file
// counts the frames it holds; left to itself the stream would take the
// packet for a gap after a resumed recording and restart its count there.
void AudioEdit::RenumberPacket(unsigned char* record, uint32_t bytes, const RecFile& destination,
                               uint32_t sourceStart, uint32_t destinationStart) {
    if (bytes < kOggPacketRecordBytes)
        return;
    int64_t granule;
    std::memcpy(&granule, record + 16, 8);
    if (granule >= 0) {
        // Write moves it on by the lead again.
        granule = granule - sourceStart + destinationStart - kOggRawGranuleLead;
        std::memcpy(record + 16, &granule, 8);
    }
    const int64_t number = packetNumbers_[&destination]++;
    std::memcpy(record + 24, &number, 8);
}

void CarryAnnotations(RecFile& destination, const RecFile& source, uint32_t sourceStart, uint32_t sourceEnd,
                      uint32_t destinationStart, uint32_t destinationEnd) {
    const auto moved = [&](uint32_t position) { return position - sourceStart + destinationStart; };
    if (const int64_t clock = source.GetTimeCode(sourceStart))
        destination.AddTimeCode(destinationStart, clock);
    for (const TimeCodeRec& segment : source.TimeCodes())
        if (segment.position >= sourceStart && segment.position < sourceEnd)
            destination.AddTimeCode(moved(segment.position), segment.timeCode);
    for (const CommentRec& comment : source.Comments()) {
        uint32_t start;
        if (comment.start >= sourceStart && comment.start < sourceEnd)
            start = moved(comment.start);
        else if (comment.start < sourceStart && (IsOpenEnd(comment.end) || comment.end > sourceStart))
            start = destinationStart;
        else
            continue;
        const uint32_t end = IsOpenEnd(comment.end) ? destinationEnd : moved(std::min(comment.end, sourceEnd));
        destination.AddComment(comment.text, start, end);
    }
}

bool AudioEdit::CanRebuild(const RecFile& file) {
    switch (file.GetFileType()) {
    case ftSpeex:
    case ftWmv:
        return false;
    case ftOgg: {
        const auto* ogg = dynamic_cast<const OggVorbisFile*>(&file);
        return ogg && ogg->CanAppend();
    }
    default:
        return true;
    }
}

std::unique_ptr<RecFile> AudioEdit::MakeFileBeside(const RecFile& like, uint32_t mode) {
    std::string path = FullPath(like.GetPath());
    if (path.empty())
        return nullptr;
    // The new file's kind follows from its name's extension.
    if (FileTypeFromExtension(path.c_str()) != like.GetFileType())
        path = path + "." + ExtensionForType(like.GetFileType());
    const std::string name = ScratchNameBeside(path);
    return name.empty() ? nullptr : MakeNewFile(like, name.c_str(), mode);
}

std::unique_ptr<RecFile> AudioEdit::MakeNewFile(const RecFile& like, const char* name, uint32_t mode) {
    if (!CanRebuild(like))
        return nullptr;
    std::unique_ptr<RecFile> file;
    if (like.GetFileType() == ftOgg) {
        // The packets are copied as they are, so the new stream must carry
        // the same setup header.
        const auto& ogg = static_cast<const OggVorbisFile&>(like);
        std::string path = name ? name : "";
        if (path.empty() && !MakeTempName("~rec", path, true, ftOgg))
            return nullptr;
        file = std::make_unique<OggVorbisFile>(path.c_str(), like.GetFormat(), ogg.AppendQuality(), mode);
        (void)file->Open();
    } else {
        file = OpenFileOfType(name, like.GetFormat(), mode, like.GetFileType());
    }
    if (file && !file->IsOpen()) {
        (void)file->Delete();
        file.reset();
    }
    return file;
}
