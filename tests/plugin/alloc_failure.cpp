// Allocation failures of the module and of its parts, refused by this program's own
// operator new.
#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>
#include <string>

#include "AmbrelControlDLL.h"
#include "PluginFixture.h"

namespace {

// The size of the next allocation to refuse, one for each form of new; 0 refuses none.
std::atomic<std::size_t> g_refuseThrowing{0};
std::atomic<std::size_t> g_refuseNothrow{0};

bool Refuse(std::atomic<std::size_t>& armed, std::size_t size) {
    std::size_t expected = size;
    return size != 0 && armed.compare_exchange_strong(expected, 0);
}

void* Allocate(std::size_t size) {
    return std::malloc(size ? size : 1);
}

// Out of line: inlined into the delete operators, GCC at -O3 sees `free` on memory from
// `operator new` and warns, not knowing that this program's operator new is `malloc`.
[[gnu::noinline]] void Release(void* p) noexcept {
    std::free(p);
}

}  // namespace

void* operator new(std::size_t size) {
    void* p = Refuse(g_refuseThrowing, size) ? nullptr : Allocate(size);
    if (!p) throw std::bad_alloc();
    return p;
}
void* operator new[](std::size_t size) {
    return ::operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    return Refuse(g_refuseNothrow, size) ? nullptr : Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return ::operator new(size, tag);
}
void operator delete(void* p) noexcept {
    Release(p);
}
void operator delete[](void* p) noexcept {
    Release(p);
}
void operator delete(void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    Release(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    Release(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    Release(p);
}

namespace {

class AllocationTest : public PluginTest {
protected:
    void TearDown() override {
        g_refuseThrowing = 0;
        g_refuseNothrow = 0;
        PluginTest::TearDown();
    }
    static std::wstring PortWrite(int row) {
        return std::wstring(L"WriteProfileInt ") + kSection + L" Port=" + std::to_wstring(row);
    }
};

TEST_F(AllocationTest, InitializeAnswersNullWhenTheModuleCannotBeAllocated) {
    CAmbrelControlDLL factory;
    g_refuseThrowing = sizeof(CAmbrelControlModule);

    EXPECT_EQ(factory.Initialize(), nullptr);
    EXPECT_EQ(g_refuseThrowing, 0u);

    CModule* made = factory.Initialize();
    ASSERT_NE(made, nullptr);
    delete made;
}

TEST_F(AllocationTest, ModuleWithoutItsDialogKeepsTheStoredRow) {
    StorePort(2);
    g_refuseNothrow = sizeof(CAmbrelControlDlg);
    CreateModule();
    ASSERT_EQ(module->m_pDialog, nullptr);
    ASSERT_NE(module->m_pController, nullptr);

    AttachModule();
    module->LockControls();
    module->UnlockControls();

    // Without the Settings page nothing re-opens the port, and the row read is kept.
    EXPECT_EQ(module->m_nPort, 2);
    EXPECT_EQ(pfsim::OpenPortCount(), 0);
    module.reset();
    EXPECT_EQ(log, HostLog({PortWrite(2)}));
}

TEST_F(AllocationTest, ModuleWithoutItsControllerDocksAnEmptyDialog) {
    StorePort(2);
    g_refuseNothrow = sizeof(CAmbrelController);
    CreateModule();
    ASSERT_EQ(module->m_pController, nullptr);
    ASSERT_NE(module->m_pDialog, nullptr);

    AttachModule();
    module->LockControls();
    EXPECT_FALSE(Settings().m_valuesList.IsWindowEnabled());
    module->UnlockControls();
    EXPECT_TRUE(Settings().m_valuesList.IsWindowEnabled());

    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
    EXPECT_EQ(module->m_nPort, 2);
    module.reset();
    EXPECT_EQ(log,
              HostLog({L"AddDialog Ambrel Control", PortWrite(2), L"RemoveDialog with window"}));
}

}  // namespace
