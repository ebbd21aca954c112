// A modeless preferences sheet holding the pages under test, driven with sent
// messages; the scripted user interaction, a fake help viewer and fake wave
// devices stand in for the platform. Settings go to a scratch registry key
// or INI file.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/AppState.h"
#include "framework/PropertySheet.h"
#include "tests/app/FakeHelpViewer.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "tests/fakes/FakeWaveDevices.h"
#include "tests/fakes/ScratchSettings.h"

// The two settings stores every page writes to.
struct StoreCase {
    const char* name;
    bool ini;
};
constexpr StoreCase kStores[] = {{"registry", false}, {"INI file", true}};

class PageSheetTest : public ::testing::Test {
protected:
    static constexpr UINT kApplyNow = 0x3021;  // the sheet's Apply button

    void SetUp() override {
        AppState.Reset();
        SetWaves(&waves_);
    }
    void TearDown() override {
        sheet_.reset();
        SetWaves(nullptr);
        AppState.Reset();
    }

    // A new sheet (with an Apply button when asked) holding one page.
    template <class Page>
    Page& Open(bool applyButton = false, TWindow* owner = nullptr) {
        sheet_ = std::make_unique<TPropertySheet>(owner, "Options", true, applyButton);
        auto& page = static_cast<Page&>(sheet_->AddPage(std::make_unique<Page>()));
        EXPECT_TRUE(sheet_->Create());
        EXPECT_NE(nullptr, page.GetHandle());
        return page;
    }

    void Press(UINT id) {
        HWND sheet = sheet_->GetHandle();
        SendMessageA(sheet, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(sheet, static_cast<int>(id))));
    }
    bool Finished() const { return sheet_->IsFinished(); }

    // The page's dialog items.
    static std::string Text(const TPropertyPage& page, int id) {
        return TWindow::WindowText(GetDlgItem(page.GetHandle(), id));
    }
    static void SetText(const TPropertyPage& page, int id, const std::string& text) {
        SetWindowTextA(GetDlgItem(page.GetHandle(), id), text.c_str());
    }
    static bool Checked(const TPropertyPage& page, int id) {
        return SendMessageA(GetDlgItem(page.GetHandle(), id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    static void SetCheck(const TPropertyPage& page, int id, bool on) {
        SendMessageA(GetDlgItem(page.GetHandle(), id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    static int Selected(const TPropertyPage& page, int id) {
        return static_cast<int>(SendMessageA(GetDlgItem(page.GetHandle(), id), CB_GETCURSEL, 0, 0));
    }
    static void Select(const TPropertyPage& page, int id, int index) {
        SendMessageA(GetDlgItem(page.GetHandle(), id), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    }

    // Save and load through one store, as the program does.
    template <class Page>
    void SaveTo(const StoreCase& store) {
        Page::Save(store.ini ? nullptr : key_.get(), store.ini ? ini_.path() : std::string());
    }
    template <class Page>
    void LoadFrom(const StoreCase& store) {
        Page::Load(store.ini ? nullptr : key_.get(), store.ini ? ini_.path() : std::string());
    }
    // What the next start sees: the settings saved, the record cleared and
    // loaded again.
    template <class Page>
    void SaveAndReload(const StoreCase& store) {
        SaveTo<Page>(store);
        AppState.Reset();
        LoadFrom<Page>(store);
    }

    FakeUserInteraction fake_;
    ScopedUi installed_{fake_};
    FakeHelpViewer help_;
    FakeWaveDevices waves_;
    ScratchKey key_;
    ScratchIni ini_;
    ScopedCurrentFolder folder_;
    std::unique_ptr<TPropertySheet> sheet_;
};
