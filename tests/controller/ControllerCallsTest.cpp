// What one Refresh and one SetSetting cost in library calls, and the controller's table layout.
#include <cstddef>
#include <cstring>
#include <map>
#include <new>
#include <string>

#include "ControllerTestSupport.h"
#include "RefreshCost.h"

using namespace ctltest;

namespace {

class ControllerCalls : public ControllerTest {
protected:
    // The built-in camera with everything on, port 0 open, counts cleared.
    static void OpenFullyEquipped(CAmbrelController& ctl) {
        pfsim::LoadDefaultModel();
        OpenPort(ctl, 0);
        ASSERT_TRUE(ctl.SetSetting(kIdCrosshairs, 1));
        pfsim::ClearCallLog();
    }

    static std::map<std::string, uint64_t> CountsByOperation() {
        std::map<std::string, uint64_t> counts;
        for (const char* op :
             {"pfGetNumPort", "pfGetPortInfo", "pfOpenPort", "pfClosePort", "pfGetErrorMsg",
              "pfGetNumProperties", "pfGetPropertyInfo", "pfGetCameraPropertyI",
              "pfSetCameraPropertyI", "pfGetCameraPropertyF", "pfSetCameraPropertyF",
              "pfGetCameraPropertyInt"}) {
            if (const uint64_t n = pfsim::CallCount(op)) counts[op] = n;
        }
        return counts;
    }
};

// Each name the feature table looks for is one scan of the property table down to its row;
// ranges and the crosshairs switch are one read each. Nothing is asked twice.
TEST_F(ControllerCalls, OneRefreshOfTheFullyEquippedCamera) {
    CAmbrelController ctl;
    OpenFullyEquipped(ctl);
    const refreshcost::Cost cost = refreshcost::OfRefresh(0);
    pfsim::ClearCallLog();
    ctl.Refresh();
    ASSERT_EQ(ctl.m_adjustments.size(), 5u);
    EXPECT_EQ(CountsByOperation(), (std::map<std::string, uint64_t>{
                                       {"pfGetNumPort", 1},
                                       {"pfGetPortInfo", cost.ports},
                                       {"pfGetNumProperties", cost.scans},
                                       {"pfGetPropertyInfo", cost.rows},
                                       {"pfGetCameraPropertyI", cost.intReads},
                                       {"pfGetCameraPropertyF", cost.realReads},
                                   }));
    EXPECT_EQ(pfsim::TotalCallCount(), cost.Total());
}

TEST_F(ControllerCalls, OneSetSettingIsOneWriteAndOneRefresh) {
    CAmbrelController ctl;
    OpenFullyEquipped(ctl);
    const refreshcost::Cost cost = refreshcost::OfRefresh(0);
    pfsim::ClearCallLog();
    ctl.SetSetting(kIdTriggerMode, 1);
    EXPECT_EQ(CountsByOperation(), (std::map<std::string, uint64_t>{
                                       {"pfGetNumPort", 1},
                                       {"pfGetPortInfo", cost.ports},
                                       {"pfGetNumProperties", cost.scans},
                                       {"pfGetPropertyInfo", cost.rows},
                                       {"pfGetCameraPropertyI", cost.intReads},
                                       {"pfSetCameraPropertyI", 1},
                                       {"pfGetCameraPropertyF", cost.realReads},
                                   }));
    EXPECT_EQ(pfsim::TotalCallCount(), cost.Total() + 1);
}

#if defined(__GXX_ABI_VERSION)
// Itanium C++ ABI facts: a pointer to a virtual member function holds 1 + the byte offset of
// its slot; a virtual destructor takes two slots, the complete-object destructor first; the
// first base shares its table with the derived class and sits at offset 0.
template <class Pmf>
std::ptrdiff_t SlotOf(Pmf pmf) {
    static_assert(sizeof(Pmf) == 2 * sizeof(std::ptrdiff_t));
    std::ptrdiff_t rep[2];
    std::memcpy(rep, &pmf, sizeof rep);
    return (rep[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

TEST(ControllerLayout, InterfaceSlotsFollowTheSharedOrder) {
    EXPECT_EQ(SlotOf(&CCLSERPort::GetValue), 0);
    EXPECT_EQ(SlotOf(&CCLSERPort::SetValue), 1);
    EXPECT_EQ(SlotOf(&CCLSERPort::GetPort), 2);
    EXPECT_EQ(SlotOf(&CCLSERPort::OpenPort), 3);
    EXPECT_EQ(SlotOf(&CDecimation::GetDecimation), 2);
    EXPECT_EQ(SlotOf(&CDecimation::SetDecimation), 3);

    using Exposure = CExposureAdjustment<double>;
    EXPECT_EQ(SlotOf(&Exposure::GetRealValue), 0);
    EXPECT_EQ(SlotOf(&Exposure::GetIntValue), 1);
    EXPECT_EQ(SlotOf(&Exposure::SetRealValue), 2);
    EXPECT_EQ(SlotOf(&Exposure::SetIntValue), 3);
    EXPECT_EQ(SlotOf(&Exposure::GetAuto), 4);
    EXPECT_EQ(SlotOf(&Exposure::SetAuto), 5);
    EXPECT_EQ(SlotOf(&Exposure::OneShot), 6);
    EXPECT_EQ(SlotOf(&Exposure::GetExposure), 7);
    EXPECT_EQ(SlotOf(&Exposure::SetExposure), 8);
    EXPECT_EQ(SlotOf(&Exposure::ReadAuto), 9);
    EXPECT_EQ(SlotOf(&Exposure::WriteAuto), 10);
    EXPECT_EQ(SlotOf(&Exposure::DoOneShot), 11);
    EXPECT_EQ(SlotOf(&CCrosshairsVAdjustment<int32_t>::GetCrosshairsValue), 7);

    EXPECT_EQ(SlotOf(&CMaxROICmd::Execute), 0);
    EXPECT_EQ(SlotOf(&CMaxROICmd::MaxROI), 1);
}

TEST_F(ControllerCalls, DestructorIsTheFifthSlotOfTheFirstBaseTable) {
    pfsim::LoadDefaultModel();
    alignas(CAmbrelController) unsigned char storage[sizeof(CAmbrelController)];
    auto* ctl = new (storage) CAmbrelController;
    OpenPort(*ctl, 1);
    pfsim::ClearCallLog();
    ASSERT_EQ(static_cast<void*>(static_cast<CCLSERPort*>(ctl)), static_cast<void*>(ctl));
    void* const* table = *reinterpret_cast<void* const* const*>(ctl);
    // Destroys without freeing, which suits the object built in place above.
    reinterpret_cast<void (*)(CAmbrelController*)>(table[4])(ctl);
    EXPECT_EQ(Calls(), (std::vector<std::string>{"pfClosePort(1)"}));
}
#endif

}  // namespace
