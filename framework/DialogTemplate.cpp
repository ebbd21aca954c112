#include "framework/DialogTemplate.h"

DialogTemplate::DialogTemplate(const std::string& title, DWORD style, short x, short y, short cx, short cy,
                               const std::string& font, WORD pointSize) {
    AddDword(style | DS_SETFONT);
    AddDword(0);          // extended style
    words_.push_back(0);  // item count, raised by AddControl
    for (short value : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(value));
    words_.push_back(0);  // no menu
    words_.push_back(0);  // the standard dialog class
    AddText(title);
    words_.push_back(pointSize);
    AddText(font);
}

void DialogTemplate::AddControl(const std::string& className, const std::string& text, WORD id, DWORD style,
                                short x, short y, short cx, short cy, DWORD exStyle) {
    AlignDword();
    AddDword(style | WS_CHILD);
    AddDword(exStyle);
    for (short value : {x, y, cx, cy}) words_.push_back(static_cast<WORD>(value));
    words_.push_back(id);
    AddText(className);
    AddText(text);
    words_.push_back(0);  // no creation data
    ++words_[kCountIndex];
}

void DialogTemplate::AddDword(DWORD value) {
    words_.push_back(LOWORD(value));
    words_.push_back(HIWORD(value));
}

void DialogTemplate::AddText(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(length > 0 ? length : 1), L'\0');
    if (length > 0) MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], length);
    for (wchar_t c : wide) words_.push_back(static_cast<WORD>(c));  // includes the terminator
}

void DialogTemplate::AlignDword() {
    if (words_.size() % 2) words_.push_back(0);
}
