// Durable file replacement on Windows: the file's buffers flushed, then moved over the target
// with the move itself written through.
#include <io.h>
#include <windows.h>

#include <cstdio>
#include <string>

#include "Files.h"

namespace plat::files {

bool SyncFile(std::FILE* file) {
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle);
}

bool MoveOver(const std::string& from, const std::string& to, std::string* why) {
    if (MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    *why = "the file cannot be replaced (error " + std::to_string(GetLastError()) + ")";
    return false;
}

bool IsStandardOutput(const std::string& path) {
    return path == "CON" || path == "CONOUT$";
}

}  // namespace plat::files
