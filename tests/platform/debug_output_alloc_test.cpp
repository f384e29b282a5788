// Holds the narrow debugger line to a file to its promise of allocating nothing. A program of its
// own, as it replaces the global operator new to count allocations.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <new>

#include "child_process.h"
#include "platform/DebugOutput.h"

namespace {
thread_local bool t_counting = false;
thread_local int t_allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (t_counting) ++t_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

namespace {

TEST(DebugOutputBudget, NarrowLineToFileAllocatesNothing) {
#if defined(_WIN32)
    GTEST_SKIP() << "a program's operator new does not replace the one a DLL links on Windows, "
                    "so the platform library's allocations cannot be counted from here";
#endif
    platform_test::TempDir dir;
    const std::string path = dir.File("budget.log");
    ASSERT_TRUE(plat::SetDebugOutputFile(path));
    t_allocations = 0;
    t_counting = true;
    for (int i = 0; i < 100; ++i) plat::OutputDebugNarrow("Crosshairs.Value.Max");
    t_counting = false;
    plat::SetDebugOutputNone();
    EXPECT_EQ(t_allocations, 0);
    std::ifstream in(path);
    int lines = 0;
    for (std::string line; std::getline(in, line); ++lines) EXPECT_EQ(line, "Crosshairs.Value.Max");
    EXPECT_EQ(lines, 100);
}

}  // namespace
