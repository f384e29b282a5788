// Tests of script events: line syntax, building command trees, firing, and storing scripts.
#include <gtest/gtest.h>
#include <platform/DebugOutput.h>
#include <platform/Registry.h>

#include <climits>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "CScriptCommand.h"
#include "CScriptEvent.h"
#include "script_support.h"

using scripttest::StoreTest;
using scripttest::TestModule;
using scripttest::TestSetup;
using Lines = std::vector<std::wstring>;

TEST(ScriptLineSyntax, SplitsTokensAtEveryComma) {
    EXPECT_EQ(CScriptEvent::SplitLine(L"X"), (Lines{L"X"}));
    EXPECT_EQ(CScriptEvent::SplitLine(L""), Lines{});
    EXPECT_EQ(CScriptEvent::SplitLine(L"X,a,"), (Lines{L"X", L"a"}));
    EXPECT_EQ(CScriptEvent::SplitLine(L"X,,a"), (Lines{L"X", L"", L"a"}));
    EXPECT_EQ(CScriptEvent::SplitLine(L"X,a,,"), (Lines{L"X", L"a", L""}));
    EXPECT_EQ(CScriptEvent::SplitLine(L" X , a"), (Lines{L" X ", L" a"}));  // nothing trimmed
}

TEST(ScriptLineSyntax, SplitsReferencesFromTheRight) {
    auto check = [](const wchar_t* token, uint32_t depth, const wchar_t* setup,
                    const wchar_t* module, const wchar_t* name) {
        const CScriptEvent::Reference r = CScriptEvent::SplitReference(token);
        EXPECT_EQ(r.depth, depth) << token;
        EXPECT_EQ(r.setup, setup) << token;
        EXPECT_EQ(r.module, module) << token;
        EXPECT_EQ(r.name, name) << token;
    };
    check(L"X", 0, L"", L"", L"X");
    check(L"Cam:Gain", 0, L"", L"Cam", L"Gain");
    check(L"A:B:C:D", 0, L"A:B", L"C", L"D");
    check(L"**S:M:N", 2, L"S", L"M", L"N");
    check(L":X", 0, L"", L"", L"X");
    check(L"S::X", 0, L"S", L"", L"X");
    check(L"*", 1, L"", L"", L"");
    check(L"a*b", 0, L"", L"", L"a*b");
    check(L"Cam:", 0, L"", L"Cam", L"");
}

// A host with setups "Main" (module Cam, whose event Ev is tested) and "A:B" (module C).
class ScriptEventTest : public ::testing::Test {
protected:
    ScriptEventTest()
        : main(L"Main", &manager),
          other(L"A:B", &manager),
          cam(L"Cam", &main),
          c(L"C", &other),
          event(L"Ev", L"the event", 3, &cam) {
        manager.m_setups = {&main, &other};
        main.modules = {&cam};
        other.modules = {&c};
        for (const wchar_t* name : {L"X", L"Y", L"Z", L"W", L"SetGain", L"Again"})
            cam.AddCommand(name, nextId++);
        cam.AddCommand(L"Broken", -1);  // creates no command
        level = cam.AddVariable(L"Level", 1);
        moduleGain = cam.AddVariable(L"Gain", 2);
        c.AddCommand(L"D", 0);
        c.AddVariable(L"Far", 9);
        userGain = new CVarUINT(5);
        userGain->SetNameAndDescription(L"Gain", L"");
        manager.m_userVariables.push_back(userGain);
    }

    bool CompileLines(const Lines& lines, std::wstring* error = nullptr) {
        for (const std::wstring& line : lines) event.AddLine(line);
        std::wstring text;
        const bool ok = event.Compile(text);
        if (error) *error = text;
        return ok;
    }
    Lines Fired(uint32_t argument = 7) {
        cam.ClearLog();
        EXPECT_TRUE(event.Fire(argument));
        Lines log = cam.Log();
        // The begin and end entries are checked where they matter.
        if (!log.empty() && log.front().rfind(L"begin", 0) == 0) log.erase(log.begin());
        if (!log.empty() && log.back().rfind(L"end", 0) == 0) log.pop_back();
        return log;
    }

