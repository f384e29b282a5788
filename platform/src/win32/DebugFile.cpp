// Debugger-output files on Windows: handles that only append, one WriteFile per line, and the
// system's debug-string service for the setting "debugger".
#include <windows.h>

#include <cerrno>
#include <cstring>

#include "DebugFile.h"
#include "platform/TextRules.h"

namespace plat::detail {

namespace {

constexpr const char* kDebuggerSetting = "debugger";

// Lines up to this size go out from the stack, so an ASCII line to a file allocates nothing.
constexpr size_t kStackLine = 1024;

int ErrnoFor(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return EACCES;
        default:
            return EIO;
    }
}

}  // namespace

class LineFile {
public:
    // A null handle stands for the process's standard error, looked up at each write.
    explicit LineFile(HANDLE handle) : m_handle(handle) {}
    ~LineFile() {
        if (m_handle) CloseHandle(m_handle);
    }
    LineFile(const LineFile&) = delete;
    LineFile& operator=(const LineFile&) = delete;
    HANDLE handle() const { return m_handle ? m_handle : GetStdHandle(STD_ERROR_HANDLE); }

private:
    HANDLE m_handle;
};

std::shared_ptr<LineFile> OpenLineFile(const std::string& path) {
    // Append-only access makes every WriteFile land whole at the end of the file, whoever else
    // appends; the handle is not inherited by child processes.
    const HANDLE handle = CreateFileA(path.c_str(), FILE_APPEND_DATA,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = ErrnoFor(GetLastError());
        return nullptr;
    }
    return std::make_shared<LineFile>(handle);
}

LineFile& StandardErrorFile() {
    static LineFile* const file = new LineFile(nullptr);
    return *file;
}

void WriteLine(LineFile& file, std::string_view bytes) {
    const HANDLE handle = file.handle();
    if (!handle || handle == INVALID_HANDLE_VALUE) return;
    char onStack[kStackLine];
    std::string onHeap;
    char* line = onStack;
    if (bytes.size() + 1 > sizeof onStack) {
        onHeap.resize(bytes.size() + 1);
        line = onHeap.data();
    }
    std::memcpy(line, bytes.data(), bytes.size());
    line[bytes.size()] = '\n';
    size_t left = bytes.size() + 1;
    while (left > 0) {
        const DWORD chunk = left > MAXDWORD ? MAXDWORD : static_cast<DWORD>(left);
        DWORD written = 0;
        if (!WriteFile(handle, line, chunk, &written, nullptr) || written == 0) return;
        line += written;
        left -= written;
    }
}

std::function<void(std::wstring_view)> DebuggerSink(const char* setting) {
    if (!setting || !EqualsAsciiNoCase(std::string_view(setting), kDebuggerSetting)) return {};
    return [](std::wstring_view line) {
        const std::wstring terminated(line);
        OutputDebugStringW(terminated.c_str());
    };
}

}  // namespace plat::detail
