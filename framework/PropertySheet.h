// Property sheet and pages. A page is a dialog from a numeric, named or
// in-memory template, created only when the user first visits it. The sheet
// runs modally (Execute, through the user-interaction seam) or modeless
// (Create, used by tests).
//
// Before any page applies, the sheet asks every created page's CanClose
// (which runs its controls' validators); when one refuses, that page is
// shown and no page applies. The platform's own order would apply the pages
// before the refusing one and stop there, so that Cancel would then keep
// (and the program save) a half-applied set. Pages therefore do their
// checks in CanClose, and Apply only stores.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Dialog.h"
#include "framework/UserInteraction.h"

class TPropertySheet;

class TPropertyPage : public TDialog {
public:
    TPropertyPage(DialogResource resource, const std::string& title = std::string(), HINSTANCE module = nullptr);

    TPropertySheet* GetSheet() const;
    // The page's record for the sheet (dialog procedure, template, title).
    HPROPSHEETPAGE MakeSheetPage(bool hasHelp);

    // Notifications from the sheet.
    virtual int SetActive() { return 0; }          // PSN_SETACTIVE: 0 accepts
    virtual bool KillActive() { return true; }     // PSN_KILLACTIVE: false keeps the page
    // PSN_APPLY (sheet confirmed): PSNRET_NOERROR, or PSNRET_INVALID_NOCHANGEPAGE
    // to refuse. The default asks CanClose.
    virtual int Apply();
    virtual void Reset() { CmCancel(); }           // PSN_RESET (sheet cancelled)
    virtual void Help() {}                         // PSN_HELP

    // A page never ends a dialog of its own: the sheet's buttons do.
    void CmOk() override {}
    void CmCancel() override {}
    void CloseWindow(int) override {}
    bool PreProcessMsg(MSG&) override { return false; }  // the sheet's navigation

    bool Dispatch(Message& m) override;

private:
    bool EvNotify(Message& m);
    static INT_PTR CALLBACK PageProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static const MsgEntry<TPropertyPage> kMessages[];

    std::string title_;
};

class TPropertySheet : public TWindow, public ModalRun {
public:
    TPropertySheet(TWindow* parent, const std::string& title, bool hasHelp = true, bool applyButton = false,
                   HINSTANCE module = nullptr);
    // Destroys the sheet's window (and with it the pages') while the page
    // objects are still there for their last messages.
    ~TPropertySheet() override;

    // The sheet owns its pages; they show in the order added.
    TPropertyPage& AddPage(std::unique_ptr<TPropertyPage> page);
    size_t PageCount() const { return pages_.size(); }
    TPropertyPage& GetPage(size_t index) const { return *pages_[index]; }

    // Modal: IDOK when confirmed, else IDCANCEL.
    int Execute() { return Ui().RunModal(*this); }
    int RunModal() override;
    // Modeless; the owner polls IsFinished and destroys it.
    bool Create() override;
    bool IsFinished() const;
    bool CreatedWithParent() const override { return false; }

    bool SelectPage(const TPropertyPage& page);
    // The page made from this numeric template id.
    bool SelectPage(int templateId);
    // Every created page's CanClose; the first that refuses is shown.
    bool ValidatePages();

    bool PreProcessMsg(MSG& msg) override;

protected:
    bool Route(Message& m) override;

private:
    bool BuildHeader(PROPSHEETHEADERA& header, std::vector<HPROPSHEETPAGE>& handles, bool modeless);
    static int CALLBACK SheetCallback(HWND hwnd, UINT msg, LPARAM lp);

    std::vector<std::unique_ptr<TPropertyPage>> pages_;
    bool hasHelp_;
    bool applyButton_;
    HINSTANCE module_;
    static TPropertySheet* initializing_;  // the sheet PropertySheetA is building
};
