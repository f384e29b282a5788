// Counts the camera-library calls of this program (the plug-in's controller included) and the
// characters each property call puts on the serial link.
//
// The linker routes every call to a camera-library function, the plug-in's static library's
// included, through the __wrap_ functions below, which count it and call the library's own
// (__real_) function: the counts are the library's whichever library the build links.
#include "CallMeter.h"

#include <charconv>
#include <mutex>
#include <string_view>
#include <utility>

#include "pfConfig.h"

namespace inspect {
namespace {

constexpr uint32_t kFramingChars = 2;  // around each of request and reply
constexpr int64_t kBitsPerChar = 10;

struct Meter {
    std::mutex mutex;
    CallTally tally;
    int32_t lastOpen = 0;
    std::optional<std::string> lastError;
    bool journalOn = false;
    std::vector<PropertyCall> journal;
};

Meter& M() {
    static Meter meter;
    return meter;
}

#if defined(AMBREL_INSPECT_WRAPS_LIBRARY)
uint32_t Chars(std::string_view text) {
    return static_cast<uint32_t>(text.size());
}
uint32_t Chars(int64_t value) {
    char buffer[24];
    return static_cast<uint32_t>(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer);
}
uint32_t Chars(float value) {
    char buffer[32];
    return static_cast<uint32_t>(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer);
}
uint32_t NameChars(const char* name) {
    return name ? Chars(std::string_view(name)) : Chars(std::string_view("null"));
}

void Note(const char* name, bool write, bool real, double value, int32_t code) {
    std::lock_guard lock(M().mutex);
    if (!M().journalOn || !name) return;
    M().journal.push_back(PropertyCall{name, write, real, value, code});
}

void CountPortCall() {
    std::lock_guard lock(M().mutex);
    ++M().tally.calls;
}

// A property call: the request is its arguments after the port, joined by one separator.
void CountPropertyCall(uint32_t request, uint32_t reply) {
    std::lock_guard lock(M().mutex);
    ++M().tally.calls;
    M().tally.linkChars.push_back(2 * kFramingChars + request + reply);
}
#endif

}  // namespace

namespace meter {

#if defined(AMBREL_INSPECT_WRAPS_LIBRARY)
bool Available() {
    return true;
}
#else
bool Available() {
    return false;
}
#endif

void Reset() {
    std::lock_guard lock(M().mutex);
    M().tally = {};
}

CallTally Tally() {
    std::lock_guard lock(M().mutex);
    return M().tally;
}

int32_t LastOpenResult() {
    std::lock_guard lock(M().mutex);
    return M().lastOpen;
}

std::optional<std::string> LastErrorMessage() {
    std::lock_guard lock(M().mutex);
    return M().lastError;
}

void Journal(bool on) {
    std::lock_guard lock(M().mutex);
    M().journalOn = on;
}

std::vector<PropertyCall> TakeJournal() {
    std::lock_guard lock(M().mutex);
    return std::exchange(M().journal, {});
}

}  // namespace meter

double LinkMilliseconds(const CallTally& tally, int32_t baud) {
    if (baud <= 0) return 0.0;
    int64_t micros = 0;
    for (uint32_t chars : tally.linkChars)
        micros += static_cast<int64_t>(chars) * kBitsPerChar * 1'000'000 / baud;
    return static_cast<double>(micros) / 1000.0;
}

}  // namespace inspect

#if defined(AMBREL_INSPECT_WRAPS_LIBRARY)
using inspect::Chars;
using inspect::CountPortCall;
using inspect::CountPropertyCall;
using inspect::NameChars;
using inspect::Note;

