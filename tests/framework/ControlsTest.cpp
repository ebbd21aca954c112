// Controls on a hidden dialog: owner-draw reflection, validators on typing,
// pasting and closing, the gauge's title, list-view sorting, the input dialog.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/CommonControls.h"
#include "framework/Control.h"
#include "framework/Dialog.h"
#include "framework/DialogTemplate.h"
#include "framework/Edit.h"
#include "framework/Gauge.h"
#include "framework/InputDialog.h"
#include "framework/ListControls.h"
#include "tests/fakes/FakeUserInteraction.h"
#include "framework/Clipboard.h"

namespace {

constexpr int kOwnerDrawn = 201;
constexpr int kNumber = 202;
constexpr int kGauge = 203;
constexpr int kList = 204;

DialogTemplate ControlsTemplate() {
    DialogTemplate t("controls", WS_POPUP | WS_CAPTION, 0, 0, 200, 150);
    t.AddControl("Button", "draw me", kOwnerDrawn, BS_OWNERDRAW | WS_VISIBLE, 5, 5, 50, 14);
    t.AddControl("Edit", "", kNumber, ES_AUTOHSCROLL | WS_BORDER | WS_VISIBLE, 5, 25, 50, 13);
    t.AddControl(TGauge::kClassName, "foo", kGauge, WS_VISIBLE, 5, 45, 100, 12);
    t.AddControl(WC_LISTVIEWA, "", kList, LVS_REPORT | WS_VISIBLE, 5, 60, 150, 80);
    return t;
}

class DrawnButton : public TControl {
public:
    using TControl::TControl;
    std::vector<std::string> actions;
    void ODADrawEntire(DRAWITEMSTRUCT&) override { actions.push_back("entire"); }
    void ODAFocus(DRAWITEMSTRUCT&) override { actions.push_back("focus"); }
    void ODASelect(DRAWITEMSTRUCT&) override { actions.push_back("select"); }
};

class ControlsDialog : public TDialog {
public:
    explicit ControlsDialog(const DialogTemplate& t)
        : TDialog(nullptr, t), button(this, kOwnerDrawn), number(this, kNumber), gauge(this, kGauge),
          list(this, kList) {
        number.SetValidator(std::make_unique<TRangeValidator>(0, 999));
    }
    DrawnButton button;
    TEdit number;
    TGauge gauge;
    TListView list;
};

class Controls : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dialog.Create()); }
    void SetClipboardText(const std::string& text) {
        ASSERT_TRUE(OpenClipboardPatiently(dialog.GetHandle()));
        EmptyClipboard();
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        lstrcpyA(static_cast<char*>(GlobalLock(memory)), text.c_str());
        GlobalUnlock(memory);
        SetClipboardData(CF_TEXT, memory);
        CloseClipboard();
    }
    const DialogTemplate t = ControlsTemplate();
    ControlsDialog dialog{t};
};

