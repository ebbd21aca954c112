// The clipboard's image of a WAV paste buffer, filled with the audio while
// the buffer's file is written, so the finished file need not be read back
// whole: only its header and the chunks after the audio are. The block is
// the one the clipboard takes, of the file's exact size.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class ClipboardImage {
public:
    // Room for a file whose audio starts at dataStart and holds at most
    // audioBytes, with some room for the chunks after it.
    ClipboardImage(uint32_t dataStart, uint64_t audioBytes);
    ~ClipboardImage();
    ClipboardImage(const ClipboardImage&) = delete;
    ClipboardImage& operator=(const ClipboardImage&) = delete;

    // The bytes just written to the audio at offset at. Writes that do not
    // follow on from the last leave the image unusable.
    void Take(uint32_t at, const void* data, uint32_t bytes);
    // After the file is closed: its header and tail are read into the block,
    // which is returned (the caller owns it). Null when the file does not
    // hold exactly the audio taken at dataStart, or does not fit: the whole
    // file must be read then.
    HGLOBAL Finish(const std::string& path, uint32_t dataStart, uint32_t dataLength);

private:
    void Drop();

    HGLOBAL block_ = nullptr;
    char* data_ = nullptr;  // locked while audio is taken
    uint64_t capacity_ = 0;
    uint32_t dataStart_ = 0;
    uint64_t taken_ = 0;    // audio bytes taken from offset 0 on
    bool broken_ = false;
};
