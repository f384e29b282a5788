// The inspector's command line.
#include "CommandLine.h"

#include <charconv>
#include <limits>

namespace inspect {
namespace {

std::optional<int32_t> Integer(const std::string& text, int32_t min) {
    int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min)
        return std::nullopt;
    return value;
}

}  // namespace

int ExitStatus(const Report& report) {
    for (const PortFact& port : report.ports)
        if (!port.restored) return kExitNotRestored;
    return report.verdict.status;
}

Parsed ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--json") {
            line.json = true;
        } else if (arg == "--actions") {
            line.options.actions = true;
        } else if (arg == "--properties") {
            line.options.properties = true;
        } else if (arg == "--click-all-ports") {
            line.options.clickAllPorts = true;
        } else if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--camera" || arg == "--port" || arg == "--baud") {
            if (!hasValue) return {std::nullopt, arg + ": missing value"};
            const std::string& value = args[++i];
            if (arg == "--camera") {
                line.cameraFile = value;
            } else if (arg == "--port") {
                line.options.port = Integer(value, 0);
                if (!line.options.port)
                    return {std::nullopt, "--port: not a port index (0 or more): " + value};
            } else {
                line.options.baud = Integer(value, 1);
                if (!line.options.baud)
                    return {std::nullopt, "--baud: not a positive baud rate: " + value};
            }
        } else {
            return {std::nullopt, "unknown option: " + arg};
        }
    }
    return {line, {}};
}

}  // namespace inspect
