// ContextHelpWin: the mix-in that gives a dialog or a property page its
// context help. F1 (WM_HELP) and a right click or the menu key
// (WM_CONTEXTMENU) on a control show a text pop-up from the help file's
// pop-up source; a property page's Help button (PSN_HELP) opens the page's
// topic. Each control maps to a help id through a table the dialog supplies.
//
// Chain it in the class's Dispatch after the own table:
//   return DispatchTable(*this, kMessages, m) || DispatchContextHelp(m) || TDialog::Dispatch(m);
#pragma once

#include <windows.h>

#include "framework/MessageTable.h"

// One row of a dialog's help table: control id and help id (0: the help id
// is the control id). A row with control id 0 ends the table.
struct HelpPair {
    DWORD controlId;
    DWORD helpId;
};

// The help id of controlId in table (null-terminated as above), or 0 when the
// table has no row for it.
DWORD LookUpHelpId(const HelpPair* table, DWORD controlId);

class ContextHelpWin {
public:
    // table: may be null (then every control's own id is its help id);
    // helpContext: the page's topic in the help file, 0 for none.
    explicit ContextHelpWin(const HelpPair* table = nullptr, DWORD helpContext = 0)
        : table_(table), helpContext_(helpContext) {}
    virtual ~ContextHelpWin() = default;

    // The text pop-up of helpId from the help file's pop-up source, at the
    // cursor. Also used by the frame window. Nothing without a help file.
    static void ShowHelpPopup(DWORD helpId, HWND owner);

    // Its part of the message search (m.hwnd is the dialog or page).
    bool DispatchContextHelp(Message& m);

    virtual void EvHelp(HWND self, const HELPINFO& info);
    virtual void EvContextMenu(HWND self, HWND clicked, POINT screen);
    // The Help button of a property page.
    void CmHelp(HWND self);

protected:
    const HelpPair* table_;
    DWORD helpContext_;

private:
    void ShowFor(DWORD controlId) const;
};
