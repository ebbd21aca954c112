// TFrameWindow: a top-level window with one client window (often a modeless
// dialog), a menu, accelerators, icons and a tool-tip control. It routes menu
// and accelerator commands and runs command enablers (see RouteCommand).
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/Window.h"

class TFrameWindow : public TWindow {
public:
    // shrinkToClient: at set-up the frame takes the size of its client
    // (plus caption, borders and menu).
    TFrameWindow(TWindow* parent, const std::string& title, std::unique_ptr<TWindow> client,
                 bool shrinkToClient = false);
    ~TFrameWindow() override;

    std::string GetClassName() const override { return "LarkspurFrame"; }
    TWindow* GetClient() const override { return client_.get(); }

    // Resources of the program module; applied at set-up, or at once when
    // the window exists.
    void SetMenuResource(int menuId);
    void SetAcceleratorResource(int acceleratorId);
    // A table made at run time (not owned; it must outlive the frame).
    void SetAccelerators(HACCEL table) { accelerators_ = table; }
    bool SetIconResource(int iconId, bool large);

    // The tool-tip control (exists after set-up); tools are windows.
    HWND GetTooltip() const { return tooltip_; }
    bool AddTool(HWND tool, const std::string& text);

    void SetupWindow() override;
    bool PreProcessMsg(MSG& msg) override;
    bool IdleAction(long idleCount) override;
    // The main window asks the application's CanClose, other frames their own.
    void CloseWindow(int result = 0) override;

    // Command routing: the focus window and its parents, the frame, its
    // client, then the application. A command whose enabler disables it
    // is not dispatched.
    bool RouteCommand(Message& m);
    // What the enablers say about one command (menu: the pop-up holding it).
    TCommandEnabler QueryEnabler(UINT id, HMENU menu = nullptr);
    bool HasCommandHandler(UINT id);
    // Runs the enablers of every item of a pop-up menu.
    void UpdateMenu(HMENU menu);
    // Buttons of the client whose command ids have enablers follow them.
    void UpdateButtons();

    bool Dispatch(Message& m) override;

protected:
    bool Route(Message& m) override;

private:
    // focusChain: the windows from the focus up to the frame, when the
    // caller has them already.
    bool RouteToChain(Message& m, const std::vector<TWindow*>* focusChain = nullptr);
    std::vector<TWindow*> FocusChain() const;
    TCommandEnabler QueryEnabler(UINT id, HMENU menu, const std::vector<TWindow*>& focusChain);
    const std::vector<HWND>& ClientButtons();
    void ShrinkToClient();
    bool EvInitMenuPopup(Message& m);
    void EvSize(UINT sizeType, SIZE clientSize);
    void EvDestroy();
    bool EvSetFocus(Message& m);
    static const MsgEntry<TFrameWindow> kMessages[];

    std::unique_ptr<TWindow> client_;
    bool shrinkToClient_;
    int menuId_ = 0;
    int acceleratorId_ = 0;
    int largeIconId_ = 0;
    int smallIconId_ = 0;
    HACCEL accelerators_ = nullptr;
    HWND tooltip_ = nullptr;
    // The client's buttons, listed again every kButtonListMs: listing them
    // asks the window system once per child.
    std::vector<HWND> buttons_;
    HWND buttonsClient_ = nullptr;  // the client they were listed for
    DWORD buttonsListedAt_ = 0;
};
