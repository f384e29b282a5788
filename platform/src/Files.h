// Files read whole within a size bound, and written whole or not at all.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace plat::files {

// The bytes of the file at `path`, at most `maxBytes` of them; false, with the reason ("cannot
// read the file: ..."), for a folder, a file that cannot be read, or one that is longer (a
// device that never ends included).
bool ReadBounded(const std::string& path, size_t maxBytes, std::string* bytes, std::string* error);

// Writes `bytes` as the whole of the file at `path`. A regular file (or a new one) is written to
// a temporary file beside it, flushed, synced and renamed over it, so that the file keeps its
// old content on any failure; a device or pipe is written in place, and standard output's own
// names (/dev/stdout) write to the process's standard output. False, with the reason, when any
// step fails.
bool WriteWhole(const std::string& path, std::string_view bytes, std::string* error);

// Provided per platform: flushes the file's data to the disk; renames `from` over `to` and makes
// the rename itself durable.
bool SyncFile(std::FILE* file);
bool MoveOver(const std::string& from, const std::string& to, std::string* why);
// Whether `path` names the process's standard output.
bool IsStandardOutput(const std::string& path);

}  // namespace plat::files
