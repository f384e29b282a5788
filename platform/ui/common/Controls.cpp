// The control classes' operations, each a message to the control.
#include "ui/Controls.h"

namespace ui {
namespace {

WPARAM W(int v) {
    return static_cast<WPARAM>(v);
}
LPARAM L(const void* p) {
    return reinterpret_cast<LPARAM>(p);
}
int I(LRESULT r) {
    return static_cast<int>(r);
}

template <UINT LenMessage, UINT TextMessage>
void ReadItemText(const CWnd& control, int index, std::wstring& text) {
    const LRESULT length = control.SendMessage(LenMessage, W(index));
    if (length < 0) {
        text.clear();
        return;
    }
    text.assign(static_cast<std::size_t>(length) + 1, L'\0');
    const LRESULT got = control.SendMessage(TextMessage, W(index), L(text.data()));
    text.resize(got < 0 ? 0 : static_cast<std::size_t>(got));
}

}  // namespace

// CButton.
int CButton::GetCheck() const {
    return I(SendMessage(BM_GETCHECK));
}
void CButton::SetCheck(int check) {
    SendMessage(BM_SETCHECK, W(check));
}
UINT CButton::GetState() const {
    return static_cast<UINT>(SendMessage(BM_GETSTATE));
}
void CButton::SetState(bool pushed) {
    SendMessage(BM_SETSTATE, pushed ? 1 : 0);
}
UINT CButton::GetButtonStyle() const {
    return GetStyle() & 0xFFFFu;
}
void CButton::SetButtonStyle(UINT style, bool redraw) {
    SendMessage(BM_SETSTYLE, style, redraw ? 1 : 0);
}

// CEdit.
void CEdit::SetSel(int start, int end, bool noScroll) {
    SendMessage(EM_SETSEL, W(start), static_cast<LPARAM>(end));
    if (!noScroll) SendMessage(EM_SCROLLCARET);
}
void CEdit::SetSel(DWORD selection, bool noScroll) {
    // The halves go as they are: SetSel(-1) asks for characters 65535 to 65535, which puts
    // the caret at the end of any shorter text.
    SetSel(LOWORD(selection), HIWORD(selection), noScroll);
}
void CEdit::GetSel(int& start, int& end) const {
    DWORD s = 0, e = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&s), L(&e));
    start = static_cast<int>(s);
    end = static_cast<int>(e);
}
DWORD CEdit::GetSel() const {
    return static_cast<DWORD>(SendMessage(EM_GETSEL));
}
void CEdit::ReplaceSel(const wchar_t* text, bool canUndo) {
    SendMessage(EM_REPLACESEL, canUndo ? 1 : 0, L(text));
}
void CEdit::SetLimitText(UINT maxChars) {
    SendMessage(EM_LIMITTEXT, maxChars);
}
UINT CEdit::GetLimitText() const {
    return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT));
}
bool CEdit::SetReadOnly(bool readOnly) {
    return SendMessage(EM_SETREADONLY, readOnly ? 1 : 0) != 0;
}
bool CEdit::GetModify() const {
    return SendMessage(EM_GETMODIFY) != 0;
}
void CEdit::SetModify(bool modified) {
    SendMessage(EM_SETMODIFY, modified ? 1 : 0);
}
int CEdit::GetLineCount() const {
    return I(SendMessage(EM_GETLINECOUNT));
}
void CEdit::Clear() {
    SendMessage(WM_CLEAR);
}
void CEdit::Paste() {
    SendMessage(WM_PASTE);
}
bool CEdit::Undo() {
    return SendMessage(EM_UNDO) != 0;
}
bool CEdit::CanUndo() const {
    return SendMessage(EM_CANUNDO) != 0;
}

