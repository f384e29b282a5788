// libFuzzer target: the host's automation language, line by line, through the plug-in's real
// dialog on the simulated camera, with the plug-in linked into the program. Each input starts a
// fresh host on an empty profile and the built-in camera; a bad line is skipped, not fatal.
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "CModule.h"
#include "HostApplication.h"
#include "ScratchStore.h"
#include "ScriptRunner.h"
#include "Trace.h"
#include "ui/Window.h"

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

struct Process {
    Process() {
        ui::UseManualClock();
        options.profilePath = store.Path();
        exports.getDLLName = &GetDLLName;
        exports.getName = &GetName;
        exports.getInfo = &GetInfo;
        exports.initialize = &Initialize;
        options.linkedPlugin = &exports;
    }
    ScratchStore store{"ambrel-automation-fuzzer"};
    host::PluginExports exports;
    host::HostOptions options;
    std::ostream nowhere{nullptr};
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static Process process;
    process.store.Forget();
    host::Trace trace(process.nowhere);
    trace.Start();
    {
        host::HostApplication app(trace, process.nowhere);
        std::string error;
        Check(app.Start(process.options, &error) == host::HostApplication::StartResult::Ok);
        host::ScriptRunner runner(app, process.nowhere);

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
        Check(app.Module() != nullptr);
        app.Shutdown();
    }
    trace.Stop();
    return 0;
}
