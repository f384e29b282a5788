// The inspector's command line and the camera it runs against.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Probe.h"

namespace inspect {

// The verdict's statuses (the worst of the ports inspected), then the run's own failures.
inline constexpr int kExitOk = 0;  // works fully
inline constexpr int kExitFeaturesMissing = 1;
inline constexpr int kExitDoesNotWork = 2;  // no port, or the port offers nothing or fails to open
inline constexpr int kExitNotRestored = 3;  // the clicks left the camera changed
inline constexpr int kExitOutputLost = 4;   // the report could not be written
inline constexpr int kExitBadInput = 64;    // a bad option or camera model file

inline constexpr const char* kUsage =
    "usage: ambrel-inspect [--camera FILE] [--port N] [--actions] [--properties] [--json]\n"
    "                      [--baud N] [--click-all-ports]\n"
    "  --camera FILE  the simulated camera's model file (default: the built-in model)\n"
    "  --port N       only port N\n"
    "  --actions      also click everything a person can click on the plug-in's dialog and\n"
    "                 measure each click, on the port whose clicks are measured (see\n"
    "                 --click-all-ports); this writes the camera: every property is read\n"
    "                 before and what changed is written back afterwards; a property whose\n"
    "                 reads do not show what was written is not written back but named, and\n"
    "                 the exit status is then 3. Without it only the port is opened.\n"
    "  --properties   the camera's property table: type, value, range, and with --actions\n"
    "                 whether it reads back what the clicks wrote\n"
    "  --json         one JSON document instead of text\n"
    "  --baud N       link speed for the cost of every port (default: the model's)\n"
    "  --click-all-ports  measure the dialog's clicks on every port, not only on the first\n"
    "                 that opens; each click refreshes the plug-in, which reads every port's\n"
    "                 description, so the time grows with the square of the port count\n"
    "Exit status: 0 works fully, 1 works with features missing, 2 does not work, 3 the camera\n"
    "was not left as found, 4 the report could not be written, 64 a bad option or model.\n";

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
