// THotLink: an owner-drawn button that looks like a web link (dark blue,
// underlined) and opens its own text, the address, with the shell.
#pragma once

#include <windows.h>

#include "framework/Control.h"

class THotLink : public TControl {
public:
    static constexpr COLORREF kLinkColour = 0xC00000;  // dark blue (blue-green-red order)

    THotLink(TWindow* parent, int id) : TControl(parent, id) {}

    // Opens the control's text with the shell's "open" verb.
    void CmOpenLink();

    void ODADrawEntire(DRAWITEMSTRUCT& item) override;
    void ODAFocus(DRAWITEMSTRUCT& item) override;
    void ODASelect(DRAWITEMSTRUCT& item) override { ODADrawEntire(item); }

private:
    // The text's rectangle inside the control, as drawn.
    RECT TextRect(HDC dc, const RECT& bounds) const;
};
