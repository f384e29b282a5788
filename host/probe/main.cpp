// ambrel-inspect: what the plug-in will offer for the cameras on the library's ports, and what
// a click will cost on their links.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Report.h"

namespace {

// The whole text has reached standard output; false, with a message, when it has not.
bool Written(const std::string& text) {
    errno = 0;
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() &&
                         std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!written)
        std::fprintf(stderr, "ambrel-inspect: cannot write standard output: %s\n",
                     errno ? std::strerror(errno) : "write error");
    return written;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    inspect::Parsed parsed = inspect::ParseCommandLine(args);
    if (!parsed.line) {
        std::fprintf(stderr, "ambrel-inspect: %s\n%s", parsed.error.c_str(), inspect::kUsage);
        return inspect::kExitBadInput;
    }
    inspect::CommandLine& line = *parsed.line;
    if (line.help) {
        return Written(inspect::kUsage) ? inspect::kExitOk : inspect::kExitOutputLost;
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
    if (!Written(text)) return inspect::kExitOutputLost;
    return inspect::ExitStatus(report);
}
