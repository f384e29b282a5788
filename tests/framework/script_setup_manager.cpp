// Tests of the setup manager: finding setups and user variables, the active setup, the
// notifications, and storing user variables in the registry tree.
#include <gtest/gtest.h>
#include <platform/DebugOutput.h>
#include <platform/Registry.h>

#include <string>
#include <vector>

#include "CSetupManager.h"
#include "script_support.h"

using scripttest::StoreTest;
using scripttest::TestSetup;

namespace {

const wchar_t* const kVariables = L"Software\\Talverd\\Keltaro5\\Variables";

CScriptVariable* AddUint(CSetupManager& manager, const std::wstring& name, uint32_t value,
                         const std::wstring& description = L"") {
    auto* variable = new CVarUINT(value);
    variable->SetNameAndDescription(name, description);
    manager.m_userVariables.push_back(variable);
    return variable;
}

CScriptVariable* AddBool(CSetupManager& manager, const std::wstring& name, bool value,
                         const std::wstring& description = L"") {
    auto* variable = new CVarBool(value);
    variable->SetNameAndDescription(name, description);
    manager.m_userVariables.push_back(variable);
    return variable;
}

struct Loaded {
    std::wstring name, type, description, value;
    bool operator==(const Loaded&) const = default;
};

std::vector<Loaded> Describe(const CSetupManager& manager) {
    std::vector<Loaded> out;
    for (CScriptVariable* v : manager.m_userVariables) {
        out.push_back({v->GetName(), v->GetType(), v->GetDescription(), v->GetValueText()});
    }
    return out;
}

}  // namespace

TEST(SetupManager, FindsSetupsAndVariablesByExactName) {
    CSetupManager manager;
    TestSetup first(L"Main", &manager), second(L"Main", &manager), other(L"Side", &manager);
    manager.m_setups = {&first, &second, &other};
    EXPECT_EQ(manager.FindSetup(L"Main"), &first);
    EXPECT_EQ(manager.FindSetup(L"Side"), &other);
    EXPECT_EQ(manager.FindSetup(L"main"), nullptr);

    CScriptVariable* gain = AddUint(manager, L"Gain", 1);
    AddUint(manager, L"Gain", 2);
    EXPECT_EQ(manager.FindUserVariable(L"Gain"), gain);
    EXPECT_EQ(manager.FindUserVariable(L"GAIN"), nullptr);
}

TEST(SetupManager, ActiveSetupIsTheFirstActiveOneAsLastUpdated) {
    CSetupManager manager;
    TestSetup a(L"A", &manager), b(L"B", &manager), c(L"C", &manager);
    manager.m_setups = {&a, &b, &c};
    EXPECT_EQ(manager.GetActiveSetup(), nullptr);
    b.active = c.active = true;
    manager.UpdateActiveSetup();
    EXPECT_EQ(manager.GetActiveSetup(), &b);
    b.active = false;
    EXPECT_EQ(manager.GetActiveSetup(), &b);  // not searched again
    manager.UpdateActiveSetup();
    EXPECT_EQ(manager.GetActiveSetup(), &c);
    c.active = false;
    manager.UpdateActiveSetup();
    EXPECT_EQ(manager.GetActiveSetup(), nullptr);
}

TEST(SetupManager, NotificationsReachEverySetupInOrder) {
    CSetupManager manager;
    TestSetup a(L"A", &manager), b(L"B", &manager);
    manager.m_setups = {&a, &b};
    manager.NotifyAllSetupsA();
    manager.NotifyAllSetupsC();
    manager.NotifyAllSetupsB();
    EXPECT_EQ(a.notes, (std::vector<std::wstring>{L"A:A", L"A:C", L"A:B"}));
    EXPECT_EQ(b.notes, (std::vector<std::wstring>{L"B:A", L"B:C", L"B:B"}));
}

using UserVariableStore = StoreTest;

TEST_F(UserVariableStore, SaveAndLoadRoundTrip) {
    {
        CSetupManager manager;
        AddUint(manager, L"Counter", 42, L"Frames seen");
        AddBool(manager, L"Armed", false);
        AddBool(manager, L"Ready", true, L"go");
        AddUint(manager, L"Max", 4294967295u);
        manager.SaveVariables();
    }
    // Stored forms: the boolean is the number 1, never "TRUE".
    plat::reg::KeyGuard key;
    ASSERT_EQ(plat::reg::OpenKey(std::wstring(kVariables) + L"\\Ready", key.out()),
              plat::reg::kSuccess);
    uint32_t number = 0;
    EXPECT_EQ(plat::reg::GetDwordValue(key.get(), L"Value", &number), plat::reg::kSuccess);
    EXPECT_EQ(number, 1u);
    std::wstring text;
    EXPECT_EQ(plat::reg::GetStringValue(key.get(), L"Type", &text), plat::reg::kSuccess);
    EXPECT_EQ(text, L"CVarBool");

    CSetupManager loaded;
    AddUint(loaded, L"Stale", 1);  // replaced by loading
    loaded.LoadVariables();
    // Enumeration order of the store: names without regard to case.
    EXPECT_EQ(Describe(loaded),
              (std::vector<Loaded>{{L"Armed", L"CVarBool", L"", L"FALSE"},
                                   {L"Counter", L"CVarUINT", L"Frames seen", L"42"},
                                   {L"Max", L"CVarUINT", L"", L"4294967295"},
                                   {L"Ready", L"CVarBool", L"go", L"TRUE"}}));
}

