// The format pages in a modeless sheet over the fake codec manager: the
// sheet's shared default file type, posted messages run on request, the
// format list read back entry by entry.
#pragma once

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "tests/fakes/FakeAcm.h"
#include "tests/prefs/PageSheetFixture.h"

class FormatPageTest : public PageSheetTest {
protected:
    void SetUp() override {
        PageSheetTest::SetUp();
        SetAcm(&acm_);
        AppState.CodecsAvailable = true;
    }
    void TearDown() override {
        PageSheetTest::TearDown();
        SetAcm(nullptr);
    }

    // A sheet of the given pages, the first one shown; all share defaultType_.
    template <class... Pages>
    void OpenSheet() {
        sheet_ = std::make_unique<TPropertySheet>(nullptr, "Options", true, false);
        (sheet_->AddPage(Make<Pages>()), ...);
        ASSERT_TRUE(sheet_->Create());
        Pump();
    }
    template <class Page>
    std::unique_ptr<TPropertyPage> Make() {
        if constexpr (std::is_constructible_v<Page, int*>)
            return std::make_unique<Page>(&defaultType_);
        else
            return std::make_unique<Page>();
    }
    template <class Page>
    Page& PageAt(size_t index) {
        return static_cast<Page&>(sheet_->GetPage(index));
    }
    void Show(size_t index) {
        PropSheet_SetCurSel(sheet_->GetHandle(), nullptr, static_cast<int>(index));
        Pump();
    }
    HWND CurrentPage() const { return PropSheet_GetCurrentPageHwnd(sheet_->GetHandle()); }

    static void Pump() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    // A control's notification as the control sends it.
    static void Notify(const TPropertyPage& page, int id, UINT code) {
        SendMessageA(page.GetHandle(), WM_COMMAND, MAKEWPARAM(id, code),
                     reinterpret_cast<LPARAM>(GetDlgItem(page.GetHandle(), id)));
    }
    static void Click(const TPropertyPage& page, int id) {
        SendMessageA(GetDlgItem(page.GetHandle(), id), BM_CLICK, 0, 0);
        Pump();
    }

    struct Entry {
        std::string text;
        LPARAM slot;
    };
    static std::vector<Entry> Entries(const TPropertyPage& page, int id) {
        HWND combo = GetDlgItem(page.GetHandle(), id);
        std::vector<Entry> entries;
        const int count = static_cast<int>(SendMessageA(combo, CB_GETCOUNT, 0, 0));
        for (int i = 0; i < count; ++i) {
            char text[300] = {};
            SendMessageA(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
            entries.push_back({text, SendMessageA(combo, CB_GETITEMDATA, static_cast<WPARAM>(i), 0)});
        }
        return entries;
    }
    static std::string SelectedText(const TPropertyPage& page, int id) {
        const int index = Selected(page, id);
        return index < 0 ? std::string() : Entries(page, id)[static_cast<size_t>(index)].text;
    }
    // Choose an entry as the user does: selection, then its notification.
    static void Choose(const TPropertyPage& page, int id, int index) {
        Select(page, id, index);
        Notify(page, id, CBN_SELCHANGE);
        Pump();
    }

    // With a second page shown, OK after typing rate into the first page's
    // rateId; true when the sheet closed. A refusal must show the first
    // page again with the one out-of-bounds message.
    bool ConfirmRate(int rateId, const char* rate) {
        fake_.messageBoxes.clear();
        TPropertyPage& first = sheet_->GetPage(0);
        SetText(first, rateId, rate);
        Show(1);
        Press(IDOK);
        Pump();
        if (Finished()) {
            EXPECT_TRUE(fake_.messageBoxes.empty());
            return true;
        }
        EXPECT_EQ(first.GetHandle(), CurrentPage());
        EXPECT_EQ(1u, fake_.messageBoxes.size());
        if (!fake_.messageBoxes.empty()) {
            EXPECT_EQ("Sample rate out of bounds \n(setwave apply)", fake_.messageBoxes[0].text);
            EXPECT_EQ(UINT(MB_ICONHAND), fake_.messageBoxes[0].flags);
        }
        return false;
    }

    FakeAcm acm_;
    int defaultType_ = 0;
};
