#include "recorder/files/FileFactory.h"

#include <string>

#include "core/AppState.h"
#include "audiofile/Mp3File.h"
#include "audiofile/OggVorbisFile.h"
#include "audiofile/SpeexFile.h"
#include "audiofile/WaveFile.h"
#include "recorder/files/FileFormats.h"
#include "recorder/files/FileNaming.h"

std::unique_ptr<RecFile> CreateFileObject(const char* name, const WAVEFORMATEX* format,
                                          uint32_t mode, int type) {
    const int kind = FileTypeForFactory(name, type);
    std::string path = name ? name : "";
    const bool temporary = path.empty();
    if (temporary) {
        const bool usable = CheckDirectory(AppState.DefaultDirectory) == DirectoryState::Usable;
        path = ComposeFileName(nullptr, true, NewFileExtension(kind), NamingSettingsFromAppState(),
                               usable);
    }
    std::unique_ptr<RecFile> file;
    if (kind == ftMp3) {
        Mp3File::EnableTag(AppState.Mp3EnableTag);
        file = std::make_unique<Mp3File>(path.c_str(), format, mode);
    } else if (kind == ftOgg) {
        file = std::make_unique<OggVorbisFile>(path.c_str(), format, AppState.VorQ, mode);
    } else if (kind == ftSpeex) {
        file = std::make_unique<SpeexFile>(path.c_str(), format, AppState.SpxQ, mode);
    } else {
        file = std::make_unique<WaveFile>(path.c_str(), format, mode);
    }
    (void)file->Open();  // the caller reads the outcome from IsOpen and GetError
    if (temporary)
        file->SetTemporary(true);
    return file;
}
