#include "framework/Gauge.h"

#include <algorithm>
#include <cstdio>

#include "framework/DeviceContext.h"
#include "framework/Owned.h"

const MsgEntry<TGauge> TGauge::kMessages[] = {
    OnMessage(WM_PAINT, &TGauge::EvPaint),
    OnMessage(WM_ERASEBKGND, &TGauge::EvEraseBackground),
};

bool TGauge::RegisterClass() {
    // A gauge of a dialog template is bound to its object when the dialog
    // is set up; until then the window procedure leaves it to DefWindowProc.
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(Module(), kClassName, &existing)) return true;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    wc.lpfnWndProc = &TWindow::WindowProc;
    wc.hInstance = Module();
    wc.lpszClassName = kClassName;
    return RegisterClassExA(&wc) != 0;
}

TGauge::TGauge(TWindow* parent, int id) : TControl(parent, id) { RegisterClass(); }

TGauge::TGauge(TWindow* parent, const std::string& title, int id, int x, int y, int w, int h, bool horizontal,
               int margin)
    : TControl(parent, id, std::string(), x, y, w, h), horizontal_(horizontal), margin_(margin),
      titleFormat_(title) {
    Attr.style &= ~static_cast<DWORD>(WS_TABSTOP);
}

bool TGauge::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m) || TControl::Dispatch(m); }

void TGauge::SetRange(int min, int max) {
    min_ = min;
    max_ = std::max(max, min + 1);
    SetValue(value_);
}

void TGauge::SetValue(int value) {
    value = std::clamp(value, min_, max_);
    if (value == value_) return;
    value_ = value;
    Invalidate(false);
}

void TGauge::SetLed(int spacing, int thickPercent) {
    ledSpacing_ = std::max(spacing, 0);
    ledThickPercent_ = std::clamp(thickPercent, 1, 100);
    Invalidate(false);
}

void TGauge::SetTitle(const std::string& format) {
    titleFormat_ = format;
    Invalidate(false);
}

std::string TGauge::TitleText() const {
    if (titleFormat_.empty()) return std::string();
    char text[64];
    std::snprintf(text, sizeof text, titleFormat_.c_str(), value_);
    return text;
}

bool TGauge::EvEraseBackground(Message& m) {
    m.result = TRUE;  // painted whole in WM_PAINT: no flicker
    return true;
}

bool TGauge::EvPaint(Message&) {
    PaintDc paint(hwnd_);
    TDC dc(paint.get());
    RECT client;
    GetClientRect(hwnd_, &client);
    dc.FillRect(client, GetSysColorBrush(COLOR_BTNFACE));
    PaintBorder(dc, client);
    RECT inside = client;
    const int inset = GetSystemMetrics(SM_CXEDGE) + margin_;
    InflateRect(&inside, -inset, -inset);
    if (inside.right > inside.left && inside.bottom > inside.top) PaintBar(dc, inside);
    return true;
}

void TGauge::PaintBorder(TDC& dc, const RECT& client) { dc.DrawEdge(client, EDGE_SUNKEN, BF_RECT); }

void TGauge::PaintBar(TDC& dc, const RECT& inside) {
    const int length = horizontal_ ? inside.right - inside.left : inside.bottom - inside.top;
    const int lit = MulDiv(value_ - min_, length, max_ - min_);
    RECT bar = inside;
    if (horizontal_) {
        bar.right = bar.left + lit;
    } else {
        bar.top = bar.bottom - lit;
    }
    HBRUSH barBrush = GetSysColorBrush(COLOR_HIGHLIGHT);
    if (ledSpacing_ == 0) {
        dc.FillRect(bar, barBrush);
    } else {
        // One segment every spacing pixels, its lit part thickPercent of it.
        const int thick = std::max(1, ledSpacing_ * ledThickPercent_ / 100);
        for (int offset = 0; offset < lit; offset += ledSpacing_) {
            RECT led = bar;
            const int size = std::min(thick, lit - offset);
            if (horizontal_) {
                led.left = inside.left + offset;
                led.right = led.left + size;
            } else {
                led.bottom = inside.bottom - offset;
                led.top = led.bottom - size;
            }
            dc.FillRect(led, barBrush);
        }
    }
    const std::string title = TitleText();
    if (!title.empty() && horizontal_) {
        RECT textRect = inside;
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(GetSysColor(COLOR_BTNTEXT));
        dc.DrawText(title, textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}
