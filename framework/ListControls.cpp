#include "framework/ListControls.h"

namespace {
// A message whose lParam is a string.
int SendText(const TWindow& control, UINT msg, int wParam, const std::string& text) {
    return static_cast<int>(
        control.SendMessage(msg, static_cast<WPARAM>(wParam), reinterpret_cast<LPARAM>(text.c_str())));
}

// An item's text: the length first, so the buffer fits it.
std::string ItemText(const TWindow& control, UINT lengthMsg, UINT textMsg, int index) {
    const auto length = control.SendMessage(lengthMsg, static_cast<WPARAM>(index));
    if (length < 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    control.SendMessage(textMsg, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}
}  // namespace

TComboBox::TComboBox(TWindow* parent, int id, int x, int y, int w, int h, DWORD style)
    : TControl(parent, id, std::string(), x, y, w, h) {
    Attr.style |= style | WS_VSCROLL;
}

void TComboBox::SetupWindow() {
    TControl::SetupWindow();
    if (textLimit_ > 0) SetTextLimit(textLimit_);
}

int TComboBox::AddString(const std::string& text) {
    return SendText(*this, CB_ADDSTRING, 0, text);
}

int TComboBox::InsertString(const std::string& text, int index) {
    return SendText(*this, CB_INSERTSTRING, index, text);
}

int TComboBox::FindString(const std::string& prefix, int start) const {
    return SendText(*this, CB_FINDSTRING, start, prefix);
}

int TComboBox::FindStringExact(const std::string& text, int start) const {
    return SendText(*this, CB_FINDSTRINGEXACT, start, text);
}

std::string TComboBox::GetString(int index) const {
    return ItemText(*this, CB_GETLBTEXTLEN, CB_GETLBTEXT, index);
}

void TComboBox::SetTextLimit(int chars) {
    textLimit_ = chars;
    SendMessage(CB_LIMITTEXT, static_cast<WPARAM>(chars));
}

TListBox::TListBox(TWindow* parent, int id, int x, int y, int w, int h)
    : TControl(parent, id, std::string(), x, y, w, h) {
    Attr.style |= WS_BORDER | WS_VSCROLL | LBS_NOTIFY;
}

int TListBox::AddString(const std::string& text) {
    return SendText(*this, LB_ADDSTRING, 0, text);
}

int TListBox::InsertString(const std::string& text, int index) {
    return SendText(*this, LB_INSERTSTRING, index, text);
}

int TListBox::FindStringExact(const std::string& text, int start) const {
    return SendText(*this, LB_FINDSTRINGEXACT, start, text);
}

std::string TListBox::GetString(int index) const {
    return ItemText(*this, LB_GETTEXTLEN, LB_GETTEXT, index);
}
