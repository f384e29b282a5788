// A snapshot of a window tree as a person would read it off the screen, for state dumps and
// tests; taken through the controls' own messages, so it works with every backend.
#pragma once

#include <string>
#include <vector>

#include "ui/Window.h"

namespace ui {

struct RowSnapshot {
    std::wstring text;
    LPARAM data = 0;
};

struct WindowSnapshot {
    HWND hwnd = nullptr;
    std::wstring className;
    WindowKind kind = WindowKind::Window;
    int id = 0;
    DWORD style = 0;
    DWORD exStyle = 0;
    std::wstring text;
    bool enabled = false;  // its own state
    bool visible = false;  // with its ancestors
    bool focused = false;
    RECT windowRect{};              // screen coordinates
    int checked = -1;               // check boxes and radio buttons: BST_*; otherwise -1
    std::vector<RowSnapshot> rows;  // list and combo rows, tab items (data = item lParam)
    int selection = -1;             // selected row or tab
    int focusItem = -1;             // the tab with the focus
    int rangeMin = 0;               // sliders and spins
    int rangeMax = 0;
    int position = 0;
    std::vector<WindowSnapshot> children;  // in z-order
};

std::vector<HWND> GetChildWindows(HWND parent);  // direct children, in z-order
WindowSnapshot Snapshot(HWND hwnd, bool withChildren = true);
// One line per window, children indented: kind, id, text, state and contents.
std::wstring FormatSnapshot(const WindowSnapshot& snapshot);

}  // namespace ui
