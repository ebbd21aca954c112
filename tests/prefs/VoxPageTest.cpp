// The Vox page: tenths fields and their stepping, clamping on apply, and
// the values in both stores.
#include "tests/prefs/PageSheetFixture.h"

#include "prefs/TSetVox.h"
#include "resources/ResourceIds.h"

namespace {

using VoxPage = PageSheetTest;

// What a click on an up-down sends its parent.
LRESULT SendDelta(const TPropertyPage& page, int spinId, int delta) {
    NMUPDOWN change{};
    change.hdr.hwndFrom = GetDlgItem(page.GetHandle(), spinId);
    change.hdr.idFrom = static_cast<UINT_PTR>(spinId);
    change.hdr.code = UDN_DELTAPOS;
    change.iDelta = delta;
    return SendMessageA(page.GetHandle(), WM_NOTIFY, static_cast<WPARAM>(spinId), reinterpret_cast<LPARAM>(&change));
}

TEST_F(VoxPage, UpDownsStepTheTenthsFields) {
    struct Case {
        const char* what;
        int spin;
        int field;
        const char* shown;
        int delta;
        const char* after;
    };
    const Case cases[] = {
        {"discard 2.0 up goes whole seconds", IDC_DISCARDSPIN, IDC_DISCARDTIME, "2", 1, "3"},
        {"discard 2.0 down goes tenths", IDC_DISCARDSPIN, IDC_DISCARDTIME, "2", -1, "1.9"},
        {"discard 1.0 up", IDC_DISCARDSPIN, IDC_DISCARDTIME, "1", 1, "1.1"},
        {"discard 1.0 down stays", IDC_DISCARDSPIN, IDC_DISCARDTIME, "1", -1, "1"},
        {"discard 3.0 down", IDC_DISCARDSPIN, IDC_DISCARDTIME, "3", -1, "2"},
        {"discard 60.0 up stays", IDC_DISCARDSPIN, IDC_DISCARDTIME, "60", 1, "60"},
        {"discard 2.5 typed, up rounds down", IDC_DISCARDSPIN, IDC_DISCARDTIME, "2.5", 1, "3"},
        {"filter 3.0 up stays", IDC_FILTERSPIN, IDC_FILTERTIME, "3", 1, "3"},
        {"filter 0 down stays", IDC_FILTERSPIN, IDC_FILTERTIME, "0", -1, "0"},
        {"filter 1.25 reads as 1.2", IDC_FILTERSPIN, IDC_FILTERTIME, "1.25", 1, "1.3"},
    };
    auto& page = Open<TSetVox>();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SetText(page, c.field, c.shown);
        EXPECT_EQ(TRUE, SendDelta(page, c.spin, c.delta));  // the control's own change is refused
        EXPECT_EQ(c.after, Text(page, c.field));
    }
}

TEST_F(VoxPage, ShowsClampsAndStoresInBothStores) {
    for (const StoreCase& store : kStores) {
        SCOPED_TRACE(store.name);
        AppState.VoxHide = true;
        AppState.VoxFilter = true;
        AppState.TalkOff2 = 12;
        AppState.Pretrigger = 3;
        AppState.VoxDiscardTimeTenths = 15;
        AppState.VoxFilterTimeTenths = 20;
        SaveAndReload<TSetVox>(store);
        auto& page = Open<TSetVox>();
        EXPECT_TRUE(Checked(page, IDC_VOXHIDE));
        EXPECT_FALSE(Checked(page, IDC_VOXDISABLE));
        EXPECT_TRUE(Checked(page, IDC_VOXFILTER));
        EXPECT_EQ("12", Text(page, IDC_TALKOFF2));
        EXPECT_EQ("3", Text(page, IDC_PRETRIGGER));
        EXPECT_EQ("1.5", Text(page, IDC_DISCARDTIME));
        EXPECT_EQ("2", Text(page, IDC_FILTERTIME));

        SetCheck(page, IDC_VOXHIDE, false);
        SetCheck(page, IDC_VOXDISCARD, true);
        SetText(page, IDC_TALKOFF2, "0");       // stores 1
        SetText(page, IDC_PRETRIGGER, "75");    // stores 60
        SetText(page, IDC_DISCARDTIME, "1.25"); // stores 12, as the storage reads it
        SetText(page, IDC_FILTERTIME, "");      // stores 0
        Press(IDOK);
        EXPECT_TRUE(Finished());
        SaveAndReload<TSetVox>(store);
        EXPECT_FALSE(AppState.VoxHide);
        EXPECT_TRUE(AppState.VoxDiscard);
        EXPECT_EQ(1, AppState.TalkOff2);
        EXPECT_EQ(60, AppState.Pretrigger);
        EXPECT_EQ(12, AppState.VoxDiscardTimeTenths);
        EXPECT_EQ(0, AppState.VoxFilterTimeTenths);
    }
}

TEST_F(VoxPage, CancelKeepsTheSettings) {
    AppState.TalkOff2 = 9;
    auto& page = Open<TSetVox>();
    SetText(page, IDC_TALKOFF2, "100");
    Press(IDCANCEL);
    EXPECT_TRUE(Finished());
    EXPECT_EQ(9, AppState.TalkOff2);
}

TEST(VoxSteps, FollowTheTenthsAndSecondsRules) {
    // From 1.0 s up: 1.1 ... 2.0, then whole seconds.
    int tenths = 10;
    for (int click = 0; click < 12; ++click) tenths = TSetVox::StepDiscardTenths(tenths, 1);
    EXPECT_EQ(40, tenths);
    // From 3.0 s down: 2.0, 1.9 ... 1.0 and no lower.
    for (int click = 0; click < 15; ++click) tenths = TSetVox::StepDiscardTenths(tenths, -1);
    EXPECT_EQ(10, tenths);
    EXPECT_EQ(600, TSetVox::StepDiscardTenths(595, 1));
    EXPECT_EQ(30, TSetVox::StepFilterTenths(29, 5));
}

}  // namespace
