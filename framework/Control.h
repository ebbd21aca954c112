// Control objects. Built with (parent, id) they are attached to the parent
// dialog's item of that id when the parent is set up; built with a text and
// a position they are created at run time. Owner-drawn controls override the
// ODA hooks: the parent reflects WM_DRAWITEM to the control's object.
#pragma once

#include <windows.h>

#include <string>

#include "framework/Window.h"

class TControl : public TWindow {
public:
    TControl(TWindow* parent, int id);  // a dialog item
    TControl(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h);

    std::string GetText() const { return GetCaption(); }
    void SetText(const std::string& text) { SetCaption(text); }

    // WM_DRAWITEM, split by its action.
    bool DrawItem(DRAWITEMSTRUCT& item) override;
    virtual void ODADrawEntire(DRAWITEMSTRUCT&) {}
    virtual void ODAFocus(DRAWITEMSTRUCT&) {}
    virtual void ODASelect(DRAWITEMSTRUCT&) {}
};

class TStatic : public TControl {
public:
    TStatic(TWindow* parent, int id, int textLimit = 0) : TControl(parent, id), textLimit_(textLimit) {}
    TStatic(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h)
        : TControl(parent, id, text, x, y, w, h) {
        Attr.style |= SS_LEFT;
    }
    std::string GetClassName() const override { return "STATIC"; }
    int TextLimit() const { return textLimit_; }

private:
    int textLimit_ = 0;
};

class TButton : public TControl {
public:
    TButton(TWindow* parent, int id) : TControl(parent, id) {}
    TButton(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h)
        : TControl(parent, id, text, x, y, w, h) {
        Attr.style |= BS_PUSHBUTTON;
    }
    std::string GetClassName() const override { return "BUTTON"; }
};

class TCheckBox : public TButton {
public:
    TCheckBox(TWindow* parent, int id) : TButton(parent, id) {}
    TCheckBox(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h)
        : TButton(parent, id, text, x, y, w, h) {
        Attr.style = (Attr.style & ~BS_PUSHBUTTON) | BS_AUTOCHECKBOX;
    }
    int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }  // BST_*
    void SetCheck(int state) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(state)); }
    void Check() { SetCheck(BST_CHECKED); }
    void Uncheck() { SetCheck(BST_UNCHECKED); }
    bool IsChecked() const { return GetCheck() == BST_CHECKED; }
};

class TRadioButton : public TCheckBox {
public:
    TRadioButton(TWindow* parent, int id) : TCheckBox(parent, id) {}
    TRadioButton(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h)
        : TCheckBox(parent, id, text, x, y, w, h) {
        Attr.style = (Attr.style & ~BS_AUTOCHECKBOX) | BS_AUTORADIOBUTTON;
    }
};
