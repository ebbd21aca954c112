// TGauge: our own bar gauge, a window class ("LarkspurGauge") that dialog
// templates may name. Horizontal or vertical, a solid bar or LED segments,
// a margin inside the border, and a title format such as "%d%%" drawn with
// the value. Subclasses may paint their own border.
#pragma once

#include <string>

#include "framework/Control.h"

class TDC;

class TGauge : public TControl {
public:
    static constexpr const char* kClassName = "LarkspurGauge";
    // Registers the window class (idempotent); the application does it at start.
    static bool RegisterClass();

    TGauge(TWindow* parent, int id);  // a dialog item of class "LarkspurGauge"
    TGauge(TWindow* parent, const std::string& title, int id, int x, int y, int w, int h,
           bool horizontal = true, int margin = 1);
    std::string GetClassName() const override { return kClassName; }

    // The range; max is at least min + 1.
    void SetRange(int min, int max);
    void SetValue(int value);
    int GetValue() const { return value_; }
    // LED segments: spacing in pixels (0: a solid bar), thickness of the lit
    // part of each segment in percent of the spacing.
    void SetLed(int spacing, int thickPercent = 90);
    // printf format with one int, the value; empty: no title.
    void SetTitle(const std::string& format);
    bool IsHorizontal() const { return horizontal_; }
    int GetMargin() const { return margin_; }
    // The title as drawn now.
    std::string TitleText() const;

    bool Dispatch(Message& m) override;

protected:
    // The border around the bar; the default is a sunken edge.
    virtual void PaintBorder(TDC& dc, const RECT& client);
    virtual void PaintBar(TDC& dc, const RECT& inside);

private:
    bool EvPaint(Message& m);
    bool EvEraseBackground(Message& m);
    static const MsgEntry<TGauge> kMessages[];

    int min_ = 0;
    int max_ = 100;
    int value_ = 0;
    int ledSpacing_ = 0;
    int ledThickPercent_ = 90;
    bool horizontal_ = true;
    int margin_ = 1;
    std::string titleFormat_;
};
