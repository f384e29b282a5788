// libFuzzer target: arbitrary script lines through an event's Compile and Fire, with a module
// offering a few commands (some with declared parameters) and variables, a setup manager holding
// a user variable, a second module linking lines into the event, and the script stored and
// loaded through the module.
//
// Input: the first byte is the event's argument; its bit 0 loads the lines through the module
// from the profile (many lines, "~gap" lines left unstored) instead of adding them one by one.
// Lines end at '\n' and are UTF-8 where valid, single bytes elsewhere. A line "@TEXT" is not
// a script line but a link the second module places: TEXT into Cam's event, "@@TEXT" into an
// event of a module its setup does not have.
#include <platform/Application.h>

#include <algorithm>
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
#include "EventLink.h"
#include "SqliteMemory.h"
#include "platform/Registry.h"

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

// Keeps lines to a size where every input runs quickly. AddLine compiles the whole script each
// time, so lines added one by one cost the square of their number; a load through the module
// compiles once, and long scripts come that way.
constexpr size_t kMaxAddedLines = 32;
constexpr size_t kMaxLoadedLines = 200;
constexpr const wchar_t* kGapLine = L"~gap";
constexpr const wchar_t* kSection = L"Setups\\Main\\Scripts\\Cam\\Ev";

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
            // Declared parameters are descriptions only; the compiler does not check them.
            if (id == kSetGain) info->AddParam(L"CVarUINT", L"Gain", L"the gain");
            if (id == kW) {
                info->AddParam(L"CVarBool", L"On", L"");
                info->AddParam(L"CVarUINT", L"Level", L"");
            }
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
    void DropEvents() { m_events.clear(); }

    CScriptEvent* event = nullptr;

    bool ExecuteCommand(int32_t commandId, std::vector<CCommandParam>* params,
                        uint32_t eventArgument) override {
        Check(params != nullptr);
        CScriptCommandInfo* info = GetCommand(commandId);
        Check(info != nullptr);
        for (uint32_t i = 0; i <= params->size() && i <= 4; ++i) {
            const bool declared = i < static_cast<uint32_t>(info->GetParamCount());
            Check(declared == (info->GetParamType(i) != L"Param index is out of bounds."));
            (void)info->GetParamDescription(i);
        }
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

// Places its links into other modules' events when connected.
class LinkingModule : public CModule {
public:
    LinkingModule(const wchar_t* name, CSetup* setup) {
        SetName(name);
        SetHosts(setup, nullptr);
    }
    int32_t GetEventLinkCount() override { return static_cast<int32_t>(links.size()); }
    EventLink GetEventLink(int32_t index) override { return links.at(static_cast<size_t>(index)); }
    std::vector<EventLink> links;
};

struct Host {
    Host()
        : main(L"Main", &manager),
          other(L"A:B", &manager),
          cam(L"Cam", &main),
          c(L"C", &other),
          linker(L"Linker", &main) {
        manager.m_setups = {&main, &other};
        main.modules = {&cam, &linker};
        other.modules = {&c};
        auto* gain = new CVarUINT(7);
        gain->SetNameAndDescription(L"Gain", L"user gain");
        manager.m_userVariables.push_back(gain);
        // The profile lives in memory: a file store makes every write a transaction on disk.
        GiveSqliteItsOwnMemory();
        plat::reg::UseMemoryStore();
        plat::AfxSetApp(&app);
    }
    plat::CWinApp app;
    CSetupManager manager;
    FuzzSetup main, other;
    FuzzModule cam, c;
    LinkingModule linker;
};

// The length of the valid UTF-8 sequence at `p` (its character in `c`), or 0.
size_t Utf8Sequence(const uint8_t* p, size_t n, char32_t* c) {
    const size_t length = p[0] >= 0xF0 ? 4 : p[0] >= 0xE0 ? 3 : p[0] >= 0xC2 ? 2 : 0;
    if (length == 0 || length > n || p[0] > 0xF4) return 0;
    char32_t value = p[0] & (0x7F >> length);
    for (size_t i = 1; i < length; ++i) {
        if ((p[i] & 0xC0) != 0x80) return 0;
        value = (value << 6) | (p[i] & 0x3F);
    }
    const char32_t least = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
    if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
    *c = value;
    return length;
}

std::vector<std::wstring> ToLines(const uint8_t* data, size_t size, size_t maxLines) {
    std::vector<std::wstring> lines(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n') {
            if (lines.size() == maxLines) break;
            lines.emplace_back();
            continue;
        }
        char32_t c = data[i];
        if (const size_t length = Utf8Sequence(data + i, size - i, &c)) i += length - 1;
        lines.back().push_back(static_cast<wchar_t>(c));
    }
    return lines;
}

