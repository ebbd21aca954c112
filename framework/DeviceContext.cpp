#include "framework/DeviceContext.h"

#include "framework/Owned.h"

void TDC::FillRect(const RECT& rect, COLORREF color) const {
    OwnedBrush brush(CreateSolidBrush(color));
    if (brush) ::FillRect(dc_, &rect, brush.get());
}

bool TDC::PatBlt(int x, int y, int w, int h, HBRUSH brush, DWORD rop) const {
    SelectedObject selected(dc_, brush);
    return ::PatBlt(dc_, x, y, w, h, rop) != FALSE;
}

bool TDC::DrawTransparentBitmap(HBITMAP bitmap, int x, int y, COLORREF transparent) const {
    BITMAP info{};
    if (!bitmap || !GetObjectA(bitmap, sizeof info, &info)) return false;
    const int w = info.bmWidth;
    const int h = info.bmHeight;
    OwnedMemoryDc imageDc(CreateCompatibleDC(dc_));
    OwnedMemoryDc maskDc(CreateCompatibleDC(dc_));
    OwnedBitmap mask(CreateBitmap(w, h, 1, 1, nullptr));
    if (!imageDc || !maskDc || !mask) return false;
    SelectedObject image(imageDc.get(), bitmap);
    SelectedObject maskSelected(maskDc.get(), mask.get());
    // The mask is white where the image has the transparent colour.
    const COLORREF oldBack = ::SetBkColor(imageDc.get(), transparent);
    ::BitBlt(maskDc.get(), 0, 0, w, h, imageDc.get(), 0, 0, SRCCOPY);
    ::SetBkColor(imageDc.get(), oldBack);
    const COLORREF oldText = ::SetTextColor(dc_, RGB(0, 0, 0));
    const COLORREF oldDcBack = ::SetBkColor(dc_, RGB(255, 255, 255));
    ::BitBlt(dc_, x, y, w, h, imageDc.get(), 0, 0, SRCINVERT);
    ::BitBlt(dc_, x, y, w, h, maskDc.get(), 0, 0, SRCAND);
    ::BitBlt(dc_, x, y, w, h, imageDc.get(), 0, 0, SRCINVERT);
    ::SetTextColor(dc_, oldText);
    ::SetBkColor(dc_, oldDcBack);
    return true;
}

SIZE TDC::GetTextExtent(const std::string& text) const {
    SIZE size{0, 0};
    GetTextExtentPoint32A(dc_, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

TEXTMETRICA TDC::GetTextMetrics() const {
    TEXTMETRICA metrics{};
    ::GetTextMetricsA(dc_, &metrics);
    return metrics;
}
