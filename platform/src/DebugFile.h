// Where the debugger-output sinks write bytes: an appended file or standard error, per platform.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace plat::detail {

class LineFile;

// Opens the file for appending, creating it; null, with errno set, when it cannot be opened.
std::shared_ptr<LineFile> OpenLineFile(const std::string& path);
// The process's standard error stream.
LineFile& StandardErrorFile();
// Writes the bytes and a line break as one write, so that a line appended by another process
// never lands inside it. Callers keep the writes of this process apart themselves.
void WriteLine(LineFile& file, std::string_view bytes);

// For a debug-log setting that names the platform's own debugger service, the function each
// line goes to; empty where the setting names none (it is then a file path).
std::function<void(std::wstring_view)> DebuggerSink(const char* setting);

}  // namespace plat::detail
