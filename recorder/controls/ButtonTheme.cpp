#include "recorder/controls/ButtonTheme.h"

#include <vector>

namespace {

// The uxtheme entry points, by their documented signatures.
using OpenThemeDataFn = HANDLE(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataFn = HRESULT(WINAPI*)(HANDLE);
using DrawThemeBackgroundFn = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
using DrawThemeTextFn = HRESULT(WINAPI*)(HANDLE, HDC, int, int, LPCWSTR, int, DWORD, DWORD,
                                         const RECT*);

constexpr int kPartPushButton = 1;  // BP_PUSHBUTTON
constexpr int kStateNormal = 1;     // PBS_NORMAL
constexpr DWORD kTextGrayed = 1;    // DTT_GRAYED

template <class Fn>
Fn Lookup(HMODULE library, const char* name) {
    // GetProcAddress hands back a generic function pointer; the cast names
    // the signature the library documents.
    return library ? reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library, name)))
                   : nullptr;
}

std::wstring Widen(const std::string& text) {
    const int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    if (length <= 0) return std::wstring();
    std::vector<wchar_t> wide(static_cast<size_t>(length));
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    return std::wstring(wide.data());
}

}  // namespace

bool ButtonTheme::Open(HWND window) {
    Close();
    library_ = LoadLibraryA("UXTHEME.DLL");
    const auto open = Lookup<OpenThemeDataFn>(library_, "OpenThemeData");
    if (open) theme_ = open(window, L"Button");
    if (!theme_) Close();
    return theme_ != nullptr;
}

void ButtonTheme::Close() {
    if (theme_) {
        const auto close = Lookup<CloseThemeDataFn>(library_, "CloseThemeData");
        if (close) close(theme_);
        theme_ = nullptr;
    }
    if (library_) {
        FreeLibrary(library_);
        library_ = nullptr;
    }
}

bool ButtonTheme::DrawBackground(HDC dc, int state, const RECT& rect) const {
    const auto draw = Lookup<DrawThemeBackgroundFn>(theme_ ? library_ : nullptr, "DrawThemeBackground");
    return draw && SUCCEEDED(draw(theme_, dc, kPartPushButton, state, &rect, nullptr));
}

bool ButtonTheme::DrawText(HDC dc, const std::string& text, const RECT& rect, bool grayed) const {
    const auto draw = Lookup<DrawThemeTextFn>(theme_ ? library_ : nullptr, "DrawThemeText");
    if (!draw) return false;
    const std::wstring wide = Widen(text);
    return SUCCEEDED(draw(theme_, dc, kPartPushButton, kStateNormal, wide.c_str(), -1,
                          DT_CENTER | DT_VCENTER | DT_SINGLELINE, grayed ? kTextGrayed : 0, &rect));
}
