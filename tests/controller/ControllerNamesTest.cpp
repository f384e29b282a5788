// The names the controller puts to the camera: only names the camera lists, compared exactly.
#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ControllerTestSupport.h"
#include "pfConfig.h"

using namespace ctltest;

namespace {

using ControllerNames = ControllerTest;

std::set<std::string> ListedNames(int32_t port) {
    std::set<std::string> names;
    for (int32_t i = 0, count = pfGetNumProperties(port); i < count; ++i) {
        int32_t type = 0;
        int32_t access = 0;
        if (const char* name = pfGetPropertyInfo(port, i, &type, &access)) names.insert(name);
    }
    return names;
}

// Every name read or written since the log was cleared.
std::set<std::string> NamesReadOrWritten() {
    std::set<std::string> names;
    for (const pfsim::Call& call : pfsim::CallLog()) {
        const bool byName = call.op.rfind("pfGetCameraProperty", 0) == 0 ||
                            call.op.rfind("pfSetCameraProperty", 0) == 0;
        if (byName && call.args.size() > 1) names.insert(call.args[1]);
    }
    return names;
}

// Refresh, then every option of every setting, every adjustment read and written (with its
// automatic flag) and every command, on the fully equipped camera.
void RunEveryAction(CAmbrelController& ctl) {
    std::vector<std::pair<int32_t, int32_t>> choices;
    for (const SettingInfo& setting : ctl.m_settings)
        if (setting.id != kIdPort)
            for (const SettingOption& option : setting.options)
                choices.emplace_back(setting.id, option.value);
    for (const auto& [id, value] : choices) ctl.SetSetting(id, value);
    ASSERT_TRUE(ctl.SetSetting(kIdCrosshairs, 1));

    const std::vector<AdjustmentInfo> adjustments = ctl.m_adjustments;
    for (const AdjustmentInfo& a : adjustments) {
        int32_t whole = 0;
        double real = 0;
        int32_t flag = 0;
        if (a.isInteger) {
            ctl.GetAdjustmentInt(a.id, whole);
            ctl.SetAdjustmentInt(a.id, a.intMax);
        } else {
            ctl.GetAdjustmentReal(a.id, real);
            ctl.SetAdjustmentReal(a.id, a.realMax);
        }
        ctl.GetAdjustmentAuto(a.id, flag);
        ctl.SetAdjustmentAuto(a.id, 0);
    }
    for (const CameraCommandInfo& command : ctl.m_cameraCommands) command.command->Execute();
    ctl.GetMaxWidth();
    ctl.GetMaxHeight();
}

TEST_F(ControllerNames, EveryNameReadOrWrittenIsOneTheCameraLists) {
    pfsim::LoadDefaultModel();
    CAmbrelController ctl;
    pfsim::ClearCallLog();
    OpenPort(ctl, 0);
    RunEveryAction(ctl);
    const std::set<std::string> used = NamesReadOrWritten();
    const std::set<std::string> listed = ListedNames(0);
    EXPECT_GT(used.size(), 20u);
    for (const std::string& name : used) EXPECT_TRUE(listed.count(name)) << name;
}

// A misspelt name in the feature table would silently drop a setting, an option or a bound;
// the fully equipped camera lists every one, and every entry it gets has its row.
TEST_F(ControllerNames, EveryNameOfTheFeatureTableIsOneTheFullCameraLists) {
    pfsim::LoadDefaultModel();
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    ASSERT_TRUE(ctl.SetSetting(kIdCrosshairs, 1));
    const std::set<std::string> listed = ListedNames(0);
    for (const Feature& feature : CAmbrelController::Features()) {
        std::vector<const char*> names{feature.property, feature.minProperty, feature.maxProperty};
        for (const FeatureOption& option : feature.options) names.push_back(option.property);
        for (const char* name : names) {
            if (!name) continue;
            EXPECT_TRUE(listed.count(name)) << name;
        }
    }
    std::vector<int32_t> ids;
    for (const SettingInfo& s : ctl.m_settings) ids.push_back(s.id);
    for (const AdjustmentInfo& a : ctl.m_adjustments) ids.push_back(a.id);
    for (const CameraCommandInfo& c : ctl.m_cameraCommands) ids.push_back(c.id);
    const auto rowsWithEntries =
        std::count_if(CAmbrelController::Features().begin(), CAmbrelController::Features().end(),
                      [](const Feature& f) { return f.kind != FeatureKind::Geometry; });
    EXPECT_EQ(ids.size(), static_cast<size_t>(rowsWithEntries));
    for (int32_t id : ids) {
        const Feature* feature = CAmbrelController::FeatureOf(id);
        ASSERT_NE(feature, nullptr) << id;
        EXPECT_EQ(feature->id, id);
    }
}

TEST_F(ControllerNames, HasPropertyComparesTheWholeNameWithItsCase) {
    Load(Model({Int("Window.w", 1), Int("window.X", 1), Int("Window.YY", 1), Int("Window.H", 1)}));
    CAmbrelController ctl;
    OpenPort(ctl, 0);
    EXPECT_FALSE(ctl.HasProperty("Window.W"));
    EXPECT_FALSE(ctl.HasProperty("Window.X"));
    EXPECT_FALSE(ctl.HasProperty("Window.Y"));
    EXPECT_FALSE(ctl.HasProperty("Window.HH"));
    EXPECT_TRUE(ctl.HasProperty("Window.w"));
    EXPECT_TRUE(ctl.HasProperty("Window.H"));
}

}  // namespace
