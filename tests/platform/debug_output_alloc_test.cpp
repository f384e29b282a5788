// Holds the narrow debugger line to a file to its promise of allocating nothing, and an import to
// memory in proportion to its text. A program of its own, as it replaces the global operator new
// to count allocations.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <new>

#include "child_process.h"
#include "platform/DebugOutput.h"
#include "platform/Registry.h"

namespace {
thread_local bool t_counting = false;
thread_local int t_allocations = 0;
thread_local std::size_t t_bytes = 0;
}  // namespace

void* operator new(std::size_t size) {
    if (t_counting) {
        ++t_allocations;
        t_bytes += size;
    }
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
// Once these are inlined, GCC takes the free() for the release of memory from the standard
// operator new, not from the one above.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop

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

// One key at the deepest level holding many values: each value refers to its key's path, so the
// import's memory grows with the text, not with the values times the path.
TEST(ImportBudget, ADeepKeysValuesDoNotEachCopyItsPath) {
#if defined(_WIN32)
    GTEST_SKIP() << "the platform library's allocations cannot be counted from here on Windows";
#endif
    std::wstring path = L"HKEY_CURRENT_USER";
    for (uint32_t level = 0; level < plat::reg::kMaxKeyDepth; ++level) path += L"\\k";
    std::wstring text = L"Windows Registry Editor Version 5.00\r\n\r\n[" + path + L"]\r\n";
    for (int i = 0; i < 2000; ++i) text += L"\"v" + std::to_wstring(i) + L"\"=dword:00000001\r\n";
    plat::reg::UseMemoryStore();
    std::string error;
    t_bytes = 0;
    t_counting = true;
    const bool imported = plat::reg::ImportRegText(text, &error);
    t_counting = false;
    ASSERT_TRUE(imported) << error;
    EXPECT_LT(t_bytes, 16 * text.size() * sizeof(wchar_t));
}

}  // namespace
