// AboutDlg: the About box (dialog 22000): product name and version, the
// copyright line and the maker's web link, read from the program's own
// version block.
#pragma once

#include <windows.h>

#include <memory>

#include "app/THotLink.h"
#include "framework/Dialog.h"

class AboutDlg : public TDialog {
public:
    AboutDlg(TWindow* parent, HINSTANCE module = nullptr);

    void SetupWindow() override;
    void BnLinkClicked();
    bool Dispatch(Message& m) override;

    // The version line: name, the resource's own text ("Version ") and the
    // version, each joined by one blank.
    static std::string VersionLine(const std::string& name, const std::string& resourceText,
                                   const std::string& version);

private:
    std::unique_ptr<THotLink> link_;
    static const MsgEntry<AboutDlg> kMessages[];
};