    int32_t nextId = 0;
    CSetupManager manager;
    TestSetup main, other;
    TestModule cam, c;
    CScriptEvent event;
    CVarUINT* level = nullptr;
    CVarUINT* moduleGain = nullptr;
    CVarUINT* userGain = nullptr;
};

TEST_F(ScriptEventTest, OneTokenBuildsOneCommandWithoutParameters) {
    EXPECT_TRUE(CompileLines({L"X"}));
    ASSERT_EQ(event.GetRootCommands().size(), 1u);
    EXPECT_TRUE(event.GetRootCommands().front()->GetParams().empty());
    EXPECT_EQ(Fired(), (Lines{L"X()"}));
}

TEST_F(ScriptEventTest, ParametersResolveToEventParametersFirstThenVariables) {
    event.AddParamInfo(CParamInfo(L"CVarUINT", L"Level", L"the level"));
    EXPECT_TRUE(CompileLines({L"*Cam:SetGain,Level,USERVAR:Gain,Gain,**Cam:Level,Main::Gain"}));
    EXPECT_EQ(Fired(), (Lines{L"SetGain(#0,Gain,Gain,Level,Gain)"}));
    const std::vector<CCommandParam> params = cam.LastParams();
    ASSERT_EQ(params.size(), 5u);
    EXPECT_TRUE(params[0].IsIndex());
    EXPECT_EQ(params[0].GetIndex(), 0);
    EXPECT_EQ(params[1].Resolve(params), userGain);
    EXPECT_EQ(params[2].Resolve(params), moduleGain);
    EXPECT_EQ(params[3].Resolve(params), level);  // leading "*" of a variable are ignored
    EXPECT_EQ(params[4].Resolve(params), moduleGain);
}

TEST_F(ScriptEventTest, WithoutEventParameterANameIsAModuleVariable) {
    EXPECT_TRUE(CompileLines({L"SetGain,Level"}));
    Fired();
    ASSERT_EQ(cam.LastParams().size(), 1u);
    EXPECT_EQ(cam.LastParams()[0].Resolve({}), level);
}

TEST_F(ScriptEventTest, ReferencesReachOtherSetupsAndModules) {
    EXPECT_TRUE(CompileLines({L"A:B:C:D,A:B:C:Far", L"A:B::X"}));
    EXPECT_EQ(Fired(), (Lines{L"X()"}));
    EXPECT_EQ(c.Log(), (Lines{L"D(Far)"}));

    CScriptEvent second(L"Ev2", L"", 4, &cam);
    second.AddLine(L"X,Nowhere:USERVAR:Gain");  // whatever the setup part says
    std::wstring error;
    EXPECT_TRUE(second.Compile(error));
    EXPECT_EQ(second.GetRootCommands().front()->GetParams().front().Resolve({}), userGain);
}

TEST_F(ScriptEventTest, UnresolvedPartsFailTheLine) {
    for (const wchar_t* line : {L"Nope", L"Nowhere::X", L"Cam2:X", L"X,Missing",
                                L"X,Level,USERVAR:Missing", L"Broken", L",X", L"A:B:C:X"}) {
        CScriptEvent probe(L"P", L"", 9, &cam);
        probe.AddLine(line);
        std::wstring error;
        EXPECT_FALSE(probe.Compile(error)) << line;
        EXPECT_EQ(error, line);
        EXPECT_TRUE(probe.GetRootCommands().empty()) << line;
    }
}

TEST_F(ScriptEventTest, EmptyLinesBuildNothing) {
    EXPECT_TRUE(CompileLines({L"", L"X", L""}));
    EXPECT_EQ(event.GetRootCommands().size(), 1u);
    EXPECT_EQ(Fired(), (Lines{L"X()"}));
}

