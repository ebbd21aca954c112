// A dialog template built in memory, for dialogs that carry no resource
// (the input dialog) and for tests.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class DialogTemplate {
public:
    // Dialog units; the font is always set (DS_SETFONT is added).
    DialogTemplate(const std::string& title, DWORD style, short x, short y, short cx, short cy,
                   const std::string& font = "MS Shell Dlg", WORD pointSize = 8);
    // className: a registered class name such as "Button", "Edit", "Static".
    void AddControl(const std::string& className, const std::string& text, WORD id, DWORD style, short x,
                    short y, short cx, short cy, DWORD exStyle = 0);
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }
    size_t SizeBytes() const { return words_.size() * sizeof(WORD); }

private:
    void AddDword(DWORD value);
    void AddText(const std::string& text);
    void AlignDword();

    std::vector<WORD> words_;
    static constexpr size_t kCountIndex = 4;  // cdit: after style and extended style
};
