// TDirPick: the platform's classic open dialog reduced to its folder and
// drive lists, for choosing a folder. The dialog accepts the current folder
// with the stand-in file name "foo.bar"; the picker returns that folder.
#pragma once

#include <string>

#include "framework/CommonDialogs.h"

class TDirPick : public TFileOpenDialog {
public:
    // result: the caller's buffer (260 characters), written only on OK with
    // the chosen folder and its trailing "\".
    TDirPick(TWindow* parent, char* result, FileDialogData& data, int templateId,
             const std::string& title);

    // IDOK (the buffer then holds the folder) or IDCANCEL.
    int Execute();
    void SetupWindow() override;
    void CmOk() override;
    bool Dispatch(Message& m) override;

    // The folder of a name the dialog chose: without the stand-in file name.
    static std::string FolderOf(const std::string& chosen);

private:
    char* result_;
    static const MsgEntry<TDirPick> kMessages[];
};
