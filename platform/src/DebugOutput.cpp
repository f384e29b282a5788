// Debugger output sinks: nowhere, standard error, an appended file or a callback.
#include "platform/DebugOutput.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>

#include "DebugFile.h"
#include "platform/Text.h"
#include "platform/Utf8.h"

namespace plat {

namespace detail {
std::atomic<bool> g_debugOutputOn{false};
}  // namespace detail

namespace {

constexpr const char* kDebugLogVariable = "AMBREL_DEBUG_LOG";
constexpr const char* kStderrSetting = "stderr";
constexpr const char* kNoneSetting = "none";
// Unset, lines go where the platform's own debugger service takes them (none on some).
constexpr const char* kPlatformDefaultSetting = "debugger";

using LineCallback = std::function<void(std::wstring_view)>;

enum class SinkKind { None, Stderr, File, Callback };

// Shared pointers let a writer keep using the sink it picked after another thread switched it.
struct Sink {
    SinkKind kind = SinkKind::None;
    std::shared_ptr<detail::LineFile> file;
    std::shared_ptr<const LineCallback> callback;
};

struct Output {
    std::mutex mutex;
    Sink sink;
};

// Never destroyed: static destructors elsewhere may still write lines at exit.
Output& Out() {
    static Output* const output = new Output;
    return *output;
}

void Install(Sink sink) {
    Output& o = Out();
    {
        std::lock_guard lock(o.mutex);
        std::swap(o.sink, sink);
        detail::g_debugOutputOn.store(o.sink.kind != SinkKind::None, std::memory_order_relaxed);
    }
    // The old sink (closing its file, releasing its callback) is let go outside the lock.
}

Sink Current() {
    Output& o = Out();
    std::lock_guard lock(o.mutex);
    return o.sink;
}

// One line per write, under the lock: lines of this process never interleave.
void WriteLocked(detail::LineFile& file, std::string_view bytes) {
    std::lock_guard lock(Out().mutex);
    detail::WriteLine(file, bytes);
}

detail::LineFile* SinkFile(const Sink& sink) {
    if (sink.kind == SinkKind::Stderr) return &detail::StandardErrorFile();
    if (sink.kind == SinkKind::File) return sink.file.get();
    return nullptr;
}

// A debugger shows each call as one line, so a trailing line break is not doubled.
template <class View>
View WithoutLineBreak(View line) {
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
    return line;
}

// The process starts with the sink the environment names.
struct EnvironmentSetting {
    EnvironmentSetting() {
        const char* value = std::getenv(kDebugLogVariable);
        if (!detail::ApplyDebugLogSetting(value)) {
            std::fprintf(stderr, "%s: cannot open %s: %s\n", kDebugLogVariable, value,
                         std::strerror(errno));
        }
    }
} g_environmentSetting;

}  // namespace

namespace detail {

bool ApplyDebugLogSetting(const char* value) {
    if (!value) {
        if (auto debugger = DebuggerSink(kPlatformDefaultSetting))
            SetDebugOutputCallback(std::move(debugger));
        else
            SetDebugOutputNone();
        return true;
    }
    if (!*value || std::strcmp(value, kNoneSetting) == 0) {
        SetDebugOutputNone();
        return true;
    }
    if (std::strcmp(value, kStderrSetting) == 0) {
        SetDebugOutputStderr();
        return true;
    }
    if (auto debugger = DebuggerSink(value)) {
        SetDebugOutputCallback(std::move(debugger));
        return true;
    }
    return SetDebugOutputFile(value);
}

void WriteDebugText(std::wstring_view line) {
    line = WithoutLineBreak(line);
    const Sink sink = Current();
    if (sink.kind == SinkKind::Callback) {
        (*sink.callback)(line);
        return;
    }
    LineFile* file = SinkFile(sink);
    if (!file) return;
    std::string utf8;
    AppendUtf8(utf8, line);
    WriteLocked(*file, utf8);
}

void WriteDebugNarrow(const char* line) {
    const std::string_view text = WithoutLineBreak(std::string_view(line));
    const bool ascii = std::all_of(text.begin(), text.end(),
                                   [](char c) { return static_cast<unsigned char>(c) < 0x80; });
    if (!ascii) {
        WriteDebugText(NarrowToWide(text));
        return;
    }
    const Sink sink = Current();
    if (sink.kind == SinkKind::Callback) {
        (*sink.callback)(NarrowToWide(text));
        return;
    }
    // ASCII is already UTF-8: the bytes go out as they are, without a copy.
    if (LineFile* file = SinkFile(sink)) WriteLocked(*file, text);
}

}  // namespace detail

void SetDebugOutputNone() {
    Install({});
}

void SetDebugOutputStderr() {
    Install({SinkKind::Stderr, nullptr, nullptr});
}

bool SetDebugOutputFile(const std::string& path) {
    auto file = detail::OpenLineFile(path);
    if (!file) return false;
    Install({SinkKind::File, std::move(file), nullptr});
    return true;
}

void SetDebugOutputCallback(std::function<void(std::wstring_view)> callback) {
    if (!callback) {
        SetDebugOutputNone();
        return;
    }
    Install(
        {SinkKind::Callback, nullptr, std::make_shared<const LineCallback>(std::move(callback))});
}

struct DebugCapture::State {
    struct Collected {
        std::mutex mutex;
        std::vector<std::wstring> lines;
    };
    Sink previous;
    std::shared_ptr<Collected> collected = std::make_shared<Collected>();
};

DebugCapture::DebugCapture() : m_state(new State) {
    m_state->previous = Current();
    // The callback holds the collection, so a line still being written when the capture ends
    // lands in memory that is alive.
    SetDebugOutputCallback([collected = m_state->collected](std::wstring_view line) {
        std::lock_guard lock(collected->mutex);
        collected->lines.emplace_back(line);
    });
}

DebugCapture::~DebugCapture() {
    Install(std::move(m_state->previous));
    delete m_state;
}

std::vector<std::wstring> DebugCapture::Lines() const {
    std::lock_guard lock(m_state->collected->mutex);
    return m_state->collected->lines;
}

bool DebugCapture::Contains(std::wstring_view line) const {
    return Count(line) > 0;
}

size_t DebugCapture::Count(std::wstring_view line) const {
    std::lock_guard lock(m_state->collected->mutex);
    return static_cast<size_t>(
        std::count(m_state->collected->lines.begin(), m_state->collected->lines.end(), line));
}

void DebugCapture::Clear() {
    std::lock_guard lock(m_state->collected->mutex);
    m_state->collected->lines.clear();
}

}  // namespace plat