TEST_F(ScriptEventTest, ErrorIsReportedOncePerCompileWithTheFirstFailingLine) {
    plat::DebugCapture capture;
    std::wstring error;
    EXPECT_FALSE(CompileLines({L"X", L"Bad1", L"Y", L"Broken,Level"}, &error));
    EXPECT_EQ(error, L"Bad1");
    // AddLine compiles too: each Compile reports only its first failing line.
    EXPECT_EQ(capture.Count(L"Error on line : 'Bad1'"), 4u);  // three AddLine compiles, one Compile
    EXPECT_EQ(capture.Count(L"Error on line : 'Broken,Level'"), 0u);
    EXPECT_EQ(Fired(), (Lines{L"X()", L"Y()"}));
}

TEST_F(ScriptEventTest, UncreatableCommandCountsAsFailingInLineOrder) {
    // Lines are resolved before commands are created, yet the report follows the line order.
    std::wstring error;
    EXPECT_FALSE(CompileLines({L"X", L"Broken,Level", L"Bad1", L"*Y"}, &error));
    EXPECT_EQ(error, L"Broken,Level");
    // Y nests under X: the failed lines in between leave no command behind.
    ASSERT_EQ(event.GetRootCommands().size(), 1u);
    EXPECT_EQ(event.GetRootCommands().front()->GetChildren().size(), 1u);
    EXPECT_EQ(Fired(), (Lines{L"X()", L"Y()"}));
}

TEST_F(ScriptEventTest, UncreatableCommandIsReportedEvenWhenItsParameterIsBadToo) {
    plat::DebugCapture capture;
    EXPECT_FALSE(CompileLines({L"Broken,NoSuchVariable"}));
    // Once by AddLine's compile, once by Compile.
    EXPECT_EQ(capture.Count(L"Keltaro 4 - Could not create the command : Module is NULL or ID < 0"),
              2u);
    EXPECT_EQ(capture.Count(L"Error on line : 'Broken,NoSuchVariable'"), 2u);
}

TEST_F(ScriptEventTest, StarLinesNestUnderTheNearestShallowerLine) {
    EXPECT_TRUE(CompileLines({L"X", L"*Y", L"**Z", L"*W"}));
    ASSERT_EQ(event.GetRootCommands().size(), 1u);
    const CScriptCommand* x = event.GetRootCommands().front();
    ASSERT_EQ(x->GetChildren().size(), 2u);
    const CScriptCommand* y = x->GetChildren().front();
    EXPECT_EQ(y->GetChildren().size(), 1u);
    EXPECT_TRUE(x->GetChildren().back()->GetChildren().empty());
    EXPECT_EQ(Fired(), (Lines{L"X()", L"Y()", L"Z()", L"W()"}));
}

TEST_F(ScriptEventTest, DepthBeyondTheTreeIsClamped) {
    EXPECT_TRUE(CompileLines({L"**X", L"****Y", L"Z"}));
    ASSERT_EQ(event.GetRootCommands().size(), 2u);  // X is a root; Y under X; Z a root
    EXPECT_EQ(event.GetRootCommands().front()->GetChildren().size(), 1u);
}

TEST_F(ScriptEventTest, FireRunsBetweenBeginAndEndWithTheArgument) {
    EXPECT_TRUE(CompileLines({L"X", L"Y"}));
    cam.ClearLog();
    EXPECT_TRUE(event.Fire(42));
    EXPECT_EQ(cam.Log(), (Lines{L"begin 3 42", L"X()", L"Y()", L"end 3 42"}));
    EXPECT_EQ(cam.RunningEvents(), 0);
}

TEST_F(ScriptEventTest, FailedCommandSkipsOnlyItsSubtree) {
    EXPECT_TRUE(CompileLines({L"X", L"*Y", L"**Z", L"*W", L"Z"}));
    cam.SetResult(1, false);  // Y
    EXPECT_EQ(Fired(), (Lines{L"X()", L"Y()", L"W()", L"Z()"}));
    cam.SetResult(0, false);  // X
    EXPECT_EQ(Fired(), (Lines{L"X()", L"Z()"}));
}

// What firing runs, by definition: each command, then its children when it was carried out.
void RunByDefinition(const CScriptCommand& command, uint32_t failing, Lines& log) {
    const int32_t id = command.GetInfo()->GetId();
    log.push_back(command.GetInfo()->GetName() + L"()");
    if (failing & (1u << id)) return;
    for (const CScriptCommand* child : command.GetChildren()) RunByDefinition(*child, failing, log);
}

