// The audio-file interface: every recording, whatever its container, is used
// through MediaFile (or RecFile for annotations). The classes show and log
// nothing; a failing operation returns false (or 0 / -1 for counts) and sets
// the status code that GetError returns.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <optional>
#include <string>

#include "audiofile/FileNames.h"

// File-type codes, shared by the whole program (settings, clipboard, factory).
enum FileType : int {
    ftNone = -1,  // no file name
    ftWav = 0,
    ftMp3 = 1,
    ftWmv = 2,    // recognised by its extension only; no file class
    ftOgg = 3,
    ftSpeex = 4,
};

// Status codes returned by GetError. Once set, a status is never cleared by a
// later success.
enum FileStatus : int {
    statusOk = 0,
    statusCannotOpen = 1,     // the file cannot be opened or created
    statusNoFormat = 2,       // the audio format cannot be read (no or bad "fmt ", no MPEG frame)
    statusNoConversion = 3,   // no codec conversion for the file's MPEG format
    statusNoCodecFormat = 4,  // the codec driver has no format with the file's bit rate
};
// A short English description of a status code; never null.
const char* FileStatusMessage(int status);

// Byte size of every format buffer (WAVEFORMATEX with its extra bytes).
constexpr uint32_t MaxFormatSize = 2000;

// As a position argument: "the current position" (GetPosition). As a result
// of a position query: "none".
constexpr uint32_t kNoPosition = 0xFFFFFFFFu;
// GetSeconds argument meaning "the whole file" (GetLength).
constexpr uint32_t kWholeLength = 0xFFFFFFFFu;

class MediaFile {
public:
    // name may be null or empty (Open then creates a temporary file).
    // openMode: MMIO_READ, MMIO_WRITE or MMIO_READWRITE, optionally MMIO_CREATE.
    MediaFile(const char* name, uint32_t openMode);
    MediaFile(const MediaFile&) = delete;
    MediaFile& operator=(const MediaFile&) = delete;
    // Concrete destructors close the file (Update, then release).
    virtual ~MediaFile();

    // Saves under a new path (the old name is gone afterwards, except when the
    // file had to be copied across volumes). A path equal to the current one
    // (case-blind, full path) only updates the file and clears the temporary mark.
    [[nodiscard]] virtual bool Rename(const std::string& newPath) = 0;
    // Brings headers, sizes and annotations on disk up to date; keeps the
    // position and the overwrite flag.
    virtual bool Update() { return true; }
    // Updates when modified, then releases the file. A temporary file that
    // was modified is kept and false is returned (it still needs a name).
    virtual bool Close() { return true; }
    // Removes the file from disk; refused on a read-only file.
    virtual bool Delete() = 0;
    virtual bool IsOpen() const = 0;
    virtual bool Reopen() = 0;

    // Positions and lengths: bytes of audio data for WAV and MP3, sample
    // frames for Ogg files.
    virtual uint32_t GetPosition() const = 0;
    [[nodiscard]] virtual bool Position(uint32_t position) = 0;
    virtual uint32_t GetLength() const = 0;
    // Seconds in length (kWholeLength = GetLength), rounded down; 0 without
    // a format or with an average byte rate of 0.
    virtual uint32_t GetSeconds(uint32_t length = kWholeLength) const = 0;
    virtual void SetDataLength(uint32_t bytes) = 0;
    virtual uint32_t GetDataLength() const = 0;
    virtual uint32_t GetAvgBytesPerSec() const { return 0; }
    virtual int GetFileType() const { return ftWav; }

    // Audio in the file's own format. Write returns the bytes written or -1
    // (read-only file, disk full, or the file would grow past its limit);
    // without the overwrite flag writes append.
    virtual int32_t Write(const void* data, uint32_t bytes) = 0;
    // 16-bit PCM for formats that encode by themselves; the count accepted.
    virtual uint32_t WriteSamples(const int16_t* /*pcm*/, uint32_t /*bytes*/) { return 0; }
    // Bytes read (0 at the end of the data, -1 on failure).
    virtual int32_t Read(void* data, uint32_t bytes) = 0;
    // Bytes of 16-bit PCM produced, for formats that decode by themselves.
    virtual uint32_t ReadSamples(int16_t* /*pcm*/, uint32_t /*bytes*/) { return 0; }

    // Tags by key (case-blind for RIFF and MP3). nullopt when absent.
    virtual std::optional<std::string> GetTag(const std::string& /*key*/) { return std::nullopt; }
    // True only when the value is stored in the file.
    virtual bool SetTag(const std::string& /*key*/, const std::string& /*value*/) { return false; }

    virtual void SetOverwrite(bool overwrite) { overwrite_ = overwrite; }
    virtual bool GetOverwrite() const { return overwrite_; }
    // Recording may overwrite data in place (false for Ogg files).
    virtual bool CanOverwrite() const { return true; }
    // Reports samples written (WAV: counted into "fact" for compressed formats).
    virtual void AddSamples(uint32_t /*samples*/) {}
    int GetError() const { return status_; }

    [[nodiscard]] virtual bool Open() = 0;
    // The position that many seconds from the current one, within 0..GetLength.
    virtual uint32_t RelativePosition(int32_t seconds) const = 0;
    virtual bool Flush() = 0;
    // Clock time (seconds since 1970 UTC) shown at a position; 0 = none.
    virtual int64_t GetTimeCode(uint32_t position) const = 0;

    // Fields common to every file.
    const WAVEFORMATEX* GetFormat() const { return format_; }
    const std::string& GetPath() const { return path_; }
    uint32_t GetOpenMode() const { return openMode_; }
    bool IsTemporary() const { return temporary_; }
    bool IsModified() const { return modified_; }
    bool IsReadOnly() const { return readOnly_; }
    void SetModified() { modified_ = true; }
    // Opened to be looked at only (the open dialog's read-only box): the
    // recorder then neither saves nor edits it.
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    // A new recording made under a temporary ("~rec") name still needs its
    // final name; the recorder marks it so when it creates the file.
    void SetTemporary(bool temporary) { temporary_ = temporary; }

protected:
    // path := full path of name; null or empty gives an empty path.
    void SetPath(const char* name);
    void SetStatus(int status) { status_ = status; }

    WAVEFORMATEX* format_ = nullptr;  // owned by the concrete class; null = no format
    uint32_t openMode_ = 0;
    std::string path_;
    bool temporary_ = false;
    bool modified_ = false;
    bool overwrite_ = false;
    bool readOnly_ = false;

private:
    int status_ = statusOk;
};
