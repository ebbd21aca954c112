// TDC: a device context with the drawing operations the owner-drawn
// controls use, named as in GDI. It does not own the DC (see Owned.h for
// the guards that release one).
#pragma once

#include <windows.h>

#include <string>

class TDC {
public:
    explicit TDC(HDC dc) : dc_(dc) {}
    HDC GetHDC() const { return dc_; }

    void FillRect(const RECT& rect, HBRUSH brush) const { ::FillRect(dc_, &rect, brush); }
    void FillRect(const RECT& rect, COLORREF color) const;
    void FrameRect(const RECT& rect, HBRUSH brush) const { ::FrameRect(dc_, &rect, brush); }
    // PatBlt with the given brush selected for the call.
    bool PatBlt(int x, int y, int w, int h, HBRUSH brush, DWORD rop = PATCOPY) const;
    bool BitBlt(int x, int y, int w, int h, HDC source, int sx, int sy, DWORD rop = SRCCOPY) const {
        return ::BitBlt(dc_, x, y, w, h, source, sx, sy, rop) != FALSE;
    }
    // Draws bitmap at (x, y), leaving out the pixels of transparent colour:
    // a monochrome mask, then SRCINVERT, SRCAND, SRCINVERT.
    bool DrawTransparentBitmap(HBITMAP bitmap, int x, int y, COLORREF transparent) const;

    bool TextOut(int x, int y, const std::string& text) const {
        return ::TextOutA(dc_, x, y, text.c_str(), static_cast<int>(text.size())) != FALSE;
    }
    SIZE GetTextExtent(const std::string& text) const;
    UINT SetTextAlign(UINT align) const { return ::SetTextAlign(dc_, align); }
    COLORREF SetTextColor(COLORREF color) const { return ::SetTextColor(dc_, color); }
    COLORREF SetBkColor(COLORREF color) const { return ::SetBkColor(dc_, color); }
    int SetBkMode(int mode) const { return ::SetBkMode(dc_, mode); }
    TEXTMETRICA GetTextMetrics() const;
    int DrawText(const std::string& text, RECT& rect, UINT format) const {
        return ::DrawTextA(dc_, text.c_str(), static_cast<int>(text.size()), &rect, format);
    }

    bool MoveTo(int x, int y) const { return ::MoveToEx(dc_, x, y, nullptr) != FALSE; }
    bool LineTo(int x, int y) const { return ::LineTo(dc_, x, y) != FALSE; }
    void DrawFocusRect(const RECT& rect) const { ::DrawFocusRect(dc_, &rect); }
    void DrawEdge(RECT rect, UINT edge, UINT flags) const { ::DrawEdge(dc_, &rect, edge, flags); }
    HGDIOBJ SelectObject(HGDIOBJ object) const { return ::SelectObject(dc_, object); }

private:
    HDC dc_;
};