TEST_F(ScriptEventTest, FireRunsWhatEachTreeAllowsForEveryFailingSet) {
    // Depths that rise, fall several levels at once, and reach beyond the tree.
    const uint32_t depths[] = {0, 1, 2, 3, 1, 2, 0, 0, 1, 3, 5, 2, 1, 0, 2, 1, 2};
    const wchar_t* names[] = {L"X", L"Y", L"Z", L"W"};
    Lines lines;
    for (size_t i = 0; i < std::size(depths); ++i)
        lines.push_back(std::wstring(depths[i], L'*') + names[i % 4]);
    ASSERT_TRUE(CompileLines(lines));
    for (uint32_t failing = 0; failing < 16; ++failing) {
        for (int32_t id = 0; id < 4; ++id) cam.SetResult(id, !(failing & (1u << id)));
        Lines expected;
        for (const CScriptCommand* root : event.GetRootCommands())
            RunByDefinition(*root, failing, expected);
        EXPECT_EQ(Fired(), expected) << "failing set " << failing;
    }
}

TEST_F(ScriptEventTest, ThrowingCommandIsReportedAndCountersStayBalanced) {
    plat::DebugCapture capture;
    EXPECT_TRUE(CompileLines({L"X", L"*Y", L"Z"}));
    cam.ThrowOn(1);  // Y
    cam.ClearLog();
    EXPECT_TRUE(event.Fire(1));
    EXPECT_EQ(cam.Log(), (Lines{L"begin 3 1", L"X()"}));  // Z and the end are skipped
    EXPECT_EQ(capture.Count(L"Error executing event : Main:Cam:Ev."), 1u);
    EXPECT_EQ(cam.RunningEvents(), 0);

    // The event is usable again afterwards.
    EXPECT_TRUE(event.Fire(1));
    cam.SetResult(0, false);
    EXPECT_EQ(Fired(), (Lines{L"X()", L"Z()"}));
    std::wstring error;
    EXPECT_TRUE(event.Compile(error));
}

TEST_F(ScriptEventTest, StoppedModuleRunsNothing) {
    EXPECT_TRUE(CompileLines({L"X"}));
    cam.StopEvents();
    cam.ClearLog();
    EXPECT_TRUE(event.Fire(1));
    EXPECT_TRUE(cam.Log().empty());
    EXPECT_EQ(cam.RunningEvents(), 0);
    cam.EnableEvents();
    EXPECT_EQ(Fired(), (Lines{L"X()"}));
}

TEST_F(ScriptEventTest, FiringFromOwnCommandRunsNothingNested) {
    EXPECT_TRUE(CompileLines({L"X", L"Again", L"*Y", L"Z"}));
    int nestedFires = 0;
    cam.onCommand = [&](int32_t id) {
        if (id == 5) {
            ++nestedFires;
            EXPECT_TRUE(event.Fire(9));
            EXPECT_EQ(cam.RunningEvents(), 1);
        }
    };
    EXPECT_EQ(Fired(), (Lines{L"X()", L"Again()", L"Y()", L"Z()"}));
    EXPECT_EQ(nestedFires, 1);
    EXPECT_EQ(cam.RunningEvents(), 0);
}

TEST_F(ScriptEventTest, ChangingLinesFromOwnCommandIsRefusedWhole) {
    EXPECT_TRUE(CompileLines({L"X", L"Again", L"Z"}));
    plat::DebugCapture capture;
    cam.onCommand = [&](int32_t id) {
        if (id != 5) return;
        event.AddLine(L"W");
        std::wstring error;
        EXPECT_FALSE(event.Compile(error));
        event.RemoveLine(L"X");
    };
    EXPECT_EQ(Fired(), (Lines{L"X()", L"Again()", L"Z()"}));
    cam.onCommand = nullptr;
    // Refused whole: the lines still match the trees that ran.
    EXPECT_EQ(event.GetLines(), (std::list<std::wstring>{L"X", L"Again", L"Z"}));
    EXPECT_EQ(capture.Count(L"Script of event Ev not changed (line added): the event is running"),
              1u);
    EXPECT_EQ(capture.Count(L"Script of event Ev not changed (line removed): the event is running"),
              1u);
    EXPECT_EQ(Fired(), (Lines{L"X()", L"Again()", L"Z()"}));
    event.AddLine(L"W");
    EXPECT_EQ(Fired(), (Lines{L"X()", L"Again()", L"Z()", L"W()"}));
}

