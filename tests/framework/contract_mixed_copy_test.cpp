// Objects made by another module's copy of the framework, used by ours, and ours used by theirs:
// events, their command trees, user variables and the setup manager cross by pointer, as they
// do between the host and its modules.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "CScriptCommand.h"
#include "CScriptEvent.h"
#include "OtherCopy.h"
#include "script_support.h"

// The second copy's classes live in namespace `other`, so that both copies compile into one test
// program; the undefined-behaviour checker's dynamic type check then sees other::CScriptEvent
// where our code expects CScriptEvent. Between real copies the class names are the same.
extern "C" const char* __ubsan_default_options() {
    return "suppressions=" AMBREL_SOURCE_DIR "/tests/framework/other-copy.supp";
}

namespace {

using other::AsOurs;
using other::AsTheirs;
using scripttest::TestModule;
using scripttest::TestSetup;

class LinkingModule : public TestModule {
public:
    using TestModule::TestModule;
    int32_t GetEventLinkCount() override { return static_cast<int32_t>(links.size()); }
    EventLink GetEventLink(int32_t index) override { return links.at(static_cast<size_t>(index)); }
    std::vector<EventLink> links;
};

class MixedCopyTest : public ::testing::Test {
protected:
    MixedCopyTest() : setup(L"Main", AsOurs<CSetupManager>(&theirManager)) {
        cam.AddCommand(L"Cmd0", 0);
        cam.AddCommand(L"Cmd1", 1);
        setup.modules.push_back(&cam);
    }

    // What the module ran on the last firing, each command with the values of its variables.
    std::vector<std::wstring> FireAndLog(const std::function<void()>& fire) {
        cam.ClearLog();
        fire();
        return cam.Log();
    }

    other::CSetupManager theirManager;
    TestSetup setup;
    TestModule cam{L"Cam", &setup};
};

using Log = std::vector<std::wstring>;

TEST_F(MixedCopyTest, OurLinkedLinesCompileAndFireInTheirEventUntilTheLinkIsTakenBack) {
    auto* theirs = new other::CScriptEvent(L"Ev", 3, &cam);
    theirs->AddLine(L"Cmd0");
    CScriptEvent* event = AsOurs<CScriptEvent>(theirs);
    cam.AddEvent(event);
    auto linker = std::make_unique<LinkingModule>(L"Linker", &setup);
    linker->links.push_back({L"*Cmd1", L"Cam", L"Ev"});
    setup.modules.push_back(linker.get());

    linker->Attach();
    EXPECT_EQ(FireAndLog([&] { theirs->Fire(1); }),
              (Log{L"begin 3 1", L"Cmd0()", L"Cmd1()", L"end 3 1"}));
    EXPECT_EQ(FireAndLog([&] { event->Fire(2); }),
              (Log{L"begin 3 2", L"Cmd0()", L"Cmd1()", L"end 3 2"}));

    linker.reset();
    setup.modules.pop_back();
    EXPECT_EQ(FireAndLog([&] { event->Fire(4); }), (Log{L"begin 3 4", L"Cmd0()", L"end 3 4"}));
    delete event;
}

TEST_F(MixedCopyTest, TreesTheirCopyRecompiledRunInOurFiring) {
    CScriptEvent event(L"Ev", L"", 5, &cam);
    event.AddLine(L"Cmd0");
    event.AddLine(L"*Cmd1,USERVAR:Gain");
    theirManager.m_userVariables.push_back(
        AsOurs<CScriptVariable>(new other::CVarUINT(L"Gain", 7)));

    ASSERT_TRUE(AsTheirs<other::CScriptEvent>(&event)->Compile());
    EXPECT_EQ(FireAndLog([&] { event.Fire(0); }),
              (Log{L"begin 5 0", L"Cmd0()", L"Cmd1(Gain)", L"end 5 0"}));
    const std::vector<CCommandParam> params = cam.LastParams();
    ASSERT_EQ(params.size(), 1u);
    EXPECT_EQ(params[0].Resolve(params)->GetValueText(), L"7");

    std::wstring error;
    ASSERT_TRUE(event.Compile(error));
    EXPECT_EQ(FireAndLog([&] { AsTheirs<other::CScriptEvent>(&event)->Fire(0); }),
              (Log{L"begin 5 0", L"Cmd0()", L"Cmd1(Gain)", L"end 5 0"}));
}

TEST_F(MixedCopyTest, CommandsAddedWithAddChildRunWhereverTheTreeCameFrom) {
    CScriptEvent event(L"Ev", L"", 0, &cam);
    event.AddLine(L"Cmd0");
    CScriptCommand* root = event.GetRootCommands().front();
    root->AddChild(cam.FindCommand(L"Cmd1")->CreateCommand(), 0);
    root->AddChild(cam.FindCommand(L"Cmd0")->CreateCommand(), 1);
    EXPECT_EQ(FireAndLog([&] { event.Fire(0); }),
              (Log{L"begin 0 0", L"Cmd0()", L"Cmd1()", L"Cmd0()", L"end 0 0"}));

    ASSERT_TRUE(AsTheirs<other::CScriptEvent>(&event)->Compile());
    AsTheirs<other::CScriptEvent>(&event)->m_rootCommands.front()->AddChild(
        new other::CScriptCommand(AsTheirs<other::CScriptCommandInfo>(cam.FindCommand(L"Cmd1"))),
        0);
    EXPECT_EQ(FireAndLog([&] { event.Fire(0); }),
              (Log{L"begin 0 0", L"Cmd0()", L"Cmd1()", L"end 0 0"}));
}

}  // namespace
