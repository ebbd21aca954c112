#include "framework/PropertySheet.h"

#include "framework/DialogTemplate.h"

namespace {
constexpr UINT kApplyNowId = 0x3021;  // the sheet's "Apply" button
}

TPropertySheet* TPropertySheet::initializing_ = nullptr;

const MsgEntry<TPropertyPage> TPropertyPage::kMessages[] = {
    OnMessage(WM_NOTIFY, &TPropertyPage::EvNotify),
};

TPropertyPage::TPropertyPage(DialogResource resource, const std::string& title, HINSTANCE module)
    : TDialog(nullptr, std::move(resource), module), title_(title) {}

bool TPropertyPage::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m) || TDialog::Dispatch(m); }

TPropertySheet* TPropertyPage::GetSheet() const { return static_cast<TPropertySheet*>(GetParent()); }

HPROPSHEETPAGE TPropertyPage::MakeSheetPage(bool hasHelp) {
    PROPSHEETPAGEA page{};
    page.dwSize = sizeof page;
    page.hInstance = module_;
    page.pfnDlgProc = &TPropertyPage::PageProc;
    page.lParam = reinterpret_cast<LPARAM>(this);
    if (hasHelp) page.dwFlags |= PSP_HASHELP;
    if (!title_.empty()) {
        page.dwFlags |= PSP_USETITLE;
        page.pszTitle = title_.c_str();
    }
    const DialogResource& resource = GetResource();
    if (resource.memory) {
        page.dwFlags |= PSP_DLGINDIRECT;
        page.pResource = resource.memory->Get();
    } else {
        page.pszTemplate = resource.ResourceName();
    }
    return CreatePropertySheetPageA(&page);
}

INT_PTR CALLBACK TPropertyPage::PageProc(HWND hwnd, UINT msg, WPARAM, LPARAM lp) {
    if (msg != WM_INITDIALOG || FromHandle(hwnd)) return FALSE;
    const auto* page = reinterpret_cast<const PROPSHEETPAGEA*>(lp);
    InitDialogObject(reinterpret_cast<TPropertyPage*>(page->lParam), hwnd);
    return TRUE;
}

int TPropertyPage::Apply() { return CanClose() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE; }

bool TPropertyPage::EvNotify(Message& m) {
    const auto* header = reinterpret_cast<const NMHDR*>(m.lParam);
    if (!header || header->hwndFrom != ::GetParent(hwnd_)) return false;
    switch (header->code) {
    case PSN_SETACTIVE: m.result = SetActive(); break;
    case PSN_KILLACTIVE: m.result = KillActive() ? FALSE : TRUE; break;
    case PSN_APPLY: m.result = Apply(); break;
    case PSN_RESET: Reset(); break;
    case PSN_HELP: Help(); break;
    default: return false;
    }
    // The dialog manager's slot too, for hosts that read the result there.
    SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, m.result);
    return true;
}

TPropertySheet::TPropertySheet(TWindow* parent, const std::string& title, bool hasHelp, bool applyButton,
                               HINSTANCE module)
    : TWindow(parent, title), hasHelp_(hasHelp), applyButton_(applyButton), module_(module ? module : Module()) {}

TPropertySheet::~TPropertySheet() { Destroy(); }

TPropertyPage& TPropertySheet::AddPage(std::unique_ptr<TPropertyPage> page) {
    page->SetParent(this);
    pages_.push_back(std::move(page));
    return *pages_.back();
}

bool TPropertySheet::BuildHeader(PROPSHEETHEADERA& header, std::vector<HPROPSHEETPAGE>& handles, bool modeless) {
    for (auto& page : pages_) {
        HPROPSHEETPAGE handle = page->MakeSheetPage(hasHelp_);
        if (!handle) {
            for (HPROPSHEETPAGE made : handles) DestroyPropertySheetPage(made);
            return false;
        }
        handles.push_back(handle);
    }
    header = PROPSHEETHEADERA{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_USECALLBACK | (applyButton_ ? 0 : PSH_NOAPPLYNOW) | (hasHelp_ ? PSH_HASHELP : 0) |
                     (modeless ? PSH_MODELESS : 0);
    header.hwndParent = GetParent() ? GetParent()->GetHandle() : nullptr;
    header.hInstance = module_;
    header.pszCaption = Attr.title.c_str();
    header.nPages = static_cast<UINT>(handles.size());
    header.phpage = handles.data();
    header.pfnCallback = &TPropertySheet::SheetCallback;
    return !handles.empty();
}

int CALLBACK TPropertySheet::SheetCallback(HWND hwnd, UINT msg, LPARAM) {
    if (msg == PSCB_INITIALIZED && initializing_) {
        initializing_->Attach(hwnd);
        initializing_ = nullptr;
    }
    return 0;
}

int TPropertySheet::RunModal() {
    PROPSHEETHEADERA header;
    std::vector<HPROPSHEETPAGE> handles;
    if (hwnd_ || !BuildHeader(header, handles, false)) return IDCANCEL;
    initializing_ = this;
    const INT_PTR result = PropertySheetA(&header);
    initializing_ = nullptr;
    return result > 0 ? IDOK : IDCANCEL;
}

bool TPropertySheet::Create() {
    PROPSHEETHEADERA header;
    std::vector<HPROPSHEETPAGE> handles;
    if (hwnd_) return true;
    if (!BuildHeader(header, handles, true)) return false;
    initializing_ = this;
    const INT_PTR result = PropertySheetA(&header);
    initializing_ = nullptr;
    return result != 0 && hwnd_ != nullptr;
}

bool TPropertySheet::IsFinished() const {
    return !hwnd_ || ::SendMessageA(hwnd_, PSM_GETCURRENTPAGEHWND, 0, 0) == 0;
}

bool TPropertySheet::SelectPage(const TPropertyPage& page) {
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i].get() == &page) return ::SendMessageA(hwnd_, PSM_SETCURSEL, i, 0) != 0;
    }
    return false;
}

bool TPropertySheet::SelectPage(int templateId) {
    for (const auto& page : pages_) {
        const DialogResource& resource = page->GetResource();
        if (!resource.memory && resource.name.empty() && resource.id == templateId) return SelectPage(*page);
    }
    return false;
}

bool TPropertySheet::ValidatePages() {
    for (const auto& page : pages_) {
        if (!page->GetHandle() || page->CanClose()) continue;
        SelectPage(*page);
        return false;
    }
    return true;
}

bool TPropertySheet::Route(Message& m) {
    // The close box is the sheet's Cancel: its own procedure resets the
    // pages and ends its loop (a window destroyed under a modal sheet
    // would leave the loop waiting and the owner disabled).
    if (m.msg == WM_CLOSE) return false;
    if (m.msg == WM_COMMAND && HIWORD(m.wParam) == BN_CLICKED) {
        const UINT id = LOWORD(m.wParam);
        // Check every page before the sheet starts applying them.
        if ((id == IDOK || id == kApplyNowId) && !ValidatePages()) return true;
    }
    return Dispatch(m);
}

bool TPropertySheet::PreProcessMsg(MSG& msg) {
    return hwnd_ && ::SendMessageA(hwnd_, PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(&msg)) != 0;
}
