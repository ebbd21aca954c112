#include "framework/CommonControls.h"

#include <algorithm>

TSlider::TSlider(TWindow* parent, int id, int x, int y, int w, int h, bool vertical)
    : TControl(parent, id, std::string(), x, y, w, h) {
    Attr.style |= vertical ? TBS_VERT : TBS_HORZ;
}

void TSlider::SetRange(int min, int max, bool redraw) {
    SendMessage(TBM_SETRANGEMIN, FALSE, min);
    SendMessage(TBM_SETRANGEMAX, redraw, max);
}

void TSlider::SetSelection(int start, int end, bool redraw) {
    SendMessage(TBM_SETSELSTART, FALSE, start);
    SendMessage(TBM_SETSELEND, redraw, end);
}

void TUpDown::GetRange(int& low, int& high) const {
    SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low), reinterpret_cast<LPARAM>(&high));
}

namespace {
constexpr size_t kLongestItemText = 32768;  // characters read back from one cell
}  // namespace

TListView::TListView(TWindow* parent, int id, int x, int y, int w, int h)
    : TControl(parent, id, std::string(), x, y, w, h) {
    Attr.style |= LVS_REPORT | LVS_SHOWSELALWAYS | WS_BORDER;
}

int TListView::InsertColumn(int index, const std::string& title, int width, int format) {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
    column.fmt = format;
    column.cx = width;
    column.pszText = const_cast<char*>(title.c_str());
    column.iSubItem = index;
    return static_cast<int>(SendMessage(LVM_INSERTCOLUMNA, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&column)));
}

int TListView::InsertItem(int index, const std::string& text, LPARAM data) {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<char*>(text.c_str());
    item.lParam = data;
    return static_cast<int>(SendMessage(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool TListView::SetItemText(int item, int subItem, const std::string& text) {
    LVITEMA lvItem{};
    lvItem.iSubItem = subItem;
    lvItem.pszText = const_cast<char*>(text.c_str());
    return SendMessage(LVM_SETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvItem)) != 0;
}

std::string TListView::GetItemText(int item, int subItem) const {
    // The control says only how much it copied: a full buffer may have cut
    // the text, so try again with a larger one.
    std::string text(256, '\0');
    for (;;) {
        LVITEMA lvItem{};
        lvItem.iSubItem = subItem;
        lvItem.pszText = &text[0];
        lvItem.cchTextMax = static_cast<int>(text.size());
        const auto copied = static_cast<size_t>(
            SendMessage(LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvItem)));
        if (copied + 1 < text.size() || text.size() >= kLongestItemText) {
            text.resize(std::min(copied, text.size() - 1));
            return text;
        }
        text.resize(text.size() * 2);
    }
}

LPARAM TListView::GetItemData(int item) const {
    LVITEMA lvItem{};
    lvItem.mask = LVIF_PARAM;
    lvItem.iItem = item;
    if (!SendMessage(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&lvItem))) return 0;
    return lvItem.lParam;
}

int TListView::GetNextSelected(int start) const {
    return static_cast<int>(SendMessage(LVM_GETNEXTITEM, static_cast<WPARAM>(start), LVNI_SELECTED));
}

bool TListView::IsSelected(int item) const {
    return (SendMessage(LVM_GETITEMSTATE, static_cast<WPARAM>(item), LVIS_SELECTED) & LVIS_SELECTED) != 0;
}

void TListView::SetSelected(int item, bool selected) {
    LVITEMA lvItem{};
    lvItem.stateMask = LVIS_SELECTED;
    lvItem.state = selected ? LVIS_SELECTED : 0;
    SendMessage(LVM_SETITEMSTATE, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lvItem));
}

namespace {
int CALLBACK CompareThroughFunction(LPARAM first, LPARAM second, LPARAM comparator) {
    try {
        return (*reinterpret_cast<const TListView::Comparator*>(comparator))(first, second);
    } catch (...) {
        return 0;  // nothing may unwind through the list view
    }
}
}  // namespace

bool TListView::SortItems(const Comparator& compare) {
    return SendMessage(LVM_SORTITEMS, reinterpret_cast<WPARAM>(&compare),
                       reinterpret_cast<LPARAM>(&CompareThroughFunction)) != 0;
}

TRichEdit::TRichEdit(TWindow* parent, int id, const std::string& text, int x, int y, int w, int h)
    : TControl(parent, id, text, x, y, w, h) {
    Attr.style |= ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL;
}

std::string TRichEdit::GetClassName() const { return "RichEdit20A"; }

bool TRichEdit::Create() {
    // Loaded once for the program's life: the class lives in the library.
    static const HMODULE library = LoadLibraryA("riched20.dll");
    return library && TControl::Create();
}