TEST_F(ScriptEventTest, LinesAndDefaults) {
    event.AddLine(L"X");
    event.AddLine(L"Y");
    event.SaveAsDefault();
    EXPECT_TRUE(event.IsDefault());
    event.AddLine(L"X");
    event.RemoveLine(L"X");  // every equal line
    EXPECT_EQ(event.GetLines(), (std::list<std::wstring>{L"Y"}));
    EXPECT_FALSE(event.IsDefault());
    event.ResetToDefault();
    EXPECT_TRUE(event.IsDefault());
    EXPECT_EQ(Fired(), (Lines{L"X()", L"Y()"}));  // compiled by the reset

    event.AddParamInfo(CParamInfo(L"T", L"N", L"D"));
    EXPECT_EQ(event.GetParamInfoCount(), 1);
    EXPECT_EQ(event.GetParamInfo(0).m_strName, L"N");
    EXPECT_EQ(event.GetParamInfo(1).m_strName, L"");
}

// The same host with its own registry store, for storing scripts.
class ScriptStoreTest : public StoreTest {
protected:
    ScriptStoreTest() : main(L"Main", &manager), cam(L"Cam", &main) {
        main.modules = {&cam};
        cam.AddCommand(L"X", 0);
    }
    static constexpr const wchar_t* kSection = L"Setups\\Main\\Scripts\\Cam\\Ev";

    CSetupManager manager;
    TestSetup main;
    TestModule cam;
};

TEST_F(ScriptStoreTest, ChangedScriptRoundTrips) {
    CScriptEvent saved(L"Ev", L"", 1, &cam);
    saved.AddLine(L"X");
    saved.SaveAsDefault();
    saved.AddLine(L"");
    saved.AddLine(L"*X,Level,USERVAR:Gain");
    saved.SaveScript();
    EXPECT_EQ(App().GetProfileInt(kSection, L"LineCount", -1), 3);
    EXPECT_EQ(App().GetProfileString(kSection, L"2", L""), L"*X,Level,USERVAR:Gain");

    CScriptEvent loaded(L"Ev", L"", 1, &cam);
    loaded.AddLine(L"default");
    loaded.LoadScript();
    EXPECT_EQ(loaded.GetLines(), saved.GetLines());
}

TEST_F(ScriptStoreTest, DefaultScriptIsNotStoredAndOthersStay) {
    App().WriteProfileInt(L"Setups\\Main\\Scripts\\Cam\\Other", L"LineCount", 1);
    CScriptEvent event(L"Ev", L"", 1, &cam);
    event.AddLine(L"X");
    event.AddLine(L"X");
    event.SaveScript();
    event.RemoveLine(L"X");
    event.AddLine(L"X");
    event.SaveAsDefault();
    event.SaveScript();  // equal to the default: the stored one goes, nothing is written
    EXPECT_FALSE(KeyExists(std::wstring(L"Software\\Talverd\\Keltaro5\\") + kSection));
    EXPECT_EQ(App().GetProfileInt(L"Setups\\Main\\Scripts\\Cam\\Other", L"LineCount", -1), 1);

    CScriptEvent loaded(L"Ev", L"", 1, &cam);
    loaded.AddLine(L"kept");
    loaded.LoadScript();
    EXPECT_EQ(loaded.GetLines(), (std::list<std::wstring>{L"kept"}));
}

TEST_F(ScriptStoreTest, ShorterScriptLeavesNoStaleLines) {
    CScriptEvent event(L"Ev", L"", 1, &cam);
    for (int i = 0; i < 4; ++i) event.AddLine(L"X");
    event.SaveScript();
    event.RemoveLine(L"X");
    event.AddLine(L"Y");
    event.SaveScript();
    EXPECT_EQ(App().GetProfileInt(kSection, L"LineCount", -1), 1);
    EXPECT_EQ(App().GetProfileString(kSection, L"1", L"gone"), L"gone");
}

