#include "recorder/files/TSubjectDialog.h"

#include "core/SMsg.h"
#include "framework/UserInteraction.h"
#include "recorder/files/Categories.h"

const MsgEntry<TSubjectDialog> TSubjectDialog::kMessages[] = {
    OnCommand(IDCANCEL, &TSubjectDialog::CmCancel),
    OnCommand(IDOK, &TSubjectDialog::CmOk),
    OnCommand(IDC_DELETECATEGORY, &TSubjectDialog::CmDeleteCategory),
};

TSubjectDialog::TSubjectDialog(TWindow* parent, const std::string& caption,
                               const std::string& prompt, std::string& answer,
                               const std::string& directory, DialogResource resource)
    : TDialog(parent, resource),
      caption_(caption),
      prompt_(prompt),
      answer_(answer),
      directory_(directory) {}

bool TSubjectDialog::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || TDialog::Dispatch(m);
}

void TSubjectDialog::SetupWindow() {
    TDialog::SetupWindow();
    SetCaption(caption_);
    SetItemText(IDC_SUBJECTPROMPT, prompt_);
    const HWND box = GetDlgItem(IDC_SUBJECTCOMBO);
    ::SendMessageA(box, CB_LIMITTEXT, kMaxCategoryChars, 0);
    for (const std::string& name : ListCategories(directory_))
        ::SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    SetWindowTextA(box, answer_.c_str());
}

std::string TSubjectDialog::CategoryText() const {
    return GetItemText(IDC_SUBJECTCOMBO).substr(0, 259);
}

void TSubjectDialog::CmOk() {
    const std::string category = CategoryText();
    const CategoryOutcome outcome = EnsureCategory(directory_, category);
    if (outcome == CategoryOutcome::InvalidName || outcome == CategoryOutcome::CannotCreate) {
        Ui().MessageBox(GetHandle(), SMsg::TextOf(IDS_BADCATEGORYNAME),
                        SMsg::TextOf(IDS_CREATECATEGORY), MB_OK);
        return;  // the dialog stays open for another name
    }
    answer_ = category;
    CloseWindow(IDOK);
}

void TSubjectDialog::CmCancel() {
    answer_.clear();
    TDialog::CmCancel();
}

void TSubjectDialog::CmDeleteCategory() {
    const std::string category = CategoryText();
    const std::string caption = SMsg::TextOf(IDS_DELETECATEGORY);
    const std::string question = SMsg::TextOf(IDS_DELETEPREDEFINED) + category + " ?";
    if (Ui().MessageBox(GetHandle(), question, caption, MB_OKCANCEL) != IDOK)
        return;
    if (DeleteCategory(directory_, category) != DeleteOutcome::Deleted) {
        Ui().MessageBox(GetHandle(), category + SMsg::TextOf(IDS_NOTACATEGORY), caption,
                        MB_ICONHAND);
        return;
    }
    const HWND box = GetDlgItem(IDC_SUBJECTCOMBO);
    const LRESULT index =
        ::SendMessageA(box, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(category.c_str()));
    if (index != CB_ERR)
        ::SendMessageA(box, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SetWindowTextA(box, "");
}
