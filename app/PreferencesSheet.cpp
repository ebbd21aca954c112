#include "app/PreferencesSheet.h"

#include "prefs/TSetDriver.h"
#include "prefs/files/TSetFile.h"
#include "prefs/TSetJoy.h"
#include "prefs/TSetKey.h"
#include "prefs/formats/TSetMp3.h"
#include "prefs/TSetPlayBack.h"
#include "prefs/TSetRecord.h"
#include "prefs/formats/TSetSpeex.h"
#include "prefs/TSetStart.h"
#include "prefs/timer/TSetTimer.h"
#include "prefs/formats/TSetVorbis.h"
#include "prefs/TSetVox.h"
#include "prefs/formats/TSetWave.h"

namespace {

template <class Page>
std::unique_ptr<TPropertyPage> Make(SheetContext&) {
    return std::make_unique<Page>();
}

// The format pages and the File page share the sheet's default file type.
template <class Page>
std::unique_ptr<TPropertyPage> MakeSharing(SheetContext& context) {
    return std::make_unique<Page>(&context.defaultAudioFormat);
}

// The File page's estimate also reads the recorder window's format.
std::unique_ptr<TPropertyPage> MakeFilePage(SheetContext& context) {
    return std::make_unique<TSetFile>(&context.defaultAudioFormat, context.recorder);
}

}  // namespace

const std::vector<PreferencePageEntry>& PreferencePages() {
    // In the sheet's order: TSetStart, TSetWave, TSetMp3, TSetVorbis,
    // TSetSpeex, TSetFile, TSetRecord, TSetPlayBack, TSetTimer, TSetVox,
    // TSetDriver, TSetJoy, TSetKey.
    static const std::vector<PreferencePageEntry> pages = {
        {"Start", &Make<TSetStart>},
        {"Wave", &MakeSharing<TSetWave>},
        {"Mp3", &MakeSharing<TSetMp3>},
        {"Vorbis", &MakeSharing<TSetVorbis>},
        {"Speex", &MakeSharing<TSetSpeex>},
        {"File", &MakeFilePage},
        {"Record", &Make<TSetRecord>},
        {"PlayBack", &Make<TSetPlayBack>},
        {"Timer", &Make<TSetTimer>},
        {"Vox", &Make<TSetVox>},
        {"Driver", &Make<TSetDriver>},
        {"Joy", &Make<TSetJoy>},
        {"Key", &Make<TSetKey>},
    };
    return pages;
}

std::unique_ptr<TPropertySheet> MakePreferencesSheet(TWindow* owner, const std::string& title,
                                                     SheetContext& context) {
    auto sheet = std::make_unique<TPropertySheet>(owner, title, true, false);
    for (const PreferencePageEntry& entry : PreferencePages()) {
        if (auto page = entry.make(context)) sheet->AddPage(std::move(page));
    }
    return sheet;
}
