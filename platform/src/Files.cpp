// Bounded reads and whole-or-nothing writes of files, over the C library's streams.
#include "Files.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

namespace plat::files {

namespace {

std::string Reason(const char* what, int error) {
    return std::string(what) + ": " + (error ? std::strerror(error) : "input/output error");
}

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

bool WriteAll(std::FILE* out, std::string_view bytes) {
    return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() &&
           std::fflush(out) == 0 && !std::ferror(out);
}

// A name beside `path` that no other writer of this process or another picks at the same time.
std::string TemporaryBeside(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::filesystem::file_time_type::clock::now().time_since_epoch().count();
    return path + ".tmp-" + std::to_string(stamp) + "-" + std::to_string(++counter);
}

}  // namespace

bool ReadBounded(const std::string& path, size_t maxBytes, std::string* bytes, std::string* error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        *error = "cannot read the file: it is a folder";
        return false;
    }
    errno = 0;
    const FilePtr in(std::fopen(path.c_str(), "rb"));
    if (!in) {
        *error = Reason("cannot read the file", errno);
        return false;
    }
    std::string data;
    char buffer[1 << 16];
    while (true) {
        const size_t got = std::fread(buffer, 1, sizeof buffer, in.get());
        if (data.size() + got > maxBytes) {
            *error = "cannot read the file: longer than " + std::to_string(maxBytes) + " bytes";
            return false;
        }
        data.append(buffer, got);
        if (got < sizeof buffer) break;
    }
    if (std::ferror(in.get())) {
        *error = Reason("cannot read the file", errno);
        return false;
    }
    *bytes = std::move(data);
    return true;
}

bool WriteWhole(const std::string& path, std::string_view bytes, std::string* error) {
    errno = 0;
    if (IsStandardOutput(path)) {
        if (WriteAll(stdout, bytes)) return true;
        *error = Reason("cannot write standard output", errno);
        return false;
    }
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (std::filesystem::is_directory(status)) {
        *error = "cannot write the file: it is a folder";
        return false;
    }
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        const FilePtr out(std::fopen(path.c_str(), "wb"));
        if (out && WriteAll(out.get(), bytes)) return true;
        *error = Reason("cannot write the file", errno);
        return false;
    }
    const std::string temporary = TemporaryBeside(path);
    bool written = false;
    {
        FilePtr out(std::fopen(temporary.c_str(), "wb"));
        written = out && WriteAll(out.get(), bytes) && SyncFile(out.get());
        const int writeErrno = errno;
        if (out && std::fclose(out.release()) != 0) written = false;
        if (!written) errno = writeErrno ? writeErrno : errno;
    }
    std::string why;
    if (!written) {
        *error = Reason("cannot write the file", errno);
    } else if (!MoveOver(temporary, path, &why)) {
        *error = "cannot write the file: " + why;
        written = false;
    }
    if (!written) std::filesystem::remove(temporary, ec);
    return written;
}

}  // namespace plat::files
