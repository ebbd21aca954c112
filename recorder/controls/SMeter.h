// SMeter: the recorder window's input-level meter. Three gauges lie over the
// meter's area: one full-width gauge for a single level, and two half-width
// FGauges (left and right) for a stereo pair. The meter shows whichever look
// its last value asked for: SetValue one level, SetValues two.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/Gauge.h"
#include "framework/Window.h"

// A vertical gauge whose border, drawn on the side bands the caller chooses,
// lets two half gauges side by side look like one sunken well.
class FGauge : public TGauge {
public:
    FGauge(TWindow* parent, const std::string& title, int id, int x, int y, int w, int h, bool horizontal,
           bool leftBand, bool rightBand);

protected:
    void PaintBorder(TDC& dc, const RECT& client) override;

private:
    bool leftBand_;
    bool rightBand_;
};

class SMeter : public TWindow {
public:
    SMeter(TWindow* parent, int id);
    ~SMeter() override;

    void SetupWindow() override;
    // Moves the meter to x, y, w, h (the parent's client coordinates) and
    // lays the gauges over it.
    void Place(int x, int y, int w, int h);
    void SetRange(int min, int max);
    void SetLed(int spacing, int thickPercent);
    void SetValue(int level);
    void SetValues(int left, int right);

    bool IsStereoShown() const { return stereoShown_; }
    TGauge& Gauge(int index) { return *gauges_[index]; }

private:
    void Layout();
    void ShowStereo(bool stereo);

    bool stereoShown_ = false;
    std::unique_ptr<TGauge> gauges_[3];  // full width, left half, right half
};
