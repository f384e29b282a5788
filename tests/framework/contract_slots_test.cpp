// The binary contract with the host: virtual slot positions, argument shapes and member order
// of the module, factory, setup and dialog host classes, read through the compiler's ABI.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <type_traits>
#include <vector>

#include "CDialogHost.h"
#include "CModule.h"
#include "CModuleDLL.h"
#include "CPlaybackSynchData.h"
#include "CSetup.h"
#include "EventLink.h"

class CCommandParam;
class CDockedDlg;
class CSetupManager;
class DGrabModule;

namespace {

// On the Itanium C++ ABI (x86 variant) a pointer to a virtual member function holds
// 1 + the byte offset of its vtable entry and a zero this-adjustment. The ARM variants encode
// virtualness in the adjustment instead, so the check is limited to x86.
#if defined(__GXX_ABI_VERSION) && (defined(__x86_64__) || defined(__i386__))
constexpr bool kItaniumX86 = true;
#else
constexpr bool kItaniumX86 = false;
#endif

template <class Pmf>
std::ptrdiff_t VtableEntry(Pmf pmf) {
    static_assert(sizeof(Pmf) == 2 * sizeof(std::ptrdiff_t));
    std::ptrdiff_t parts[2];
    std::memcpy(parts, &pmf, sizeof parts);
    if ((parts[0] & 1) == 0 || parts[1] != 0) return -1;  // not a virtual function
    return (parts[0] - 1) / static_cast<std::ptrdiff_t>(sizeof(void*));
}

// The vtable entry of a host slot on this ABI: a virtual destructor at `destructorSlot` takes
// two entries here and one on the host's compiler.
std::ptrdiff_t EntryOfSlot(int slot, int destructorSlot) {
    return slot > destructorSlot ? slot + 1 : slot;
}

// One letter per type: v void, b bool, i int32_t, u uint32_t, W std::wstring, L EventLink,
// P the command parameter array pointer; "result:arguments".
template <class T>
constexpr char TypeCode() {
    if constexpr (std::is_same_v<T, void>) return 'v';
    if constexpr (std::is_same_v<T, bool>) return 'b';
    if constexpr (std::is_same_v<T, int32_t>) return 'i';
    if constexpr (std::is_same_v<T, uint32_t>) return 'u';
    if constexpr (std::is_same_v<T, std::wstring>) return 'W';
    if constexpr (std::is_same_v<T, EventLink>) return 'L';
    if constexpr (std::is_same_v<T, std::vector<CCommandParam>*>) return 'P';
    return '?';
}

template <class C, class R, class... A>
std::string Shape(R (C::*)(A...)) {
    return std::string{TypeCode<R>(), ':', TypeCode<A>()...};
}

struct ActualSlot {
    int slot;
    const char* name;
    std::ptrdiff_t entry;
    std::string shape;
};

#define AMBREL_MODULE_SLOT(n, fn)                              \
    ActualSlot {                                               \
        n, #fn, VtableEntry(&CModule::fn), Shape(&CModule::fn) \
    }

std::vector<ActualSlot> ModuleSlots() {
    return {
        AMBREL_MODULE_SLOT(0, HostNotify0),    AMBREL_MODULE_SLOT(1, HostNotify1),
        AMBREL_MODULE_SLOT(2, HostNotify2),    AMBREL_MODULE_SLOT(4, Attach),
        AMBREL_MODULE_SLOT(5, LoadSettings),   AMBREL_MODULE_SLOT(6, SaveSettings),
        AMBREL_MODULE_SLOT(7, OnEventBegin),   AMBREL_MODULE_SLOT(8, OnEventEnd),
        AMBREL_MODULE_SLOT(9, ExecuteCommand), AMBREL_MODULE_SLOT(10, GetEventLinkCount),
        AMBREL_MODULE_SLOT(11, GetEventLink),  AMBREL_MODULE_SLOT(12, HostNotify12),
        AMBREL_MODULE_SLOT(13, HostNotify13),  AMBREL_MODULE_SLOT(14, HostNotify14),
        AMBREL_MODULE_SLOT(15, HostNotify15),  AMBREL_MODULE_SLOT(16, HostNotify16),
        AMBREL_MODULE_SLOT(17, HostNotify17),  AMBREL_MODULE_SLOT(18, HostNotify18),
        AMBREL_MODULE_SLOT(19, HostNotify19),  AMBREL_MODULE_SLOT(20, HostNotify20),
        AMBREL_MODULE_SLOT(21, HostNotify21),  AMBREL_MODULE_SLOT(22, HostNotify22),
        AMBREL_MODULE_SLOT(23, HostNotify23),  AMBREL_MODULE_SLOT(24, HostNotify24),
        AMBREL_MODULE_SLOT(25, HostNotify25),  AMBREL_MODULE_SLOT(26, HostNotify26),
        AMBREL_MODULE_SLOT(27, HostNotify27),  AMBREL_MODULE_SLOT(28, HostNotify28),
        AMBREL_MODULE_SLOT(29, HostNotify29),  AMBREL_MODULE_SLOT(30, HostNotify30),
        AMBREL_MODULE_SLOT(31, HostNotify31),  AMBREL_MODULE_SLOT(32, HostNotify32),
        AMBREL_MODULE_SLOT(33, HostNotify33),  AMBREL_MODULE_SLOT(34, HostNotify34),
        AMBREL_MODULE_SLOT(35, LockControls),  AMBREL_MODULE_SLOT(36, HostNotify36),
        AMBREL_MODULE_SLOT(37, HostNotify37),  AMBREL_MODULE_SLOT(38, UnlockControls),
        AMBREL_MODULE_SLOT(39, HostNotify39),  AMBREL_MODULE_SLOT(40, HostNotify40),
        AMBREL_MODULE_SLOT(41, HostNotify41),  AMBREL_MODULE_SLOT(42, HostNotify42),
        AMBREL_MODULE_SLOT(43, HostNotify43),  AMBREL_MODULE_SLOT(44, HostNotify44),
        AMBREL_MODULE_SLOT(45, HostNotify45),  AMBREL_MODULE_SLOT(46, HostNotify46),
        AMBREL_MODULE_SLOT(47, HostNotify47),  AMBREL_MODULE_SLOT(48, HostNotify48),
        AMBREL_MODULE_SLOT(49, HostNotify49),  AMBREL_MODULE_SLOT(50, HostNotify50),
        AMBREL_MODULE_SLOT(51, HostNotify51),  AMBREL_MODULE_SLOT(52, HostNotify52),
        AMBREL_MODULE_SLOT(53, HostNotify53),  AMBREL_MODULE_SLOT(54, HostNotify54),
        AMBREL_MODULE_SLOT(55, HostNotify55),  AMBREL_MODULE_SLOT(56, HostNotify56),
        AMBREL_MODULE_SLOT(57, HostNotify57),  AMBREL_MODULE_SLOT(58, HostNotify58),
        AMBREL_MODULE_SLOT(59, HostNotify59),  AMBREL_MODULE_SLOT(60, HostNotify60),
        AMBREL_MODULE_SLOT(61, HostNotify61),  AMBREL_MODULE_SLOT(62, HostNotify62),
        AMBREL_MODULE_SLOT(63, HostNotify63),  AMBREL_MODULE_SLOT(64, HostNotify64),
        AMBREL_MODULE_SLOT(65, HostNotify65),  AMBREL_MODULE_SLOT(66, HostNotify66),
        AMBREL_MODULE_SLOT(67, HostNotify67),  AMBREL_MODULE_SLOT(68, HostNotify68),
        AMBREL_MODULE_SLOT(69, HostNotify69),  AMBREL_MODULE_SLOT(70, HostNotify70),
        AMBREL_MODULE_SLOT(71, HostNotify71),  AMBREL_MODULE_SLOT(72, HostNotify72),
        AMBREL_MODULE_SLOT(73, HostQuery73),
    };
}

#undef AMBREL_MODULE_SLOT

// The host's slot table, row by row.
struct ExpectedRange {
    int first;
    int last;
    const char* shape;
};

constexpr ExpectedRange kModuleSlotTable[] = {
    {0, 2, "v:"},          {4, 6, "v:"},        {7, 8, "v:iu"},    {9, 9, "b:iPu"},
    {10, 10, "i:"},        {11, 11, "L:i"},     {12, 13, "v:u"},   {14, 14, "v:"},
    {15, 16, "v:u"},       {17, 20, "v:uu"},    {21, 22, "v:"},    {23, 23, "v:u"},
    {24, 24, "v:uuu"},     {25, 25, "v:u"},     {26, 26, "v:uuu"}, {27, 30, "v:"},
    {31, 31, "v:W"},       {32, 34, "v:"},      {35, 35, "v:"},    {36, 37, "v:"},
    {38, 38, "v:"},        {39, 40, "v:"},      {41, 42, "v:u"},   {43, 43, "v:uuu"},
    {44, 44, "v:uuuuuuu"}, {45, 45, "v:uuuuu"}, {46, 46, "v:uu"},  {47, 47, "v:W"},
    {48, 51, "v:uu"},      {52, 61, "v:"},      {62, 71, "v:uu"},  {72, 72, "v:"},
    {73, 73, "b:uu"},
};

constexpr int kModuleDestructorSlot = 3;
constexpr int kModuleSlotCount = 74;

TEST(ModuleSlots, EverySlotSitsAtItsHostPositionWithItsArgumentShape) {
    if (!kItaniumX86) GTEST_SKIP() << "vtable entries are read the Itanium x86 way";
    const std::vector<ActualSlot> actual = ModuleSlots();
    int checked = 0;
    for (const ExpectedRange& row : kModuleSlotTable) {
        for (int slot = row.first; slot <= row.last; ++slot) {
            const ActualSlot* found = nullptr;
            for (const ActualSlot& a : actual) {
                if (a.slot == slot) found = &a;
            }
            ASSERT_NE(found, nullptr) << "slot " << slot;
            EXPECT_EQ(found->entry, EntryOfSlot(slot, kModuleDestructorSlot))
                << found->name << " is not at slot " << slot;
            EXPECT_EQ(found->shape, row.shape) << found->name;
            ++checked;
        }
    }
    EXPECT_EQ(checked, kModuleSlotCount - 1);  // all but the destructor
}

struct ModuleWithOneMore : CModule {
    virtual void OneMore() {}
};

TEST(ModuleSlots, DestructorFillsSlotThreeAndNothingFollowsSlot73) {
    if (!kItaniumX86) GTEST_SKIP() << "vtable entries are read the Itanium x86 way";
    static_assert(std::has_virtual_destructor_v<CModule>);
    // Slot 2 and slot 4 enclose exactly the two destructor entries of this ABI.
    EXPECT_EQ(VtableEntry(&CModule::HostNotify2), 2);
    EXPECT_EQ(VtableEntry(&CModule::Attach), 5);
    // A subclass's first new virtual lands right after slot 73: there are exactly 74 slots.
    EXPECT_EQ(VtableEntry(&ModuleWithOneMore::OneMore),
              EntryOfSlot(kModuleSlotCount, kModuleDestructorSlot));
}

// Reads the members' offsets from inside a subclass, since they are protected.
struct ModuleLayout : CModule {
    std::vector<std::ptrdiff_t> Offsets() const {
        const char* base = reinterpret_cast<const char*>(this);
        auto at = [base](const auto& member) {
            return reinterpret_cast<const char*>(&member) - base;
        };
        return {at(m_events),    at(m_commands),      at(m_variables),      at(m_eventLinks),
                at(m_pSetup),    at(m_pDialogHost),   at(m_strName),        at(m_strFileName),
                at(m_bHostFlag), at(m_bAcceptEvents), at(m_nRunningEvents), at(m_lock)};
    }
};

TEST(ModuleLayout, MembersFollowTheVtablePointerInContractOrder) {
    static_assert(sizeof(bool) == 1);
    static_assert(sizeof(std::atomic<int32_t>) == sizeof(int32_t) &&
                  alignof(std::atomic<int32_t>) == alignof(int32_t));
    ModuleLayout module;
    const std::vector<std::ptrdiff_t> offsets = module.Offsets();
    EXPECT_EQ(offsets.front(), static_cast<std::ptrdiff_t>(sizeof(void*)));
    for (size_t i = 1; i < offsets.size(); ++i) {
        EXPECT_LT(offsets[i - 1], offsets[i]) << "member " << i;
    }
    // The two flags are adjacent bytes, followed by the count at its natural alignment.
    EXPECT_EQ(offsets[9], offsets[8] + 1);
    EXPECT_EQ(offsets[10], (offsets[9] + 1 + 3) / 4 * 4);
}

TEST(EventLinkLayout, ThreeTextsInContractOrder) {
    static_assert(sizeof(EventLink) == 3 * sizeof(std::wstring));
    EXPECT_EQ(offsetof(EventLink, m_strScript), 0u);
    EXPECT_EQ(offsetof(EventLink, m_strModule), sizeof(std::wstring));
    EXPECT_EQ(offsetof(EventLink, m_strEvent), 2 * sizeof(std::wstring));
}

struct FactoryWithOneMore : CModuleDLL {
    const wchar_t* GetName() override { return L"n"; }
    const wchar_t* GetDLLName() override { return L"d"; }
    const wchar_t* GetInfo() override { return L"i"; }
    CModule* Initialize() override { return nullptr; }
    virtual void OneMore() {}
};

TEST(FactorySlots, FourOperationsFollowTheDestructor) {
    if (!kItaniumX86) GTEST_SKIP() << "vtable entries are read the Itanium x86 way";
    static_assert(std::has_virtual_destructor_v<CModuleDLL>);
    EXPECT_EQ(VtableEntry(&CModuleDLL::GetName), EntryOfSlot(1, 0));
    EXPECT_EQ(VtableEntry(&CModuleDLL::GetDLLName), EntryOfSlot(2, 0));
    EXPECT_EQ(VtableEntry(&CModuleDLL::GetInfo), EntryOfSlot(3, 0));
    EXPECT_EQ(VtableEntry(&CModuleDLL::Initialize), EntryOfSlot(4, 0));
    EXPECT_EQ(VtableEntry(&FactoryWithOneMore::OneMore), EntryOfSlot(5, 0));
}

TEST(FactoryPointer, SetByConstructionAndKeptAfterDestruction) {
    const void* second = nullptr;
    {
        FactoryWithOneMore first;
        EXPECT_EQ(g_moduleDLL, &first);
        {
            FactoryWithOneMore latest;
            second = &latest;
            EXPECT_EQ(g_moduleDLL, &latest);
        }
        EXPECT_EQ(static_cast<const void*>(g_moduleDLL), second);
    }
    EXPECT_EQ(static_cast<const void*>(g_moduleDLL), second);
}

struct SetupWithOneMore : CSetup {
    virtual void OneMore() {}
};

TEST(SetupSlots, NamedOperationsSitAtTheirHostSlots) {
    if (!kItaniumX86) GTEST_SKIP() << "vtable entries are read the Itanium x86 way";
    static_assert(std::has_virtual_destructor_v<CSetup>);
    EXPECT_EQ(VtableEntry(&CSetup::OnNotifyA), EntryOfSlot(4, 0));
    EXPECT_EQ(VtableEntry(&CSetup::OnNotifyB), EntryOfSlot(5, 0));
    EXPECT_EQ(VtableEntry(&CSetup::FindModule), EntryOfSlot(6, 0));
    EXPECT_EQ(VtableEntry(&CSetup::GetSetupManager), EntryOfSlot(7, 0));
    EXPECT_EQ(VtableEntry(&CSetup::GetName), EntryOfSlot(9, 0));
    EXPECT_EQ(VtableEntry(&CSetup::OnNotifyC), EntryOfSlot(27, 0));
    EXPECT_EQ(VtableEntry(&CSetup::GetGrabModule), EntryOfSlot(41, 0));
    EXPECT_EQ(VtableEntry(&CSetup::IsActive), EntryOfSlot(105, 0));
    EXPECT_EQ(VtableEntry(&CSetup::ToggleGrabbing), EntryOfSlot(147, 0));
    EXPECT_EQ(VtableEntry(&CSetup::IsGrabbing), EntryOfSlot(148, 0));
    EXPECT_EQ(VtableEntry(&SetupWithOneMore::OneMore), EntryOfSlot(149, 0));

    static_assert(
        std::is_same_v<decltype(&CSetup::FindModule), CModule* (CSetup::*)(std::wstring)>);
    static_assert(std::is_same_v<decltype(&CSetup::GetName), const wchar_t* (CSetup::*)()>);
    static_assert(std::is_same_v<decltype(&CSetup::GetGrabModule), DGrabModule* (CSetup::*)()>);
    static_assert(std::is_same_v<decltype(&CSetup::GetSetupManager), CSetupManager* (CSetup::*)()>);
}

struct DialogHostWithOneMore : CDialogHost {
    virtual void OneMore() {}
};

TEST(DialogHostSlots, AddAndRemoveDialogAreSlotsElevenAndTwelve) {
    if (!kItaniumX86) GTEST_SKIP() << "vtable entries are read the Itanium x86 way";
    static_assert(std::has_virtual_destructor_v<CDialogHost>);
    static_assert(
        std::is_same_v<decltype(&CDialogHost::AddDialog), void (CDialogHost::*)(CDockedDlg*)>);
    EXPECT_EQ(VtableEntry(&CDialogHost::AddDialog), EntryOfSlot(11, 0));
    EXPECT_EQ(VtableEntry(&CDialogHost::RemoveDialog), EntryOfSlot(12, 0));
    EXPECT_EQ(VtableEntry(&DialogHostWithOneMore::OneMore), EntryOfSlot(13, 0));
}

struct SynchDataWithOneMore : CPlaybackSynchData {
    virtual void OneMore() {}
};

TEST(SynchDataSlots, DestructorIsTheOnlyVirtual) {
    if (!kItaniumX86) GTEST_SKIP() << "vtable entries are read the Itanium x86 way";
    static_assert(std::has_virtual_destructor_v<CPlaybackSynchData>);
    EXPECT_EQ(VtableEntry(&SynchDataWithOneMore::OneMore), EntryOfSlot(1, 0));
}

}  // namespace
