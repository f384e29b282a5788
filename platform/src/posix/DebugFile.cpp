// Debugger-output files on POSIX: descriptors opened for appending, one writev per line.
#include "DebugFile.h"

#include <fcntl.h>
#include <sys/uio.h>
#include <unistd.h>

#include <cerrno>

namespace plat::detail {

class LineFile {
public:
    LineFile(int fd, bool owned) : m_fd(fd), m_owned(owned) {}
    ~LineFile() {
        if (m_owned) ::close(m_fd);
    }
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;
    int fd() const { return m_fd; }

private:
    int m_fd;
    bool m_owned;
};

std::shared_ptr<LineFile> OpenLineFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
    if (fd < 0) return nullptr;
    return std::make_shared<LineFile>(fd, true);
}

LineFile& StandardErrorFile() {
    static LineFile* const file = new LineFile(STDERR_FILENO, false);
    return *file;
}

// O_APPEND keeps a whole writev together against other processes' appends.
void WriteLine(LineFile& file, std::string_view bytes) {
    static const char newline = '\n';
    iovec parts[2] = {{const_cast<char*>(bytes.data()), bytes.size()},
                      {const_cast<char*>(&newline), 1}};
    int count = 2;
    iovec* part = parts;
    while (count > 0) {
        const ssize_t written = ::writev(file.fd(), part, count);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return;
        auto left = static_cast<size_t>(written);
        while (count > 0 && left >= part->iov_len) {
            left -= part->iov_len;
            ++part;
            --count;
        }
        if (count > 0) {
            part->iov_base = static_cast<char*>(part->iov_base) + left;
            part->iov_len -= left;
        }
    }
}

std::function<void(std::wstring_view)> DebuggerSink(const char*) {
    return {};
}

}  // namespace plat::detail