TEST_F(ScriptStoreTest, StoredLineCounts) {
    CScriptEvent event(L"Ev", L"", 1, &cam);
    event.AddLine(L"default");

    App().WriteProfileInt(kSection, L"LineCount", 0);
    event.LoadScript();
    EXPECT_TRUE(event.GetLines().empty());
    std::wstring error;
    EXPECT_TRUE(event.Compile(error));
    EXPECT_TRUE(event.GetRootCommands().empty());

    event.AddLine(L"default");
    App().WriteProfileInt(kSection, L"LineCount", -5);
    event.LoadScript();
    EXPECT_TRUE(event.GetLines().empty());
}

TEST_F(ScriptStoreTest, MissingLinesLoadAsEmptyAndTheNextSaveKeepsTheLinesAfterThem) {
    App().WriteProfileInt(kSection, L"LineCount", 3);
    App().WriteProfileString(kSection, L"0", L"X");
    App().WriteProfileString(kSection, L"2", L"after the gap");
    CScriptEvent event(L"Ev", L"", 1, &cam);
    event.LoadScript();
    EXPECT_EQ(event.GetLines(), (std::list<std::wstring>{L"X", L"", L"after the gap"}));
    event.SaveScript();
    EXPECT_EQ(App().GetProfileInt(kSection, L"LineCount", -1), 3);
    EXPECT_EQ(App().GetProfileString(kSection, L"2", L""), L"after the gap");
}

// Whatever the gaps before a stored line and however large the count, every stored line below
// the count loads at its number and survives the next save; entries not named as "%d" names a
// line are not lines.
TEST_F(ScriptStoreTest, EveryStoredLineLoadsAtItsNumberWhateverTheGapsAndTheCount) {
    struct Case {
        int gap;
        int count;
    };
    for (const Case& c : {Case{1, 3}, Case{64, 66}, Case{65, 67}, Case{10000, 10002},
                          Case{65, INT_MAX}, Case{65, 2}}) {
        SCOPED_TRACE(std::to_string(c.gap) + " missing, LineCount " + std::to_string(c.count));
        CScriptEvent event(L"Ev", L"", 1, &cam);
        const std::wstring last = std::to_wstring(c.gap + 1);
        App().WriteProfileInt(kSection, L"LineCount", c.count);
        App().WriteProfileString(kSection, L"0", L"X");
        App().WriteProfileString(kSection, last.c_str(), L"after the gap");
        for (const wchar_t* notALine : {L"01", L"-1", L"+2", L" 2", L"2147483648"}) {
            App().WriteProfileString(kSection, notALine, L"not a line");
        }
        event.LoadScript();
        std::list<std::wstring> expected{L"X"};
        if (c.gap + 1 < c.count) {
            expected.resize(static_cast<size_t>(c.gap) + 1);
            expected.push_back(L"after the gap");
        } else {
            expected.resize(static_cast<size_t>(c.count));  // lines not stored load as empty
        }
        EXPECT_EQ(event.GetLines(), expected);

        event.SaveScript();
        event.LoadScript();
        EXPECT_EQ(event.GetLines(), expected);
        plat::reg::KeyGuard key;
        ASSERT_EQ(plat::reg::CreateKey(L"Software\\Talverd\\Keltaro5", key.out()),
                  plat::reg::kSuccess);
        plat::reg::DeleteTree(key.get(), kSection);
    }
}

TEST_F(ScriptStoreTest, WithoutProfileNothingIsDeleted) {
    CScriptEvent event(L"Ev", L"", 1, &cam);
    event.AddLine(L"X");
    event.SaveScript();
    plat::AfxSetApp(nullptr);
    event.AddLine(L"X");
    event.SaveScript();
    event.LoadScript();
    plat::AfxSetApp(&App());
    EXPECT_EQ(App().GetProfileInt(kSection, L"LineCount", -1), 1);
    EXPECT_EQ(event.GetLines().size(), 2u);
}
