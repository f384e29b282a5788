// libFuzzer target: the host's automation language, line by line, through the plug-in's real
// dialog on the simulated camera, with the plug-in linked into the program. One host serves every
// input; each starts a fresh module on an empty profile and the built-in camera as modelled, and
// a bad line is skipped, not fatal. After each input the module must be destroyable and the
// profile must read back with the port it had open.
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "CModule.h"
#include "HostApplication.h"
#include "ScratchStore.h"
#include "ScriptRunner.h"
#include "SqliteMemory.h"
#include "Trace.h"
#include "platform/Registry.h"
#include "sim/CameraSim.h"
#include "ui/Window.h"
#include "ui/Wnd.h"

extern "C" {
const wchar_t* GetDLLName();
const wchar_t* GetName();
const wchar_t* GetInfo();
CModule* Initialize();
}

namespace {

// Keeps every input quick: a few dozen lines, and time that moves by seconds, not days, so that
// a held button repeats a bounded number of times.
constexpr size_t kMaxLines = 64;
constexpr long long kMaxWaitMs = 5000;

void Check(bool condition) {
    if (!condition) __builtin_trap();
}

// Whether the line may run here: nothing that could write a file (however its action is
// spelled or quoted), and no long wait.
bool Allowed(std::string_view line) {
    if (line.find("capture") != std::string_view::npos) return false;
    if (line.find("wait") == std::string_view::npos) return true;
    long long ms = 0;
    for (char c : line) {
        if (c >= '0' && c <= '9') ms = ms * 10 + (c - '0');
        if (ms > kMaxWaitMs) return false;
    }
    return true;
}

// One host for the whole run: its profile store, camera and main window stay; every input starts
// on an empty profile, the camera as modelled with every port closed, grabbing off and a fresh
// module.
struct Fuzzing {
    Fuzzing() {
        options.profilePath = store.Path();
        exports.getDLLName = &GetDLLName;
        exports.getName = &GetName;
        exports.getInfo = &GetInfo;
        exports.initialize = &Initialize;
        options.linkedPlugin = &exports;
        trace.Start();
        std::string error;
        Check(app.Start(options, &error) == host::HostApplication::StartResult::Ok);
        // The profile lives in memory, emptied before every input: nothing of it reaches a file.
        store.Forget();
        app.DestroyModule();
        Reset();
    }
    void Begin() {
        std::string error;
        Check(app.Reload(&error));
    }
    // Undoes what the input did, within the input: libFuzzer takes an input that ends with more
    // allocations than it started with for a leak, and runs it again to look.
    void Reset() {
        plat::reg::KeyGuard root;
        if (plat::reg::OpenKey(L"", root.out()) == plat::reg::kSuccess)
            plat::reg::DeleteTree(root.get(), L"");
        ui::CWnd::FreeTemporaryWindows();
        pfsim::Reset();
        app.Setup().SetGrabbing(false);
    }
    // The module can be destroyed after whatever the input did, and the profile then reads back
    // with the port it had open.
    void CheckDestroyed() {
        const int32_t port = app.Camera().OpenPort();
        app.DestroyModule();
        Check(app.Module() == nullptr && pfsim::OpenPortCount() == 0);
        const int stored = app.GetProfileInt(kSection, L"Port", kMissing);
        if (port >= 0) Check(stored == port + 1);
        Check(plat::reg::WalkTree(app.ProfileRoot(), [](const std::wstring&, const auto&) {
                  return plat::reg::kSuccess;
              }) != plat::reg::kStoreFailure);
    }

    static constexpr const wchar_t* kSection = L"Setups\\Default\\Ambrel Control";
    static constexpr int kMissing = -1000;
    ScratchStore store{"ambrel-automation-fuzzer"};
    host::PluginExports exports;
    host::HostOptions options;
    std::ostream nowhere{nullptr};
    host::Trace trace{nowhere};
    host::HostApplication app{trace, nowhere};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Never destroyed: its windows would outlive the dialog framework's per-thread state at exit.
    static Fuzzing& fuzzing = (GiveSqliteItsOwnMemory(), *new Fuzzing);
    fuzzing.Begin();
    host::ScriptRunner runner(fuzzing.app, fuzzing.nowhere);
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    size_t lines = 0;
    for (size_t begin = 0; begin <= text.size() && lines < kMaxLines; ++lines) {
        const size_t end = std::min(text.find('\n', begin), text.size());
        const std::string_view line = text.substr(begin, end - begin);
        begin = end + 1;
        if (!Allowed(line)) continue;
        std::string reason;
        if (!runner.RunLine(line, &reason)) Check(!reason.empty());
    }
    Check(fuzzing.app.Module() != nullptr);
    fuzzing.CheckDestroyed();
    fuzzing.Reset();
    return 0;
}
