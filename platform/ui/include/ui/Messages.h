// Message numbers, notification codes, styles, flags and the predefined window classes' names,
// with the platform's own values (listed once, in ui/MirroredConstants.def).
#pragma once

#include <cstdint>

#include "ui/Types.h"

namespace ui {

#define AMBREL_MIRROR(NAME, TYPE, VALUE) inline constexpr TYPE NAME = VALUE;
#define AMBREL_MIRROR_WIDE(NAME, TYPE, VALUE) inline constexpr TYPE NAME = VALUE;
#define AMBREL_MIRROR_HANDLE(NAME, VALUE) \
    inline const HWND NAME = reinterpret_cast<HWND>(std::intptr_t{VALUE});
#define AMBREL_MIRROR_CLASS(NAME, TEXT) inline constexpr const wchar_t* NAME = TEXT;
#define AMBREL_MIRROR_CLASS_ATOM(NAME, ATOM) inline constexpr const wchar_t* NAME = L"#" #ATOM;
#include "ui/MirroredConstants.def"
#undef AMBREL_MIRROR
#undef AMBREL_MIRROR_WIDE
#undef AMBREL_MIRROR_HANDLE
#undef AMBREL_MIRROR_CLASS
#undef AMBREL_MIRROR_CLASS_ATOM

// RegisterWindowMessage answers numbers in this range.
inline constexpr UINT kRegisteredMessageFirst = 0xC000;
inline constexpr UINT kRegisteredMessageLast = 0xFFFF;

// The id of a template's controls that the dialog never addresses.
inline constexpr int IDC_STATIC = -1;

}  // namespace ui
