// CoolButton: an owner-drawn push button on a dialog item. It paints its own
// face (themed when visual styles are available, classic otherwise), shows a
// bitmap with a caption, tracks the mouse for the hot look, and can be one
// button of a radio group (ids first..last): checking or pressing one sets
// every other button of the group back to normal through WM_COOLBUTTONGROUP.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Control.h"
#include "recorder/controls/ButtonTheme.h"

// A bitmap that deletes itself.
class OwnedBitmap {
public:
    OwnedBitmap() = default;
    ~OwnedBitmap() { Reset(); }
    OwnedBitmap(const OwnedBitmap&) = delete;
    OwnedBitmap& operator=(const OwnedBitmap&) = delete;
    void Reset(HBITMAP bitmap = nullptr) {
        if (bitmap_) DeleteObject(bitmap_);
        bitmap_ = bitmap;
    }
    HBITMAP Get() const { return bitmap_; }

private:
    HBITMAP bitmap_ = nullptr;
};

class CoolButton : public TControl {
public:
    // Button states.
    static constexpr int kUnset = -1;    // drawn as normal
    static constexpr int kNormal = 0;
    static constexpr int kChecked = 1;
    static constexpr int kDisabledLook = 2;
    static constexpr int kPressed = 3;
    // Bitmap slots.
    static constexpr int kNormalImage = 0;
    static constexpr int kCheckedImage = 1;
    static constexpr int kDisabledImage = 2;
    // Pixels of this colour in the images are not drawn.
    static constexpr COLORREF kTransparent = RGB(192, 192, 192);

    // groupFirst -1: not in a group.
    CoolButton(TWindow* parent, int id, int groupFirst = -1, int groupLast = -1);
    ~CoolButton() override;

    void SetupWindow() override;
    bool Dispatch(Message& m) override;
    // The owner-draw actions: paint everything, the focus, the selection.
    void ODADrawEntire(DRAWITEMSTRUCT& item) override;
    void ODAFocus(DRAWITEMSTRUCT& item) override;
    void ODASelect(DRAWITEMSTRUCT& item) override;

    // Loads a bitmap resource of the program into a slot (0, 1, 2), replacing
    // the one there. False when the resource is missing or the slot invalid.
    bool SetBitmap(int resourceId, int index);
    // notify: a checked or pressed grouped button sets the others of its group
    // back (and all are redrawn); otherwise the button is redrawn.
    void SetState(int state, bool notify);
    int GetState() const { return state_; }
    void SetNoCaption(bool noCaption) { noCaption_ = noCaption; }
    bool IsThemed() const { return theme_.IsOpen(); }
    bool IsHot() const { return hover_; }
    int GroupFirst() const { return groupFirst_; }
    int GroupLast() const { return groupLast_; }

    // The caption without its first '&', and where that '&' stood (-1: none).
    static std::string StripMnemonic(const std::string& caption, int& mnemonicIndex);
    // The bitmap slot to paint: disabled 2 (1 without a 2), checked or pressed 1, else 0.
    static int ImageFor(bool enabled, int state, bool hasDisabledImage);

protected:
    void BroadcastGroup();
    void Paint(HDC dc, const RECT& rect, bool focused);

private:
    LRESULT EvCoolButtonGroup(WPARAM range, LPARAM selectedId);
    bool EvMouseMove(Message& m);
    LRESULT EvMouseLeave(WPARAM, LPARAM);
    LRESULT EvThemeChanged(WPARAM, LPARAM);
    void PaintBackground(HDC dc, const RECT& rect) const;
    void PaintBitmap(HDC dc, const RECT& rect, bool withCaption) const;
    RECT PaintCaption(HDC dc, const RECT& rect, const std::string& caption, const std::string& rawCaption) const;
    void PaintFocus(HDC dc, const RECT& rect, const RECT& captionRect, bool withCaption) const;
    static const MsgEntry<CoolButton> kMessages[];

    OwnedBitmap bitmaps_[3];
    int state_ = kUnset;
    int groupFirst_;
    int groupLast_;
    int mnemonicIndex_ = -1;
    bool noCaption_ = false;
    ButtonTheme theme_;
    bool hover_ = false;
};
