// ambrel-inspect: what the plug-in will offer for the cameras on the library's ports, and what
// a click will cost on their links.
#include <cstdio>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Report.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    inspect::Parsed parsed = inspect::ParseCommandLine(args);
    if (!parsed.line) {
        std::fprintf(stderr, "ambrel-inspect: %s\n%s", parsed.error.c_str(), inspect::kUsage);
        return inspect::kExitBadInput;
    }
    inspect::CommandLine& line = *parsed.line;
    if (line.help) {
        std::fputs(inspect::kUsage, stdout);
        return inspect::kExitOk;
    }
    std::string error;
    if (!inspect::PrepareCamera(line, error)) {
        std::fprintf(stderr, "ambrel-inspect: %s\n", error.c_str());
        return inspect::kExitBadInput;
    }
    const inspect::Report report = inspect::Inspect(line.options);
    if (line.options.port && report.ports.empty()) {
        std::fprintf(stderr, "ambrel-inspect: --port %d: the library offers %d port(s)\n",
                     *line.options.port, report.portCount);
        return inspect::kExitBadInput;
    }
    const std::string text = line.json ? inspect::ReportJson(report) : inspect::ReportText(report);
    std::fputs(text.c_str(), stdout);
    return inspect::kExitOk;
}
