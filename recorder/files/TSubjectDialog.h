// TSubjectDialog: asks for the category a finished recording is named
// after. The categories are the ".CAT" marker files of a folder; the dialog
// lists them, creates the marker of a new category on OK, and can delete one.
#pragma once

#include <string>

#include "framework/Dialog.h"
#include "resources/ResourceIds.h"

class TSubjectDialog : public TDialog {
public:
    // answer: the caller's text, shown in the box at first; receives the
    // chosen category on OK and is emptied on Cancel.
    TSubjectDialog(TWindow* parent, const std::string& caption, const std::string& prompt,
                   std::string& answer, const std::string& directory,
                   DialogResource resource = IDD_SUBJECT);

    void SetupWindow() override;
    void CmOk() override;
    void CmCancel() override;
    void CmDeleteCategory();
    bool Dispatch(Message& m) override;

private:
    std::string CategoryText() const;

    std::string caption_;
    std::string prompt_;
    std::string& answer_;
    std::string directory_;

    static const MsgEntry<TSubjectDialog> kMessages[];
};
