// The module's script lists (indexed access, lookups, load/save/compile/reset over its events)
// and the event links it places into other modules' events.
#include <gtest/gtest.h>

#include <list>
#include <memory>
#include <string>

#include "CModule.h"
#include "CScriptCommandInfo.h"
#include "CScriptEvent.h"
#include "CVarUINT.h"
#include "FrameworkHosts.h"
#include "platform/Application.h"
#include "platform/DebugOutput.h"
#include "platform/Registry.h"

namespace {

using Lines = std::list<std::wstring>;

// Two modules in one setup; Target offers the event "Started" and the command "Go".
class EventLinks : public ::testing::Test {
protected:
    EventLinks() {
        go.SetName(L"Go");
        go.SetId(1);
        go.SetModule(&target);
        target.AddCommand(&go);
        target.AddEvent(&started);
        setup.AddModule(&source);
        setup.AddModule(&target);
        source.SetHosts(&setup, nullptr);
        target.SetHosts(&setup, nullptr);
    }

    plat::DebugCapture quiet;  // keeps compile errors of unresolved lines out of the log
    TestSetup setup;
    TestModule target{L"Target"};
    CScriptCommandInfo go;
    CScriptEvent started{L"Started", L"", 7, &target};
    TestModule source{L"Source"};
};

TEST_F(EventLinks, AttachAppendsTheLineAndRemembersTheLink) {
    const EventLink link(L"Target:Go", L"Target", L"Started");
    source.links = {link};
    source.Attach();
    EXPECT_EQ(started.GetLines(), Lines{L"Target:Go"});
    EXPECT_EQ(started.GetRootCommands().size(), 1u);
    EXPECT_EQ(source.ConnectedLinks(), std::list<EventLink>{link});
}

TEST_F(EventLinks, DisconnectRemovesTheLineAndForgetsTheLink) {
    source.links = {EventLink(L"Target:Go", L"Target", L"Started")};
    source.Attach();
    source.DisconnectEventLinks();
    EXPECT_TRUE(started.GetLines().empty());
    EXPECT_TRUE(started.GetRootCommands().empty());
    EXPECT_TRUE(source.ConnectedLinks().empty());
}

TEST_F(EventLinks, LinkToMissingModuleOrEventIsNeitherAppliedNorRemembered) {
    auto linker = std::make_unique<TestModule>(L"Linker");
    linker->SetHosts(&setup, nullptr);
    linker->links = {EventLink(L"Target:Go", L"Nobody", L"Started"),
                     EventLink(L"Target:Go", L"Target", L"Nothing"),
                     EventLink(L"Target:Go", L"target", L"Started"),
                     EventLink(L"Target:Go", L"Target", L"started")};
    linker->Attach();
    EXPECT_TRUE(started.GetLines().empty());
    EXPECT_TRUE(linker->ConnectedLinks().empty());

    setup.findModuleCalls = 0;
    linker.reset();
    EXPECT_EQ(setup.findModuleCalls, 0);
}

TEST_F(EventLinks, DestructionTakesBackOnlyTheAppliedLinks) {
    auto linker = std::make_unique<TestModule>(L"Linker");
    linker->SetHosts(&setup, nullptr);
    linker->links = {EventLink(L"Target:Go", L"Target", L"Started"),
                     EventLink(L"Target:Go", L"Nobody", L"Started")};
    linker->Attach();
    EXPECT_EQ(started.GetLines(), Lines{L"Target:Go"});

    setup.findModuleCalls = 0;
    linker.reset();
    EXPECT_EQ(setup.findModuleCalls, 1);
    EXPECT_TRUE(started.GetLines().empty());
}

TEST_F(EventLinks, DisconnectDropsALinkWhoseModuleHasLeftTheSetup) {
    source.links = {EventLink(L"Target:Go", L"Target", L"Started")};
    source.Attach();
    setup.RemoveModule(&target);
    source.DisconnectEventLinks();
    EXPECT_TRUE(source.ConnectedLinks().empty());
    EXPECT_EQ(started.GetLines(), Lines{L"Target:Go"});
}

TEST_F(EventLinks, WithoutASetupNothingConnects) {
    source.SetHosts(nullptr, nullptr);
    source.links = {EventLink(L"Target:Go", L"Target", L"Started")};
    source.Attach();
    EXPECT_TRUE(source.ConnectedLinks().empty());
    EXPECT_TRUE(started.GetLines().empty());
}

// A module owning its event: the event is freed before the base destructor runs.
class SelfLinkingModule : public TestModule {
public:
    SelfLinkingModule()
        : TestModule(L"Self"), m_own(std::make_unique<CScriptEvent>(L"Own", L"", 1, this)) {
        AddEvent(m_own.get());
        links = {EventLink(L"Self:Nothing", L"Self", L"Own")};
    }
    const CScriptEvent& Own() const { return *m_own; }

private:
    std::unique_ptr<CScriptEvent> m_own;
};

TEST_F(EventLinks, DestructionLeavesLinksIntoItsOwnDestroyedEventsAlone) {
    auto self = std::make_unique<SelfLinkingModule>();
    setup.AddModule(self.get());
    self->SetHosts(&setup, nullptr);
    self->Attach();
    EXPECT_EQ(self->Own().GetLines(), Lines{L"Self:Nothing"});
    CModule* gone = self.get();
    self.reset();  // must not read the destroyed event (AddressSanitizer would report it)
    setup.RemoveModule(gone);
}

TEST_F(EventLinks, AttachCompilesTheModulesOwnEvents) {
    CScriptEvent own(L"Own", L"", 1, &source);
    own.AddLine(L"Target:Later");  // no such command yet: the line does not compile
    source.AddEvent(&own);
    EXPECT_TRUE(own.GetRootCommands().empty());

    CScriptCommandInfo later;
    later.SetName(L"Later");
    later.SetId(2);
    later.SetModule(&target);
    target.AddCommand(&later);
    source.Attach();
    EXPECT_EQ(own.GetRootCommands().size(), 1u);
}

class ScriptLists : public ::testing::Test {
protected:
    ScriptLists() {
        gain.SetNameAndDescription(L"Gain", L"");
        command.SetName(L"Go");
        command.SetId(4);
        command.SetModule(&module);
        module.AddCommand(&command);
        module.AddVariable(&gain);
        module.AddEvent(&upper);
        module.AddEvent(&second);
        module.SetHosts(&setup, nullptr);
    }

