// The win32 backend's private header: <windows.h> and the common controls, taken in after the
// dialog framework's headers, with every macro that shares a name with the framework undefined
// (the Win32 functions are called by their explicit W names), and the state the backend's
// sources share. Private to platform/ui/win32.
#pragma once

#include <cstdint>

#include "ui/Controls.h"
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

// Every constant ui/Messages.h mirrors must equal the platform's own. The platform's values are
// read while its macros stand (its handle and atom macros are casts, read here as plain
// integers), then the macros go, and each portable constant is checked against its value.
namespace ui::win32::platform_value {
using HWND = std::intptr_t;
using LPTSTR = std::uintptr_t;
#define AMBREL_MIRROR(NAME, TYPE, VALUE) inline constexpr auto NAME##_ = NAME;
#define AMBREL_MIRROR_WIDE(NAME, TYPE, VALUE) inline constexpr auto NAME##_ = NAME##W;
#define AMBREL_MIRROR_HANDLE(NAME, VALUE) inline constexpr auto NAME##_ = NAME;
#define AMBREL_MIRROR_CLASS(NAME, TEXT) inline constexpr auto NAME##_ = NAME##W;
#define AMBREL_MIRROR_CLASS_ATOM(NAME, ATOM) inline constexpr auto NAME##_ = NAME;
#include "ui/MirroredConstants.def"
#undef AMBREL_MIRROR
#undef AMBREL_MIRROR_WIDE
#undef AMBREL_MIRROR_HANDLE
#undef AMBREL_MIRROR_CLASS
#undef AMBREL_MIRROR_CLASS_ATOM
}  // namespace ui::win32::platform_value

// Generated from ui/MirroredConstants.def and win32/SharedNames.def: undefines every platform
// macro that shares a name with the framework.
#include "MirroredUndefs.h"

namespace ui::win32::platform_value {
constexpr bool SameText(const wchar_t* a, const wchar_t* b) {
    for (; *a && *a == *b; ++a, ++b) {
    }
    return *a == *b;
}
#define AMBREL_DIFFERS(NAME) #NAME " differs from the platform's value"
#define AMBREL_MIRROR(NAME, TYPE, VALUE) \
    static_assert(ui::NAME == static_cast<TYPE>(NAME##_), AMBREL_DIFFERS(NAME));
#define AMBREL_MIRROR_WIDE AMBREL_MIRROR
#define AMBREL_MIRROR_HANDLE(NAME, VALUE) static_assert(NAME##_ == (VALUE), AMBREL_DIFFERS(NAME));
#define AMBREL_MIRROR_CLASS(NAME, TEXT) \
    static_assert(SameText(ui::NAME, NAME##_), AMBREL_DIFFERS(NAME));
#define AMBREL_MIRROR_CLASS_ATOM(NAME, ATOM) \
    static_assert(NAME##_ == (ATOM) && SameText(ui::NAME, L"#" #ATOM), AMBREL_DIFFERS(NAME));
#include "ui/MirroredConstants.def"
#undef AMBREL_MIRROR
#undef AMBREL_MIRROR_WIDE
#undef AMBREL_MIRROR_HANDLE
#undef AMBREL_MIRROR_CLASS
#undef AMBREL_MIRROR_CLASS_ATOM
#undef AMBREL_DIFFERS
}  // namespace ui::win32::platform_value

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
