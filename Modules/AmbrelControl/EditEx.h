// An edit control that takes Enter and Tab itself and turns them into a move to the next control.
#pragma once

#include "ui/Controls.h"

// A dialog hands Enter and Tab to its own keyboard handling unless the focused control asks for
// them; this edit asks for every key, so that leaving it with either key reaches the parent
// as an ordinary focus change (and the parent's lost-focus handling runs) instead of pressing
// the default button.
class CEditEx : public ui::CEdit {
public:
    CEditEx() = default;

protected:
    ui::LRESULT WindowProc(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam) override;
};
