#include "app/PreferencesSheet.h"

#include "prefs/TSetFile.h"
#include "prefs/TSetTimer.h"

namespace {

std::unique_ptr<TPropertyPage> MakeFilePage(SheetContext& context) {
    return std::make_unique<TSetFile>(&context.defaultAudioFormat);
}

std::unique_ptr<TPropertyPage> MakeTimerPage(SheetContext&) { return std::make_unique<TSetTimer>(); }

}  // namespace

const std::vector<PreferencePageEntry>& PreferencePages() {
    // The pages' windows join here as they are built, in this order:
    // TSetStart, TSetWave, TSetMp3, TSetVorbis, TSetSpeex, TSetFile,
    // TSetRecord, TSetPlayBack, TSetTimer, TSetVox, TSetDriver, TSetJoy,
    // TSetKey.
    static const std::vector<PreferencePageEntry> pages = {
        {"File", &MakeFilePage},
        {"Timer", &MakeTimerPage},
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
