// libFuzzer target: arbitrary script lines through an event's Compile and Fire, with a module
// offering a few commands and variables and a setup manager holding a user variable.
#include <platform/Application.h>

#include <cstddef>
#include <cstdint>
#include <list>
#include <stdexcept>
#include <string>
#include <vector>

#include "CCommandParam.h"
#include "CModule.h"
#include "CScriptCommandInfo.h"
#include "CScriptEvent.h"
#include "CSetup.h"
#include "CSetupManager.h"
#include "CVarBool.h"
#include "CVarUINT.h"

namespace {

enum Command : int32_t {
    kX,
    kY,
    kZ,
    kW,
    kSetGain,
    kFail,
    kThrow,
    kAgain,
    kRecompile,
    kCommandCount
};
const wchar_t* const kCommandNames[] = {L"X",    L"Y",     L"Z",     L"W",        L"SetGain",
                                        L"Fail", L"Throw", L"Again", L"Recompile"};

// Keeps lines to a size where every input runs quickly; AddLine compiles the whole script each
// time.
constexpr size_t kMaxLines = 48;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

class FuzzModule : public CModule {
public:
    FuzzModule(const wchar_t* name, CSetup* setup) {
        SetName(name);
        SetHosts(setup, nullptr);
        for (int32_t id = 0; id < kCommandCount; ++id) {
            auto* info = new CScriptCommandInfo;
            info->SetName(kCommandNames[id]);
            info->SetId(id);
            info->SetModule(this);
            m_commands.push_back(info);
        }
        auto* level = new CVarUINT(4294967295u);
        level->SetNameAndDescription(L"Level", L"");
        m_variables.push_back(level);
        auto* armed = new CVarBool(false);
        armed->SetNameAndDescription(L"Armed", L"");
        m_variables.push_back(armed);
    }
    ~FuzzModule() override {
        for (CScriptCommandInfo* info : m_commands) delete info;
        for (CScriptVariable* variable : m_variables) delete variable;
    }
    int32_t Running() const { return m_nRunningEvents.load(); }

    CScriptEvent* event = nullptr;

    bool ExecuteCommand(int32_t commandId, std::vector<CCommandParam>* params,
                        uint32_t eventArgument) override {
        Check(params != nullptr);
        for (const CCommandParam& param : *params) {
            if (CScriptVariable* variable = param.Resolve(*params)) (void)variable->GetValueText();
            (void)param.GetText();
        }
        switch (commandId) {
            case kFail:
                return false;
            case kThrow:
                throw std::runtime_error("command failed");
            case kAgain:
                if (event) Check(event->Fire(eventArgument + 1));
                return true;
            case kRecompile:
                if (event) {
                    std::wstring error;
                    Check(!event->Compile(error));  // its own run is in progress
                }
                return true;
            default:
                return commandId >= 0 && commandId < kCommandCount;
        }
    }
};

class FuzzSetup : public CSetup {
public:
    FuzzSetup(const wchar_t* name, CSetupManager* manager) : m_name(name), m_manager(manager) {}
    CModule* FindModule(std::wstring name) override {
        for (CModule* module : modules) {
            if (module->GetName() == name) return module;
        }
        return nullptr;
    }
    CSetupManager* GetSetupManager() override { return m_manager; }
    const wchar_t* GetName() override { return m_name.c_str(); }
    std::vector<CModule*> modules;

private:
    std::wstring m_name;
    CSetupManager* m_manager;
};

struct Host {
    Host() : main(L"Main", &manager), other(L"A:B", &manager), cam(L"Cam", &main), c(L"C", &other) {
        manager.m_setups = {&main, &other};
        main.modules = {&cam};
        other.modules = {&c};
        auto* gain = new CVarUINT(7);
        gain->SetNameAndDescription(L"Gain", L"user gain");
        manager.m_userVariables.push_back(gain);
        plat::AfxSetApp(&app);
    }
    plat::CWinApp app;
    CSetupManager manager;
    FuzzSetup main, other;
    FuzzModule cam, c;
};

// Bytes are characters 0..255, lines end at '\n'.
std::vector<std::wstring> ToLines(const uint8_t* data, size_t size) {
    std::vector<std::wstring> lines(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            if (lines.size() == kMaxLines) break;
            lines.emplace_back();
        } else {
            lines.back().push_back(static_cast<wchar_t>(data[i]));
        }
    }
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Host host;
    const uint32_t argument = size > 0 ? data[0] : 0;
    const std::vector<std::wstring> lines = ToLines(data, size);

    CScriptEvent event(L"Ev", L"fuzzed", 1, &host.cam);
    event.AddParamInfo(CParamInfo(L"CVarUINT", L"Level", L""));
    event.AddParamInfo(CParamInfo(L"CVarUINT", L"P", L""));
    host.cam.event = &event;

    for (const std::wstring& line : lines) event.AddLine(line);
    std::wstring error;
    const bool compiled = event.Compile(error);
    if (compiled) {
        Check(error.empty());
    } else {
        bool found = false;
        for (const std::wstring& line : lines) found = found || line == error;
        Check(found);
    }

    Check(event.Fire(argument));
    Check(host.cam.Running() == 0);

    // Stored and loaded again, a script without NUL characters comes back unchanged.
    bool storable = true;
    for (const std::wstring& line : lines)
        storable = storable && line.find(L'\0') == std::wstring::npos;
    if (storable) {
        event.SaveScript();
        CScriptEvent loaded(L"Ev", L"", 1, &host.cam);
        loaded.LoadScript();
        Check(loaded.GetLines() == event.GetLines());
    }

    event.RemoveLine(lines.front());
    Check(event.Fire(argument));
    event.ResetToDefault();
    Check(event.GetLines().empty());
    Check(event.Fire(argument));
    Check(host.cam.Running() == 0);
    host.cam.event = nullptr;
    return 0;
}