TEST_F(UserVariableStore, LoadRulesForStoredSections) {
    auto section = [](const std::wstring& name) { return L"Variables\\" + name; };
    App().WriteProfileString(section(L"Bool0").c_str(), L"Type", L"CVarBool");
    App().WriteProfileInt(section(L"Bool0").c_str(), L"Value", 0);
    App().WriteProfileString(section(L"Bool2").c_str(), L"Type", L"CVarBool");
    App().WriteProfileInt(section(L"Bool2").c_str(), L"Value", 2);
    App().WriteProfileString(section(L"Bool7").c_str(), L"Type", L"CVarBool");
    App().WriteProfileInt(section(L"Bool7").c_str(), L"Value", 7);
    App().WriteProfileString(section(L"BoolNone").c_str(), L"Type", L"CVarBool");
    App().WriteProfileString(section(L"Cased").c_str(), L"Type", L"cvarbool");
    App().WriteProfileInt(section(L"Cased").c_str(), L"Value", 1);
    App().WriteProfileString(section(L"NoType").c_str(), L"Description", L"d");
    App().WriteProfileString(section(L"UintNone").c_str(), L"Type", L"CVarUINT");
    App().WriteProfileString(section(L"UintNone").c_str(), L"Description", L"no value");
    App().WriteProfileString(section(L"Other").c_str(), L"Type", L"CVarFloat");

    CSetupManager manager;
    manager.LoadVariables();
    EXPECT_EQ(Describe(manager),
              (std::vector<Loaded>{{L"Bool0", L"CVarBool", L"", L"FALSE"},
                                   {L"UintNone", L"CVarUINT", L"no value", L"0"}}));
}

TEST_F(UserVariableStore, LoadingWithoutStoredVariablesCreatesTheKey) {
    CSetupManager manager;
    AddUint(manager, L"Old", 3);
    manager.LoadVariables();
    EXPECT_TRUE(manager.m_userVariables.empty());
    EXPECT_TRUE(KeyExists(kVariables));
}

TEST_F(UserVariableStore, SavingReplacesTheWholeSubtree) {
    App().WriteProfileString(L"Variables\\Gone", L"Type", L"CVarUINT");
    App().WriteProfileString(L"Variables\\Gone\\Deeper", L"Type", L"CVarUINT");
    App().WriteProfileString(L"Setups\\Main\\Cam", L"Port", L"COM1");
    {
        CSetupManager manager;
        manager.SaveVariables();  // an empty list leaves no Variables key at all
    }
    EXPECT_FALSE(KeyExists(kVariables));
    EXPECT_EQ(App().GetProfileString(L"Setups\\Main\\Cam", L"Port", L""), L"COM1");

    CSetupManager manager;
    AddUint(manager, L"Dup", 1, L"first");
    AddUint(manager, L"Dup", 2, L"second");  // the later one wins
    manager.SaveVariables();
    EXPECT_EQ(App().GetProfileInt(L"Variables\\Dup", L"Value", 0), 2);
    EXPECT_EQ(App().GetProfileString(L"Variables\\Dup", L"Description", L""), L"second");
}

TEST_F(UserVariableStore, NamesThatWouldNestAreRefusedAndNothingElseIsLost) {
    plat::DebugCapture capture;
    App().WriteProfileString(L"Setups\\Main\\Cam", L"Port", L"COM2");
    CSetupManager manager;
    AddUint(manager, L"Good", 5);
    AddUint(manager, L"Bad\\Name", 6);
    AddUint(manager, L"", 7);
    AddUint(manager, L"Good2", 8);
    manager.SaveVariables();

    EXPECT_TRUE(capture.Contains(L"User variable not saved, unusable name : 'Bad\\Name'"));
    EXPECT_TRUE(capture.Contains(L"User variable not saved, unusable name : ''"));
    EXPECT_FALSE(KeyExists(std::wstring(kVariables) + L"\\Bad"));
    EXPECT_EQ(App().GetProfileString(L"Variables", L"Type", L"none"), L"none");
    EXPECT_EQ(App().GetProfileString(L"Setups\\Main\\Cam", L"Port", L""), L"COM2");

    CSetupManager loaded;
    loaded.LoadVariables();
    EXPECT_EQ(Describe(loaded), (std::vector<Loaded>{{L"Good", L"CVarUINT", L"", L"5"},
                                                     {L"Good2", L"CVarUINT", L"", L"8"}}));
}

// Enumeration stand-ins: a name too long for the buffer at index 1, then three good names.
namespace {
plat::reg::Status EnumWithLongName(plat::reg::HKey, uint32_t index, wchar_t* name,
                                   uint32_t* chars) {
    if (index == 1) return plat::reg::kMoreData;
    if (index > 3) return plat::reg::kNoMoreItems;
    const std::wstring value = L"Var" + std::to_wstring(index);
    if (*chars <= value.size()) return plat::reg::kMoreData;
    value.copy(name, value.size());
    name[value.size()] = L'\0';
    *chars = static_cast<uint32_t>(value.size());
    return plat::reg::kSuccess;
}
plat::reg::Status EnumKeyDeleted(plat::reg::HKey, uint32_t index, wchar_t* name, uint32_t* chars) {
    if (index == 0) {
        name[0] = L'A';
        name[1] = L'\0';
        *chars = 1;
        return plat::reg::kSuccess;
    }
    return plat::reg::kKeyDeleted;  // for every later index
}
}  // namespace

TEST(SetupManagerEnumeration, UnreadableNamesAreSkippedAndTheEnumerationEnds) {
    EXPECT_EQ(CSetupManager::EnumerateSubkeyNames(nullptr, &EnumWithLongName),
              (std::vector<std::wstring>{L"Var0", L"Var2", L"Var3"}));
    EXPECT_EQ(CSetupManager::EnumerateSubkeyNames(nullptr, &EnumKeyDeleted),
              (std::vector<std::wstring>{L"A"}));
}
