// RAII for Win32 handles: one template for every acquire/release pair, copy
// deleted, move allowed, plus guards for pairs that need more than the
// handle (GetDC/ReleaseDC, BeginPaint/EndPaint, SelectObject and restore,
// GlobalLock/GlobalUnlock).
#pragma once

#include <windows.h>

#include <utility>

template <class H, void (*Close)(H)>
class Owned {
public:
    explicit Owned(H h = H{}) : h_(h) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : h_(std::exchange(other.h_, H{})) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) reset(std::exchange(other.h_, H{}));
        return *this;
    }
    ~Owned() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != H{}; }
    // Gives up ownership.
    H release() { return std::exchange(h_, H{}); }
    void reset(H h = H{}) {
        if (h_) Close(h_);
        h_ = h;
    }

private:
    H h_{};
};

namespace owned {
template <class G> void DeleteGdi(G h) { DeleteObject(h); }
inline void CloseKernelHandle(HANDLE h) {
    if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
}
inline void FreeGlobal(HGLOBAL h) { GlobalFree(h); }
inline void ReleaseLibrary(HMODULE h) { FreeLibrary(h); }
inline void CloseRegKey(HKEY h) { RegCloseKey(h); }
inline void DestroyIconHandle(HICON h) { DestroyIcon(h); }
inline void DestroyMenuHandle(HMENU h) { DestroyMenu(h); }
inline void DeleteMemoryDc(HDC h) { DeleteDC(h); }
inline void DestroyTopLevel(HWND h) { DestroyWindow(h); }
}  // namespace owned

using OwnedBitmap = Owned<HBITMAP, owned::DeleteGdi<HBITMAP>>;
using OwnedBrush = Owned<HBRUSH, owned::DeleteGdi<HBRUSH>>;
using OwnedPen = Owned<HPEN, owned::DeleteGdi<HPEN>>;
using OwnedFont = Owned<HFONT, owned::DeleteGdi<HFONT>>;
using OwnedRegion = Owned<HRGN, owned::DeleteGdi<HRGN>>;
using OwnedHandle = Owned<HANDLE, owned::CloseKernelHandle>;  // files, events, threads
using OwnedGlobal = Owned<HGLOBAL, owned::FreeGlobal>;
using OwnedModule = Owned<HMODULE, owned::ReleaseLibrary>;
using OwnedRegKey = Owned<HKEY, owned::CloseRegKey>;
using OwnedIcon = Owned<HICON, owned::DestroyIconHandle>;  // not for LR_SHARED icons
using OwnedMenu = Owned<HMENU, owned::DestroyMenuHandle>;
using OwnedMemoryDc = Owned<HDC, owned::DeleteMemoryDc>;  // CreateCompatibleDC
// Only for top-level windows nobody else destroys; child windows die with their parent.
using OwnedTopLevel = Owned<HWND, owned::DestroyTopLevel>;

// GetDC / ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(hwnd_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    HDC dc_;
};

// BeginPaint / EndPaint, so an overridden painter that throws still ends the paint.
class PaintDc {
public:
    explicit PaintDc(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
    ~PaintDc() {
        if (dc_) EndPaint(hwnd_, &paint_);
    }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// SelectObject, and the previous object back at the end of the scope.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (previous_) SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// GlobalLock / GlobalUnlock.
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL memory) : memory_(memory), data_(memory ? GlobalLock(memory) : nullptr) {}
    ~GlobalLockGuard() {
        if (data_) GlobalUnlock(memory_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    void* get() const { return data_; }

private:
    HGLOBAL memory_;
    void* data_;
};
