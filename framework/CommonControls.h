// Wrappers of the common controls the pages and the recorder window use:
// track bar (TSlider), up-down, hot-key, report-style list view, rich edit.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>

#include "framework/Control.h"

class TSlider : public TControl {
public:
    TSlider(TWindow* parent, int id) : TControl(parent, id) {}
    TSlider(TWindow* parent, int id, int x, int y, int w, int h, bool vertical = false);
    std::string GetClassName() const override { return TRACKBAR_CLASSA; }

    void SetRange(int min, int max, bool redraw = true);
    int GetRangeMin() const { return static_cast<int>(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return static_cast<int>(SendMessage(TBM_GETRANGEMAX)); }
    int GetPosition() const { return static_cast<int>(SendMessage(TBM_GETPOS)); }
    void SetPosition(int position, bool redraw = true) { SendMessage(TBM_SETPOS, redraw, position); }
    void SetSelection(int start, int end, bool redraw = true);
    void SetTicFreq(int frequency) { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(frequency)); }
};

// UDN_DELTAPOS reaches the parent as WM_NOTIFY (OnNotify entry, LRESULT result).
class TUpDown : public TControl {
public:
    TUpDown(TWindow* parent, int id) : TControl(parent, id) {}
    std::string GetClassName() const override { return UPDOWN_CLASSA; }
    void SetRange(int low, int high) { SendMessage(UDM_SETRANGE32, static_cast<WPARAM>(low), high); }
    void GetRange(int& low, int& high) const;
    int GetPos() const { return static_cast<int>(SendMessage(UDM_GETPOS32)); }
    void SetPos(int position) { SendMessage(UDM_SETPOS32, 0, position); }
    void SetBuddy(HWND buddy) { SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy)); }
};

class THotKey : public TControl {
public:
    THotKey(TWindow* parent, int id) : TControl(parent, id) {}
    std::string GetClassName() const override { return HOTKEY_CLASSA; }
    // Virtual-key code in the low byte, HOTKEYF_* modifiers in the high byte.
    WORD GetHotKey() const { return static_cast<WORD>(SendMessage(HKM_GETHOTKEY)); }
    void SetHotKey(WORD keyAndModifiers) { SendMessage(HKM_SETHOTKEY, keyAndModifiers); }
    void SetRules(WORD invalid, WORD replacement) { SendMessage(HKM_SETRULES, invalid, replacement); }
};

class TListView : public TControl {
public:
    // Compares two rows by their item data: negative, 0 or positive.
    using Comparator = std::function<int(LPARAM, LPARAM)>;

    TListView(TWindow* parent, int id) : TControl(parent, id) {}
    TListView(TWindow* parent, int id, int x, int y, int w, int h);
    std::string GetClassName() const override { return WC_LISTVIEWA; }

    void SetExtendedStyle(DWORD style) { SendMessage(LVM_SETEXTENDEDLISTVIEWSTYLE, style, style); }
    int InsertColumn(int index, const std::string& title, int width, int format = LVCFMT_LEFT);
    // Returns the new row's index, -1 on failure.
    int InsertItem(int index, const std::string& text, LPARAM data = 0);
    bool SetItemText(int item, int subItem, const std::string& text);
    std::string GetItemText(int item, int subItem) const;
    LPARAM GetItemData(int item) const;
    bool DeleteItem(int item) { return SendMessage(LVM_DELETEITEM, static_cast<WPARAM>(item)) != 0; }
    bool DeleteAllItems() { return SendMessage(LVM_DELETEALLITEMS) != 0; }
    int GetItemCount() const { return static_cast<int>(SendMessage(LVM_GETITEMCOUNT)); }
    // The next selected row after start (-1: from the top), -1 when none.
    int GetNextSelected(int start = -1) const;
    bool IsSelected(int item) const;
    void SetSelected(int item, bool selected);
    bool SortItems(const Comparator& compare);
};

// A rich-edit control ("RichEdit20A"); the library is loaded on first use.
class TRichEdit : public TControl {
public:
    TRichEdit(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h);
    std::string GetClassName() const override;
    bool Create() override;
};
