// The property sheet: pages are made when first visited, and a page that
// refuses keeps the sheet open with no page applied.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "framework/DialogTemplate.h"
#include "framework/Edit.h"
#include "framework/PropertySheet.h"
#include "tests/fakes/FakeUserInteraction.h"

namespace {

constexpr int kNumber = 301;

DialogTemplate PageTemplate(const std::string& title) {
    DialogTemplate t(title, WS_CHILD | WS_CAPTION, 0, 0, 160, 80);
    t.AddControl("Edit", "5", kNumber, ES_AUTOHSCROLL | WS_BORDER | WS_VISIBLE | WS_TABSTOP, 5, 5, 50, 13);
    return t;
}

class CountingPage : public TPropertyPage {
public:
    explicit CountingPage(const DialogTemplate& t) : TPropertyPage(t), number(this, kNumber) {
        number.SetValidator(std::make_unique<TRangeValidator>(0, 10));
    }
    TEdit number;
    int applied = 0;
    int resets = 0;
    bool* windowLeftAtDestruction = nullptr;
    ~CountingPage() override {
        if (windowLeftAtDestruction) *windowLeftAtDestruction = GetHandle() != nullptr;
    }
    int Apply() override {
        const int result = TPropertyPage::Apply();
        if (result == PSNRET_NOERROR) ++applied;
        return result;
    }
    void Reset() override { ++resets; }
};

class Sheet : public ::testing::Test {
protected:
    void SetUp() override {
        first = &static_cast<CountingPage&>(sheet.AddPage(std::make_unique<CountingPage>(firstTemplate)));
        second = &static_cast<CountingPage&>(sheet.AddPage(std::make_unique<CountingPage>(secondTemplate)));
        ASSERT_TRUE(sheet.Create());
    }
    void PressOk() {
        HWND ok = GetDlgItem(sheet.GetHandle(), IDOK);
        SendMessageA(sheet.GetHandle(), WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    }
    FakeUserInteraction fake;
    ScopedUi installed{fake};
    DialogTemplate firstTemplate = PageTemplate("First");
    DialogTemplate secondTemplate = PageTemplate("Second");
    TPropertySheet sheet{nullptr, "Options", true, false};
    CountingPage* first = nullptr;
    CountingPage* second = nullptr;
};

TEST_F(Sheet, PagesAreMadeWhenFirstVisited) {
    EXPECT_NE(nullptr, first->GetHandle());
    EXPECT_EQ(nullptr, second->GetHandle());
    ASSERT_TRUE(sheet.SelectPage(*second));
    EXPECT_NE(nullptr, second->GetHandle());
}

TEST_F(Sheet, RefusingSecondPageKeepsSheetOpenWithNoPageApplied) {
    ASSERT_TRUE(sheet.SelectPage(*second));
    second->number.SetText("99");  // out of range
    ASSERT_TRUE(sheet.SelectPage(*first));
    PressOk();
    EXPECT_FALSE(sheet.IsFinished());
    EXPECT_EQ(0, first->applied);  // the first page did not write its settings
    EXPECT_EQ(0, second->applied);
    EXPECT_EQ(second->GetHandle(), reinterpret_cast<HWND>(
                                       SendMessageA(sheet.GetHandle(), PSM_GETCURRENTPAGEHWND, 0, 0)));
    ASSERT_EQ(1u, fake.messageBoxes.size());
    EXPECT_EQ("Value is not in the range 0 to 10.", fake.messageBoxes[0].text);

    second->number.SetText("7");
    PressOk();
    EXPECT_TRUE(sheet.IsFinished());
    EXPECT_EQ(1, first->applied);
    EXPECT_EQ(1, second->applied);
}

TEST(SheetLifetime, TheSheetsWindowGoesBeforeItsPages) {
    const DialogTemplate t = PageTemplate("Only");
    bool windowLeft = true;
    {
        TPropertySheet sheet(nullptr, "Options", false);
        auto& page = static_cast<CountingPage&>(sheet.AddPage(std::make_unique<CountingPage>(t)));
        page.windowLeftAtDestruction = &windowLeft;
        ASSERT_TRUE(sheet.Create());
        ASSERT_NE(nullptr, page.GetHandle());
    }
    // The page's window died with the sheet's, not on its own under a live
    // sheet that would later destroy its handle again.
    EXPECT_FALSE(windowLeft);
}

TEST_F(Sheet, UnvisitedPagesAreNeitherCheckedNorApplied) {
    PressOk();
    EXPECT_TRUE(sheet.IsFinished());
    EXPECT_EQ(1, first->applied);
    EXPECT_EQ(0, second->applied);
}

TEST_F(Sheet, CancelAndCloseResetWithoutCheckingOrApplying) {
    HWND cancel = GetDlgItem(sheet.GetHandle(), IDCANCEL);
    struct Case {
        const char* what;
        UINT msg;
        WPARAM wParam;
        LPARAM lParam;
    } cases[] = {
        {"Cancel button", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), reinterpret_cast<LPARAM>(cancel)},
        {"close box", WM_CLOSE, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (!sheet.GetHandle()) {
            first->resets = second->resets = 0;
            ASSERT_TRUE(sheet.Create());
        }
        ASSERT_TRUE(sheet.SelectPage(*second));
        second->number.SetText("99");
        SendMessageA(sheet.GetHandle(), c.msg, c.wParam, c.lParam);
        EXPECT_TRUE(sheet.IsFinished());
        EXPECT_EQ(1, first->resets);
        EXPECT_EQ(1, second->resets);
        EXPECT_EQ(0, first->applied + second->applied);
        EXPECT_TRUE(fake.messageBoxes.empty());
        DestroyWindow(sheet.GetHandle());
    }
}

}  // namespace
