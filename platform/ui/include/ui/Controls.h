// Control classes: thin CWnd wrappers that talk to their control through its messages.
#pragma once

#include <string>

#include "ui/Wnd.h"

namespace ui {

class CButton : public CWnd {
public:
    int GetCheck() const;
    void SetCheck(int check);  // BST_*; raises no notification
    UINT GetState() const;
    void SetState(bool pushed);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT style, bool redraw = true);
};

class CStatic : public CWnd {};

class CEdit : public CWnd {
public:
    // start -1 removes the selection (the caret stays); end -1 means the end of the text;
    // positions past the end mean the end. SetSel(-1) (one argument: start and end in the
    // low and high words) therefore puts the caret at the end.
    void SetSel(int start, int end, bool noScroll = false);
    void SetSel(DWORD selection, bool noScroll = false);
    void GetSel(int& start, int& end) const;
    DWORD GetSel() const;
    // Replaces the selection (inserts at the caret) and raises EN_UPDATE, EN_CHANGE.
    void ReplaceSel(const wchar_t* text, bool canUndo = false);
    void SetLimitText(UINT maxChars);
    void LimitText(int maxChars = 0) { SetLimitText(static_cast<UINT>(maxChars)); }
    UINT GetLimitText() const;
    bool SetReadOnly(bool readOnly = true);
    bool GetModify() const;
    void SetModify(bool modified = true);
    int GetLineCount() const;
    void Clear();
    void Paste();
    bool Undo();
    bool CanUndo() const;
};

// The row operations the list box and the combo box share, each sent as the message that
// `Rows` names for the control.
template <class Rows>
class CRowsCtrl : public CWnd {
public:
    int GetCount() const;
    int GetCurSel() const;
    int AddString(const wchar_t* text);
    int InsertString(int index, const wchar_t* text);
    int DeleteString(UINT index);
    void ResetContent();
    DWORD_PTR GetItemData(int index) const;
    int SetItemData(int index, DWORD_PTR data);
    void* GetItemDataPtr(int index) const;
    int SetItemDataPtr(int index, void* data);
    int FindString(int startAfter, const wchar_t* prefix) const;
    int FindStringExact(int startAfter, const wchar_t* text) const;
    int SelectString(int startAfter, const wchar_t* prefix);
};

struct ListBoxRows {
    static constexpr UINT kGetCount = LB_GETCOUNT, kGetCurSel = LB_GETCURSEL,
                          kAddString = LB_ADDSTRING, kInsertString = LB_INSERTSTRING,
                          kDeleteString = LB_DELETESTRING, kResetContent = LB_RESETCONTENT,
                          kGetItemData = LB_GETITEMDATA, kSetItemData = LB_SETITEMDATA,
                          kFindString = LB_FINDSTRING, kFindStringExact = LB_FINDSTRINGEXACT,
                          kSelectString = LB_SELECTSTRING;
};

struct ComboBoxRows {
    static constexpr UINT kGetCount = CB_GETCOUNT, kGetCurSel = CB_GETCURSEL,
                          kAddString = CB_ADDSTRING, kInsertString = CB_INSERTSTRING,
                          kDeleteString = CB_DELETESTRING, kResetContent = CB_RESETCONTENT,
                          kGetItemData = CB_GETITEMDATA, kSetItemData = CB_SETITEMDATA,
                          kFindString = CB_FINDSTRING, kFindStringExact = CB_FINDSTRINGEXACT,
                          kSelectString = CB_SELECTSTRING;
};

// Both are built once, in the platform library.
extern template class CRowsCtrl<ListBoxRows>;
extern template class CRowsCtrl<ComboBoxRows>;

class CListBox : public CRowsCtrl<ListBoxRows> {
public:
    int SetCurSel(int index);  // raises no notification
    int GetTopIndex() const;
    int SetTopIndex(int index);
    int GetCaretIndex() const;
    int GetText(int index, wchar_t* buffer) const;
    void GetText(int index, std::wstring& text) const;
    int GetTextLen(int index) const;
};

class CComboBox : public CRowsCtrl<ComboBoxRows> {
public:
    int SetCurSel(int index);  // raises no notification; out of range clears the selection
    int GetLBText(int index, wchar_t* buffer) const;
    void GetLBText(int index, std::wstring& text) const;
    int GetLBTextLen(int index) const;
    void ShowDropDown(bool show = true);
    bool GetDroppedState() const;
};

// A trackbar. SetPos and the range setters clamp the position and raise no notification.
class CSliderCtrl : public CWnd {
public:
    int GetRangeMin() const;
    int GetRangeMax() const;
    void GetRange(int& minimum, int& maximum) const;
    void SetRangeMin(int minimum, bool redraw = false);
    void SetRangeMax(int maximum, bool redraw = false);
    void SetRange(int minimum, int maximum, bool redraw = false);
    int GetPos() const;
    void SetPos(int position);
    int GetLineSize() const;
    int SetLineSize(int size);
    int GetPageSize() const;
    int SetPageSize(int size);
    void SetTicFreq(int frequency);
    void ClearTics(bool redraw = false);
};

// An up-down control. GetPos answers UDM_GETPOS as the platform does, with an error flag in
// the high word (set when the control has no buddy holding a number); GetPos32 answers the
// position alone.
class CSpinButtonCtrl : public CWnd {
public:
    void SetRange(short lower, short upper);
    void SetRange32(int lower, int upper);
    void GetRange(int& lower, int& upper) const;
    void GetRange32(int& lower, int& upper) const;
    int SetPos(int position);  // clamps; answers the previous position
    int GetPos() const;
    int SetPos32(int position);
    int GetPos32(bool* error = nullptr) const;
    CWnd* SetBuddy(CWnd* buddy);
    CWnd* GetBuddy() const;
    int SetBase(int base);
    UINT GetBase() const;
    bool SetAccel(int count, const UDACCEL* accel);
    UINT GetAccel(int count, UDACCEL* accel) const;
};

class CTabCtrl : public CWnd {
public:
    int GetItemCount() const;
    bool GetItem(int index, TCITEM* item) const;
    bool SetItem(int index, TCITEM* item);
    int InsertItem(int index, TCITEM* item);
    int InsertItem(int index, const wchar_t* text);
    int InsertItem(int index, const wchar_t* text, int image);
    int InsertItem(UINT mask, int index, const wchar_t* text, int image, LPARAM lParam);
    bool DeleteItem(int index);
    bool DeleteAllItems();
    // Selecting or focusing from code; SetCurFocus behaves as the platform's TCM_SETCURFOCUS
    // (for a tab control without TCS_BUTTONS it also selects, asking TCN_SELCHANGING first).
    int GetCurSel() const;
    int SetCurSel(int index);
    int GetCurFocus() const;
    void SetCurFocus(int index);
    bool GetItemRect(int index, RECT* rect) const;
    void AdjustRect(bool larger, RECT* rect);
    int HitTest(TCHITTESTINFO* info) const;
    int GetRowCount() const;
};

}  // namespace ui
