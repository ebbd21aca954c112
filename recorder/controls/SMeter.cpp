#include "recorder/controls/SMeter.h"

#include "framework/DeviceContext.h"

namespace {
constexpr int kGaugeMargin = 1;
constexpr UINT kPlaceFlags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
}  // namespace

FGauge::FGauge(TWindow* parent, const std::string& title, int id, int x, int y, int w, int h, bool horizontal,
               bool leftBand, bool rightBand)
    : TGauge(parent, title, id, x, y, w, h, horizontal, kGaugeMargin), leftBand_(leftBand), rightBand_(rightBand) {}

// Shadow above (and on the left when the left band is on), highlight below
// (and on the right when the right band is on), then the margin in the face
// colour. Side by side, a left and a right half look like one sunken well.
void FGauge::PaintBorder(TDC& dc, const RECT& client) {
    const int w = client.right - client.left;
    const int h = client.bottom - client.top;
    const int bx = GetSystemMetrics(SM_CXBORDER);
    const int by = GetSystemMetrics(SM_CYBORDER);
    HBRUSH shadow = GetSysColorBrush(COLOR_BTNSHADOW);
    HBRUSH highlight = GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    if (leftBand_) dc.PatBlt(0, by, bx, h - by, shadow);
    dc.PatBlt(0, 0, w, by, shadow);
    if (rightBand_) dc.PatBlt(w - bx, by, bx, h - 2 * by, highlight);
    dc.PatBlt(bx, h - by, w - bx, by, highlight);
    RECT frame{bx, by, w - bx, h - by};
    for (int i = 0; i < GetMargin(); ++i) {
        dc.FrameRect(frame, GetSysColorBrush(COLOR_BTNFACE));
        InflateRect(&frame, -1, -1);
    }
}

// The gauges are the meter's siblings, laid over its area; all three start
// with no size and vertical, so the bars grow upwards.
SMeter::SMeter(TWindow* parent, int id) : TWindow(parent) {
    Attr.id = id;
    Attr.style = WS_CHILD;
    Attr.x = Attr.y = Attr.w = Attr.h = 0;
    gauges_[0] = std::make_unique<TGauge>(parent, "", id + 1, 0, 0, 0, 0, false, kGaugeMargin);
    gauges_[1] = std::make_unique<FGauge>(parent, "", id + 2, 0, 0, 0, 0, false, true, false);
    gauges_[2] = std::make_unique<FGauge>(parent, "", id + 3, 0, 0, 0, 0, false, false, true);
}

SMeter::~SMeter() = default;

void SMeter::SetupWindow() {
    TWindow::SetupWindow();
    Layout();
}

void SMeter::Place(int x, int y, int w, int h) {
    Attr.x = x;
    Attr.y = y;
    Attr.w = w;
    Attr.h = h;
    if (GetHandle()) SetWindowPos(GetHandle(), nullptr, x, y, w, h, kPlaceFlags);
    Layout();
}

void SMeter::Layout() {
    const int x = Attr.x;
    const int y = Attr.y;
    const int w = Attr.w;
    const int h = Attr.h;
    const RECT places[3] = {{x, y, w, h}, {x, y, w / 2, h}, {x + w / 2, y, w / 2, h}};
    for (int i = 0; i < 3; ++i) {
        HWND gauge = gauges_[i]->GetHandle();
        if (gauge) SetWindowPos(gauge, nullptr, places[i].left, places[i].top, places[i].right, places[i].bottom, kPlaceFlags);
    }
    stereoShown_ = true;  // so ShowStereo(false) below really switches
    ShowStereo(false);
}

void SMeter::ShowStereo(bool stereo) {
    if (stereoShown_ == stereo) return;
    stereoShown_ = stereo;
    if (HWND full = gauges_[0]->GetHandle()) ShowWindow(full, stereo ? SW_HIDE : SW_SHOW);
    for (int i = 1; i < 3; ++i)
        if (HWND half = gauges_[i]->GetHandle()) ShowWindow(half, stereo ? SW_SHOW : SW_HIDE);
    if (stereo && GetParent() && GetParent()->GetHandle()) {
        const RECT area{Attr.x, Attr.y, Attr.x + Attr.w, Attr.y + Attr.h};
        InvalidateRect(GetParent()->GetHandle(), &area, TRUE);
    }
}

void SMeter::SetRange(int min, int max) {
    for (auto& gauge : gauges_) gauge->SetRange(min, max);
}

void SMeter::SetLed(int spacing, int thickPercent) {
    for (auto& gauge : gauges_) gauge->SetLed(spacing, thickPercent);
}

void SMeter::SetValue(int level) {
    ShowStereo(false);
    gauges_[0]->SetValue(level);
}

void SMeter::SetValues(int left, int right) {
    ShowStereo(true);
    gauges_[1]->SetValue(left);
    gauges_[2]->SetValue(right);
}
