// The PlayBack and Record pages: their fields show the stored values, an
// empty field stores 1, a value refused by the range check keeps the sheet
// open and never reaches the settings, and confirmed values survive both
// stores.
#include "tests/prefs/PageSheetFixture.h"

#include <climits>

#include "prefs/PageText.h"
#include "prefs/TSetPlayBack.h"
#include "prefs/TSetRecord.h"
#include "recorder/capture/VoxDetect.h"
#include "resources/ResourceIds.h"

namespace {

using NumberPages = PageSheetTest;

TEST_F(NumberPages, PlayBackShowsStoresAndReloadsInBothStores) {
    for (const StoreCase& store : kStores) {
        SCOPED_TRACE(store.name);
        AppState.SoundByte = 7;
        SaveAndReload<TSetPlayBack>(store);
        auto& page = Open<TSetPlayBack>();
        EXPECT_EQ("7", Text(page, IDC_SOUNDBYTE));
        SetText(page, IDC_SOUNDBYTE, store.ini ? "" : "0");  // either stores 1
        Press(IDOK);
        EXPECT_TRUE(Finished());
        EXPECT_EQ(1, AppState.SoundByte);
        AppState.SoundByte = 300;
        SaveAndReload<TSetPlayBack>(store);
        EXPECT_EQ(300, AppState.SoundByte);  // beyond one byte the registry takes four
    }
}

// A refused value must not stay behind in the settings: Cancel after the
// complaint keeps what was there, and that is what gets saved.
TEST_F(NumberPages, RefusedValuesNeverReachTheSettings) {
    struct Case {
        const char* what;
        bool record;
        const char* text;
    };
    const Case cases[] = {
        {"SoundByte above 999", false, "1500"},
        {"quiet time above 9999", true, "12000"},
        {"quiet time with a letter pasted", true, "12a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fake_.messageBoxes.clear();
        AppState.SoundByte = 5;
        AppState.TalkOff = 30;
        AppState.RecordMode = 0;
        TPropertyPage* page = nullptr;
        if (c.record) {
            page = &Open<TSetRecord>();
            SendMessageA(GetDlgItem(page->GetHandle(), IDC_MODEECHO), BM_CLICK, 0, 0);
        } else {
            page = &Open<TSetPlayBack>();
        }
        // Set as a context-menu paste or WM_SETTEXT would, past the typing filter.
        SetText(*page, c.record ? IDC_TALKOFF : IDC_SOUNDBYTE, c.text);
        Press(IDOK);
        EXPECT_FALSE(Finished());
        EXPECT_EQ(1u, fake_.messageBoxes.size());
        Press(IDCANCEL);
        EXPECT_TRUE(Finished());
        EXPECT_EQ(5, AppState.SoundByte);
        EXPECT_EQ(30, AppState.TalkOff);
        EXPECT_EQ(0, AppState.RecordMode);
    }
}

TEST_F(NumberPages, RecordModesShowAndStoreInBothStores) {
    struct Case {
        int stored;
        int radio;     // shown checked
        int clicked;   // then chosen
        int expected;  // stored after OK
    };
    const Case cases[] = {
        {0, IDC_MODEMANUAL, IDC_MODEQUIET, 2}, {1, IDC_MODEECHO, IDC_MODESTARTS, 3},
        {2, IDC_MODEQUIET, IDC_MODESTOPS, 4},  {4, IDC_MODESTOPS, IDC_MODEMANUAL, 0},
        {7, IDC_MODEMANUAL, 0, 0},  // a mode this version does not know shows and stores as Manual
    };
    for (const StoreCase& store : kStores) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(store.name) + " mode " + std::to_string(c.stored));
            AppState.RecordMode = c.stored;
            AppState.TalkOff = 45;
            SaveAndReload<TSetRecord>(store);
            auto& page = Open<TSetRecord>();
            EXPECT_TRUE(Checked(page, c.radio));
            EXPECT_EQ("45", Text(page, IDC_TALKOFF));
            if (c.clicked) SendMessageA(GetDlgItem(page.GetHandle(), c.clicked), BM_CLICK, 0, 0);
            SetText(page, IDC_TALKOFF, c.stored % 2 ? "" : "0");  // either stores 1
            Press(IDOK);
            EXPECT_TRUE(Finished());
            SaveAndReload<TSetRecord>(store);
            EXPECT_EQ(c.expected, AppState.RecordMode);
            EXPECT_EQ(1, AppState.TalkOff);
        }
    }
}

// Modes beyond the known ones load as they are (an INI file's up to 10, the
// registry's byte up to 255); the recorder acts on the known modes only, so
// such a mode records as Manual does.
TEST_F(NumberPages, UnknownModesFromTheRegistryActAsManual) {
    const BYTE mode = 200;
    key_.SetBytes("RecordMode", &mode, 1);
    TSetRecord::Load(key_.get(), "");
    ASSERT_EQ(200, AppState.RecordMode);
    AppState.TalkOff2 = 1;
    AppState.TalkOff = 1;
    VoxSettings vox = VoxSettings::From(AppState);
    vox.threshold = 50;
    VoxCounters counters;
    VoxEvents loud, quiet;
    VoxDetect(vox, counters, 90, 5, loud);
    for (int block = 0; block < 20; ++block) VoxDetect(vox, counters, 0, 5, quiet);
    EXPECT_TRUE(quiet.ended);
    EXPECT_FALSE(quiet.stopThenPlay);
    EXPECT_FALSE(quiet.splitFile);
}

TEST(PageText, ReadsTheLeadingNumberAsTheFieldsDo) {
    struct Case {
        const char* text;
        int value;
    };
    const Case cases[] = {{"12", 12},          {" 7", 7},          {"-3", -3},       {"+4", 4},
                          {"", 0},             {"abc", 0},         {"5x", 5},        {"99999999999", INT_MAX},
                          {"-99999999999", INT_MIN}, {"0000000000000000001234", 0}};  // only 18 characters count
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(c.value, ReadDecimal(c.text));
    }
}

}  // namespace
