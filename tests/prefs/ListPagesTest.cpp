// The Driver and Switches pages: lists filled from the devices and the
// action texts, the stored choice selected, and the choice stored.
#include "tests/prefs/PageSheetFixture.h"

#include <cstring>

#include "prefs/TSetDriver.h"
#include "prefs/TSetJoy.h"
#include "resources/ResourceIds.h"

namespace {

using ListPages = PageSheetTest;

std::string SelectedText(const TPropertyPage& page, int id) {
    HWND list = GetDlgItem(page.GetHandle(), id);
    const LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (index < 0) return "<none>";
    char text[300] = {};
    SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

TEST_F(ListPages, DriverSelectsTheStoredDevicesAndStoresTheChoice) {
    waves_.inputNames = {"USB Mic 2", "USB Mic", "Line"};
    waves_.outputNames = {"Speakers"};
    struct Case {
        const char* what;
        const char* storedIn;
        const char* shownIn;
        const char* storedOut;
        const char* shownOut;
    };
    const Case cases[] = {
        {"fresh store: the mapper", "-1", "Wave Mapper", "-1", "Wave Mapper"},
        // An earlier device whose name begins with the stored one must not win.
        {"exact name before a longer one", "USB Mic", "USB Mic", "Speakers", "Speakers"},
        {"prefix as the fallback", "Lin", "Line", "Speak", "Speakers"},
        {"a device no longer there: the first entry", "Gone", "Wave Mapper", "Gone", "Wave Mapper"},
    };
    for (const StoreCase& store : kStores) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(store.name) + ": " + c.what);
            CopyTextField(AppState.WaveInDriver, c.storedIn);
            CopyTextField(AppState.WaveOutDriver, c.storedOut);
            SaveAndReload<TSetDriver>(store);
            auto& page = Open<TSetDriver>();
            EXPECT_EQ(4, SendMessageA(GetDlgItem(page.GetHandle(), IDC_WAVEINLIST), CB_GETCOUNT, 0, 0));
            EXPECT_EQ(c.shownIn, SelectedText(page, IDC_WAVEINLIST));
            EXPECT_EQ(c.shownOut, SelectedText(page, IDC_WAVEOUTLIST));
            Press(IDOK);
            EXPECT_TRUE(Finished());
            SaveAndReload<TSetDriver>(store);
            // After an apply the names are always the listed ones, never "-1".
            EXPECT_STREQ(c.shownIn, AppState.WaveInDriver);
            EXPECT_STREQ(c.shownOut, AppState.WaveOutDriver);
        }
    }
}

TEST_F(ListPages, DriverWithoutInputsOffersOnlyTheMapper) {
    waves_.inputNames.clear();
    CopyTextField(AppState.WaveInDriver, "Old Mic");
    auto& page = Open<TSetDriver>();
    EXPECT_EQ(1, SendMessageA(GetDlgItem(page.GetHandle(), IDC_WAVEINLIST), CB_GETCOUNT, 0, 0));
    SendMessageA(GetDlgItem(page.GetHandle(), IDC_WAVEINLIST), CB_RESETCONTENT, 0, 0);
    Press(IDOK);
    // An empty list chooses nothing: the stored name stays.
    EXPECT_STREQ("Old Mic", AppState.WaveInDriver);
}

TEST_F(ListPages, SwitchesShowAndStoreTheActionsInBothStores) {
    for (const StoreCase& store : kStores) {
        SCOPED_TRACE(store.name);
        auto& fresh = Open<TSetJoy>();
        EXPECT_FALSE(Checked(fresh, IDC_JOYENABLE));
        for (int list : {IDC_JOYBUTTON1, IDC_JOYBUTTON2, IDC_JOYBUTTON3, IDC_JOYBUTTON4}) {
            EXPECT_EQ(9, SendMessageA(GetDlgItem(fresh.GetHandle(), list), CB_GETCOUNT, 0, 0));
            EXPECT_EQ("No action", SelectedText(fresh, list));
        }
        SetCheck(fresh, IDC_JOYENABLE, true);
        Select(fresh, IDC_JOYBUTTON1, 5);
        Select(fresh, IDC_JOYBUTTON2, 8);
        Select(fresh, IDC_JOYBUTTON3, -1);  // no selection
        Press(IDOK);
        SaveAndReload<TSetJoy>(store);
        EXPECT_TRUE(AppState.JoyEnable);
        EXPECT_EQ(5, AppState.JoyButton1);
        EXPECT_EQ(8, AppState.JoyButton2);
        EXPECT_EQ(-1, AppState.JoyButton3);  // no action chosen, in either store
        EXPECT_EQ(0, AppState.JoyButton4);

        auto& again = Open<TSetJoy>();
        EXPECT_TRUE(Checked(again, IDC_JOYENABLE));
        EXPECT_EQ("Record NC (Normally Closed)", SelectedText(again, IDC_JOYBUTTON1));
        EXPECT_EQ("Fast-forward NC", SelectedText(again, IDC_JOYBUTTON2));
        EXPECT_EQ("<none>", SelectedText(again, IDC_JOYBUTTON3));
        Press(IDCANCEL);
        AppState.Reset();
    }
}

}  // namespace
