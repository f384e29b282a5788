// The control dialog's tab control: every tab carries the page window it stands for.
#pragma once

#include "ui/Controls.h"

class CTabCtrlEx : public ui::CTabCtrl {
public:
    // Appends a tab with this text for the page and hides the page.
    void AppendPage(const wchar_t* text, ui::CWnd* page);
    // Shows the page in the tab area, just after this control in the z-order, and hides the
    // pages of all tabs.
    void ShowPage(ui::CWnd* page);
    // Removes the page's tab, if it has one, and shows the page of the first tab left.
    void RemovePage(ui::CWnd* page);
    // The page of a tab; null for a tab that does not exist.
    ui::CWnd* PageAt(int index) const;

protected:
    // The control's own selection change shows the focused tab's page.
    bool OnChildNotify(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam,
                       ui::LRESULT* result) override;
};
