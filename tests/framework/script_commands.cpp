// Tests of command descriptions, actual parameters and command trees.
#include <gtest/gtest.h>
#include <platform/DebugOutput.h>

#include <memory>
#include <vector>

#include "CCommandParam.h"
#include "CScriptCommand.h"
#include "CScriptCommandInfo.h"
#include "CVarUINT.h"
#include "script_support.h"

using scripttest::TestModule;

TEST(CommandParam, KindsAndTexts) {
    CVarUINT level(3);
    level.SetNameAndDescription(L"Level", L"");
    const CCommandParam variable(&level);
    const CCommandParam text(std::wstring(L"literal"));
    const CCommandParam index(2);
    const CCommandParam empty;

    EXPECT_EQ(variable.GetText(), L"Level");  // the name, not the value
    EXPECT_EQ(text.GetText(), L"literal");
    EXPECT_EQ(index.GetText(), L"");
    EXPECT_TRUE(index.IsIndex());
    EXPECT_EQ(index.GetIndex(), 2);
    EXPECT_FALSE(text.IsIndex());
    EXPECT_EQ(empty.GetText(), L"");
    EXPECT_EQ(text.Resolve({}), nullptr);
    EXPECT_EQ(variable.Resolve({}), &level);

    const CCommandParam copy(variable);
    EXPECT_EQ(copy.Resolve({}), &level);  // shared, not copied
}

TEST(CommandParam, IndexResolvesThroughTheList) {
    CVarUINT a, b;
    const CCommandParam byTwo(2);
    EXPECT_EQ(byTwo.Resolve({CCommandParam(&a), CCommandParam(&b)}), nullptr);
    EXPECT_EQ(byTwo.Resolve({CCommandParam(&a), CCommandParam(), CCommandParam(&b)}), &b);
    // Entry 2 is itself an index: follow it within the same list.
    EXPECT_EQ(byTwo.Resolve({CCommandParam(&a), CCommandParam(&b), CCommandParam(0)}), &a);
    EXPECT_EQ(CCommandParam(-1).Resolve({CCommandParam(&a)}), nullptr);
    EXPECT_EQ(CCommandParam(1).Resolve({CCommandParam(&a), CCommandParam(std::wstring(L"t"))}),
              nullptr);
}

TEST(CommandParam, IndexCyclesEndWithNone) {
    CVarUINT a;
    EXPECT_EQ(CCommandParam(0).Resolve({CCommandParam(0)}), nullptr);
    EXPECT_EQ(CCommandParam(0).Resolve({CCommandParam(1), CCommandParam(2), CCommandParam(0)}),
              nullptr);
    // A chain as long as the list that does end still resolves.
    EXPECT_EQ(CCommandParam(0).Resolve({CCommandParam(1), CCommandParam(2), CCommandParam(&a)}),
              &a);
}

TEST(CommandInfo, ParameterDescriptions) {
    CScriptCommandInfo info;
    EXPECT_EQ(info.GetId(), -1);
    EXPECT_EQ(info.GetParamType(0), L"Param index is out of bounds.");
    info.AddParam(L"CVarUINT", L"Gain", L"the gain");
    EXPECT_EQ(info.GetParamCount(), 1);
    EXPECT_EQ(info.GetParamType(0), L"CVarUINT");
    EXPECT_EQ(info.GetParamDescription(0), L"the gain");
    EXPECT_EQ(info.GetParamType(static_cast<uint32_t>(-1)), L"Param index is out of bounds.");
    EXPECT_EQ(info.GetParamDescription(1), L"Param index is out of bounds.");
}

TEST(CommandInfo, CreateCommandNeedsModuleAndId) {
    plat::DebugCapture capture;
    TestModule module(L"Cam");
    CScriptCommandInfo info;
    const wchar_t* message = L"Keltaro 4 - Could not create the command : Module is NULL or ID < 0";

    info.SetId(0);
    EXPECT_EQ(info.CreateCommand(), nullptr);  // no module
    info.SetModule(&module);
    info.SetId(-1);
    EXPECT_EQ(info.CreateCommand(), nullptr);
    EXPECT_EQ(capture.Count(message), 2u);

    info.SetId(0);
    std::unique_ptr<CScriptCommand> command(info.CreateCommand());
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->GetInfo(), &info);
    EXPECT_TRUE(command->GetChildren().empty());
    EXPECT_TRUE(command->GetParams().empty());
    EXPECT_EQ(capture.Count(message), 2u);
}

class CommandTreeTest : public ::testing::Test {
protected:
    CommandTreeTest() : module(L"Cam") {
        for (int32_t id = 0; id < 6; ++id)
            module.AddCommand(std::wstring(1, static_cast<wchar_t>(L'A' + id)), id);
    }
    CScriptCommand* Make(int32_t id) { return module.GetCommand(id)->CreateCommand(); }

    TestModule module;
};

TEST_F(CommandTreeTest, AddChildFollowsLastChildren) {
    std::unique_ptr<CScriptCommand> root(Make(0));
    CScriptCommand* b = Make(1);
    root->AddChild(b, 0);
    root->AddChild(Make(2), 3);  // deeper than the tree: lands under the last child
    ASSERT_EQ(root->GetChildren().size(), 1u);
    ASSERT_EQ(b->GetChildren().size(), 1u);
    std::unique_ptr<CScriptCommand> leaf(Make(3));
    leaf->AddChild(Make(4), 3);  // no children at all: its own
    EXPECT_EQ(leaf->GetChildren().size(), 1u);
}

TEST_F(CommandTreeTest, ChildrenRunOnlyWhenTheParentRan) {
    std::unique_ptr<CScriptCommand> root(Make(0));
    root->AddChild(Make(1), 0);
    root->AddChild(Make(2), 1);  // under B
    root->AddChild(Make(3), 0);

    EXPECT_TRUE(root->Execute(7));
    EXPECT_EQ(module.Log(), (std::vector<std::wstring>{L"A()", L"B()", L"C()", L"D()"}));

    module.ClearLog();
    module.SetResult(1, false);  // B fails: its child is skipped, its sibling still runs
    EXPECT_TRUE(root->Execute(7));
    EXPECT_EQ(module.Log(), (std::vector<std::wstring>{L"A()", L"B()", L"D()"}));

    module.ClearLog();
    module.SetResult(0, false);
    EXPECT_FALSE(root->Execute(7));
    EXPECT_EQ(module.Log(), (std::vector<std::wstring>{L"A()"}));
}

TEST_F(CommandTreeTest, CommandWithoutModuleDoesNotRun) {
    CScriptCommand bare;
    EXPECT_FALSE(bare.Execute(0));
    std::unique_ptr<CScriptCommand> command(Make(0));
    module.GetCommand(0)->SetModule(nullptr);
    EXPECT_FALSE(command->Execute(0));
    EXPECT_TRUE(module.Log().empty());
}

TEST_F(CommandTreeTest, DeepChainRunsAndIsDeletedWithoutRecursion) {
    std::unique_ptr<CScriptCommand> root(Make(0));
    CScriptCommand* tail = root.get();
    for (int i = 0; i < 200000; ++i) {
        CScriptCommand* next = Make(1);
        tail->AddChild(next, 0);
        tail = next;
    }
    EXPECT_TRUE(root->Execute(0));  // must not overflow the stack, nor must deleting
    EXPECT_EQ(module.Log().size(), 200001u);
    root.reset();
}
