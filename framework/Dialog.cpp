#include "framework/Dialog.h"

#include <cstring>

#include "framework/DialogTemplate.h"

namespace {
// Makes a template's dialog a borderless child window (a frame's client).
void MakeChildTemplate(std::vector<BYTE>& bytes) {
    if (bytes.size() < 16) return;
    WORD head[2];
    std::memcpy(head, bytes.data(), sizeof head);
    const size_t styleOffset = (head[0] == 1 && head[1] == 0xFFFF) ? 12 : 0;  // extended template
    DWORD style;
    std::memcpy(&style, bytes.data() + styleOffset, sizeof style);
    style &= ~static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME);
    style |= WS_CHILD;
    std::memcpy(bytes.data() + styleOffset, &style, sizeof style);
}
}  // namespace

const MsgEntry<TDialog> TDialog::kMessages[] = {
    OnCommand(IDOK, &TDialog::CmOk),
    OnCommand(IDCANCEL, &TDialog::CmCancel),
    OnClose(&TDialog::EvClose),
};

TDialog::TDialog(TWindow* parent, DialogResource resource, HINSTANCE module)
    : TWindow(parent), module_(module ? module : Module()), resource_(std::move(resource)) {}

bool TDialog::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m) || TWindow::Dispatch(m); }

bool TDialog::IsFrameClient() const { return GetParent() && GetParent()->GetClient() == this; }

bool TDialog::LoadTemplate(std::vector<BYTE>& bytes) const {
    if (resource_.memory) {
        const auto* start = reinterpret_cast<const BYTE*>(resource_.memory->Get());
        bytes.assign(start, start + resource_.memory->SizeBytes());
    } else {
        HRSRC found = FindResourceA(module_, resource_.ResourceName(), MAKEINTRESOURCEA(5));  // RT_DIALOG
        HGLOBAL loaded = found ? LoadResource(module_, found) : nullptr;
        const void* data = loaded ? LockResource(loaded) : nullptr;
        if (!data) return false;
        const auto* start = static_cast<const BYTE*>(data);
        bytes.assign(start, start + SizeofResource(module_, found));
    }
    if (IsFrameClient()) MakeChildTemplate(bytes);
    return true;
}

int TDialog::RunModal() {
    std::vector<BYTE> bytes;
    if (hwnd_ || !LoadTemplate(bytes)) return -1;
    modal_ = true;
    HWND owner = GetParent() ? GetParent()->GetHandle() : nullptr;
    const INT_PTR result = DialogBoxIndirectParamA(module_, reinterpret_cast<const DLGTEMPLATE*>(bytes.data()),
                                                   owner, &TDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    modal_ = false;
    return static_cast<int>(result);
}

bool TDialog::Create() {
    if (hwnd_) return true;
    std::vector<BYTE> bytes;
    if (!LoadTemplate(bytes)) return false;
    HWND owner = GetParent() ? GetParent()->GetHandle() : nullptr;
    HWND hwnd = CreateDialogIndirectParamA(module_, reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), owner,
                                           &TDialog::DialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void TDialog::InitDialogObject(TDialog* dialog, HWND hwnd) {
    dialog->Attach(hwnd);
    try {
        dialog->SetupWindow();
    } catch (...) {
        // Nothing may unwind through the dialog manager.
    }
}

INT_PTR CALLBACK TDialog::DialogProc(HWND hwnd, UINT msg, WPARAM, LPARAM lp) {
    if (msg != WM_INITDIALOG || FromHandle(hwnd)) return FALSE;
    InitDialogObject(reinterpret_cast<TDialog*>(lp), hwnd);
    return TRUE;
}

void TDialog::CmOk() { CloseWindow(IDOK); }

void TDialog::CmCancel() {
    if (modal_) {
        EndDialog(hwnd_, IDCANCEL);
    } else if (IsFrameClient()) {
        GetParent()->CloseWindow(IDCANCEL);
    } else {
        Destroy();
    }
}

void TDialog::EvClose() { CmCancel(); }

void TDialog::CloseWindow(int result) {
    if (IsFrameClient()) {
        // The frame decides; it destroys the client with itself.
        GetParent()->CloseWindow(result);
        return;
    }
    if (!CanClose()) return;
    if (modal_) {
        EndDialog(hwnd_, result);
    } else {
        Destroy();
    }
}

bool TDialog::PreProcessMsg(MSG& msg) {
    if (!hwnd_ || modal_) return false;
    if (IsFrameClient()) return GetParent()->PreProcessMsg(msg);
    return IsDialogMessageA(hwnd_, &msg) != FALSE;
}

std::string TDialog::GetItemText(int id) const { return WindowText(GetDlgItem(id)); }

void TDialog::SetItemText(int id, const std::string& text) const { SetDlgItemTextA(hwnd_, id, text.c_str()); }
