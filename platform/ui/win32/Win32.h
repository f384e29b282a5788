// The win32 backend's private header: <windows.h> and the common controls, taken in after the
// dialog framework's headers, with every macro that shares a name with the framework undefined
// (the Win32 functions are called by their explicit W names), and the state the backend's
// sources share. Private to platform/ui/win32.
#pragma once

#include <cstdint>

#include "ui/Controls.h"
#include "ui/Input.h"
#include "ui/Template.h"
#include "ui/Window.h"
#include "ui/Wnd.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// <commctrl.h> needs <windows.h> before it.
#include <commctrl.h>

#undef BM_CLICK
#undef BM_GETCHECK
#undef BM_GETSTATE
#undef BM_SETCHECK
#undef BM_SETSTATE
#undef BM_SETSTYLE
#undef BN_CLICKED
#undef BN_KILLFOCUS
#undef BN_SETFOCUS
#undef BST_CHECKED
#undef BST_FOCUS
#undef BST_INDETERMINATE
#undef BST_PUSHED
#undef BST_UNCHECKED
#undef BS_3STATE
#undef BS_AUTO3STATE
#undef BS_AUTOCHECKBOX
#undef BS_AUTORADIOBUTTON
#undef BS_CHECKBOX
#undef BS_DEFPUSHBUTTON
#undef BS_GROUPBOX
#undef BS_LEFTTEXT
#undef BS_NOTIFY
#undef BS_PUSHBUTTON
#undef BS_PUSHLIKE
#undef BS_RADIOBUTTON
#undef BS_TYPEMASK
#undef CBN_CLOSEUP
#undef CBN_DBLCLK
#undef CBN_DROPDOWN
#undef CBN_EDITCHANGE
#undef CBN_EDITUPDATE
#undef CBN_ERRSPACE
#undef CBN_KILLFOCUS
#undef CBN_SELCHANGE
#undef CBN_SELENDCANCEL
#undef CBN_SELENDOK
#undef CBN_SETFOCUS
#undef CBS_AUTOHSCROLL
#undef CBS_DISABLENOSCROLL
#undef CBS_DROPDOWN
#undef CBS_DROPDOWNLIST
#undef CBS_HASSTRINGS
#undef CBS_NOINTEGRALHEIGHT
#undef CBS_SIMPLE
#undef CBS_SORT
#undef CB_ADDSTRING
#undef CB_DELETESTRING
#undef CB_ERR
#undef CB_ERRSPACE
#undef CB_FINDSTRING
#undef CB_FINDSTRINGEXACT
#undef CB_GETCOUNT
#undef CB_GETCURSEL
#undef CB_GETDROPPEDSTATE
#undef CB_GETITEMDATA
#undef CB_GETLBTEXT
#undef CB_GETLBTEXTLEN
#undef CB_GETTOPINDEX
#undef CB_INSERTSTRING
#undef CB_OKAY
#undef CB_RESETCONTENT
#undef CB_SELECTSTRING
#undef CB_SETCURSEL
#undef CB_SETITEMDATA
#undef CB_SHOWDROPDOWN
#undef CDDS_PREPAINT
#undef CDRF_DODEFAULT
#undef CreateDialogIndirect
#undef CreateWindowEx
#undef DC_HASDEFID
#undef DLGC_BUTTON
#undef DLGC_DEFPUSHBUTTON
#undef DLGC_HASSETSEL
#undef DLGC_RADIOBUTTON
#undef DLGC_STATIC
#undef DLGC_UNDEFPUSHBUTTON
#undef DLGC_WANTALLKEYS
#undef DLGC_WANTARROWS
#undef DLGC_WANTCHARS
#undef DLGC_WANTMESSAGE
#undef DLGC_WANTTAB
#undef DM_GETDEFID
#undef DM_SETDEFID
#undef DS_3DLOOK
#undef DS_CENTER
#undef DS_CONTROL
#undef DS_FIXEDSYS
#undef DS_MODALFRAME
#undef DS_SETFONT
#undef DefWindowProc
#undef EM_CANUNDO
#undef EM_GETLIMITTEXT
#undef EM_GETLINECOUNT
#undef EM_GETMODIFY
#undef EM_GETSEL
#undef EM_LIMITTEXT
#undef EM_REPLACESEL
#undef EM_SCROLLCARET
#undef EM_SETLIMITTEXT
#undef EM_SETMODIFY
#undef EM_SETREADONLY
#undef EM_SETSEL
#undef EM_UNDO
#undef EN_CHANGE
#undef EN_ERRSPACE
#undef EN_KILLFOCUS
#undef EN_MAXTEXT
#undef EN_SETFOCUS
#undef EN_UPDATE
#undef ES_AUTOHSCROLL
#undef ES_AUTOVSCROLL
#undef ES_CENTER
#undef ES_LEFT
#undef ES_LOWERCASE
#undef ES_MULTILINE
#undef ES_NOHIDESEL
#undef ES_NUMBER
#undef ES_PASSWORD
#undef ES_READONLY
#undef ES_RIGHT
#undef ES_UPPERCASE
#undef ES_WANTRETURN
#undef GWL_EXSTYLE
#undef GWL_ID
#undef GWL_STYLE
#undef GW_CHILD
#undef GW_HWNDFIRST
#undef GW_HWNDLAST
#undef GW_HWNDNEXT
#undef GW_HWNDPREV
#undef GetClassName
#undef GetDlgItemText
#undef GetWindowLong
#undef GetWindowText
#undef GetWindowTextLength
#undef HIWORD
#undef HWND_BOTTOM
#undef HWND_NOTOPMOST
#undef HWND_TOP
#undef HWND_TOPMOST
#undef IDCANCEL
#undef IDOK
#undef IsDialogMessage
#undef LBN_DBLCLK
#undef LBN_ERRSPACE
#undef LBN_KILLFOCUS
#undef LBN_SELCANCEL
#undef LBN_SELCHANGE
#undef LBN_SETFOCUS
#undef LBS_DISABLENOSCROLL
#undef LBS_EXTENDEDSEL
#undef LBS_HASSTRINGS
#undef LBS_MULTIPLESEL
#undef LBS_NOINTEGRALHEIGHT
#undef LBS_NOREDRAW
#undef LBS_NOSEL
#undef LBS_NOTIFY
#undef LBS_SORT
#undef LBS_STANDARD
#undef LBS_USETABSTOPS
#undef LBS_WANTKEYBOARDINPUT
#undef LB_ADDSTRING
#undef LB_DELETESTRING
#undef LB_ERR
#undef LB_ERRSPACE
#undef LB_FINDSTRING
#undef LB_FINDSTRINGEXACT
#undef LB_GETCARETINDEX
#undef LB_GETCOUNT
#undef LB_GETCURSEL
#undef LB_GETITEMDATA
#undef LB_GETITEMHEIGHT
#undef LB_GETITEMRECT
#undef LB_GETTEXT
#undef LB_GETTEXTLEN
#undef LB_GETTOPINDEX
#undef LB_INSERTSTRING
#undef LB_OKAY
#undef LB_RESETCONTENT
#undef LB_SELECTSTRING
#undef LB_SETCARETINDEX
#undef LB_SETCURSEL
#undef LB_SETITEMDATA
#undef LB_SETTOPINDEX
#undef LOWORD
#undef MAKELONG
#undef MAKELPARAM
#undef MAKEWPARAM
#undef MK_LBUTTON
#undef NM_CLICK
#undef NM_CUSTOMDRAW
#undef NM_DBLCLK
#undef NM_FIRST
#undef NM_KILLFOCUS
#undef NM_RCLICK
#undef NM_RELEASEDCAPTURE
#undef NM_RETURN
#undef NM_SETFOCUS
#undef PostMessage
#undef RegisterWindowMessage
#undef SB_BOTTOM
#undef SB_ENDSCROLL
#undef SB_LINEDOWN
#undef SB_LINEUP
#undef SB_PAGEDOWN
#undef SB_PAGEUP
#undef SB_THUMBPOSITION
#undef SB_THUMBTRACK
#undef SB_TOP
#undef SS_CENTER
#undef SS_LEFT
#undef SS_LEFTNOWORDWRAP
#undef SS_NOPREFIX
#undef SS_NOTIFY
#undef SS_RIGHT
#undef SS_SIMPLE
#undef SS_SUNKEN
#undef SS_TYPEMASK
#undef STN_CLICKED
#undef SWP_FRAMECHANGED
#undef SWP_HIDEWINDOW
#undef SWP_NOACTIVATE
#undef SWP_NOMOVE
#undef SWP_NOOWNERZORDER
#undef SWP_NOREDRAW
#undef SWP_NOSIZE
#undef SWP_NOZORDER
#undef SWP_SHOWWINDOW
#undef SW_HIDE
#undef SW_SHOW
#undef SW_SHOWNA
#undef SW_SHOWNOACTIVATE
#undef SW_SHOWNORMAL
#undef SendDlgItemMessage
#undef SendMessage
#undef SetDlgItemText
#undef SetWindowLong
#undef SetWindowText
#undef TBM_CLEARTICS
#undef TBM_GETLINESIZE
#undef TBM_GETPAGESIZE
#undef TBM_GETPOS
#undef TBM_GETRANGEMAX
#undef TBM_GETRANGEMIN
#undef TBM_SETLINESIZE
#undef TBM_SETPAGESIZE
#undef TBM_SETPOS
#undef TBM_SETRANGE
#undef TBM_SETRANGEMAX
#undef TBM_SETRANGEMIN
#undef TBM_SETTICFREQ
#undef TBS_AUTOTICKS
#undef TBS_BOTH
#undef TBS_ENABLESELRANGE
#undef TBS_HORZ
#undef TBS_NOTHUMB
#undef TBS_NOTICKS
#undef TBS_TOOLTIPS
#undef TBS_TOP
#undef TBS_VERT
#undef TB_BOTTOM
#undef TB_ENDTRACK
#undef TB_LINEDOWN
#undef TB_LINEUP
#undef TB_PAGEDOWN
#undef TB_PAGEUP
#undef TB_THUMBPOSITION
#undef TB_THUMBTRACK
#undef TB_TOP
#undef TCHT_NOWHERE
#undef TCHT_ONITEM
#undef TCIF_IMAGE
#undef TCIF_PARAM
#undef TCIF_STATE
#undef TCIF_TEXT
#undef TCIS_BUTTONPRESSED
#undef TCIS_HIGHLIGHTED
#undef TCITEM
#undef TCM_ADJUSTRECT
#undef TCM_DELETEALLITEMS
#undef TCM_DELETEITEM
#undef TCM_FIRST
#undef TCM_GETCURFOCUS
#undef TCM_GETCURSEL
#undef TCM_GETITEM
#undef TCM_GETITEMCOUNT
#undef TCM_GETITEMRECT
#undef TCM_GETROWCOUNT
#undef TCM_HITTEST
#undef TCM_INSERTITEM
#undef TCM_SETCURFOCUS
#undef TCM_SETCURSEL
#undef TCM_SETITEM
#undef TCN_FIRST
#undef TCN_FOCUSCHANGE
#undef TCN_KEYDOWN
#undef TCN_SELCHANGE
#undef TCN_SELCHANGING
#undef TCS_BOTTOM
#undef TCS_BUTTONS
#undef TCS_FIXEDWIDTH
#undef TCS_FLATBUTTONS
#undef TCS_FOCUSNEVER
#undef TCS_FOCUSONBUTTONDOWN
#undef TCS_HOTTRACK
#undef TCS_MULTILINE
#undef TCS_MULTISELECT
#undef TCS_TABS
#undef TCS_TOOLTIPS
#undef TCS_VERTICAL
#undef TRACKBAR_CLASS
#undef UDM_GETACCEL
#undef UDM_GETBASE
#undef UDM_GETBUDDY
#undef UDM_GETPOS
#undef UDM_GETPOS32
#undef UDM_GETRANGE
#undef UDM_GETRANGE32
#undef UDM_SETACCEL
#undef UDM_SETBASE
#undef UDM_SETBUDDY
#undef UDM_SETPOS
#undef UDM_SETPOS32
#undef UDM_SETRANGE
#undef UDM_SETRANGE32
#undef UDN_DELTAPOS
#undef UDN_FIRST
#undef UDS_ALIGNLEFT
#undef UDS_ALIGNRIGHT
#undef UDS_ARROWKEYS
#undef UDS_AUTOBUDDY
#undef UDS_HORZ
#undef UDS_HOTTRACK
#undef UDS_NOTHOUSANDS
#undef UDS_SETBUDDYINT
#undef UDS_WRAP
#undef UPDOWN_CLASS
#undef USER_TIMER_MAXIMUM
#undef USER_TIMER_MINIMUM
#undef VK_BACK
#undef VK_CONTROL
#undef VK_DELETE
#undef VK_DOWN
#undef VK_END
#undef VK_ESCAPE
#undef VK_HOME
#undef VK_LEFT
#undef VK_RETURN
#undef VK_RIGHT
#undef VK_SHIFT
#undef VK_SPACE
#undef VK_TAB
#undef VK_UP
#undef WC_BUTTON
#undef WC_COMBOBOX
#undef WC_DIALOG
#undef WC_EDIT
#undef WC_LISTBOX
#undef WC_STATIC
#undef WC_TABCONTROL
#undef WM_APP
#undef WM_CANCELMODE
#undef WM_CAPTURECHANGED
#undef WM_CHAR
#undef WM_CLEAR
#undef WM_CLOSE
#undef WM_COMMAND
#undef WM_COPY
#undef WM_CREATE
#undef WM_CUT
#undef WM_DESTROY
#undef WM_ENABLE
#undef WM_GETDLGCODE
#undef WM_GETTEXT
#undef WM_GETTEXTLENGTH
#undef WM_HSCROLL
#undef WM_INITDIALOG
#undef WM_KEYDOWN
#undef WM_KEYUP
#undef WM_KILLFOCUS
#undef WM_LBUTTONDOWN
#undef WM_LBUTTONUP
#undef WM_MOUSEMOVE
#undef WM_MOVE
#undef WM_NCCREATE
#undef WM_NCDESTROY
#undef WM_NEXTDLGCTL
#undef WM_NOTIFY
#undef WM_NULL
#undef WM_PASTE
#undef WM_SETFOCUS
#undef WM_SETTEXT
#undef WM_SHOWWINDOW
#undef WM_SIZE
#undef WM_TIMER
#undef WM_UNDO
#undef WM_USER
#undef WM_VSCROLL
#undef WS_BORDER
#undef WS_CAPTION
#undef WS_CHILD
#undef WS_CLIPCHILDREN
#undef WS_CLIPSIBLINGS
#undef WS_DISABLED
#undef WS_DLGFRAME
#undef WS_EX_CLIENTEDGE
#undef WS_EX_CONTROLPARENT
#undef WS_EX_DLGMODALFRAME
#undef WS_EX_NOPARENTNOTIFY
#undef WS_EX_STATICEDGE
#undef WS_GROUP
#undef WS_HSCROLL
#undef WS_MAXIMIZE
#undef WS_MINIMIZE
#undef WS_OVERLAPPED
#undef WS_POPUP
#undef WS_SYSMENU
#undef WS_TABSTOP
#undef WS_THICKFRAME
#undef WS_VISIBLE
#undef WS_VSCROLL

