// Combo box and list box: strings with item data, selection and search.
// Indices are the controls' own (CB_ERR / LB_ERR, -1, when none).
#pragma once

#include <string>

#include "framework/Control.h"

class TComboBox : public TControl {
public:
    TComboBox(TWindow* parent, int id, int textLimit = 0) : TControl(parent, id), textLimit_(textLimit) {}
    TComboBox(TWindow* parent, int id, int x, int y, int w, int h, DWORD style = CBS_DROPDOWNLIST);
    std::string GetClassName() const override { return "COMBOBOX"; }
    void SetupWindow() override;

    int AddString(const std::string& text);
    int InsertString(const std::string& text, int index);
    int DeleteString(int index) { return static_cast<int>(SendMessage(CB_DELETESTRING, index)); }
    void ClearList() { SendMessage(CB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
    // First item after start (-1: from the top) beginning with prefix, ignoring case.
    int FindString(const std::string& prefix, int start = -1) const;
    int FindStringExact(const std::string& text, int start = -1) const;
    int GetSelIndex() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
    int SetSelIndex(int index) { return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index))); }
    std::string GetString(int index) const;
    LPARAM GetItemData(int index) const { return SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(index)); }
    void SetItemData(int index, LPARAM data) { SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(index), data); }
    void SetTextLimit(int chars);

private:
    int textLimit_ = 0;
};

class TListBox : public TControl {
public:
    TListBox(TWindow* parent, int id) : TControl(parent, id) {}
    TListBox(TWindow* parent, int id, int x, int y, int w, int h);
    std::string GetClassName() const override { return "LISTBOX"; }

    int AddString(const std::string& text);
    int InsertString(const std::string& text, int index);
    int DeleteString(int index) { return static_cast<int>(SendMessage(LB_DELETESTRING, static_cast<WPARAM>(index))); }
    void ClearList() { SendMessage(LB_RESETCONTENT); }
    int GetCount() const { return static_cast<int>(SendMessage(LB_GETCOUNT)); }
    int FindStringExact(const std::string& text, int start = -1) const;
    int GetSelIndex() const { return static_cast<int>(SendMessage(LB_GETCURSEL)); }
    int SetSelIndex(int index) { return static_cast<int>(SendMessage(LB_SETCURSEL, static_cast<WPARAM>(index))); }
    std::string GetString(int index) const;
    LPARAM GetItemData(int index) const { return SendMessage(LB_GETITEMDATA, static_cast<WPARAM>(index)); }
    void SetItemData(int index, LPARAM data) { SendMessage(LB_SETITEMDATA, static_cast<WPARAM>(index), data); }
};
