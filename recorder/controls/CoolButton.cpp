// CoolButton: state, radio group and mouse tracking. Painting is in
// CoolButtonPaint.cpp.
#include "recorder/controls/CoolButton.h"

#include "core/PrivateMessages.h"

const MsgEntry<CoolButton> CoolButton::kMessages[] = {
    OnMessage(WM_COOLBUTTONGROUP, &CoolButton::EvCoolButtonGroup),
    OnMessage(WM_MOUSEMOVE, &CoolButton::EvMouseMove),
    OnMessage(WM_MOUSELEAVE, &CoolButton::EvMouseLeave),
    OnMessage(WM_THEMECHANGED, &CoolButton::EvThemeChanged),
};

CoolButton::CoolButton(TWindow* parent, int id, int groupFirst, int groupLast)
    : TControl(parent, id), groupFirst_(groupFirst), groupLast_(groupLast) {}

CoolButton::~CoolButton() { theme_.Close(); }

bool CoolButton::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m) || TControl::Dispatch(m); }

void CoolButton::SetupWindow() {
    TControl::SetupWindow();
    // The dialog item is an ordinary push button; from here on its owner
    // asks it to draw itself.
    SendMessage(BM_SETSTYLE, BS_OWNERDRAW, TRUE);
    theme_.Open(GetHandle());
}

bool CoolButton::SetBitmap(int resourceId, int index) {
    if (index < 0 || index > 2) return false;
    HBITMAP bitmap = LoadBitmapA(Module(), MAKEINTRESOURCEA(resourceId));
    if (!bitmap) return false;
    bitmaps_[index].Reset(bitmap);
    return true;
}

void CoolButton::SetState(int state, bool notify) {
    state_ = state;
    if (notify && groupFirst_ >= 0 && (state == kChecked || state == kPressed)) {
        BroadcastGroup();
    } else {
        Invalidate(false);
    }
}

// Every child of the parent hears which button of the group was chosen;
// each member sets itself accordingly (see EvCoolButtonGroup).
void CoolButton::BroadcastGroup() {
    HWND parent = GetHandle() ? ::GetParent(GetHandle()) : nullptr;
    if (!parent) return;
    const WPARAM range = MAKEWPARAM(groupFirst_, groupLast_);
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ::SendMessageA(child, WM_COOLBUTTONGROUP, range, static_cast<LPARAM>(GetId()));
}

LRESULT CoolButton::EvCoolButtonGroup(WPARAM range, LPARAM selectedId) {
    const int first = LOWORD(range);
    const int last = HIWORD(range);
    if (GetId() < first || GetId() > last) return 0;
    if (selectedId == GetId()) {
        if (state_ != kChecked && state_ != kPressed) state_ = kChecked;
        Invalidate(false);
    } else {
        if (state_ != kNormal) Invalidate(false);
        state_ = kNormal;
    }
    return 0;
}

bool CoolButton::EvMouseMove(Message&) {
    hover_ = true;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof track;
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = GetHandle();
    TrackMouseEvent(&track);
    if (theme_.IsOpen()) Invalidate(false);
    return false;  // the button's own processing follows
}

LRESULT CoolButton::EvMouseLeave(WPARAM, LPARAM) {
    hover_ = false;
    if (theme_.IsOpen()) Invalidate(false);
    return 0;
}

LRESULT CoolButton::EvThemeChanged(WPARAM, LPARAM) {
    theme_.Close();
    theme_.Open(GetHandle());
    Invalidate(true);
    return 0;
}

void CoolButton::ODADrawEntire(DRAWITEMSTRUCT& item) { Paint(item.hDC, item.rcItem, (item.itemState & ODS_FOCUS) != 0); }

// The whole face is painted again, so the focus rectangle is never left
// behind by an XOR drawn twice.
void CoolButton::ODAFocus(DRAWITEMSTRUCT& item) { Paint(item.hDC, item.rcItem, (item.itemState & ODS_FOCUS) != 0); }

// Pressed while the mouse or the space bar holds it; a pressed member of a
// group sets the others back.
void CoolButton::ODASelect(DRAWITEMSTRUCT& item) {
    if (item.itemState & ODS_SELECTED) {
        state_ = kPressed;
    } else if (state_ == kPressed) {
        state_ = kNormal;
    }
    if (groupFirst_ >= 0 && state_ == kPressed) {
        BroadcastGroup();
    } else {
        Paint(item.hDC, item.rcItem, (item.itemState & ODS_FOCUS) != 0);
    }
}

std::string CoolButton::StripMnemonic(const std::string& caption, int& mnemonicIndex) {
    const size_t at = caption.find('&');
    if (at == std::string::npos) {
        mnemonicIndex = -1;
        return caption;
    }
    mnemonicIndex = static_cast<int>(at);
    return caption.substr(0, at) + caption.substr(at + 1);
}

int CoolButton::ImageFor(bool enabled, int state, bool hasDisabledImage) {
    if (!enabled) return hasDisabledImage ? kDisabledImage : kCheckedImage;
    if (state == kChecked || state == kPressed) return kCheckedImage;
    return kNormalImage;
}