namespace ui::win32 {

inline ::HWND W(HWND hwnd) {
    return reinterpret_cast<::HWND>(hwnd);
}
inline HWND U(::HWND hwnd) {
    return reinterpret_cast<HWND>(hwnd);
}

// The module the backend's window classes and dialogs belong to.
HINSTANCE Instance();

// Whether the class is one of the predefined controls (or the dialog class).
bool IsPredefined(const wchar_t* name);
// Registers a class of this name with the default behaviour, for plain windows, unless it is
// predefined or registered already.
void EnsurePlainClass(const wchar_t* name);

// The hidden top-level window of the calling thread that holds the child windows created
// without a parent (the platform has no parentless child windows); it stands for "no parent".
HWND ParkingWindow();
// The window's parent as the framework sees it: null for the parking window and the desktop.
HWND FrameworkParent(HWND hwnd);

// Windows created through the framework, and windows an object was bound to, run through the
// backend's procedure, which hands their messages to the bound object. While `scope` lives,
// every window the calling thread creates is taken in, the first one whose parent is `parent`
// bound to `object`.
class CreationScope {
public:
    CreationScope(CWnd* object, HWND parent);
    ~CreationScope();
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;
};
// Takes the window in (if it is not yet); false when it is not a window of this process.
bool Adopt(HWND hwnd);

// Modeless dialogs ended by EndDialog.
void MarkEnded(HWND dialog, int result);
bool EndedResult(HWND dialog, int* result);

bool IsDialogWindow(HWND hwnd);
// The dialog whose dialog manager handles keyboard input for this window: the nearest dialog
// at or above it.
HWND InnermostDialog(HWND hwnd);

// Drops the timers of a window that is going away.
void ForgetTimers(HWND hwnd);

}  // namespace ui::win32
