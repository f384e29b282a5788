// The control interface a host reaches the simulator through: what it lists, loads and logs.
#include <cstdio>
#include <fstream>

#include "SimTest.h"

namespace pfsim {

void PrintTo(const CameraControl::Property& p, std::ostream* os) {
    *os << p.name << (p.isInt ? " (int)" : " (real)");
}

}  // namespace pfsim

namespace {

using Property = pfsim::CameraControl::Property;
using LoadResult = pfsim::CameraControl::LoadResult;

using ControlTest = SimTest;

TEST_F(ControlTest, ListsValuedPropertiesWithGeneratedLimitsInTableOrder) {
    struct Case {
        const char* properties;
        const char* port;
        std::vector<Property> listed;
        std::optional<int32_t> baud;
    };
    const Case cases[] = {
        {R"({"name": "A", "type": "int", "value": 1}, "A.One", null,
            {"name": "B", "type": "real", "value": 2, "min": 0, "max": 5, "limits": true},
            {"name": "C", "type": "int", "value": 0, "read_only": true})",
         "",
         {{"A", true}, {"B", false}, {"B.Min", false}, {"B.Max", false}, {"C", true}},
         std::nullopt},
        {R"("Bare")", R"(, "baud": 9600)", {}, 9600},
    };
    pfsim::CameraControl& control = pfsim::Control();
    for (const Case& c : cases) {
        LoadCamera(c.properties, c.port);
        EXPECT_EQ(control.PortCount(), 1) << c.properties;
        EXPECT_EQ(control.Properties(0), c.listed) << c.properties;
        EXPECT_EQ(control.Baud(0), c.baud) << c.properties;
        EXPECT_TRUE(control.Properties(1).empty());
        EXPECT_EQ(control.Baud(-1), std::nullopt);
    }
}

TEST_F(ControlTest, LoadTellsAnUnreadableFileFromABadOneAndKeepsTheModelOnBoth) {
    const std::string bad = testing::TempDir() + "control_test_bad.json";
    std::ofstream(bad) << R"({"ports": [{"camera": "missing"}]})";
    pfsim::CameraControl& control = pfsim::Control();
    struct Case {
        std::string path;
        LoadResult result;
    };
    for (const Case& c :
         {Case{bad + ".absent", LoadResult::Unreadable}, Case{bad, LoadResult::Invalid},
          Case{"", LoadResult::Unreadable}, Case{ModelPath("full.json"), LoadResult::Loaded}}) {
        std::string why;
        EXPECT_EQ(control.Load(c.path, &why), c.result) << c.path;
        EXPECT_EQ(why.empty(), c.result == LoadResult::Loaded) << c.path << ": " << why;
        EXPECT_EQ(control.PortCount(), 2) << c.path;  // the built-in model's
    }
    std::remove(bad.c_str());
}

TEST_F(ControlTest, TakeCallsEmptiesTheLogAndCountsWhatItMissed) {
    pfsim::CameraControl& control = pfsim::Control();
    control.EnableCallLog(true);
    control.TakeCalls(nullptr);
    pfGetNumPort();
    control.EnableCallLog(false);
    pfGetNumPort();
    uint64_t made = 0;
    const std::vector<pfsim::Call> calls = control.TakeCalls(&made);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].op, "pfGetNumPort");
    EXPECT_EQ(made, 2u);
    EXPECT_TRUE(control.TakeCalls(&made).empty());
    EXPECT_EQ(made, 0u);
}

}  // namespace