extern "C" {

int32_t __real_pfGetNumPort(void);
const char* __real_pfGetPortInfo(int32_t port);
int32_t __real_pfOpenPort(int32_t port, int32_t flags);
int32_t __real_pfClosePort(int32_t port);
const char* __real_pfGetErrorMsg(int32_t port);
int32_t __real_pfGetNumProperties(int32_t port);
const char* __real_pfGetPropertyInfo(int32_t port, int32_t index, int32_t* type, int32_t* access);
int32_t __real_pfGetCameraPropertyI(int32_t port, const char* name);
int32_t __real_pfSetCameraPropertyI(int32_t port, const char* name, int32_t value);
float __real_pfGetCameraPropertyF(int32_t port, const char* name);
int32_t __real_pfSetCameraPropertyF(int32_t port, const char* name, float value);
int32_t __real_pfGetCameraPropertyInt(int32_t port, const char* name, int32_t* value);

int32_t __wrap_pfGetNumPort(void) {
    CountPortCall();
    return __real_pfGetNumPort();
}

const char* __wrap_pfGetPortInfo(int32_t port) {
    CountPortCall();
    return __real_pfGetPortInfo(port);
}

int32_t __wrap_pfOpenPort(int32_t port, int32_t flags) {
    CountPortCall();
    const int32_t result = __real_pfOpenPort(port, flags);
    std::lock_guard lock(inspect::M().mutex);
    inspect::M().lastOpen = result;
    return result;
}

int32_t __wrap_pfClosePort(int32_t port) {
    CountPortCall();
    return __real_pfClosePort(port);
}

const char* __wrap_pfGetErrorMsg(int32_t port) {
    CountPortCall();
    const char* message = __real_pfGetErrorMsg(port);
    std::lock_guard lock(inspect::M().mutex);
    inspect::M().lastError = message ? std::optional<std::string>(message) : std::nullopt;
    return message;
}

int32_t __wrap_pfGetNumProperties(int32_t port) {
    const int32_t count = __real_pfGetNumProperties(port);
    CountPropertyCall(0, Chars(int64_t{count}));
    return count;
}

const char* __wrap_pfGetPropertyInfo(int32_t port, int32_t index, int32_t* type, int32_t* access) {
    const char* name = __real_pfGetPropertyInfo(port, index, type, access);
    CountPropertyCall(Chars(int64_t{index}), NameChars(name));
    return name;
}

int32_t __wrap_pfGetCameraPropertyI(int32_t port, const char* name) {
    const int32_t value = __real_pfGetCameraPropertyI(port, name);
    Note(name, false, false, value, 0);
    CountPropertyCall(NameChars(name), Chars(int64_t{value}));
    return value;
}

int32_t __wrap_pfSetCameraPropertyI(int32_t port, const char* name, int32_t value) {
    const int32_t result = __real_pfSetCameraPropertyI(port, name, value);
    Note(name, true, false, value, result);
    CountPropertyCall(NameChars(name) + 1 + Chars(int64_t{value}), Chars(int64_t{result}));
    return result;
}

float __wrap_pfGetCameraPropertyF(int32_t port, const char* name) {
    const float value = __real_pfGetCameraPropertyF(port, name);
    Note(name, false, true, value, 0);
    CountPropertyCall(NameChars(name), Chars(value));
    return value;
}

int32_t __wrap_pfSetCameraPropertyF(int32_t port, const char* name, float value) {
    const int32_t result = __real_pfSetCameraPropertyF(port, name, value);
    Note(name, true, true, value, result);
    CountPropertyCall(NameChars(name) + 1 + Chars(value), Chars(int64_t{result}));
    return result;
}

// The reply carries the value only when the read succeeds ("0 value=1024").
int32_t __wrap_pfGetCameraPropertyInt(int32_t port, const char* name, int32_t* value) {
    const int32_t result = __real_pfGetCameraPropertyInt(port, name, value);
    if (result == 0 && value) Note(name, false, false, *value, result);
    uint32_t reply = Chars(int64_t{result});
    if (result == 0 && value) reply += Chars(std::string_view(" value=")) + Chars(int64_t{*value});
    CountPropertyCall(NameChars(name), reply);
    return result;
}

}  // extern "C"
#endif
