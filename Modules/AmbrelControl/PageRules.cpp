// What the control dialog makes of the controller's lists: which pages get a tab, which page
// shows which entry, and a page's own copy of an adjustment.
#include "PageRules.h"

#include <algorithm>

#include "AmbrelControlDlg.h"
#include "AmbrelController.h"

namespace pages {

bool OnSettingsPage(int32_t settingId) {
    return settingId != kIdConstantFrameRate && settingId != kIdSimultaneousReadout &&
           settingId != kIdDecimationY;
}

bool OnAdjustmentPage(int32_t adjustmentId) {
    return adjustmentId != kIdExposureTime && adjustmentId != kIdFrameTime;
}

bool OffersAdjustmentTab(const CAmbrelController& controller) {
    return std::any_of(controller.m_adjustments.begin(), controller.m_adjustments.end(),
                       [](const AdjustmentInfo& a) { return OnAdjustmentPage(a.id); });
}

bool OffersImageTab(const CAmbrelController& controller) {
    return !controller.m_cameraCommands.empty();
}

bool OffersExposureTab(const CAmbrelController& controller) {
    return std::any_of(controller.m_adjustments.begin(), controller.m_adjustments.end(),
                       [](const AdjustmentInfo& a) { return a.id == kIdExposureTime; });
}

std::vector<std::wstring> TabsFor(const CAmbrelController& controller) {
    std::vector<std::wstring> tabs{CAmbrelControlDlg::kSettingsTab};
    if (OffersAdjustmentTab(controller)) tabs.emplace_back(CAmbrelControlDlg::kAdjustmentTab);
    if (OffersImageTab(controller)) tabs.emplace_back(CAmbrelControlDlg::kImageTab);
    if (OffersExposureTab(controller)) tabs.emplace_back(CAmbrelControlDlg::kExposureTab);
    return tabs;
}

}  // namespace pages
