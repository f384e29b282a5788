// What every backend's input entry points check before acting: whether a person could act on
// the window at all. Private to the automation driver.
#pragma once

#include <initializer_list>
#include <set>

#include "ui/Input.h"
#include "ui/Window.h"

namespace ui::input::detail {

// The window exists, is of one of `kinds` (any kind when empty), is visible with its
// ancestors and enabled with its ancestors.
Result Check(HWND hwnd, std::initializer_list<WindowKind> kinds = {});
// As Check, for an action made with the mouse: refused while a button is held down.
Result CheckMouse(HWND hwnd, std::initializer_list<WindowKind> kinds = {});
// The buttons PressButton holds down on this thread, until ReleaseButton.
std::set<HWND>& HeldButtons();

inline bool Usable(HWND hwnd) {
    return Check(hwnd) == Result::Ok;
}

}  // namespace ui::input::detail
