#include "audiofile/MediaFile.h"

MediaFile::MediaFile(const char* name, uint32_t openMode) : openMode_(openMode) {
    SetPath(name);
}

MediaFile::~MediaFile() = default;

void MediaFile::SetPath(const char* name) {
    path_ = (name && *name) ? FullPath(name) : std::string();
}

const char* FileStatusMessage(int status) {
    // One text per status code; the caller decides what the user is told.
    static const char* const kMessages[] = {
        "No error",
        "The file cannot be opened or created",
        "The audio format of the file cannot be read",
        "No codec conversion is available for the file's MPEG format",
        "The codec offers no format with the file's bit rate",
    };
    if (status < 0 || status >= static_cast<int>(sizeof kMessages / sizeof kMessages[0]))
        return "Unknown audio file error";
    return kMessages[status];
}