// Splits off the link lines.
std::vector<EventLink> TakeLinks(std::vector<std::wstring>& lines) {
    std::vector<EventLink> links;
    std::vector<std::wstring> script;
    for (std::wstring& line : lines) {
        if (line.empty() || line[0] != L'@') {
            script.push_back(std::move(line));
        } else if (line.size() > 1 && line[1] == L'@') {
            links.emplace_back(line.substr(2), L"C", L"Ev");
        } else {
            links.emplace_back(line.substr(1), L"Cam", L"Ev");
        }
    }
    if (script.empty()) script.emplace_back();
    lines = std::move(script);
    return links;
}

bool Contains(const std::list<std::wstring>& lines, const std::wstring& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// Stores the lines as a saved script would be, leaving out gap lines (no more of them than
// lines stored before them), which then load as empty lines.
// The section is opened once: the profile's own calls would walk its path again for every line.
void StoreLines(plat::CWinApp& app, std::vector<std::wstring>& lines) {
    app.WriteProfileString(kSection, nullptr, nullptr);
    app.WriteProfileInt(kSection, L"LineCount", static_cast<int>(lines.size()));
    plat::reg::KeyGuard section;
    Check(plat::reg::OpenKey(app.ProfileRoot() + L"\\" + kSection, section.out()) ==
          plat::reg::kSuccess);
    size_t stored = 0;
    size_t gaps = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (lines[i] == kGapLine && gaps < stored) {
            ++gaps;
            lines[i].clear();
            continue;
        }
        ++stored;
        Check(plat::reg::SetStringValue(section.get(), std::to_wstring(i), lines[i]) ==
              plat::reg::kSuccess);
    }
}

bool Storable(const std::list<std::wstring>& lines) {
    for (const std::wstring& line : lines)
        if (line.find(L'\0') != std::wstring::npos) return false;
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Host host;
    const uint32_t argument = size > 0 ? data[0] : 0;
    const bool throughModule = (argument & 1) != 0;
    std::vector<std::wstring> lines =
        ToLines(data, size, throughModule ? kMaxLoadedLines : kMaxAddedLines);
    host.linker.links = TakeLinks(lines);

    CScriptEvent event(L"Ev", L"fuzzed", 1, &host.cam);
    event.AddParamInfo(CParamInfo(L"CVarUINT", L"Level", L""));
    event.AddParamInfo(CParamInfo(L"CVarUINT", L"P", L""));
    host.cam.event = &event;
    host.cam.AddEvent(&event);

    if (throughModule) {
        bool storable = true;
        for (const std::wstring& line : lines)
            storable = storable && line.find(L'\0') == std::wstring::npos;
        if (storable) {
            StoreLines(host.app, lines);
            host.cam.LoadScripts();
            Check(std::vector<std::wstring>(event.GetLines().begin(), event.GetLines().end()) ==
                  lines);
        }
    } else {
        for (const std::wstring& line : lines) event.AddLine(line);
    }
    // Links into Cam's event are placed; those into a module of another setup are not.
    const size_t ownLines = event.GetLines().size();
    host.linker.ConnectEventLinks();
    size_t placed = 0;
    for (const EventLink& link : host.linker.links) {
        if (link.m_strModule != L"Cam") continue;
        ++placed;
        Check(Contains(event.GetLines(), link.m_strScript));
    }
    Check(event.GetLines().size() == ownLines + placed);
    const std::list<std::wstring> linked = event.GetLines();
    std::wstring error;
    const bool compiled = event.Compile(error);
    if (compiled) {
        Check(error.empty());
    } else {
        bool found = false;
        for (const std::wstring& line : linked) found = found || line == error;
        Check(found);
    }

    Check(event.Fire(argument));
    Check(host.cam.Running() == 0);

    // Stored and loaded again, a script without NUL characters comes back unchanged.
    if (Storable(linked)) {
        host.cam.SaveScripts();
        CScriptEvent loaded(L"Ev", L"", 1, &host.cam);
        loaded.LoadScript();
        Check(loaded.GetLines() == event.GetLines());
    }

    // Taking the links back removes every line equal to one of them.
    host.linker.DisconnectEventLinks();
    for (const EventLink& link : host.linker.links)
        if (link.m_strModule == L"Cam") Check(!Contains(event.GetLines(), link.m_strScript));

    event.RemoveLine(lines.front());
    Check(event.Fire(argument));
    event.ResetToDefault();
    Check(event.GetLines().empty());
    Check(event.Fire(argument));
    Check(host.cam.Running() == 0);
    host.cam.DropEvents();
    host.cam.event = nullptr;
    // Nothing of the input stays allocated: libFuzzer runs an input that ends with more
    // allocations than it began with again, looking for a leak.
    std::vector<EventLink>().swap(host.linker.links);
    return 0;
}
