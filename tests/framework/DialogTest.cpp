// Dialogs from templates: modal Execute answers the closing button, a
// modeless dialog's Cancel destroys its window but keeps its object, and a
// scripted message box answers without a window.
#include <gtest/gtest.h>

#include "framework/Application.h"
#include "framework/Control.h"
#include "framework/Dialog.h"
#include "framework/DialogTemplate.h"
#include "tests/fakes/FakeUserInteraction.h"

namespace {

constexpr int kButton = 1001;

DialogTemplate SmallDialog() {
    DialogTemplate t("small", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 100, 50);
    t.AddControl("Button", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 5, 5, 40, 14);
    t.AddControl("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 50, 5, 40, 14);
    t.AddControl("Button", "Other", kButton, BS_PUSHBUTTON | WS_TABSTOP, 5, 25, 40, 14);
    return t;
}

// Presses a button of its own once it is set up, as the user would.
class PressingDialog : public TDialog {
public:
    PressingDialog(const DialogTemplate& t, UINT press) : TDialog(nullptr, t), press_(press) {}
    bool refuseClose = false;
    int cancels = 0;
    void SetupWindow() override {
        TDialog::SetupWindow();
        if (press_) {
            PostMessage(WM_COMMAND, MAKEWPARAM(press_, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(press_)));
        }
    }
    bool CanClose() override {
        if (refuseClose) {
            refuseClose = false;  // once; then the dialog ends with Cancel
            PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED));
            return false;
        }
        return true;
    }
    void CmCancel() override {
        ++cancels;
        TDialog::CmCancel();
    }
    void BnOther() { CloseWindow(kButton); }
    bool Dispatch(Message& m) override;
    static const MsgEntry<PressingDialog> kMessages[];

private:
    UINT press_;
};
const MsgEntry<PressingDialog> PressingDialog::kMessages[] = {
    OnClicked(kButton, &PressingDialog::BnOther),
};
bool PressingDialog::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m) || TDialog::Dispatch(m); }

TEST(Dialog, ExecuteReturnsTheClosingButton) {
    FakeUserInteraction fake;
    fake.runModals = true;
    ScopedUi installed(fake);
    const DialogTemplate t = SmallDialog();
    struct Case {
        UINT press;
        bool refuse;
        int expected;
    } cases[] = {
        {IDOK, false, IDOK},
        {IDCANCEL, false, IDCANCEL},
        {kButton, false, kButton},
        {IDOK, true, IDCANCEL},  // OK refused by CanClose: still open, then cancelled
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.press);
        PressingDialog dialog(t, c.press);
        dialog.refuseClose = c.refuse;
        EXPECT_EQ(c.expected, dialog.Execute());
        EXPECT_EQ(nullptr, dialog.GetHandle());
    }
}

TEST(Dialog, ModelessCancelDestroysTheWindowNotTheObject) {
    const DialogTemplate t = SmallDialog();
    PressingDialog dialog(t, 0);
    ASSERT_TRUE(dialog.Create());
    HWND hwnd = dialog.GetHandle();
    SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(nullptr, dialog.GetHandle());
    EXPECT_EQ(1, dialog.cancels);  // the object is still there to ask
}

TEST(Dialog, AChildDialogWaitsForItsOwnExecute) {
    FakeUserInteraction fake;
    fake.runModals = true;
    ScopedUi installed(fake);
    const DialogTemplate t = SmallDialog();
    TWindow owner;
    owner.Attr.style = WS_OVERLAPPED;
    PressingDialog child(t, IDOK);
    child.SetParent(&owner);
    ASSERT_TRUE(owner.Create());
    EXPECT_EQ(nullptr, child.GetHandle());  // the owner's set-up did not make it modeless
    EXPECT_EQ(IDOK, child.Execute());
}

TEST(Dialog, AnItemIsBoundToOneControlObjectOnly) {
    const DialogTemplate t = SmallDialog();
    TDialog dialog(nullptr, t);
    TControl first(&dialog, kButton);
    TControl second(&dialog, kButton);  // a mistake: the same item again
    ASSERT_TRUE(dialog.Create());
    HWND item = dialog.GetDlgItem(kButton);
    EXPECT_EQ(&first, TWindow::FromHandle(item));
    EXPECT_EQ(nullptr, second.GetHandle());
}

TEST(UserInteraction, ScriptedMessageBoxAnswersWithoutBlocking) {
    FakeUserInteraction fake;
    fake.messageBoxAnswers = {IDNO, IDYES};
    ScopedUi installed(fake);
    TApplication app("Larkspur-PRO");
    EXPECT_EQ(IDNO, Ui().MessageBox(nullptr, "Save changes?", "Larkspur-PRO", MB_YESNO));
    EXPECT_EQ(IDYES, app.MessageBox("Again?", "", MB_YESNO));
    EXPECT_EQ(IDOK, Ui().MessageBox(nullptr, "Done", "x", MB_OK));  // queue empty: the default
    ASSERT_EQ(3u, fake.messageBoxes.size());
    EXPECT_EQ("Larkspur-PRO", fake.messageBoxes[1].caption);  // the application's name by default
    EXPECT_EQ(static_cast<UINT>(MB_YESNO), fake.messageBoxes[1].flags);
}

}  // namespace
