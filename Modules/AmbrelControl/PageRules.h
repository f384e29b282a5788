// What the control dialog makes of the controller's lists: which pages get a tab, which page
// shows which entry, and a page's own copy of an adjustment.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "ControllerTypes.h"

class CAmbrelController;

namespace pages {

// The Exposure and Image pages show settings 3, 6 and 8; the Settings page the others.
bool OnSettingsPage(int32_t settingId);
// Exposure and frame time have the Exposure page; the Adjustment page lists the others.
bool OnAdjustmentPage(int32_t adjustmentId);

bool OffersAdjustmentTab(const CAmbrelController& controller);
bool OffersImageTab(const CAmbrelController& controller);
bool OffersExposureTab(const CAmbrelController& controller);
// The tab texts the dialog shows for these lists, in order ("Settings" always first).
std::vector<std::wstring> TabsFor(const CAmbrelController& controller);

}  // namespace pages
