// The inspector's command line and the camera it runs against.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Probe.h"

namespace inspect {

inline constexpr int kExitOk = 0;
inline constexpr int kExitBadInput = 2;
inline constexpr int kExitNotRestored = 3;
inline constexpr int kExitOutputLost = 4;

inline constexpr const char* kUsage =
    "usage: ambrel-inspect [--camera FILE] [--port N] [--actions] [--json] [--baud N]\n"
    "  --camera FILE  the simulated camera's model file (default: the built-in model)\n"
    "  --port N       only port N\n"
    "  --actions      also run the user actions to measure them; every value is put back\n"
    "  --json         one JSON document instead of text\n"
    "  --baud N       link speed for the cost of every port (default: the model's)\n";

struct CommandLine {
    std::optional<std::string> cameraFile;
    InspectOptions options;
    bool json = false;
    bool help = false;
};

// The parsed line, or the reason it is not one.
struct Parsed {
    std::optional<CommandLine> line;
    std::string error;
};
// The exit status a finished report calls for.
int ExitStatus(const Report& report);

Parsed ParseCommandLine(const std::vector<std::string>& args);

// Loads the camera the line names and fills in the ports' baud rates; false with the reason
// when the model cannot be loaded or the build's camera library has no models.
bool PrepareCamera(CommandLine& line, std::string& error);

}  // namespace inspect
