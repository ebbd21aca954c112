// CoolButton's face: background, bitmap, caption, frame and focus rectangle,
// themed through uxtheme when it is there and classic otherwise.
#include "recorder/controls/CoolButton.h"

#include "framework/DeviceContext.h"

namespace {

// The PBS_ states of the push-button part.
constexpr int kThemeNormal = 1;
constexpr int kThemeHot = 2;
constexpr int kThemePressed = 3;
constexpr int kThemeDisabled = 4;
constexpr int kCaptionMax = 260;
constexpr int kBitmapInset = 3;  // pixels from the left edge when a caption is shown

// Selects an object into a DC and puts the previous one back.
class SelectGuard {
public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectGuard() { SelectObject(dc_, previous_); }
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

SIZE BitmapSize(HBITMAP bitmap) {
    BITMAP info{};
    GetObjectA(bitmap, sizeof info, &info);
    return SIZE{info.bmWidth, info.bmHeight};
}

SIZE TextSize(HDC dc, const std::string& text, size_t length) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(length), &size);
    return size;
}

}  // namespace

void CoolButton::Paint(HDC dc, const RECT& rect, bool focused) {
    std::string caption;
    std::string rawCaption;
    if (!noCaption_) {
        char text[kCaptionMax] = {};
        GetWindowTextA(GetHandle(), text, kCaptionMax);
        rawCaption = text;
        caption = StripMnemonic(rawCaption, mnemonicIndex_);
    }
    HFONT font = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    SelectGuard selectFont(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    PaintBackground(dc, rect);
    PaintBitmap(dc, rect, !caption.empty());
    RECT captionRect = rect;
    if (!caption.empty()) captionRect = PaintCaption(dc, rect, caption, rawCaption);
    if (!theme_.IsOpen()) {
        RECT edge = rect;
        DrawEdge(dc, &edge, state_ == kPressed ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
    }
    if (focused) PaintFocus(dc, rect, captionRect, !caption.empty());
}

void CoolButton::PaintBackground(HDC dc, const RECT& rect) const {
    if (theme_.IsOpen()) {
        int state = kThemeNormal;
        if (state_ == kPressed) state = kThemePressed;
        else if (state_ == kDisabledLook) state = kThemeDisabled;
        else if (hover_) state = kThemeHot;
        if (theme_.DrawBackground(dc, state, rect)) return;
    }
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
}

void CoolButton::PaintBitmap(HDC dc, const RECT& rect, bool withCaption) const {
    const bool enabled = IsWindowEnabled(GetHandle()) != FALSE;
    HBITMAP bitmap = bitmaps_[ImageFor(enabled, state_, bitmaps_[kDisabledImage].Get() != nullptr)].Get();
    if (!bitmap) return;
    const SIZE size = BitmapSize(bitmap);
    const int height = rect.bottom - rect.top;
    if (size.cy >= height) return;
    const int y = rect.top + (height - size.cy) / 2;
    const int x = withCaption ? rect.left + kBitmapInset : rect.left + (rect.right - rect.left - size.cx) / 2;
    TDC(dc).DrawTransparentBitmap(bitmap, x, y, kTransparent);
}

// Draws the caption centred and returns the rectangle its text covers.
// The themed text takes the caption with its '&', so the theme underlines
// the mnemonic as it does on every other button.
RECT CoolButton::PaintCaption(HDC dc, const RECT& rect, const std::string& caption,
                              const std::string& rawCaption) const {
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const SIZE whole = TextSize(dc, caption, caption.size());
    const int centreX = (rect.left + rect.right) / 2;
    const int baseline = (rect.top + rect.bottom) / 2 + metrics.tmHeight / 2;
    const int left = centreX - whole.cx / 2;
    const RECT covered{left, baseline - whole.cy, left + whole.cx, baseline};
    const bool enabled = IsWindowEnabled(GetHandle()) != FALSE;
    if (theme_.IsOpen() && theme_.DrawText(dc, rawCaption, rect, state_ == kDisabledLook || !enabled))
        return covered;
    const UINT oldAlign = SetTextAlign(dc, TA_CENTER | TA_BOTTOM);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    TextOutA(dc, centreX, baseline, caption.c_str(), static_cast<int>(caption.size()));
    if (mnemonicIndex_ >= 0 && mnemonicIndex_ < static_cast<int>(caption.size())) {
        const int from = left + TextSize(dc, caption, static_cast<size_t>(mnemonicIndex_)).cx;
        const int to = left + TextSize(dc, caption, static_cast<size_t>(mnemonicIndex_) + 1).cx;
        HPEN pen = CreatePen(PS_SOLID, 1, GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        {
            SelectGuard selectPen(dc, pen);
            MoveToEx(dc, from, baseline - 1, nullptr);
            LineTo(dc, to, baseline - 1);
        }
        DeleteObject(pen);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SetTextAlign(dc, oldAlign);
    return covered;
}

void CoolButton::PaintFocus(HDC dc, const RECT& rect, const RECT& captionRect, bool withCaption) const {
    RECT focus = rect;
    if (withCaption) {
        focus = RECT{captionRect.left - 2, captionRect.top - 2, captionRect.right + 2, captionRect.bottom + 2};
    } else {
        InflateRect(&focus, -3, -3);
    }
    DrawFocusRect(dc, &focus);
}
