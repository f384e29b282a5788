// Scenarios where the headless dialog framework once behaved unlike the platform's controls,
// each found by random scripts played on both; the same expectations hold on both builds.
#include "HostRun.h"

namespace host_test {
namespace {

using BackendTest = HostTest;

struct Scenario {
    const char* name;
    const char* camera;  // a model file of sim/cameras
    const char* script;
    const char* page;
    int control;
    const char* field;
    nlohmann::ordered_json expected;
};

const Scenario kScenarios[] = {
    // The camera reports its exposure limits the wrong way round: the slider's range runs from
    // 32000 down to 2000, and the trackbar brings its position up to the minimum, then down to
    // the maximum.
    {"inverted slider range", "large.json",
     "select settings.16315 1\ncamera set ExposureTime.Max 2\ncamera set ExposureTime.Min 32\n"
     "select settings.16315 1\ndump\n",
     "exposure", 16328, "pos", 2000},
};

TEST_F(BackendTest, ScenariosEndAsOnThePlatform) {
    for (const Scenario& s : kScenarios) {
        SCOPED_TRACE(s.name);
        ForgetProfile();
        const HostRun run = Run(s.script, {"--camera", Camera(s.camera)});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(ControlOf(run.LastDump(), s.page, s.control)[s.field], s.expected);
    }
}

}  // namespace
}  // namespace host_test
