// The visual-styles look of a push button, loaded at run time: the program
// must also run where uxtheme.dll is missing or themes are off, so nothing
// links against it. Without a theme every call reports false and the caller
// draws the classic look.
#pragma once

#include <windows.h>

#include <string>

class ButtonTheme {
public:
    ButtonTheme() = default;
    ~ButtonTheme() { Close(); }
    ButtonTheme(const ButtonTheme&) = delete;
    ButtonTheme& operator=(const ButtonTheme&) = delete;

    // Opens the "Button" theme data for window; false (and nothing held)
    // when the library, the function or the theme is missing.
    bool Open(HWND window);
    // Closes the theme data and frees the library. Idempotent.
    void Close();
    bool IsOpen() const { return theme_ != nullptr; }

    // DrawThemeBackground of part BP_PUSHBUTTON in the given PBS_ state.
    bool DrawBackground(HDC dc, int state, const RECT& rect) const;
    // DrawThemeText of the caption (ANSI code page) in the push-button part,
    // centred on one line; grayed adds DTT_GRAYED.
    bool DrawText(HDC dc, const std::string& text, const RECT& rect, bool grayed) const;

private:
    HMODULE library_ = nullptr;
    HANDLE theme_ = nullptr;  // HTHEME
};