// The rows of a list box or a combo box.
template <class Rows>
int CRowsCtrl<Rows>::GetCount() const {
    return I(SendMessage(Rows::kGetCount));
}
template <class Rows>
int CRowsCtrl<Rows>::GetCurSel() const {
    return I(SendMessage(Rows::kGetCurSel));
}
template <class Rows>
int CRowsCtrl<Rows>::AddString(const wchar_t* text) {
    return I(SendMessage(Rows::kAddString, 0, L(text)));
}
template <class Rows>
int CRowsCtrl<Rows>::InsertString(int index, const wchar_t* text) {
    return I(SendMessage(Rows::kInsertString, W(index), L(text)));
}
template <class Rows>
int CRowsCtrl<Rows>::DeleteString(UINT index) {
    return I(SendMessage(Rows::kDeleteString, index));
}
template <class Rows>
void CRowsCtrl<Rows>::ResetContent() {
    SendMessage(Rows::kResetContent);
}
template <class Rows>
DWORD_PTR CRowsCtrl<Rows>::GetItemData(int index) const {
    return static_cast<DWORD_PTR>(SendMessage(Rows::kGetItemData, W(index)));
}
template <class Rows>
int CRowsCtrl<Rows>::SetItemData(int index, DWORD_PTR data) {
    return I(SendMessage(Rows::kSetItemData, W(index), static_cast<LPARAM>(data)));
}
template <class Rows>
void* CRowsCtrl<Rows>::GetItemDataPtr(int index) const {
    return reinterpret_cast<void*>(SendMessage(Rows::kGetItemData, W(index)));
}
template <class Rows>
int CRowsCtrl<Rows>::SetItemDataPtr(int index, void* data) {
    return I(SendMessage(Rows::kSetItemData, W(index), L(data)));
}
template <class Rows>
int CRowsCtrl<Rows>::FindString(int startAfter, const wchar_t* prefix) const {
    return I(SendMessage(Rows::kFindString, W(startAfter), L(prefix)));
}
template <class Rows>
int CRowsCtrl<Rows>::FindStringExact(int startAfter, const wchar_t* text) const {
    return I(SendMessage(Rows::kFindStringExact, W(startAfter), L(text)));
}
template <class Rows>
int CRowsCtrl<Rows>::SelectString(int startAfter, const wchar_t* prefix) {
    return I(SendMessage(Rows::kSelectString, W(startAfter), L(prefix)));
}
template class CRowsCtrl<ListBoxRows>;
template class CRowsCtrl<ComboBoxRows>;

// CListBox.
int CListBox::SetCurSel(int index) {
    return I(SendMessage(LB_SETCURSEL, W(index)));
}
int CListBox::GetTopIndex() const {
    return I(SendMessage(LB_GETTOPINDEX));
}
int CListBox::SetTopIndex(int index) {
    return I(SendMessage(LB_SETTOPINDEX, W(index)));
}
int CListBox::GetCaretIndex() const {
    return I(SendMessage(LB_GETCARETINDEX));
}
int CListBox::GetText(int index, wchar_t* buffer) const {
    return I(SendMessage(LB_GETTEXT, W(index), L(buffer)));
}
void CListBox::GetText(int index, std::wstring& text) const {
    ReadItemText<LB_GETTEXTLEN, LB_GETTEXT>(*this, index, text);
}
int CListBox::GetTextLen(int index) const {
    return I(SendMessage(LB_GETTEXTLEN, W(index)));
}

// CComboBox.
int CComboBox::SetCurSel(int index) {
    const int result = I(SendMessage(CB_SETCURSEL, W(index)));
    // The platform clears the selection for an index out of range; not every implementation
    // of the control does, so it is cleared here explicitly.
    if (result == CB_ERR && index != -1) SendMessage(CB_SETCURSEL, W(-1));
    return result;
}
int CComboBox::GetLBText(int index, wchar_t* buffer) const {
    return I(SendMessage(CB_GETLBTEXT, W(index), L(buffer)));
}
void CComboBox::GetLBText(int index, std::wstring& text) const {
    ReadItemText<CB_GETLBTEXTLEN, CB_GETLBTEXT>(*this, index, text);
}
int CComboBox::GetLBTextLen(int index) const {
    return I(SendMessage(CB_GETLBTEXTLEN, W(index)));
}
void CComboBox::ShowDropDown(bool show) {
    SendMessage(CB_SHOWDROPDOWN, show ? 1 : 0);
}
bool CComboBox::GetDroppedState() const {
    return SendMessage(CB_GETDROPPEDSTATE) != 0;
}

