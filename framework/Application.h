// TApplication: the program's one application object. It holds the instance
// and show state, makes the main window (InitMainWindow), runs the message
// loop with its pre-processing chain and idle time, and has a message table of
// its own that receives the commands no window took and the frame's
// WM_COPYDATA and registered messages.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "framework/MessageTable.h"

class TFrameWindow;
class TWindow;

class TApplication {
public:
    TApplication(const std::string& name, HINSTANCE instance = nullptr, int showCommand = SW_SHOWNORMAL);
    virtual ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    const std::string& GetName() const { return name_; }
    HINSTANCE GetInstance() const { return instance_; }
    int GetShowCommand() const { return showCommand_; }
    void SetShowCommand(int showCommand) { showCommand_ = showCommand; }

    // Makes the main window (SetMainWindow); called by Run.
    virtual void InitMainWindow() {}
    // Every close request of the main window; the default asks the main window.
    virtual bool CanClose();
    // Idle time between messages; true asks for more.
    virtual bool IdleAction(long idleCount);
    // The pre-processing chain of one message: the PreProcessMsg of the
    // target window and of each parent in turn (a frame's accelerators and
    // dialog navigation sit there). True: the message was consumed.
    virtual bool ProcessAppMsg(MSG& msg);

    // Creates and shows the main window, runs the loop until WM_QUIT, then
    // destroys the main window (so its client can close files) and returns
    // the exit code.
    int Run();
    bool IsRunning() const { return running_; }
    // Dispatches every message already waiting, through the same chain.
    // Returns false when WM_QUIT was seen (it is posted again for the loop).
    bool PumpWaitingMessages();

    void SetMainWindow(std::unique_ptr<TFrameWindow> frame);
    TFrameWindow* GetMainWindow() const { return mainWindow_.get(); }
    // Destroys the main window and its object.
    void DestroyMainWindow();

    // The application's message table (see MessageTable.h).
    virtual bool Dispatch(Message&) { return false; }

    // Message box through the user-interaction seam, owned by the main window.
    int MessageBox(const std::string& text, const std::string& caption, UINT flags);

private:
    void DispatchOne(MSG& msg);
    bool Idle(long& idleCount);

    std::string name_;
    HINSTANCE instance_;
    int showCommand_;
    std::unique_ptr<TFrameWindow> mainWindow_;
    bool running_ = false;
};

// The application object, or null before one is built.
TApplication* GetApplication();
