// The grab module stand-in, and the host API library's exported surface as a loader sees it.
#include <gtest/gtest.h>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdint>
#include <string>

#include "DGrabModule.h"

namespace {

TEST(GrabModule, RecordsTheLastRegionAndCountsCalls) {
    DGrabModule grabber;
    EXPECT_EQ(grabber.GetROICount(), 0u);
    EXPECT_EQ(grabber.GetLastROI().width, 0u);

    EXPECT_TRUE(grabber.SetROI(0, 0, 1024, 512));
    EXPECT_TRUE(grabber.SetROI(0, 0, UINT32_MAX, 1));
    const DGrabRegion region = grabber.GetLastROI();
    EXPECT_EQ(region.x, 0u);
    EXPECT_EQ(region.y, 0u);
    EXPECT_EQ(region.width, UINT32_MAX);
    EXPECT_EQ(region.height, 1u);
    EXPECT_EQ(grabber.GetROICount(), 2u);
}

// A host finds the library's functions by their (C++) symbol names; the internals stay hidden.
TEST(HostApiLibrary, ExportsTheGrabModuleAndTimestampFunctions) {
#if defined(_WIN32)
    const std::string path = std::string(AMBREL_BINARY_DIR) + "/bin/DovrelAPIu.dll";
    HMODULE library = LoadLibraryA(path.c_str());
    ASSERT_NE(library, nullptr) << GetLastError();
    const auto find = [&](const char* symbol) {
        return reinterpret_cast<void*>(GetProcAddress(library, symbol));
    };
#else
    const std::string path = std::string(AMBREL_BINARY_DIR) + "/bin/libDovrelAPIu.so";
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto find = [&](const char* symbol) { return dlsym(library, symbol); };
#endif
    for (const char* symbol :
         {"_ZN11DGrabModule6SetROIEjjjj", "_ZN11DGrabModuleC1Ev", "_ZN11DGrabModuleD1Ev",
          "_Z17CompareTimestampsittitt", "_Z21ComputeTimeDifferenceittittPiPsS0_Pb"}) {
        EXPECT_NE(find(symbol), nullptr) << symbol;
    }
#if defined(_WIN32)
    FreeLibrary(library);
#else
    dlclose(library);
#endif
}

}  // namespace
