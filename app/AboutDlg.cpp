#include "app/AboutDlg.h"

#include "app/ProjectRCVersion.h"
#include "resources/ResourceIds.h"

const MsgEntry<AboutDlg> AboutDlg::kMessages[] = {
    OnClicked(IDC_ABOUTLINK, &AboutDlg::BnLinkClicked),
};

AboutDlg::AboutDlg(TWindow* parent, HINSTANCE module)
    : TDialog(parent, IDD_ABOUT, module), link_(std::make_unique<THotLink>(this, IDC_ABOUTLINK)) {}

bool AboutDlg::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m) || TDialog::Dispatch(m); }

std::string AboutDlg::VersionLine(const std::string& name, const std::string& resourceText,
                                  const std::string& version) {
    return name + " " + resourceText + " " + version;
}

void AboutDlg::SetupWindow() {
    TDialog::SetupWindow();
    const ProjectRCVersion block(module_);
    std::string name;
    std::string version;
    if (block.GetProductName(name) && block.GetProductVersion(version)) {
        SetCaption("About " + name);
        std::string resourceText = GetItemText(IDC_ABOUTVERSION);
        if (resourceText.size() > 259) resourceText.resize(259);
        SetItemText(IDC_ABOUTVERSION, VersionLine(name, resourceText, version));
    }
    std::string copyright;
    if (block.GetLegalCopyright(copyright)) SetItemText(IDC_ABOUTCOPYRIGHT, copyright);
}

void AboutDlg::BnLinkClicked() { link_->CmOpenLink(); }
