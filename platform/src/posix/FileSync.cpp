// Durable file replacement on POSIX systems: fsync of the file, rename, fsync of its folder.
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "Files.h"

namespace plat::files {

bool SyncFile(std::FILE* file) {
    return ::fsync(fileno(file)) == 0;
}

bool MoveOver(const std::string& from, const std::string& to, std::string* why) {
    if (std::rename(from.c_str(), to.c_str()) != 0) {
        *why = std::strerror(errno);
        return false;
    }
    // The rename is durable once the folder holding both names is.
    const std::filesystem::path folder = std::filesystem::path(to).parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return true;
}

bool IsStandardOutput(const std::string& path) {
    return path == "/dev/stdout" || path == "/dev/fd/1" || path == "/proc/self/fd/1";
}

}  // namespace plat::files
