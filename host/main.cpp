// ambrel-host: loads the plug-in as the host application does and lets a person or a script use it.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <string_view>
#include <system_error>

#include "HostApplication.h"
#include "HostFiles.h"
#include "HostPlatform.h"
#include "HostText.h"
#include "PluginLoader.h"
#include "ScriptRunner.h"
#include "SimCamera.h"
#include "Trace.h"
#include "platform/Registry.h"
#include "platform/Utf8.h"
#include "ui/Window.h"

namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitBadInput = 2;
constexpr int kExitProfileLost = 3;
constexpr int kExitOutputLost = 4;

// Whatever the run printed has reached standard output; false, with a message, when it has not.
bool OutputWritten() {
    errno = 0;
    const bool written =
        static_cast<bool>(std::cout.flush()) && std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!written)
        std::cerr << "ambrel-host: cannot write standard output: "
                  << (errno ? std::strerror(errno) : "write error") << '\n';
    return written;
}

std::string Usage() {
    return std::string(
               "usage: ambrel-host [--plugin FILE] [--setup NAME] [--profile FILE] [--camera "
               "FILE]\n"
               "                   [--script FILE|-] [--trace] [--calls] [--version]\n"
               "       ambrel-host [--profile FILE] --export-profile FILE | --import-profile FILE\n"
               "  --plugin FILE   the plug-in library (default: " AMBREL_PLUGIN_FILE
               " beside ambrel-host)\n"
               "  --setup NAME    the setup the module belongs to (default: Default)\n"
               "  --profile FILE  the profile's registry store (default:\n"
               "                  ") +
           host::kDefaultProfileHelp +
           ")\n"
           "  --camera FILE   a camera model file, or the name of an installed one such as\n"
           "                  minimal (default: the built-in fully equipped camera)\n"
           "  --script FILE   run the actions in FILE (- for standard input); without it, "
           "standard\n"
           "                  input is read, with a prompt when it is a terminal\n"
           "  --trace         print camera writes, port changes, host and debugger events\n"
           "  --calls         print every camera-library call: call: NAME(ARGS) = RESULT\n"
           "  --version       print the version and exit\n"
           "  --check-camera FILE  check a camera model file and exit (2: its first error)\n"
           "  --export-profile FILE  write the profile's whole tree to FILE as .reg text, and "
           "exit\n"
           "  --import-profile FILE  merge a .reg file into the profile (all or nothing), and "
           "exit\n"
           "The plug-in's names go to standard error; standard output carries only the trace,\n"
           "camera values and state dumps.\n";
}

struct Options {
    host::HostOptions host;
    bool profileGiven = false;
    std::string script;
    bool scriptGiven = false;
    bool trace = false;
    bool calls = false;
    bool help = false;
    bool version = false;
    std::string exportProfile, importProfile;
    std::string checkCamera;
};

bool ParseOptions(int argc, char** argv, Options* options, std::string* error) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::string value;
        bool hasValue = false;
        if (const size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            value = arg.substr(eq + 1);
            arg.resize(eq);
            hasValue = true;
        }
        const bool takesValue = arg == "--plugin" || arg == "--setup" || arg == "--profile" ||
                                arg == "--camera" || arg == "--script" ||
                                arg == "--export-profile" || arg == "--import-profile" ||
                                arg == "--check-camera";
        if (takesValue && !hasValue) {
            if (i + 1 >= argc) {
                *error = "option " + arg + " needs a value";
                return false;
            }
            value = argv[++i];
        } else if (!takesValue && hasValue) {
            *error = "option " + arg + " takes no value";
            return false;
        }
        if (takesValue && value.empty()) {
            *error = "option " + arg + " needs a non-empty value";
            return false;
        }
        if (arg == "--plugin") {
            options->host.pluginPath = value;
        } else if (arg == "--setup") {
            options->host.setupName = plat::FromUtf8(value);
        } else if (arg == "--profile") {
            options->host.profilePath = value;
            options->profileGiven = true;
        } else if (arg == "--camera") {
            options->host.cameraPath = host::CameraModelPath(value, AMBREL_MODELS_FOLDER);
        } else if (arg == "--script") {
            options->script = value;
            options->scriptGiven = true;
        } else if (arg == "--export-profile" || arg == "--import-profile") {
            (arg == "--export-profile" ? options->exportProfile : options->importProfile) = value;
        } else if (arg == "--check-camera") {
            options->checkCamera = value;
        } else if (arg == "--trace") {
            options->trace = true;
        } else if (arg == "--calls") {
            options->calls = true;
        } else if (arg == "--version") {
            options->version = true;
        } else if (arg == "--help" || arg == "-h") {
            options->help = true;
        } else {
            *error = (arg.rfind("-", 0) == 0 ? "unknown option: " : "unexpected argument: ") + arg;
            return false;
        }
    }
    // The setup's name is the first part of the module's profile section.
    if (options->host.setupName.find(L'\\') != std::wstring::npos) {
        *error = "a setup name cannot hold a backslash: " + plat::ToUtf8(options->host.setupName);
        return false;
    }
    // Model files and the call log are the simulated camera library's; a vendor's has neither.
    if (!host::LinkedSimulator()) {
        for (const auto& [option, given] :
             {std::pair{"--camera", !options->host.cameraPath.empty()},
              std::pair{"--check-camera", !options->checkCamera.empty()}}) {
            if (given) {
                *error = std::string(option) + ": " + host::kNoSimulator;
                return false;
            }
        }
        if (options->calls) {
            *error = "--calls: this build links the vendor's camera library, which logs no calls";
            return false;
        }
    }
    if (!options->exportProfile.empty() && !options->importProfile.empty()) {
        *error = "--export-profile and --import-profile cannot be used together";
        return false;
    }
    if (options->host.pluginPath.empty())
        options->host.pluginPath =
            host::DefaultPluginPath(AMBREL_PLUGIN_FOLDER, AMBREL_PLUGIN_FILE);
    if (!options->profileGiven) {
        if (!host::DefaultProfilePath(&options->host.profilePath, error)) return false;
        options->host.makeProfileFolder = true;
    }
    return true;
}

