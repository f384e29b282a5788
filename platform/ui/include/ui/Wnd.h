// The window and dialog classes page code derives from: CWnd (a window object bound to a
// window handle), CDialog (a modeless dialog made from a registered template) and the data
// exchange between a dialog's members and its controls.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "ui/Messages.h"
#include "ui/Template.h"
#include "ui/Types.h"
#include "ui/Window.h"

namespace ui {

class CDataExchange;

// A window object. Bound to a window (by CreateEx, CDialog::Create or SubclassWindow), it
// receives every message sent or posted to that window through its virtual WindowProc; the
// window's class behaviour runs when WindowProc passes a message on to DefWindowProc. The
// binding ends when the window is destroyed (m_hWnd becomes null, then PostNcDestroy runs);
// destroying a CWnd destroys its window if it still has one.
class CWnd {
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    // For SetWindowPos: to the top or the bottom of the z-order.
    static const CWnd wndTop;
    static const CWnd wndBottom;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object bound to the window, or else a temporary object standing for it (owned by
    // the framework, kept until the calling thread ends or FreeTemporaryWindows); null for
    // an invalid handle.
    static CWnd* FromHandle(HWND hwnd);
    static CWnd* FromHandlePermanent(HWND hwnd);
    static void FreeTemporaryWindows();

    virtual bool CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* text, DWORD style,
                          const RECT& rect, CWnd* parent, int id);
    bool Create(const wchar_t* className, const wchar_t* text, DWORD style, const RECT& rect,
                CWnd* parent, int id);
    virtual bool DestroyWindow();

    // Binds this object to an existing window; fails when another object is bound to it.
    bool SubclassWindow(HWND hwnd);
    bool SubclassDlgItem(int id, CWnd* parent);
    HWND UnsubclassWindow();

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

    CWnd* GetParent() const;
    CWnd* SetParent(CWnd* newParent);
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    bool IsChild(const CWnd* window) const;

    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    bool ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    bool ShowWindow(int command);
    bool IsWindowVisible() const;
    bool EnableWindow(bool enable = true);
    bool IsWindowEnabled() const;
    void SetWindowText(const wchar_t* text);
    void SetWindowText(const std::wstring& text) { SetWindowText(text.c_str()); }
    int GetWindowText(wchar_t* buffer, int maxCount) const;
    void GetWindowText(std::wstring& text) const;
    std::wstring GetWindowText() const;
    int GetWindowTextLength() const;

    void GetWindowRect(RECT* rect) const;
    void GetClientRect(RECT* rect) const;
    void ClientToScreen(POINT* point) const;
    void ClientToScreen(RECT* rect) const;
    void ScreenToClient(POINT* point) const;
    void ScreenToClient(RECT* rect) const;
    bool SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
    void MoveWindow(int x, int y, int cx, int cy, bool repaint = true);
    void MoveWindow(const RECT& rect, bool repaint = true);

    CWnd* SetFocus();
    static CWnd* GetFocus();
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, void* unused = nullptr);
    bool KillTimer(UINT_PTR id);

    void SetDlgItemText(int id, const wchar_t* text);
    int GetDlgItemText(int id, std::wstring& text) const;
    void SetDlgItemInt(int id, UINT value, bool isSigned = true);
    void CheckDlgButton(int id, UINT check);
    UINT IsDlgButtonChecked(int id) const;

    // Runs DoDataExchange: with save false the members are shown in the controls, with save
    // true the controls are read into the members. While it runs, the control notifications
    // (WM_COMMAND from a control, WM_NOTIFY) sent to this window are dropped before they reach
    // its WindowProc. Reading
    // stops at the first control that does not hold a valid value: no member changes, the
    // failure is reported (SetDataExchangeFailureHandler), the focus goes to that control
    // with its text selected, and the answer is false.
    bool UpdateData(bool saveAndValidate = true);
    virtual void DoDataExchange(CDataExchange* pDX);