// CSliderCtrl.
int CSliderCtrl::GetRangeMin() const {
    return I(SendMessage(TBM_GETRANGEMIN));
}
int CSliderCtrl::GetRangeMax() const {
    return I(SendMessage(TBM_GETRANGEMAX));
}
void CSliderCtrl::GetRange(int& minimum, int& maximum) const {
    minimum = GetRangeMin();
    maximum = GetRangeMax();
}
void CSliderCtrl::SetRangeMin(int minimum, bool redraw) {
    SendMessage(TBM_SETRANGEMIN, redraw ? 1 : 0, minimum);
}
void CSliderCtrl::SetRangeMax(int maximum, bool redraw) {
    SendMessage(TBM_SETRANGEMAX, redraw ? 1 : 0, maximum);
}
void CSliderCtrl::SetRange(int minimum, int maximum, bool redraw) {
    SetRangeMin(minimum, false);
    SetRangeMax(maximum, redraw);
}
int CSliderCtrl::GetPos() const {
    return I(SendMessage(TBM_GETPOS));
}
void CSliderCtrl::SetPos(int position) {
    SendMessage(TBM_SETPOS, 1, position);
}
int CSliderCtrl::GetLineSize() const {
    return I(SendMessage(TBM_GETLINESIZE));
}
int CSliderCtrl::SetLineSize(int size) {
    return I(SendMessage(TBM_SETLINESIZE, 0, size));
}
int CSliderCtrl::GetPageSize() const {
    return I(SendMessage(TBM_GETPAGESIZE));
}
int CSliderCtrl::SetPageSize(int size) {
    return I(SendMessage(TBM_SETPAGESIZE, 0, size));
}
void CSliderCtrl::SetTicFreq(int frequency) {
    SendMessage(TBM_SETTICFREQ, W(frequency));
}
void CSliderCtrl::ClearTics(bool redraw) {
    SendMessage(TBM_CLEARTICS, redraw ? 1 : 0);
}

// CSpinButtonCtrl.
void CSpinButtonCtrl::SetRange(short lower, short upper) {
    SendMessage(UDM_SETRANGE, 0, MAKELPARAM(static_cast<WORD>(upper), static_cast<WORD>(lower)));
}
void CSpinButtonCtrl::SetRange32(int lower, int upper) {
    SendMessage(UDM_SETRANGE32, W(lower), upper);
}
void CSpinButtonCtrl::GetRange(int& lower, int& upper) const {
    const auto range = static_cast<std::uintptr_t>(SendMessage(UDM_GETRANGE));
    lower = static_cast<std::int16_t>(HIWORD(range));
    upper = static_cast<std::int16_t>(LOWORD(range));
}
void CSpinButtonCtrl::GetRange32(int& lower, int& upper) const {
    SendMessage(UDM_GETRANGE32, reinterpret_cast<WPARAM>(&lower), L(&upper));
}
int CSpinButtonCtrl::SetPos(int position) {
    return I(SendMessage(UDM_SETPOS, 0, MAKELPARAM(static_cast<WORD>(position), 0)));
}
int CSpinButtonCtrl::GetPos() const {
    return I(SendMessage(UDM_GETPOS));
}
int CSpinButtonCtrl::SetPos32(int position) {
    return I(SendMessage(UDM_SETPOS32, 0, position));
}
int CSpinButtonCtrl::GetPos32(bool* error) const {
    int flag = 0;
    const int position = I(SendMessage(UDM_GETPOS32, 0, L(&flag)));
    if (error) *error = flag != 0;
    return position;
}
CWnd* CSpinButtonCtrl::SetBuddy(CWnd* buddy) {
    return FromHandle(reinterpret_cast<HWND>(
        SendMessage(UDM_SETBUDDY, reinterpret_cast<WPARAM>(buddy ? buddy->m_hWnd : nullptr))));
}
CWnd* CSpinButtonCtrl::GetBuddy() const {
    return FromHandle(reinterpret_cast<HWND>(SendMessage(UDM_GETBUDDY)));
}
int CSpinButtonCtrl::SetBase(int base) {
    return I(SendMessage(UDM_SETBASE, W(base)));
}
UINT CSpinButtonCtrl::GetBase() const {
    return static_cast<UINT>(SendMessage(UDM_GETBASE));
}
bool CSpinButtonCtrl::SetAccel(int count, const UDACCEL* accel) {
    return SendMessage(UDM_SETACCEL, W(count), L(accel)) != 0;
}
UINT CSpinButtonCtrl::GetAccel(int count, UDACCEL* accel) const {
    return static_cast<UINT>(SendMessage(UDM_GETACCEL, W(count), L(accel)));
}

