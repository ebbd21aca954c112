#include "app/THotLink.h"

#include <algorithm>

#include "app/WebAddress.h"
#include "framework/UserInteraction.h"

void THotLink::CmOpenLink() {
    const std::string address = GetText();
    if (address.empty()) return;
    HWND owner = GetParent() ? GetParent()->GetHandle() : nullptr;
    Ui().ShellOpen(owner, WithWebScheme(address), std::string());
}

RECT THotLink::TextRect(HDC dc, const RECT& bounds) const {
    const std::string text = GetText();
    SIZE extent{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &extent);
    RECT rect = bounds;
    rect.right = std::min<LONG>(bounds.right, bounds.left + extent.cx);
    rect.bottom = std::min<LONG>(bounds.bottom, bounds.top + extent.cy);
    return rect;
}

void THotLink::ODADrawEntire(DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    FillRect(dc, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    // The dialog's font, as every other control of the dialog uses.
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HGDIOBJ oldFont = font ? SelectObject(dc, font) : nullptr;
    const RECT text = TextRect(dc, item.rcItem);
    const std::string caption = GetText();
    SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, kLinkColour);
    DrawTextA(dc, caption.c_str(), static_cast<int>(caption.size()), const_cast<RECT*>(&text),
              DT_LEFT | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
    HPEN pen = CreatePen(PS_SOLID, 1, kLinkColour);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    MoveToEx(dc, text.left, text.bottom - 1, nullptr);
    LineTo(dc, text.right, text.bottom - 1);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    SetTextColor(dc, oldColour);
    if (item.itemState & ODS_FOCUS) ODAFocus(item);
    if (oldFont) SelectObject(dc, oldFont);
}

void THotLink::ODAFocus(DRAWITEMSTRUCT& item) {
    if (!(item.itemState & ODS_FOCUS)) return;
    RECT text = TextRect(item.hDC, item.rcItem);
    InflateRect(&text, 1, 1);
    DrawFocusRect(item.hDC, &text);
}