    // Every message for the bound window arrives here. The default routes WM_COMMAND,
    // WM_NOTIFY, WM_HSCROLL, WM_VSCROLL, WM_TIMER and WM_DESTROY to the handlers below
    // (a control's notification is first offered to the control's own object through
    // OnChildNotify) and passes everything else to DefWindowProc.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // The window class's own behaviour (the control's, or the dialog manager's).
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The message being delivered to the calling thread's innermost CWnd, if any.
    static const MSG* GetCurrentMessage();

protected:
    // DefWindowProc with the message being delivered.
    LRESULT Default();
    virtual bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A command (IDOK and IDCANCEL from the dialog manager) or a control notification
    // (HIWORD(wParam) = code, LOWORD(wParam) = id, lParam = the control); true when handled.
    virtual bool OnCommand(WPARAM wParam, LPARAM lParam);
    // lParam points at an NMHDR; set *result and answer true when handled.
    virtual bool OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
    // A notification this window (as a control) sent to its parent, offered here before the
    // parent sees it: WM_COMMAND, WM_NOTIFY, WM_HSCROLL or WM_VSCROLL with their parameters.
    // Answer true to keep it from the parent (with *result for WM_NOTIFY).
    virtual bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // From a slider or spin: its scroll code, the position (thumb and spin codes) and handle.
    virtual void OnHScroll(UINT code, UINT position, HWND scrollBar);
    virtual void OnVScroll(UINT code, UINT position, HWND scrollBar);
    virtual void OnTimer(UINT_PTR id);
    virtual void OnDestroy();
    // Called after the window is gone and the object unbound.
    virtual void PostNcDestroy() {}

private:
    explicit CWnd(HWND placement) : m_hWnd(placement) {}
    friend struct WndAccess;
    bool ReflectToChild(HWND child, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
};

// A modeless dialog built from a registered template.
class CDialog : public CWnd {
public:
    CDialog() = default;
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Creates the dialog window and its controls; WM_INITDIALOG (OnInitDialog) has run when
    // it returns. A child dialog may be created without a parent and be given one later.
    virtual bool Create(UINT templateId, CWnd* parent = nullptr);
    bool CreateIndirect(const DialogTemplate& dialogTemplate, CWnd* parent = nullptr);

    // The default shows the members in the controls (UpdateData(false)) and answers true,
    // asking the dialog manager to give the focus to the first tab stop.
    virtual bool OnInitDialog();
    // Enter and Escape, through the dialog manager (WM_COMMAND IDOK / IDCANCEL). The
    // defaults end the dialog: OnOK reads the controls first and stays open if that fails.
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);

    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* control);
    UINT GetTemplateId() const { return m_nIDTemplate; }

protected:
    bool OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    bool OnCommand(WPARAM wParam, LPARAM lParam) override;

    UINT m_nIDTemplate = 0;
    CWnd* m_pParentWnd = nullptr;
};

// One run of DoDataExchange.
class CDataExchange {
public:
    CDataExchange(CWnd* dialog, bool saveAndValidate);

    bool m_bSaveAndValidate;
    CWnd* m_pDlgWnd;

    // The control with this id (null when there is none); remembered as the one a failure
    // refers to.
    HWND PrepareCtrl(int id);
    HWND PrepareEditCtrl(int id);
    // Records a failure of the last prepared control; the exchange does nothing after it.
    void Fail(const std::wstring& message);
    bool Failed() const { return m_failed; }
    // While saving, member assignments wait here and are made (in order) only when the whole
    // exchange succeeded.
    void Defer(std::function<void()> assignment);

private:
    friend class CWnd;
    bool m_failed = false;
    int m_lastControl = 0;
    bool m_lastIsEdit = false;
    std::wstring m_message;
    std::vector<std::function<void()>> m_assignments;
};

// Binds `control` to the dialog's child with this id (once; later calls do nothing).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
// An edit's text as a signed decimal integer: optional blanks, an optional sign, at least one
// digit, optional blanks; values beyond the 32-bit range are clamped. Anything else fails
// with "Please enter an integer.". Showing writes the text only when it differs.
void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, std::wstring& value);
// A check box's state: 0, 1 (checked) or 2 (indeterminate).
void DDX_Check(CDataExchange* pDX, int id, int& value);

struct DataExchangeFailure {
    HWND dialog = nullptr;
    int controlId = 0;
    std::wstring message;
};
// Where failed exchanges are reported (no message box is ever shown); process-wide, called
// on the thread of the exchange. Null removes the handler.
void SetDataExchangeFailureHandler(std::function<void(const DataExchangeFailure&)> handler);
// The message of the calling thread's last failed exchange; empty when its last exchange
// succeeded.
std::wstring GetLastDataExchangeError();

}  // namespace ui
