// The built plug-in loaded at run time by path, as the host loads it: its four entry points,
// their texts, and modules it creates attached to a host and destroyed again.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "CModule.h"
#include "HostStandIns.h"
#include "platform/DebugOutput.h"
#include "platform/Registry.h"
#include "sim/CameraSim.h"
#include "ui/Window.h"

namespace {

using TextEntry = const wchar_t* (*)();
using InitializeEntry = CModule* (*)();

class LoadedLibraryTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_handle = dlopen(AMBREL_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(m_handle, nullptr) << dlerror();
        getDLLName = Resolve<TextEntry>("GetDLLName");
        getName = Resolve<TextEntry>("GetName");
        getInfo = Resolve<TextEntry>("GetInfo");
        initialize = Resolve<InitializeEntry>("Initialize");
        ASSERT_TRUE(getDLLName && getName && getInfo && initialize);
    }
    void TearDown() override {
        if (m_handle) {
            EXPECT_EQ(dlclose(m_handle), 0);
        }
    }

    template <class Entry>
    Entry Resolve(const char* name) {
        void* symbol = dlsym(m_handle, name);
        EXPECT_NE(symbol, nullptr) << name;
        return reinterpret_cast<Entry>(symbol);
    }

    TextEntry getDLLName = nullptr;
    TextEntry getName = nullptr;
    TextEntry getInfo = nullptr;
    InitializeEntry initialize = nullptr;

private:
    void* m_handle = nullptr;
};

TEST_F(LoadedLibraryTest, EntryPointsAnswerTheLibrarysTexts) {
    EXPECT_STREQ(getName(), L"Ambrel Control");
    EXPECT_STREQ(getDLLName(), L"AmbrelControl.dll");

    const std::wstring info = getInfo();
    const size_t first = info.find(L"\r\n");
    const size_t second = info.find(L"\r\n", first + 2);
    ASSERT_NE(second, std::wstring::npos);
    EXPECT_EQ(info.find(L"\r\n", second + 2), std::wstring::npos);
    EXPECT_EQ(info.substr(0, first), L"Ambrel Control Module.");
    EXPECT_GT(second, first + 2);  // a notice line between
    EXPECT_EQ(info.substr(second + 2), L"This module is used to control Ambrel camera.");
    // Every lone CR or LF would be a line break of its own.
    size_t breaks = 0;
    for (wchar_t c : info) breaks += c == L'\r' || c == L'\n';
    EXPECT_EQ(breaks, 4u);
}

TEST_F(LoadedLibraryTest, TextsAreTheSameStringsOnEveryCall) {
    const wchar_t* name = getName();
    const wchar_t* file = getDLLName();
    const wchar_t* info = getInfo();

    EXPECT_EQ(getName(), name);
    EXPECT_EQ(getDLLName(), file);
    EXPECT_EQ(getInfo(), info);
}

TEST_F(LoadedLibraryTest, ModulesAreIndependentAndAttachToAHost) {
    plat::reg::UseMemoryStore();
    HostLog log;
    TestApp app(log);
    plat::AfxSetApp(&app);
    pfsim::LoadDefaultModel();
    TestSetup setup(log, L"Day 1");
    TestDialogHost dialogHost(log);
    app.plat::CWinApp::WriteProfileInt(L"Setups\\Day 1\\Ambrel Control", L"Port", 1);

    std::unique_ptr<CModule> attached(initialize());
    std::unique_ptr<CModule> idle(initialize());
    ASSERT_NE(attached, nullptr);
    ASSERT_NE(idle, nullptr);
    EXPECT_NE(attached.get(), idle.get());
    EXPECT_EQ(attached->GetName(), L"Ambrel Control");
    EXPECT_EQ(attached->GetFileName(), L"AmbrelControl.dll");

    attached->SetHosts(&setup, &dialogHost);
    attached->Attach();
    ui::PumpMessages();

    ASSERT_NE(dialogHost.docked, nullptr);
    EXPECT_STREQ(dialogHost.docked->GetName(), L"Ambrel Control");
    EXPECT_EQ(dialogHost.docked->GetSetup(), &setup);
    EXPECT_TRUE(pfsim::IsPortOpen(0));
    EXPECT_EQ(pfsim::OpenPortCount(), 1);

    attached->LockControls();
    attached->UnlockControls();
    idle.reset();
    EXPECT_TRUE(pfsim::IsPortOpen(0));
    attached.reset();

    EXPECT_EQ(pfsim::OpenPortCount(), 0);
    EXPECT_EQ(dialogHost.docked, nullptr);
    EXPECT_EQ(log.back(), L"RemoveDialog with window");
    EXPECT_EQ(app.plat::CWinApp::GetProfileInt(L"Setups\\Day 1\\Ambrel Control", L"Port", -1), 1);
    plat::AfxSetApp(nullptr);
}

}  // namespace
