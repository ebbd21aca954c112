// TWindow: the object behind one window. It binds itself to its HWND, runs
// every message through the class's message tables (see MessageTable.h) and
// falls back to the window's default processing. Child objects (controls,
// a frame's client) register with their parent object and are attached or
// created when the parent is set up.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/MessageTable.h"

// Registers the common-control classes (tool tips, track bars, list views...).
void InitCommonControlsOnce();

class TWindow {
public:
    // Creation attributes of windows made with Create().
    struct Attributes {
        DWORD style = WS_OVERLAPPEDWINDOW;
        DWORD exStyle = 0;
        int x = CW_USEDEFAULT;
        int y = CW_USEDEFAULT;
        int w = CW_USEDEFAULT;
        int h = CW_USEDEFAULT;
        int id = 0;  // control id of a child window
        std::string title;
    };

    explicit TWindow(TWindow* parent = nullptr, const std::string& title = std::string());
    virtual ~TWindow();
    TWindow(const TWindow&) = delete;
    TWindow& operator=(const TWindow&) = delete;

    Attributes Attr;

    // Creates the window from Attr (a dialog creates its modeless window).
    virtual bool Create();
    HWND GetHandle() const { return hwnd_; }
    bool IsWindow() const { return hwnd_ && ::IsWindow(hwnd_); }
    TWindow* GetParent() const { return parent_; }
    // Makes this a child of parent (or of nothing); it is set up with it.
    void SetParent(TWindow* parent);
    int GetId() const { return Attr.id; }

    // The window class: our own classes are registered on first use under
    // this name; a system class name (e.g. "BUTTON") is created and subclassed.
    virtual std::string GetClassName() const { return "LarkspurWindow"; }
    virtual void GetWindowClass(WNDCLASSEXA& wc) const;

    // Slots the program overrides.
    virtual void SetupWindow();              // after the window exists; attaches children first
    virtual bool CanClose();                 // asks every child
    virtual bool PreProcessMsg(MSG& msg);    // before the loop dispatches msg
    virtual bool IdleAction(long idleCount); // true asks for more idle time
    virtual void CloseWindow(int result = 0);
    virtual TWindow* GetClient() const { return nullptr; }  // a frame's client
    // Whether the parent's set-up makes this window (controls, a frame's
    // client); dialogs and sheets wait for their own Execute or Create.
    virtual bool CreatedWithParent() const { return true; }
    // Owner-draw reflection target (controls override).
    virtual bool DrawItem(DRAWITEMSTRUCT& item);

    void Destroy();

    // Thin wrappers, named as in Win32.
    bool Show(int showCommand) { return hwnd_ && ::ShowWindow(hwnd_, showCommand); }
    void SetCaption(const std::string& caption);
    std::string GetCaption() const;
    bool SetTimer(UINT_PTR timerId, UINT periodMs);
    bool KillTimer(UINT_PTR timerId);
    bool PostMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;
    LRESULT SendMessage(UINT msg, WPARAM wp = 0, LPARAM lp = 0) const;
    void Invalidate(bool erase = true) const;
    bool EnableWindow(bool enable) const;
    HWND GetDlgItem(int id) const { return ::GetDlgItem(hwnd_, id); }
    void SetIcon(HICON icon, bool large);

    // The members above named like Win32 functions hide those functions in
    // every derived class; these forward the Win32 forms, so both read as usual.
    static BOOL PostMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return ::PostMessageA(hwnd, msg, wp, lp); }
    static LRESULT SendMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) { return ::SendMessageA(hwnd, msg, wp, lp); }
    static UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC proc) { return ::SetTimer(hwnd, id, ms, proc); }
    static BOOL KillTimer(HWND hwnd, UINT_PTR id) { return ::KillTimer(hwnd, id); }
    static HWND GetDlgItem(HWND dialog, int id) { return ::GetDlgItem(dialog, id); }
    static BOOL EnableWindow(HWND hwnd, BOOL enable) { return ::EnableWindow(hwnd, enable); }
    static HWND GetParent(HWND hwnd) { return ::GetParent(hwnd); }
    static int GetClassName(HWND hwnd, char* name, int size) { return ::GetClassNameA(hwnd, name, size); }

    static TWindow* FromHandle(HWND hwnd);
    // The whole text of any window (empty for none).
    static std::string WindowText(HWND hwnd);
    static HINSTANCE Module();

    // The message search: own table, mix-ins, bases. Classes with a table
    // override it (see MessageTable.h).
    virtual bool Dispatch(Message& m);
    // Hands m to the window's previous or default procedure.
    LRESULT DefaultProcessing(const Message& m);

protected:
    // What happens to a message before the tables (a frame routes commands).
    virtual bool Route(Message& m) { return Dispatch(m); }
    // Binds to an existing window; subclasses it unless it is of our own class.
    void Attach(HWND hwnd);
    void Detach();
    // Attaches or creates every registered child that has no window yet.
    void CreateChildren();
    // Whether this object belongs on a dialog item of its parent.
    bool attachToItem_ = false;

    LRESULT ReceiveMessage(UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    HWND hwnd_ = nullptr;
    WNDPROC previousProc_ = nullptr;  // set when a foreign window was subclassed

private:
    bool EvDrawItem(Message& m);
    void EvClose();
    static const MsgEntry<TWindow> kMessages[];
    bool CreateOwnClass();
    bool CreateForeignClass(const std::string& className);

    TWindow* parent_ = nullptr;
    std::vector<TWindow*> children_;
    static TWindow* creating_;  // the object whose window CreateWindowEx is making
};
