// What the control dialog makes of the controller's lists: which pages get a tab, in which
// order and under which text, and which page shows which entry.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "AmbrelController.h"

namespace pages {

// The page of the feature with this id; the Settings page for an id no feature has.
PageId PageOf(int32_t id);
bool OnSettingsPage(int32_t settingId);
bool OnAdjustmentPage(int32_t adjustmentId);

// One tab of the control dialog: its page, its text and whether the camera's lists give it
// something to show.
struct Tab {
    PageId page;
    const wchar_t* text;
    bool (*offered)(const CAmbrelController& controller);
};

// Every tab in the order the dialog shows them; the Settings tab always comes first.
std::span<const Tab> Tabs();
// The tab texts the dialog shows for these lists, in order.
std::vector<std::wstring> TabsFor(const CAmbrelController& controller);

}  // namespace pages