TEST_F(Controls, OwnerDrawReachesTheControlObject) {
    struct Case {
        UINT action;
        std::vector<std::string> expected;
    } cases[] = {
        {ODA_DRAWENTIRE, {"entire"}},
        {ODA_FOCUS, {"focus"}},
        {ODA_SELECT, {"select"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        dialog.button.actions.clear();
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = kOwnerDrawn;
        item.itemAction = c.action;
        item.hwndItem = dialog.button.GetHandle();
        const LRESULT result =
            SendMessageA(dialog.GetHandle(), WM_DRAWITEM, kOwnerDrawn, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(TRUE, result);
        EXPECT_EQ(c.expected, dialog.button.actions);
    }
}

// Pastes the way the user can: the message, Ctrl+V or Shift+Insert.
void PasteBy(int way, HWND edit) {
    if (way == 0) SendMessageA(edit, WM_PASTE, 0, 0);
    if (way == 1) SendMessageA(edit, WM_CHAR, 0x16, 1);
    if (way != 2) return;
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = 0x80;
    SetKeyboardState(keys);
    SendMessageA(edit, WM_KEYDOWN, VK_INSERT, 1);
    keys[VK_SHIFT] = 0;
    SetKeyboardState(keys);
}

TEST_F(Controls, ValidatorRefusesBadTypingAndPastes) {
    HWND edit = dialog.number.GetHandle();
    for (char c : std::string("1a2 ;3")) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
    EXPECT_EQ("123", dialog.number.GetText());

    struct Case {
        const char* clipboard;
        const char* expected;
    } pastes[] = {
        {"45x", "123"},   // one bad character refuses the whole paste
        {"4\r\n", "123"},
        {"-4", "123-4"},  // typed characters are filtered; the value is checked on closing
    };
    enum Way { PasteMessage, CtrlV, ShiftInsert };
    for (Way way : {PasteMessage, CtrlV, ShiftInsert}) {
        for (const Case& c : pastes) {
            SCOPED_TRACE(std::to_string(way) + " " + c.clipboard);
            SetClipboardText(c.clipboard);
            dialog.number.SetText("123");
            SendMessageA(edit, EM_SETSEL, 3, 3);
            PasteBy(way, edit);
            EXPECT_EQ(c.expected, dialog.number.GetText());
        }
    }
}

TEST_F(Controls, RangeIsCheckedWhenClosing) {
    FakeUserInteraction fake;
    ScopedUi installed(fake);
    struct Case {
        const char* text;
        bool accepted;
    } cases[] = {{"0", true}, {"999", true}, {"1000", false}, {"-1", false}, {"", false}, {"12-3", false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        fake.messageBoxes.clear();
        dialog.number.SetText(c.text);
        EXPECT_EQ(c.accepted, dialog.CanClose());
        ASSERT_EQ(c.accepted ? 0u : 1u, fake.messageBoxes.size());
        if (!c.accepted) {
            EXPECT_EQ("Value is not in the range 0 to 999.", fake.messageBoxes[0].text);
        }
    }
}

TEST(CharSets, RangesAndExceptions) {
    const TCharSet digits("0-9+-");
    const TExceptCharSet pattern(":*?");
    const TExceptCharSet ranged("a-d-");  // removes a..d and a trailing "-"
    struct Case {
        const TCharSet& set;
        char c;
        bool in;
    } cases[] = {
        {digits, '0', true}, {digits, '9', true}, {digits, '+', true}, {digits, '-', true},
        {digits, 'a', false}, {digits, '.', false},
        {pattern, ':', false}, {pattern, '*', false}, {pattern, '?', false}, {pattern, '%', true},
        {pattern, 'Y', true},
        {ranged, 'a', false}, {ranged, 'b', false}, {ranged, 'c', false}, {ranged, 'd', false},
        {ranged, '-', false}, {ranged, 'e', true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(1, c.c));
        EXPECT_EQ(c.in, c.set.Has(static_cast<unsigned char>(c.c)));
    }
}

TEST_F(Controls, GaugeShowsItsValueAsTitleAndKeepsItsRange) {
    dialog.gauge.SetRange(0, 100);
    dialog.gauge.SetTitle("%d%%");
    dialog.gauge.SetValue(100);
    EXPECT_EQ("100%", dialog.gauge.TitleText());
    dialog.gauge.SetRange(5, 5);  // the range never collapses
    dialog.gauge.SetValue(-3);
    EXPECT_EQ(5, dialog.gauge.GetValue());
    dialog.gauge.SetValue(50);
    EXPECT_EQ(6, dialog.gauge.GetValue());
}

TEST_F(Controls, ListViewSortsRowsByComparatorKeepingTheirData) {
    TListView& list = dialog.list;
    list.InsertColumn(0, "Event", 45);
    list.InsertColumn(1, "Prefix", 100);
    const char* names[] = {"charlie", "alpha", "bravo"};
    for (int i = 0; i < 3; ++i) {
        const int row = list.InsertItem(i, std::to_string(i + 1), i);
        list.SetItemText(row, 1, names[i]);
    }
    list.SortItems([&](LPARAM a, LPARAM b) { return lstrcmpiA(names[a], names[b]); });
    std::vector<std::string> order;
    for (int row = 0; row < list.GetItemCount(); ++row) order.push_back(list.GetItemText(row, 1));
    EXPECT_EQ((std::vector<std::string>{"alpha", "bravo", "charlie"}), order);
    EXPECT_EQ(1, list.GetItemData(0));
    EXPECT_EQ("2", list.GetItemText(0, 0));
    const std::string longPath = "C:\\" + std::string(400, 'x') + ".wav";  // longer than a first guess
    list.SetItemText(0, 1, longPath);
    EXPECT_EQ(longPath, list.GetItemText(0, 1));
    list.SetSelected(2, true);
    EXPECT_EQ(2, list.GetNextSelected());
    EXPECT_EQ(-1, list.GetNextSelected(2));
}

TEST(RuntimeControls, AreCreatedWithTheirIdsAndClasses) {
    TWindow parent;
    parent.Attr.style = WS_OVERLAPPED;
    TButton button(&parent, 11, "&Go", 0, 0, 40, 14);
    TEdit edit(&parent, 12, "text", 0, 20, 40, 14, 8);
    TSlider slider(&parent, 13, 0, 40, 100, 20);
    TListView list(&parent, 14, 0, 60, 100, 50);
    TRichEdit rich(&parent, 15, "", 0, 0, 100, 50);
    TGauge gauge(&parent, "%d%%", 16, 0, 120, 100, 12);
    ASSERT_TRUE(parent.Create());  // set-up creates the children
    struct Case {
        TWindow& control;
        int id;
        const char* className;
    } cases[] = {
        {button, 11, "Button"}, {edit, 12, "Edit"}, {slider, 13, TRACKBAR_CLASSA},
        {list, 14, WC_LISTVIEWA}, {rich, 15, "RichEdit20A"}, {gauge, 16, TGauge::kClassName},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.className);
        ASSERT_NE(nullptr, c.control.GetHandle());
        EXPECT_EQ(c.id, GetDlgCtrlID(c.control.GetHandle()));
        EXPECT_EQ(parent.GetHandle(), GetParent(c.control.GetHandle()));
        char className[64] = {};
        GetClassNameA(c.control.GetHandle(), className, sizeof className);
        EXPECT_EQ(0, lstrcmpiA(c.className, className));
        EXPECT_EQ(&c.control, TWindow::FromHandle(c.control.GetHandle()));
    }
    EXPECT_EQ("text", edit.GetText());
    EXPECT_EQ(8, static_cast<int>(SendMessageA(edit.GetHandle(), EM_GETLIMITTEXT, 0, 0)));
    slider.SetRange(0, 1000);
    slider.SetPosition(250);
    EXPECT_EQ(250, slider.GetPosition());
}

TEST(RuntimeControls, ComboAndListBoxesFindAndReturnTheirStrings) {
    TWindow parent;
    parent.Attr.style = WS_OVERLAPPED;
    TComboBox combo(&parent, 21, 0, 0, 100, 80);
    TListBox listBox(&parent, 22, 0, 90, 100, 80);
    ASSERT_TRUE(parent.Create());
    combo.AddString("Stereo");
    combo.InsertString("Mono", 0);
    listBox.AddString("Stereo");
    listBox.InsertString("Mono", 0);
    EXPECT_EQ(1, combo.FindString("ster"));  // prefix, any case
    EXPECT_EQ(-1, combo.FindStringExact("Ster"));
    struct Case {
        const char* what;
        std::string (*get)(const TComboBox&, const TListBox&, int);
        int (*find)(const TComboBox&, const TListBox&, const std::string&);
    } cases[] = {
        {"combo box", [](const TComboBox& c, const TListBox&, int i) { return c.GetString(i); },
         [](const TComboBox& c, const TListBox&, const std::string& t) { return c.FindStringExact(t); }},
        {"list box", [](const TComboBox&, const TListBox& l, int i) { return l.GetString(i); },
         [](const TComboBox&, const TListBox& l, const std::string& t) { return l.FindStringExact(t); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ("Mono", c.get(combo, listBox, 0));
        EXPECT_EQ("Stereo", c.get(combo, listBox, 1));
        EXPECT_EQ("", c.get(combo, listBox, 2));  // no such item
        EXPECT_EQ(1, c.find(combo, listBox, "stereo"));
        EXPECT_EQ(-1, c.find(combo, listBox, "Quad"));
    }
}

// An owner that answers a modal dialog the way a user would: when the
// dialog's loop goes idle it types into the edit and presses a button.
class AnsweringOwner : public TWindow {
public:
    std::string typed;
    int press = IDOK;
    LRESULT EvEnterIdle(WPARAM, LPARAM lp) {
        HWND dialog = reinterpret_cast<HWND>(lp);
        SetDlgItemTextA(dialog, TInputDialog::kEditId, typed.c_str());
        ::PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(press, BN_CLICKED),
                     reinterpret_cast<LPARAM>(::GetDlgItem(dialog, press)));
        return 0;
    }
    bool Dispatch(Message& m) override;
    static const MsgEntry<AnsweringOwner> kMessages[];
};
const MsgEntry<AnsweringOwner> AnsweringOwner::kMessages[] = {
    OnMessage(WM_ENTERIDLE, &AnsweringOwner::EvEnterIdle),
};
bool AnsweringOwner::Dispatch(Message& m) { return DispatchTable(*this, kMessages, m) || TWindow::Dispatch(m); }

TEST(InputDialog, OkStoresTheTextCancelKeepsTheBuffer) {
    FakeUserInteraction fake;
    fake.runModals = true;
    ScopedUi installed(fake);
    AnsweringOwner owner;
    owner.Attr.style = WS_OVERLAPPED;
    ASSERT_TRUE(owner.Create());
    struct Case {
        int press;
        const char* typed;
        const char* expected;
    } cases[] = {
        {IDOK, "a comment", "a comment"},
        {IDOK, "0123456789", "01234"},  // the buffer's size limits the text
        {IDCANCEL, "ignored", "start"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        char buffer[6] = "start";
        char big[260] = "start";
        const bool small = std::string(c.expected).size() == 5 && c.press == IDOK;
        owner.typed = c.typed;
        owner.press = c.press;
        TInputDialog dialog(&owner, "Comment", "Enter comment:", small ? buffer : big,
                            small ? sizeof buffer : sizeof big);
        EXPECT_EQ(c.press, dialog.Execute());
        EXPECT_STREQ(c.expected, small ? buffer : big);
    }
}

}  // namespace
