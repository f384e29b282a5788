// Tabs that stand for pages, and the placement of a page in the tab area.
#include "TabCtrlEx.h"

#include <algorithm>

void CTabCtrlEx::AppendPage(const wchar_t* text, ui::CWnd* page) {
    InsertItem(ui::TCIF_TEXT | ui::TCIF_PARAM, GetItemCount(), text, 0,
               reinterpret_cast<ui::LPARAM>(page));
    if (page) page->ShowWindow(ui::SW_HIDE);
}

ui::CWnd* CTabCtrlEx::PageAt(int index) const {
    ui::TCITEM item;
    item.mask = ui::TCIF_PARAM;
    if (!GetItem(index, &item)) return nullptr;
    return reinterpret_cast<ui::CWnd*>(item.lParam);
}

void CTabCtrlEx::ShowPage(ui::CWnd* page) {
    const int count = GetItemCount();
    for (int i = 0; i < count; ++i) {
        if (ui::CWnd* other = PageAt(i)) other->ShowWindow(ui::SW_HIDE);
    }
    ui::CWnd* parent = GetParent();
    if (!page || !parent) return;

    ui::RECT header{};
    GetItemRect(0, &header);
    ClientToScreen(&header);
    ui::RECT client{};
    GetClientRect(&client);
    ClientToScreen(&client);
    ui::RECT window{};
    GetWindowRect(&window);
    ui::RECT parentWindow{};
    parent->GetWindowRect(&parentWindow);

    const int headerHeight = header.bottom - header.top;
    const int x = window.left - parentWindow.left + 2;
    const int y = window.top - parentWindow.top + headerHeight + 4;
    const int width = std::max(0, client.Width() - 5);
    const int height = std::max(0, client.Height() - headerHeight - 6);
    page->SetWindowPos(this, x, y, width, height, ui::SWP_SHOWWINDOW);
}

void CTabCtrlEx::RemovePage(ui::CWnd* page) {
    if (!page) return;
    const int count = GetItemCount();
    int index = 0;
    while (index < count && PageAt(index) != page) ++index;
    if (index == count) return;

    DeleteItem(index);
    page->ShowWindow(ui::SW_HIDE);
    if (GetItemCount() > 0) {
        ShowPage(PageAt(0));
        SetCurFocus(0);
    }
}

bool CTabCtrlEx::OnChildNotify(ui::UINT message, ui::WPARAM wParam, ui::LPARAM lParam,
                               ui::LRESULT* result) {
    if (message == ui::WM_NOTIFY && lParam) {
        const auto* header = reinterpret_cast<const ui::NMHDR*>(lParam);
        if (header->hwndFrom == m_hWnd && header->code == ui::TCN_SELCHANGE) {
            ShowPage(PageAt(GetCurFocus()));
            *result = 0;
            return true;
        }
    }
    return ui::CTabCtrl::OnChildNotify(message, wParam, lParam, result);
}
