#include "framework/Control.h"

TControl::TControl(TWindow* parent, int id) : TWindow(parent) {
    Attr.id = id;
    Attr.style = WS_CHILD | WS_VISIBLE;
    attachToItem_ = true;
}

TControl::TControl(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h)
    : TWindow(parent, text) {
    Attr.id = id;
    Attr.style = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
    Attr.x = x;
    Attr.y = y;
    Attr.w = w;
    Attr.h = h;
}

bool TControl::DrawItem(DRAWITEMSTRUCT& item) {
    if (item.itemAction & ODA_DRAWENTIRE) ODADrawEntire(item);
    if (item.itemAction & ODA_FOCUS) ODAFocus(item);
    if (item.itemAction & ODA_SELECT) ODASelect(item);
    return true;
}
