// The host on POSIX systems: the profile under the user's configuration folder, the dynamic
// loader, and no window system to read pictures from.
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>

#include "HostPlatform.h"

namespace host {

const char* const kDefaultProfileHelp =
    "$XDG_CONFIG_HOME/ambrel/profile.db or ~/.config/ambrel/profile.db";

void UseBinaryStandardStreams() {
    // Read-only, so that writing to a closed output fails as it would have.
    for (const int fd : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        const int placeholder = open("/dev/null", O_RDONLY);
        if (placeholder >= 0 && placeholder != fd) {
            dup2(placeholder, fd);
            close(placeholder);
        }
    }
}

bool StandardInputIsTerminal() {
    return isatty(STDIN_FILENO) != 0;
}

namespace {
volatile std::sig_atomic_t g_endSignal = 0;

void NoteEndSignal(int signal) {
    g_endSignal = signal;
}
}  // namespace

void CatchEndSignals() {
    struct sigaction action {};
    action.sa_handler = NoteEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: a read of standard input ends with EINTR
    for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
        // One ignored when the host started (a background job's SIGINT) stays ignored.
        struct sigaction current {};
        if (sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) continue;
        sigaction(signal, &action, nullptr);
    }
    std::signal(SIGPIPE, SIG_IGN);
}

int EndSignal() {
    return g_endSignal;
}

void EndBySignal(int signal) {
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

bool ReadInputLine(std::string* line, const std::function<void()>&) {
    return static_cast<bool>(std::getline(std::cin, *line));
}

bool DefaultProfilePath(std::string* path, std::string* error) {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config) {
        *path = (std::filesystem::path(config) / "ambrel" / "profile.db").string();
        return true;
    }
    const char* home = std::getenv("HOME");
    if (home && *home) {
        *path = (std::filesystem::path(home) / ".config" / "ambrel" / "profile.db").string();
        return true;
    }
    *error = "no place for the profile: set XDG_CONFIG_HOME or HOME, or give --profile FILE";
    return false;
}

void* OpenLibrary(const std::string& path, std::string* why) {
    // dlopen searches the library path for a bare name; a path keeps it to that file.
    const std::string file = path.find('/') == std::string::npos ? "./" + path : path;
    void* library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* message = dlerror();
        *why = message ? message : "the loader gave no reason";
    }
    return library;
}

void* FindExport(void* library, const char* name) {
    return dlsym(library, name);
}

void CloseLibrary(void* library) {
    dlclose(library);
}

std::filesystem::path ExecutableFile() {
    std::error_code ec;
    const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::filesystem::current_path(ec) / "ambrel-host" : self;
}

bool IsAddress(std::intptr_t value) {
    // The heap and every mapping of a position-independent program lie above 4 GiB.
    return value < INT32_MIN || value > INT32_MAX;
}

bool CaptureOwnWindow(std::wstring_view, Picture*) {
    return false;
}

}  // namespace host