// --export-profile and --import-profile: the profile's whole tree to or from a .reg file.
int TransferProfile(const Options& options) {
    const bool exporting = !options.exportProfile.empty();
    const std::string& file = exporting ? options.exportProfile : options.importProfile;
    std::string error;
    // An export reads the profile there is; a missing one is a mistyped name, not an empty tree.
    if (!host::OpenProfile(options.host.profilePath, options.host.makeProfileFolder && !exporting,
                           exporting, &error)) {
        std::cerr << "ambrel-host: " << error << '\n';
        return kExitBadInput;
    }
    const bool done = exporting ? plat::reg::ExportRegFile(file, {}, &error)
                                : plat::reg::ImportRegFile(file, &error);
    plat::reg::CloseStore();
    if (done) return kExitOk;
    std::cerr << "ambrel-host: " << file << ": " << error << '\n';
    // An export to standard output that could not be written is lost output, not bad input.
    return exporting && std::ferror(stdout) ? kExitOutputLost : kExitBadInput;
}

}  // namespace

int main(int argc, char** argv) {
    host::UseBinaryStandardStreams();
    Options options;
    std::string error;
    if (!ParseOptions(argc, argv, &options, &error)) {
        std::cerr << "ambrel-host: " << error << '\n' << Usage();
        return kExitBadInput;
    }
    if (options.help) {
        std::cout << Usage();
        return kExitOk;
    }
    if (options.version) {
        std::cout << "ambrel-host " AMBREL_VERSION "\n";
        return kExitOk;
    }
    if (!options.exportProfile.empty() || !options.importProfile.empty())
        return TransferProfile(options);
    if (!options.checkCamera.empty()) {
        if (!host::LinkedSimulator()->Check(options.checkCamera, &error)) {
            std::cerr << "ambrel-host: " << options.checkCamera << ": " << error << '\n';
            return kExitBadInput;
        }
        return kExitOk;
    }
    std::ifstream scriptFile;
    if (options.scriptGiven && options.script != "-") {
        scriptFile.open(options.script, std::ios::binary);
        if (!scriptFile) {
            std::cerr << "ambrel-host: cannot read script " << options.script << '\n';
            return kExitBadInput;
        }
    }

    host::Trace trace(std::cout);
    if (options.trace) trace.Start();
    if (options.calls) trace.StartCalls();
    int status = kExitOk;
    host::CatchEndSignals();
    {
        // The plug-in's names go to standard error, keeping standard output to what scripts read.
        host::HostApplication app(trace, std::cerr);
        if (const auto started = app.Start(options.host, &error);
            started != host::HostApplication::StartResult::Ok) {
            std::cerr << "ambrel-host: " << error << '\n';
            return started == host::HostApplication::StartResult::NoModule ? kExitFailure
                                                                           : kExitBadInput;
        }
        trace.FlushCalls();
        host::ScriptRunner runner(app, std::cout);
        // Output nobody reads any more ends the run as the end of its input would.
        runner.StopWhen(
            [] { return host::EndSignal() != 0 || !std::cout || std::ferror(stdout) != 0; });
        runner.AfterEachLine([&trace] { trace.FlushCalls(); });
        if (options.scriptGiven) {
            std::istream& in = options.script == "-" ? std::cin : scriptFile;
            if (!runner.Run(in, &error)) {
                std::cerr << "ambrel-host: " << error << '\n';
                status = kExitBadInput;
            }
        } else if (host::StandardInputIsTerminal()) {
            const auto pump = [] { ui::PumpMessages(); };
            runner.RunInteractive(
                [&](std::string* line) { return host::ReadInputLine(line, pump); }, std::cout,
                std::cerr);
        } else if (!runner.Run(std::cin, &error)) {
            std::cerr << "ambrel-host: " << error << '\n';
            status = kExitBadInput;
        }
        // The module is destroyed even after a bad line, so its port choice is saved.
        app.Shutdown();
        trace.FlushCalls();
        if (const int lost = app.LostProfileWrites(); lost > 0) {
            std::cerr << "ambrel-host: the profile refused " << lost
                      << " write(s); what they stored is lost\n";
            if (status == kExitOk) status = kExitProfileLost;
        }
    }
    trace.Stop();
    if (!OutputWritten() && status == kExitOk) status = kExitOutputLost;
    if (const int signal = host::EndSignal(); signal != 0) {
        std::cerr << "ambrel-host: ended by signal " << signal << " (the module was destroyed)\n";
        host::EndBySignal(signal);
    }
    return status;
}
