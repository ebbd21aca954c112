// The fixed order in which the pages' settings are loaded and saved.
#include "app/AppSettings.h"

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

const PageStorage kPages[] = {
    {"Timer", &TSetTimer::Load, &TSetTimer::Save},
    {"Wave", &TSetWave::Load, &TSetWave::Save},
    {"Mp3", &TSetMp3::Load, &TSetMp3::Save},
    {"Vorbis", &TSetVorbis::Load, &TSetVorbis::Save},
    {"Speex", &TSetSpeex::Load, &TSetSpeex::Save},
    {"PlayBack", &TSetPlayBack::Load, &TSetPlayBack::Save},
    {"Start", &TSetStart::Load, &TSetStart::Save},
    {"Record", &TSetRecord::Load, &TSetRecord::Save},
    {"File", &TSetFile::Load, &TSetFile::Save},
    {"Vox", &TSetVox::Load, &TSetVox::Save},
    {"Driver", &TSetDriver::Load, &TSetDriver::Save},
    {"Key", &TSetKey::Load, &TSetKey::Save},
    {"Joy", &TSetJoy::Load, &TSetJoy::Save},
};

}  // namespace

const PageStorage* PageStorageTable(int& count) {
    count = static_cast<int>(sizeof kPages / sizeof kPages[0]);
    return kPages;
}
