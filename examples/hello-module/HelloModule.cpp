// A minimal module: the library's four exports, one script command and one script variable;
// no camera and no dialog.
#include <CCommandParam.h>
#include <CModule.h>
#include <CModuleDLL.h>
#include <CScriptCommandInfo.h>
#include <CVarUINT.h>
#include <platform/DebugOutput.h>

#include <cstdint>
#include <vector>

#if defined(_WIN32)
#define HELLO_EXPORT extern "C" __declspec(dllexport)
#else
#define HELLO_EXPORT extern "C" __attribute__((visibility("default")))
#endif

namespace {

constexpr int32_t kSayHelloId = 0;

class HelloModule : public CModule {
public:
    HelloModule() {
        m_strName = L"Hello";
        m_strFileName = L"hello-module";
        // The command and the variable scripts can use; the module owns both.
        m_sayHello.SetName(L"SayHello");
        m_sayHello.SetDescription(L"Writes a greeting to the debugger output and counts it");
        m_sayHello.SetId(kSayHelloId);
        m_sayHello.SetModule(this);
        m_commands.push_back(&m_sayHello);
        m_greetings.SetNameAndDescription(L"Greetings", L"How many greetings SayHello wrote");
        m_variables.push_back(&m_greetings);
    }

    void Attach() override {
        CModule::Attach();
        plat::OutputDebugText(L"Hello module attached");
    }

    bool ExecuteCommand(int32_t commandId, std::vector<CCommandParam>*, uint32_t) override {
        if (commandId != kSayHelloId) return false;
        m_greetings = m_greetings.GetValue() + 1;
        plat::OutputDebugText(L"Hello from a module");
        return true;
    }

private:
    CScriptCommandInfo m_sayHello;
    CVarUINT m_greetings{0};
};

// The library's module factory; the exports below answer through it.
class HelloLibrary : public CModuleDLL {
public:
    const wchar_t* GetName() override { return L"Hello"; }
    const wchar_t* GetDLLName() override { return L"hello-module"; }
    const wchar_t* GetInfo() override { return L"A module with one command and one variable."; }
    CModule* Initialize() override { return new HelloModule; }
};

HelloLibrary g_library;

}  // namespace

HELLO_EXPORT const wchar_t* GetDLLName() {
    return g_moduleDLL->GetDLLName();
}
HELLO_EXPORT const wchar_t* GetName() {
    return g_moduleDLL->GetName();
}
HELLO_EXPORT const wchar_t* GetInfo() {
    return g_moduleDLL->GetInfo();
}
HELLO_EXPORT CModule* Initialize() {
    return g_moduleDLL->Initialize();
}
