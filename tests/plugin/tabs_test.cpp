// The control dialog's tab frame: which tabs the camera earns, where a page is placed, and
// what the user's click on a tab shows.
#include <algorithm>
#include <string>
#include <vector>

#include "PluginFixture.h"

namespace {

using Tabs = std::vector<std::wstring>;
using ui::input::Result;

class TabFrameTest : public PluginTest {
protected:
    // Exactly this page of the four is visible.
    void ExpectOnlyVisible(const ui::CWnd& page) {
        const ui::CWnd* pages[] = {&Settings(), &Adjustment(), &Image(), &Exposure()};
        for (const ui::CWnd* each : pages)
            EXPECT_EQ(each->IsWindowVisible(), each == &page)
                << ui::GetDlgCtrlID(each->GetSafeHwnd());
    }

    // The page's rectangle in the dialog's client area.
    ui::RECT PlaceOf(const ui::CWnd& page) {
        ui::RECT r{};
        page.GetWindowRect(&r);
        Dialog().ScreenToClient(&r);
        return r;
    }

    // Where the page belongs: from the tab control's and the dialog's rectangles.
    ui::RECT ExpectedPlace() {
        const ui::CTabCtrl& tab = Dialog().m_tabCtrl;
        ui::RECT header{}, client{}, window{}, parent{};
        tab.GetItemRect(0, &header);
        tab.GetClientRect(&client);
        tab.GetWindowRect(&window);
        Dialog().GetWindowRect(&parent);
        const int h = header.bottom - header.top;
        ui::RECT r{};
        r.left = window.left - parent.left + 2;
        r.top = window.top - parent.top + h + 4;
        r.right = r.left + client.right - client.left - 5;
        r.bottom = r.top + client.bottom - client.top - h - 6;
        return r;
    }

    // The page follows the tab control directly in the dialog's z-order.
    bool FollowsTabControl(const ui::CWnd& page) {
        const std::vector<ui::HWND> children = ui::GetChildWindows(Dialog().GetSafeHwnd());
        const auto tab =
            std::find(children.begin(), children.end(), Dialog().m_tabCtrl.GetSafeHwnd());
        return tab != children.end() && tab + 1 != children.end() &&
               *(tab + 1) == page.GetSafeHwnd();
    }
};

TEST_F(TabFrameTest, NoCameraLibraryPortShowsOnlySettings) {
    LoadModelFile("noports.json");
    AttachModule();

    EXPECT_EQ(TabTexts(), Tabs({L"Settings"}));
    ExpectOnlyVisible(Settings());
}

TEST_F(TabFrameTest, NoPortOpenShowsOnlySettings) {
    AttachModule();

    EXPECT_EQ(TabTexts(), Tabs({L"Settings"}));
    ExpectOnlyVisible(Settings());
}

TEST_F(TabFrameTest, CameraWithoutCrosshairsHasNoAdjustmentTab) {
    StorePort(1);
    AttachModule();

    EXPECT_EQ(TabTexts(), Tabs({L"Settings", L"Image", L"Exposure"}));
    ExpectOnlyVisible(Settings());
}

TEST_F(TabFrameTest, SwitchingCrosshairsOnAddsTheAdjustmentTabInItsPlace) {
    StorePort(1);
    AttachModule();

    ASSERT_EQ(Choose(Settings().m_featureList, L"Crosshairs"), Result::Ok);
    ASSERT_EQ(Choose(Settings().m_valuesList, L"Enable"), Result::Ok);

    EXPECT_EQ(TabTexts(), Tabs({L"Settings", L"Adjustment", L"Image", L"Exposure"}));
    ExpectOnlyVisible(Settings());

    ASSERT_EQ(Choose(Settings().m_featureList, L"Crosshairs"), Result::Ok);
    ASSERT_EQ(Choose(Settings().m_valuesList, L"Disable"), Result::Ok);
    EXPECT_EQ(TabTexts(), Tabs({L"Settings", L"Image", L"Exposure"}));
}

TEST_F(TabFrameTest, PageFillsTheTabAreaBelowTheHeaders) {
    StorePort(1);
    AttachModule();

    const ui::RECT expected = ExpectedPlace();
    EXPECT_EQ(PlaceOf(Settings()), expected);
    // Template 16311 puts the tab control at 0, 3 px, 348 x 159 px; headers are 18 px high.
    EXPECT_EQ(expected, (ui::RECT{2, 25, 2 + 343, 25 + 135}));
    EXPECT_TRUE(FollowsTabControl(Settings()));
}

TEST_F(TabFrameTest, ClickingATabShowsItsPageInTheSamePlace) {
    StorePort(1);
    AttachModule();
    ASSERT_GE(Dialog().m_tabCtrl.GetItemCount(), 2);
    ui::CWnd* second = Dialog().m_tabCtrl.PageAt(1);
    ASSERT_NE(second, nullptr);

    ASSERT_EQ(ui::input::ClickTab(Dialog().m_tabCtrl.GetSafeHwnd(), 1), Result::Ok);

    ExpectOnlyVisible(*second);
    EXPECT_EQ(PlaceOf(*second), ExpectedPlace());
    EXPECT_TRUE(FollowsTabControl(*second));

    ASSERT_EQ(ui::input::ClickTab(Dialog().m_tabCtrl.GetSafeHwnd(), 0), Result::Ok);
    ExpectOnlyVisible(Settings());
}

TEST_F(TabFrameTest, RefreshingTwiceKeepsTheTabsAndShowsTheFirst) {
    StorePort(1);
    AttachModule();
    const Tabs before = TabTexts();

    module->RefreshTabs();
    module->RefreshTabs();

    EXPECT_EQ(TabTexts(), before);
    ExpectOnlyVisible(Settings());
    for (int i = 0; i < Dialog().m_tabCtrl.GetItemCount(); ++i) {
        ui::TCITEM item;
        item.mask = ui::TCIF_PARAM;
        ASSERT_TRUE(Dialog().m_tabCtrl.GetItem(i, &item));
        EXPECT_NE(item.lParam, 0);
    }
}

TEST_F(TabFrameTest, RemovingAPageWithoutATabChangesNothing) {
    AttachModule();
    ASSERT_EQ(TabTexts(), Tabs({L"Settings"}));
    const ui::RECT place = PlaceOf(Settings());

    Dialog().m_tabCtrl.RemovePage(&Exposure());
    Dialog().m_tabCtrl.RemovePage(nullptr);

    EXPECT_EQ(TabTexts(), Tabs({L"Settings"}));
    EXPECT_EQ(Dialog().m_tabCtrl.GetCurSel(), 0);
    ExpectOnlyVisible(Settings());
    EXPECT_EQ(PlaceOf(Settings()), place);
}

TEST_F(TabFrameTest, RemovingTheShownPageShowsTheFirstTabLeft) {
    StorePort(1);
    AttachModule();
    const int count = Dialog().m_tabCtrl.GetItemCount();
    ASSERT_GE(count, 2);
    ASSERT_EQ(ui::input::ClickTab(Dialog().m_tabCtrl.GetSafeHwnd(), count - 1), Result::Ok);
    ui::CWnd* last = Dialog().m_tabCtrl.PageAt(count - 1);

    Dialog().m_tabCtrl.RemovePage(last);

    EXPECT_EQ(Dialog().m_tabCtrl.GetItemCount(), count - 1);
    EXPECT_FALSE(last->IsWindowVisible());
    ExpectOnlyVisible(Settings());
    EXPECT_EQ(Dialog().m_tabCtrl.GetCurSel(), 0);
    EXPECT_EQ(Dialog().m_tabCtrl.GetCurFocus(), 0);
}

}  // namespace
