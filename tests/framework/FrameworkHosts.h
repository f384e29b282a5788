// Host stand-ins for framework tests: a setup that finds its modules by name, and a module
// whose event links a test chooses and whose protected state a test can read.
#pragma once

#include <cstdint>
#include <list>
#include <string>
#include <utility>
#include <vector>

#include "CModule.h"
#include "CSetup.h"

class TestSetup : public CSetup {
public:
    explicit TestSetup(std::wstring name = L"Setup 1", CSetupManager* manager = nullptr)
        : m_name(std::move(name)), m_manager(manager) {}

    void AddModule(CModule* module) { m_modules.push_back(module); }
    void RemoveModule(CModule* module) { m_modules.remove(module); }

    CModule* FindModule(std::wstring name) override {
        ++findModuleCalls;
        for (CModule* module : m_modules) {
            if (module->GetName() == name) return module;
        }
        return nullptr;
    }
    CSetupManager* GetSetupManager() override { return m_manager; }
    const wchar_t* GetName() override { return m_name.c_str(); }

    int findModuleCalls = 0;

private:
    std::wstring m_name;
    CSetupManager* m_manager;
    std::list<CModule*> m_modules;
};

class TestModule : public CModule {
public:
    explicit TestModule(std::wstring name = L"Module") { SetName(std::move(name)); }

    int32_t GetEventLinkCount() override { return static_cast<int32_t>(links.size()); }
    EventLink GetEventLink(int32_t index) override { return links.at(static_cast<size_t>(index)); }

    void AddCommand(CScriptCommandInfo* command) { m_commands.push_back(command); }
    void AddVariable(CScriptVariable* variable) { m_variables.push_back(variable); }
    int32_t RunningEvents() const { return m_nRunningEvents.load(); }
    const std::list<EventLink>& ConnectedLinks() const { return m_eventLinks; }

    // What slots 10 and 11 hand out.
    std::vector<EventLink> links;
};
