// Test doubles for the scripting tests: a module that logs what it is asked to run, a setup,
// and a fixture that gives each test its own registry store and application profile.
#pragma once

#include <gtest/gtest.h>
#include <platform/Application.h>
#include <platform/Registry.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <unistd.h>

#include "CCommandParam.h"
#include "CModule.h"
#include "CScriptCommandInfo.h"
#include "CScriptVariable.h"
#include "CSetup.h"
#include "CSetupManager.h"
#include "CVarBool.h"
#include "CVarUINT.h"

namespace scripttest {

// A module whose commands log "Name(param,param)" (an index parameter as "#n") and answer as set.
class TestModule : public CModule {
public:
    explicit TestModule(std::wstring name, CSetup* setup = nullptr) {
        SetName(std::move(name));
        SetHosts(setup, nullptr);
    }
    ~TestModule() override {
        for (CScriptCommandInfo* info : m_commands) delete info;
        for (CScriptVariable* variable : m_variables) delete variable;
    }

    CScriptCommandInfo* AddCommand(const std::wstring& name, int32_t id) {
        auto* info = new CScriptCommandInfo;
        info->SetName(name);
        info->SetId(id);
        info->SetModule(this);
        m_commands.push_back(info);
        return info;
    }
    CVarUINT* AddVariable(const std::wstring& name, uint32_t value = 0) {
        auto* variable = new CVarUINT(value);
        variable->SetNameAndDescription(name, L"");
        m_variables.push_back(variable);
        return variable;
    }

    void SetResult(int32_t id, bool result) { m_results[id] = result; }
    void ThrowOn(int32_t id) { m_throwing.insert(id); }
    // Called on the command's thread before it is logged.
    std::function<void(int32_t id)> onCommand;
    bool logging = true;

    std::vector<std::wstring> Log() const {
        std::lock_guard<std::mutex> guard(m_logLock);
        return m_log;
    }
    void ClearLog() {
        std::lock_guard<std::mutex> guard(m_logLock);
        m_log.clear();
        m_lastParams.clear();
    }
    // The parameters of the last command run, as handed to ExecuteCommand.
    std::vector<CCommandParam> LastParams() const {
        std::lock_guard<std::mutex> guard(m_logLock);
        return m_lastParams;
    }
    int32_t RunningEvents() const { return m_nRunningEvents.load(); }
    int64_t Executed() const { return m_executed.load(); }

    void OnEventBegin(int32_t eventId, uint32_t eventArgument) override {
        Record(L"begin " + std::to_wstring(eventId) + L" " + std::to_wstring(eventArgument));
    }
    void OnEventEnd(int32_t eventId, uint32_t eventArgument) override {
        Record(L"end " + std::to_wstring(eventId) + L" " + std::to_wstring(eventArgument));
    }
    bool ExecuteCommand(int32_t commandId, std::vector<CCommandParam>* params,
                        uint32_t eventArgument) override {
        ++m_executed;
        if (onCommand) onCommand(commandId);
        if (m_throwing.count(commandId)) throw std::runtime_error("command failed");
        if (logging) {
            std::wstring entry = NameOf(commandId) + L"(";
            for (size_t i = 0; i < params->size(); ++i) {
                const CCommandParam& param = (*params)[i];
                if (i) entry += L",";
                entry +=
                    param.IsIndex() ? L"#" + std::to_wstring(param.GetIndex()) : param.GetText();
            }
            entry += L")";
            (void)eventArgument;
            std::lock_guard<std::mutex> guard(m_logLock);
            m_log.push_back(entry);
            m_lastParams = *params;
        }
        const auto result = m_results.find(commandId);
        return result == m_results.end() || result->second;
    }

private:
    void Record(std::wstring entry) {
        if (!logging) return;
        std::lock_guard<std::mutex> guard(m_logLock);
        m_log.push_back(std::move(entry));
    }
    std::wstring NameOf(int32_t id) const {
        for (CScriptCommandInfo* info : m_commands) {
            if (info->GetId() == id) return info->GetName();
        }
        return L"?";
    }

    std::map<int32_t, bool> m_results;
    std::set<int32_t> m_throwing;
    mutable std::mutex m_logLock;
    std::vector<std::wstring> m_log;
    std::vector<CCommandParam> m_lastParams;
    std::atomic<int64_t> m_executed{0};
};

class TestSetup : public CSetup {
public:
    TestSetup(std::wstring name, CSetupManager* manager)
        : m_name(std::move(name)), m_manager(manager) {}

    CModule* FindModule(std::wstring name) override {
        for (CModule* module : modules) {
            if (module->GetName() == name) return module;
        }
        return nullptr;
    }
    CSetupManager* GetSetupManager() override { return m_manager; }
    const wchar_t* GetName() override { return m_name.c_str(); }
    bool IsActive() override { return active; }
    void OnNotifyA() override { notes.push_back(m_name + L":A"); }
    void OnNotifyB() override { notes.push_back(m_name + L":B"); }
    void OnNotifyC() override { notes.push_back(m_name + L":C"); }

    std::vector<CModule*> modules;
    bool active = false;
    std::vector<std::wstring> notes;

private:
    std::wstring m_name;
    CSetupManager* m_manager;
};

// Each test gets a fresh registry store file and an installed application profile.
class StoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::atomic<int> counter{0};
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = (std::filesystem::temp_directory_path() /
                  ("ambrel-script-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) +
                   "-" + info->name() + ".db"))
                     .string();
        std::string error;
        ASSERT_TRUE(plat::reg::OpenStore(m_path, &error)) << error;
        m_app = std::make_unique<plat::CWinApp>();
        plat::AfxSetApp(m_app.get());
    }
    void TearDown() override {
        plat::AfxSetApp(nullptr);
        m_app.reset();
        plat::reg::UseMemoryStore();
        for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
            std::error_code ignored;
            std::filesystem::remove(m_path + suffix, ignored);
        }
    }

    plat::CWinApp& App() { return *m_app; }

    static bool KeyExists(const std::wstring& path) {
        plat::reg::KeyGuard key;
        return plat::reg::OpenKey(path, key.out()) == plat::reg::kSuccess;
    }

private:
    std::string m_path;
    std::unique_ptr<plat::CWinApp> m_app;
};

}  // namespace scripttest
