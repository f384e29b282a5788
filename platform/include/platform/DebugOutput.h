// Debugger output: the stand-in for the platform's debug-string service.
#pragma once

#include <atomic>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace plat {

namespace detail {
extern std::atomic<bool> g_debugOutputOn;
void WriteDebugText(std::wstring_view line);
void WriteDebugNarrow(const char* line);
// Applies a value of AMBREL_DEBUG_LOG: null (unset) for the platform's default, empty or "none"
// for none, "stderr", "debugger", or a file path. False (and the sink unchanged) when the file
// cannot be opened.
bool ApplyDebugLogSetting(const char* value);
}  // namespace detail

// True when some sink takes lines; callers may skip building a line when false.
inline bool DebugOutputEnabled() noexcept {
    return detail::g_debugOutputOn.load(std::memory_order_relaxed);
}

// Sends one line; a trailing line break is dropped, as each call is shown as one line.
// Switched off, a call costs one relaxed atomic load.
inline void OutputDebugText(std::wstring_view line) {
    if (DebugOutputEnabled()) detail::WriteDebugText(line);
}

// Sends narrow text (as the camera library returns it) without the caller converting it.
// ASCII text goes to a file or stderr without a copy or an allocation.
inline void OutputDebugNarrow(const char* line) {
    if (DebugOutputEnabled() && line) detail::WriteDebugNarrow(line);
}

// Where lines go. The process starts with the sink named by the environment variable
// AMBREL_DEBUG_LOG ("stderr", a file path to append to, "none" or empty for nowhere; on Windows
// also "debugger", the system's debug-string service). Unset, lines go to that service on
// Windows, and nowhere elsewhere.
void SetDebugOutputNone();
void SetDebugOutputStderr();
// Appends one UTF-8 line per call, written through at once.
bool SetDebugOutputFile(const std::string& path);  // false when the file cannot be opened
// Every line is handed to the callback (as UTF-8 capable wide text), on the writing thread.
void SetDebugOutputCallback(std::function<void(std::wstring_view)> callback);

// Collects every line while it exists (for tests); restores the previous sink when destroyed.
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    std::vector<std::wstring> Lines() const;
    bool Contains(std::wstring_view line) const;
    size_t Count(std::wstring_view line) const;
    void Clear();

private:
    struct State;
    State* m_state;
};

}  // namespace plat
