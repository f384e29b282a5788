// The child process the platform tests start: writes debugger lines or registry values on command.
//   platform-helper debug LINE                       one wide and one narrow debugger line
//   platform-helper write STORE KEY PREFIX COUNT     DWORD values PREFIX0.. = 0.., "i" after each
//   platform-helper hold STORE KEY NAME VALUE        one DWORD value, "written", then waits
//   platform-helper read STORE KEY NAME              the DWORD value, or "missing"
#include <cstdio>
#include <cstdlib>
#include <string>

#if defined(_WIN32)
#include <fcntl.h>
#include <io.h>
#endif

#include "platform/DebugOutput.h"
#include "platform/Registry.h"
#include "platform/Sync.h"
#include "platform/Text.h"

namespace {

namespace reg = plat::reg;

int Fail(const std::string& what) {
    std::fprintf(stderr, "platform-helper: %s\n", what.c_str());
    return 2;
}

bool Open(const char* store) {
    std::string error;
    if (reg::OpenStore(store, &error)) return true;
    Fail(error);
    return false;
}

bool WriteDword(const std::wstring& key, const std::wstring& name, uint32_t value) {
    reg::KeyGuard k;
    return reg::CreateKey(key, k.out()) == reg::kSuccess &&
           reg::SetDwordValue(k.get(), name, value) == reg::kSuccess;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(_WIN32)
    // Lines end in '\n' alone, as the tests read them.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "debug" && argc == 3) {
        plat::OutputDebugText(L"wide:" + plat::NarrowToWide(argv[2]));
        plat::OutputDebugNarrow((std::string("narrow:") + argv[2]).c_str());
        return 0;
    }
    if (mode == "write" && argc == 6) {
        if (!Open(argv[2])) return 2;
        const std::wstring key = plat::NarrowToWide(argv[3]);
        const std::wstring prefix = plat::NarrowToWide(argv[4]);
        const long count = std::strtol(argv[5], nullptr, 10);
        for (long i = 0; i < count; ++i) {
            if (!WriteDword(key, prefix + std::to_wstring(i), static_cast<uint32_t>(i)))
                return Fail("write " + std::to_string(i) + " failed");
            std::printf("%ld\n", i);
            std::fflush(stdout);
        }
        return 0;
    }
    if (mode == "hold" && argc == 6) {
        if (!Open(argv[2])) return 2;
        const auto value = static_cast<uint32_t>(std::strtoul(argv[5], nullptr, 10));
        if (!WriteDword(plat::NarrowToWide(argv[3]), plat::NarrowToWide(argv[4]), value))
            return Fail("write failed");
        std::printf("written\n");
        std::fflush(stdout);
        while (true) plat::SleepMs(1000);
    }
    if (mode == "read" && argc == 5) {
        if (!Open(argv[2])) return 2;
        reg::KeyGuard k;
        uint32_t value = 0;
        if (reg::OpenKey(plat::NarrowToWide(argv[3]), k.out()) != reg::kSuccess ||
            reg::GetDwordValue(k.get(), plat::NarrowToWide(argv[4]), &value) != reg::kSuccess) {
            std::printf("missing\n");
        } else {
            std::printf("%u\n", value);
        }
        return 0;
    }
    return Fail(
        "usage: debug LINE | write STORE KEY PREFIX COUNT | hold STORE KEY NAME VALUE | "
        "read STORE KEY NAME");
}