// CTabCtrl.
int CTabCtrl::GetItemCount() const {
    return I(SendMessage(TCM_GETITEMCOUNT));
}
bool CTabCtrl::GetItem(int index, TCITEM* item) const {
    return SendMessage(TCM_GETITEM, W(index), L(item)) != 0;
}
bool CTabCtrl::SetItem(int index, TCITEM* item) {
    return SendMessage(TCM_SETITEM, W(index), L(item)) != 0;
}
int CTabCtrl::InsertItem(int index, TCITEM* item) {
    return I(SendMessage(TCM_INSERTITEM, W(index), L(item)));
}
int CTabCtrl::InsertItem(int index, const wchar_t* text) {
    return InsertItem(TCIF_TEXT, index, text, 0, 0);
}
int CTabCtrl::InsertItem(int index, const wchar_t* text, int image) {
    return InsertItem(TCIF_TEXT | TCIF_IMAGE, index, text, image, 0);
}
int CTabCtrl::InsertItem(UINT mask, int index, const wchar_t* text, int image, LPARAM lParam) {
    TCITEM item;
    item.mask = mask;
    item.pszText = const_cast<wchar_t*>(text);
    item.iImage = image;
    item.lParam = lParam;
    return InsertItem(index, &item);
}
bool CTabCtrl::DeleteItem(int index) {
    return SendMessage(TCM_DELETEITEM, W(index)) != 0;
}
bool CTabCtrl::DeleteAllItems() {
    return SendMessage(TCM_DELETEALLITEMS) != 0;
}
int CTabCtrl::GetCurSel() const {
    return I(SendMessage(TCM_GETCURSEL));
}
int CTabCtrl::SetCurSel(int index) {
    return I(SendMessage(TCM_SETCURSEL, W(index)));
}
int CTabCtrl::GetCurFocus() const {
    return I(SendMessage(TCM_GETCURFOCUS));
}
void CTabCtrl::SetCurFocus(int index) {
    SendMessage(TCM_SETCURFOCUS, W(index));
}
bool CTabCtrl::GetItemRect(int index, RECT* rect) const {
    return SendMessage(TCM_GETITEMRECT, W(index), L(rect)) != 0;
}
void CTabCtrl::AdjustRect(bool larger, RECT* rect) {
    SendMessage(TCM_ADJUSTRECT, larger ? 1 : 0, L(rect));
}
int CTabCtrl::HitTest(TCHITTESTINFO* info) const {
    return I(SendMessage(TCM_HITTEST, 0, L(info)));
}
int CTabCtrl::GetRowCount() const {
    return I(SendMessage(TCM_GETROWCOUNT));
}

}  // namespace ui
