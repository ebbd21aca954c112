#include "framework/Edit.h"

#include <algorithm>

#include "framework/Clipboard.h"
#include "framework/Owned.h"

const MsgEntry<TEdit> TEdit::kMessages[] = {
    OnMessage(WM_CHAR, &TEdit::EvChar),
    OnMessage(WM_PASTE, &TEdit::EvPaste),
    OnMessage(WM_KEYDOWN, &TEdit::EvKeyDown),
};

TEdit::TEdit(TWindow* parent, int id, int textLimit) : TControl(parent, id), textLimit_(textLimit) {}

TEdit::TEdit(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h, int textLimit)
    : TControl(parent, id, text, x, y, w, h), textLimit_(textLimit) {
    Attr.style |= WS_BORDER | ES_AUTOHSCROLL;
}

bool TEdit::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m) || TControl::Dispatch(m); }

void TEdit::SetupWindow() {
    TControl::SetupWindow();
    if (textLimit_ > 0) LimitText(textLimit_);
}

void TEdit::LimitText(int chars) {
    textLimit_ = chars;
    SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(chars));
}

void TEdit::GetSelection(int& start, int& end) const {
    DWORD s = 0;
    DWORD e = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}

void TEdit::Insert(const std::string& text) {
    SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
}

bool TEdit::IsValid(bool report) {
    if (!validator_ || !hwnd_ || validator_->IsValid(GetText())) return true;
    if (report) {
        validator_->Error(::GetParent(hwnd_));
        ::SetFocus(hwnd_);
    }
    return false;
}

bool TEdit::EvChar(Message& m) {
    const char c = static_cast<char>(m.wParam);
    // Control characters (backspace, Ctrl+V, ...) are editing, not text.
    if (!validator_ || static_cast<unsigned char>(c) < 0x20 || validator_->IsValidInput(c)) return false;
    MessageBeep(MB_OK);
    return true;  // swallowed
}

bool TEdit::EvKeyDown(Message& m) {
    // Shift+Insert pastes as well, and some edit controls do it without a
    // WM_PASTE: send one, so the paste is checked like the others.
    const bool shiftInsert = m.wParam == VK_INSERT && GetKeyState(VK_SHIFT) < 0 && GetKeyState(VK_CONTROL) >= 0;
    if (!validator_ || !shiftInsert) return false;
    SendMessage(WM_PASTE);
    return true;
}

bool TEdit::EvPaste(Message&) {
    if (!validator_ || !OpenClipboardPatiently(hwnd_)) return false;
    std::string text;
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        GlobalLockGuard lock(data);
        if (lock.get()) {
            // Another program's block need not end in a NUL: read no further than its size.
            const auto* chars = static_cast<const char*>(lock.get());
            text.assign(chars, std::find(chars, chars + GlobalSize(data), '\0'));
        }
    }
    CloseClipboard();
    for (char c : text) {
        if (!validator_->IsValidInput(c)) {
            MessageBeep(MB_OK);
            return true;  // swallowed: nothing is pasted
        }
    }
    return false;
}
