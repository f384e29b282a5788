// libFuzzer target: arbitrary model files through the simulated camera library's loader (as text
// and as a file), and a loaded model's cameras through a scan and a write of every property.
#include <pfConfig.h>
#include <sim/CameraSim.h>

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

// Every property of every port read and written, with the window modes and commands acting.
void Exercise() {
    pfsim::EnableCallLog(false);
    for (int32_t port = 0; port < pfGetNumPort(); ++port) {
        if (pfOpenPort(port, 0) != 0) continue;
        const int32_t count = pfGetNumProperties(port);
        for (int32_t i = 0; i < count && i < 256; ++i) {
            int32_t type = 0;
            int32_t access = 0;
            const char* name = pfGetPropertyInfo(port, i, &type, &access);
            if (!name) continue;
            const std::string kept = name;  // writes may not invalidate it, but be sure
            int32_t value = 0;
            pfGetCameraPropertyInt(port, kept.c_str(), &value);
            pfSetCameraPropertyI(port, kept.c_str(), 1);
            pfSetCameraPropertyF(port, kept.c_str(), pfGetCameraPropertyF(port, kept.c_str()));
            pfSetCameraPropertyI(port, kept.c_str(), value);
        }
        pfClosePort(port);
    }
}

// The input as a file, for the file reader: it reads what the string reader was given.
const std::string& ModelFile() {
    static const std::string path = (std::filesystem::temp_directory_path() /
                                     ("camera-model-fuzz-" + std::to_string(::getpid()) + ".json"))
                                        .string();
    return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    pfsim::EnableDelays(false);  // a slow model's link would only slow the search down
    std::string error;
    const bool loaded = pfsim::LoadModelString(text, &error);
    if (loaded) {
        Exercise();
    } else if (error.size() > 400 || error.rfind("$", 0) != 0) {
        __builtin_trap();  // messages are bounded and start with the JSON path
    }
    std::ofstream(ModelFile(), std::ios::binary | std::ios::trunc) << text;
    std::string read;
    if (!pfsim::ReadModelFile(ModelFile(), &read, &error) || read != text) __builtin_trap();
    if (pfsim::CheckModelFile(ModelFile(), &error) != loaded) __builtin_trap();
    return 0;
}
