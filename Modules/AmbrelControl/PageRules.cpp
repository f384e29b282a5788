// What the control dialog makes of the controller's lists: which pages get a tab, in which
// order and under which text, and which page shows which entry.
#include "PageRules.h"

#include <algorithm>

namespace pages {
namespace {

bool Always(const CAmbrelController&) {
    return true;
}

bool HasAdjustmentRow(const CAmbrelController& controller) {
    return std::any_of(controller.m_adjustments.begin(), controller.m_adjustments.end(),
                       [](const AdjustmentInfo& a) { return OnAdjustmentPage(a.id); });
}

bool HasCommand(const CAmbrelController& controller) {
    return !controller.m_cameraCommands.empty();
}

// The frame-time slider and the check boxes alone do not make the page worth a tab.
bool HasExposureTime(const CAmbrelController& controller) {
    return std::any_of(controller.m_adjustments.begin(), controller.m_adjustments.end(),
                       [](const AdjustmentInfo& a) { return a.id == kIdExposureTime; });
}

constexpr Tab kTabs[] = {
    {PageId::Settings, L"Settings", Always},
    {PageId::Adjustment, L"Adjustment", HasAdjustmentRow},
    {PageId::Image, L"Image", HasCommand},
    {PageId::Exposure, L"Exposure", HasExposureTime},
};

}  // namespace

PageId PageOf(int32_t id) {
    const Feature* feature = CAmbrelController::FeatureOf(id);
    return feature ? feature->page : PageId::Settings;
}

bool OnSettingsPage(int32_t settingId) {
    return PageOf(settingId) == PageId::Settings;
}

bool OnAdjustmentPage(int32_t adjustmentId) {
    return PageOf(adjustmentId) == PageId::Adjustment;
}

std::span<const Tab> Tabs() {
    return kTabs;
}

std::vector<std::wstring> TabsFor(const CAmbrelController& controller) {
    std::vector<std::wstring> tabs;
    for (const Tab& tab : kTabs)
        if (tab.offered(controller)) tabs.emplace_back(tab.text);
    return tabs;
}

}  // namespace pages
