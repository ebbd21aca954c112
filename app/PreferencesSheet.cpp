#include "app/PreferencesSheet.h"

#include "prefs/TSetDriver.h"
#include "prefs/TSetFile.h"
#include "prefs/TSetJoy.h"
#include "prefs/TSetKey.h"
#include "prefs/TSetPlayBack.h"
#include "prefs/TSetRecord.h"
#include "prefs/TSetStart.h"
#include "prefs/TSetTimer.h"
#include "prefs/TSetVox.h"

namespace {

template <class Page>
std::unique_ptr<TPropertyPage> Make(SheetContext&) {
    return std::make_unique<Page>();
}

std::unique_ptr<TPropertyPage> MakeFilePage(SheetContext& context) {
    return std::make_unique<TSetFile>(&context.defaultAudioFormat);
}

}  // namespace

const std::vector<PreferencePageEntry>& PreferencePages() {
    // In the sheet's order: TSetStart, TSetWave, TSetMp3, TSetVorbis,
    // TSetSpeex, TSetFile, TSetRecord, TSetPlayBack, TSetTimer, TSetVox,
    // TSetDriver, TSetJoy, TSetKey. Pages not built yet are left out.
    static const std::vector<PreferencePageEntry> pages = {
        {"Start", &Make<TSetStart>},
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
