// The checks every backend's input entry points make, and the descriptions of their results.
#include "InputChecks.h"

#include <algorithm>

namespace ui::input {

namespace detail {

Result Check(HWND hwnd, std::initializer_list<WindowKind> kinds) {
    if (!IsWindow(hwnd)) return Result::NoWindow;
    if (kinds.size() && std::find(kinds.begin(), kinds.end(), GetWindowKind(hwnd)) == kinds.end())
        return Result::WrongKind;
    if (!IsWindowVisible(hwnd)) return Result::Hidden;
    for (HWND w = hwnd; w; w = GetParent(w))
        if (!IsWindowEnabled(w)) return Result::Disabled;
    return Result::Ok;
}

Result CheckMouse(HWND hwnd, std::initializer_list<WindowKind> kinds) {
    const Result r = Check(hwnd, kinds);
    if (r != Result::Ok) return r;
    // One mouse: while its button is down on one control, nothing else can be clicked.
    return HeldButtons().empty() ? Result::Ok : Result::MouseHeld;
}

std::set<HWND>& HeldButtons() {
    thread_local std::set<HWND> held;
    // A button held down goes with its window; the mouse is free again.
    std::erase_if(held, [](HWND hwnd) { return !IsWindow(hwnd); });
    return held;
}

}  // namespace detail

const wchar_t* Describe(Result result) {
    switch (result) {
        case Result::Ok:
            return L"ok";
        case Result::NoWindow:
            return L"no such window";
        case Result::WrongKind:
            return L"wrong kind of control";
        case Result::Hidden:
            return L"control is hidden";
        case Result::Disabled:
            return L"control is disabled";
        case Result::OutOfRange:
            return L"out of range";
        case Result::NotPressed:
            return L"button is not pressed";
        case Result::MouseHeld:
            return L"mouse button is held down";
    }
    return L"?";
}

}  // namespace ui::input
