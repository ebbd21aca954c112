#include "framework/ListControls.h"

namespace {
LPARAM TextParam(const std::string& text) { return reinterpret_cast<LPARAM>(text.c_str()); }
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
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, TextParam(text)));
}

int TComboBox::InsertString(const std::string& text, int index) {
    return static_cast<int>(SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(index), TextParam(text)));
}

int TComboBox::FindString(const std::string& prefix, int start) const {
    return static_cast<int>(SendMessage(CB_FINDSTRING, static_cast<WPARAM>(start), TextParam(prefix)));
}

int TComboBox::FindStringExact(const std::string& text, int start) const {
    return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(start), TextParam(text)));
}

std::string TComboBox::GetString(int index) const {
    const auto length = SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(index));
    if (length < 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
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
    return static_cast<int>(SendMessage(LB_ADDSTRING, 0, TextParam(text)));
}

int TListBox::InsertString(const std::string& text, int index) {
    return static_cast<int>(SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(index), TextParam(text)));
}

int TListBox::FindStringExact(const std::string& text, int start) const {
    return static_cast<int>(SendMessage(LB_FINDSTRINGEXACT, static_cast<WPARAM>(start), TextParam(text)));
}

std::string TListBox::GetString(int index) const {
    const auto length = SendMessage(LB_GETTEXTLEN, static_cast<WPARAM>(index));
    if (length < 0) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    SendMessage(LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
}
