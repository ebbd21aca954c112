#include "prefs/files/TDirPick.h"

#include "resources/ResourceIds.h"

namespace {

constexpr char kStandIn[] = "foo.bar";
constexpr size_t kStandInChars = sizeof kStandIn - 1;

// The classic dialog's file controls (the platform's own ids).
constexpr int kFileControls[] = {1089, 1090, 1152, 1120, 1136};
constexpr int kFileNameEdit = 1152;

}  // namespace

const MsgEntry<TDirPick> TDirPick::kMessages[] = {
    OnCommand(IDOK, &TDirPick::CmOk),
};

TDirPick::TDirPick(TWindow* parent, char* result, FileDialogData& data, int templateId,
                   const std::string& title)
    : TFileOpenDialog(parent, data, templateId), result_(result) {
    data.flags |= OFN_ENABLETEMPLATE | OFN_LONGNAMES;
    data.flags &= ~(OFN_EXPLORER | OFN_FILEMUSTEXIST);
    data.title = title;
}

bool TDirPick::Dispatch(Message& m) {
    return DispatchTable(*this, kMessages, m) || TFileOpenDialog::Dispatch(m);
}

void TDirPick::SetupWindow() {
    TFileOpenDialog::SetupWindow();
    for (int id : kFileControls) ShowWindow(GetDlgItem(id), SW_HIDE);
    SetItemText(kFileNameEdit, kStandIn);
}

std::string TDirPick::FolderOf(const std::string& chosen) {
    if (chosen.size() >= kStandInChars && chosen.find(kStandIn) != std::string::npos)
        return chosen.substr(0, chosen.size() - kStandInChars);
    return chosen;
}

void TDirPick::CmOk() {
    // The name edit may have been emptied or changed meanwhile: the dialog
    // must accept the folder, never open a file the user typed.
    SetItemText(kFileNameEdit, kStandIn);
    TFileOpenDialog::CmOk();
}

int TDirPick::Execute() {
    const int result = TFileOpenDialog::Execute();
    // Only a dialog that accepted writes the caller's buffer: one that
    // refused the OK and was then cancelled leaves it as it was.
    if (result == IDOK) lstrcpynA(result_, FolderOf(Data().FileName()).c_str(), MAX_PATH);
    return result;
}