    plat::DebugCapture quiet;
    TestSetup setup{L"Day 1"};
    TestModule module{L"Cam"};
    CScriptCommandInfo command;
    CVarUINT gain{3};
    CScriptEvent upper{L"ABC", L"", 10, &module};
    CScriptEvent second{L"Second", L"", 20, &module};
};

TEST_F(ScriptLists, IndexOutsideAListYieldsNull) {
    EXPECT_EQ(module.GetEventCount(), 2);
    EXPECT_EQ(module.GetEvent(0), &upper);
    EXPECT_EQ(module.GetEvent(1), &second);
    EXPECT_EQ(module.GetEvent(-1), nullptr);
    EXPECT_EQ(module.GetEvent(module.GetEventCount()), nullptr);
    EXPECT_EQ(module.GetCommandCount(), 1);
    EXPECT_EQ(module.GetCommand(1), nullptr);
    EXPECT_EQ(module.GetCommand(-1), nullptr);
    EXPECT_EQ(module.GetVariableCount(), 1);
    EXPECT_EQ(module.GetVariable(0), &gain);
    EXPECT_EQ(module.GetVariable(1), nullptr);
}

TEST_F(ScriptLists, LookupsMatchNamesExactlyAndIdsByValue) {
    EXPECT_EQ(module.FindEvent(L"ABC"), &upper);
    EXPECT_EQ(module.FindEvent(L"abc"), nullptr);
    EXPECT_EQ(module.FindEventById(20), &second);
    EXPECT_EQ(module.FindEventById(30), nullptr);
    EXPECT_EQ(module.FindCommand(L"Go"), &command);
    EXPECT_EQ(module.FindCommand(L"go"), nullptr);
    EXPECT_EQ(module.FindVariable(L"Gain"), &gain);
    EXPECT_EQ(module.FindVariable(L"Gain "), nullptr);
    EXPECT_EQ(module.FindVariable(nullptr), nullptr);
}

TEST_F(ScriptLists, AddEventMakesTheCurrentLinesTheDefaultThatResetRestores) {
    CScriptEvent event(L"Third", L"", 30, &module);
    event.AddLine(L"Go");
    module.AddEvent(&event);
    event.AddLine(L"Go,Gain");
    EXPECT_FALSE(event.IsDefault());
    module.ResetScripts();
    EXPECT_EQ(event.GetLines(), Lines{L"Go"});
    EXPECT_EQ(event.GetRootCommands().size(), 1u);
}

TEST_F(ScriptLists, NullEventIsNotAdded) {
    module.AddEvent(nullptr);
    EXPECT_EQ(module.GetEventCount(), 2);
    module.CompileScripts();
    module.ResetScripts();
}

TEST_F(ScriptLists, SavedScriptsLoadBackAndCompile) {
    plat::reg::UseMemoryStore();
    plat::CWinApp app;
    plat::AfxSetApp(&app);

    second.AddLine(L"Go");
    second.AddLine(L"Go,Gain");
    module.SaveScripts();
    module.ResetScripts();
    EXPECT_TRUE(second.GetLines().empty());

    module.LoadScripts();
    EXPECT_EQ(second.GetLines(), (Lines{L"Go", L"Go,Gain"}));
    EXPECT_EQ(second.GetRootCommands().size(), 2u);
    EXPECT_TRUE(upper.GetLines().empty());  // nothing stored: the default stays
    plat::AfxSetApp(nullptr);
}

}  // namespace
