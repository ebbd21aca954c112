// TDialog: a dialog from a template (resource id, resource name or an
// in-memory DialogTemplate). Execute() runs it modally and returns the id of
// the button that ended it; Create() makes it modeless. A modeless dialog can
// be a frame's client: its template is then made a child window, and its
// close requests go to the frame's close check.
//
// Control objects built with the dialog as parent and a dialog item's id are
// attached (subclassed) to that item when the dialog is set up.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "framework/UserInteraction.h"
#include "framework/Window.h"

class DialogTemplate;

// Where a dialog's template comes from.
struct DialogResource {
    DialogResource(int resourceId) : id(resourceId) {}
    DialogResource(const char* resourceName) : name(resourceName) {}
    DialogResource(const DialogTemplate& inMemory) : memory(&inMemory) {}
    LPCSTR ResourceName() const { return name.empty() ? MAKEINTRESOURCEA(id) : name.c_str(); }

    int id = 0;
    std::string name;
    const DialogTemplate* memory = nullptr;  // not owned
};

class TDialog : public TWindow, public ModalRun {
public:
    TDialog(TWindow* parent, DialogResource resource, HINSTANCE module = nullptr);

    // Modal, through the user-interaction seam: the closing button's id, -1
    // when the template fails.
    int Execute() { return Ui().RunModal(*this); }
    int RunModal() override;
    bool Create() override; // modeless
    bool IsModal() const { return modal_; }
    bool IsFrameClient() const;
    bool CreatedWithParent() const override { return IsFrameClient(); }
    const DialogResource& GetResource() const { return resource_; }

    // Overridable: OK checks CanClose and closes with IDOK; Cancel closes with
    // IDCANCEL (a modeless dialog's window is destroyed, its object stays).
    virtual void CmOk();
    virtual void CmCancel();
    void CloseWindow(int result = 0) override;
    bool PreProcessMsg(MSG& msg) override;

    // Text of a dialog item.
    std::string GetItemText(int id) const;
    void SetItemText(int id, const std::string& text) const;

    bool Dispatch(Message& m) override;

protected:
    HINSTANCE module_;
    // The dialog procedure: binds the object on WM_INITDIALOG, then the
    // window is subclassed and the procedure leaves all else to the
    // dialog manager.
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    // Binds and sets up; pages call it with the object from their own data.
    static void InitDialogObject(TDialog* dialog, HWND hwnd);
    // Replaces the template (a subclass building its own in memory).
    void SetTemplate(const DialogTemplate& inMemory) { resource_ = DialogResource(inMemory); }
    // The template bytes, made a child window's for a frame client.
    bool LoadTemplate(std::vector<BYTE>& bytes) const;

private:
    void EvClose();
    static const MsgEntry<TDialog> kMessages[];

    DialogResource resource_;
    bool modal_ = false;
};
