#include "recorder/files/FileFactory.h"

#include <string>

#include "app/AppState.h"
#include "audiofile/WaveFile.h"
#include "recorder/files/FileFormats.h"
#include "recorder/files/FileNaming.h"

std::unique_ptr<RecFile> CreateFileObject(const char* name, const WAVEFORMATEX* format,
                                          uint32_t mode, int type) {
    const int kind = FileTypeForFactory(name, type);
    if (kind == ftMp3 || kind == ftOgg || kind == ftSpeex)
        return nullptr;
    std::string path = name ? name : "";
    const bool temporary = path.empty();
    if (temporary) {
        const bool usable = CheckDirectory(AppState.DefaultDirectory) == DirectoryState::Usable;
        path = ComposeFileName(nullptr, true, NewFileExtension(kind), NamingSettingsFromAppState(),
                               usable);
    }
    auto file = std::make_unique<WaveFile>(path.c_str(), format, mode);
    (void)file->Open();  // the caller reads the outcome from IsOpen and GetError
    if (temporary)
        file->SetTemporary(true);
    return file;
}
