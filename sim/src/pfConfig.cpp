// The camera library's twelve C functions: a thin adapter over the simulator's cameras.
#include <pfConfig.h>
#include <sim/CameraSim.h>

#include <cfloat>
#include <cmath>
#include <limits>
#include <mutex>
#include <string>
#include <utility>

#include "Link.h"
#include "Simulator.h"

namespace pfsim {
namespace {

// Integer reads of reals truncate toward zero and saturate; NaN reads as 0.
int32_t ToInt32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483648.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483649.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

float ToFloat(double v) {
    if (v > FLT_MAX) return std::numeric_limits<float>::infinity();
    if (v < -FLT_MAX) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

int32_t CodeOf(Status status) {
    switch (status) {
        case Status::Ok:
            return 0;
        case Status::Unknown:
            return kErrUnknownProperty;
        case Status::ReadOnly:
            return kErrReadOnly;
        case Status::NoValue:
            return kErrNoValue;
        case Status::NotANumber:
            return kErrNotANumber;
    }
    return kErrUnknownProperty;
}

int32_t WriteCall(Op op, int32_t port, const char* name, double sent, std::string sentText) {
    Sim& s = S();
    Pending done;
    int32_t answer = 0;
    {
        std::lock_guard lock(s.mutex);
        Port* p = s.Begin(op, port);
        if (!p) {
            answer = s.At(port) ? kErrPortNotOpen : kErrNoSuchPort;
        } else if (!name) {
            answer = kErrUnknownProperty;
        } else {
            answer = CodeOf(p->camera.Write(name, sent));
            if (s.writeObserver) {
                done.writeObserver = s.writeObserver;
                done.port = port;
                done.name = name;
                done.sent = sent;
                done.code = answer;
                p->camera.Held(name, done.held);
            }
        }
        if (s.Tracing(p)) {
            done.delay =
                s.End(op, p, {LogInt(port), LogText(name), std::move(sentText)}, LogInt(answer));
        }
    }
    done.Run();
    return answer;
}

// The value a read of `name` answers on an open port, or nullopt (closed port, unlisted, bare).
template <class Convert>
auto ReadCall(Op op, int32_t port, const char* name, Convert convert,
              std::string (*format)(decltype(convert(0.0)))) {
    Sim& s = S();
    Pending done;
    decltype(convert(0.0)) answer{};
    {
        std::lock_guard lock(s.mutex);
        Port* p = s.Begin(op, port);
        double v = 0;
        if (p && name && p->camera.Read(name, v) == Status::Ok) answer = convert(v);
        if (s.Tracing(p)) done.delay = s.End(op, p, {LogInt(port), LogText(name)}, format(answer));
    }
    done.Run();
    return answer;
}

std::string IntText(int32_t v) {
    return LogInt(v);
}

}  // namespace
}  // namespace pfsim

using pfsim::S;

extern "C" {

int32_t pfGetNumPort(void) {
    auto& s = S();
    std::lock_guard lock(s.mutex);
    s.log.Count(pfsim::kGetNumPort);
    const int32_t answer = s.PortCount();
    if (s.log.On()) s.End(pfsim::kGetNumPort, nullptr, {}, pfsim::LogInt(answer));
    return answer;
}

const char* pfGetPortInfo(int32_t port) {
    auto& s = S();
    std::lock_guard lock(s.mutex);
    s.log.Count(pfsim::kGetPortInfo);
    const pfsim::Port* p = s.At(port);
    const char* answer = p && p->setup->description ? p->setup->description->c_str() : nullptr;
    if (s.log.On())
        s.End(pfsim::kGetPortInfo, nullptr, {pfsim::LogInt(port)}, pfsim::LogText(answer));
    return answer;
}

int32_t pfOpenPort(int32_t port, int32_t flags) {
    auto& s = S();
    pfsim::Pending done;
    int32_t answer = 0;
    {
        std::lock_guard lock(s.mutex);
        s.log.Count(pfsim::kOpenPort);
        pfsim::Port* p = s.At(port);
        if (!p) {
            answer = pfsim::kErrNoSuchPort;
            s.SetBadPortError(port);
        } else if (const auto& failure = p->setup->openError) {
            answer = failure->code;
            p->error = failure->message;
        } else {
            p->open = true;
            p->error.reset();
        }
        if (s.log.On()) {
            s.End(pfsim::kOpenPort, nullptr, {pfsim::LogInt(port), pfsim::LogInt(flags)},
                  pfsim::LogInt(answer));
        }
        done.portObserver = s.portObserver;
        done.port = port;
        done.opened = true;
        done.code = answer;
    }
    done.Run();
    return answer;
}

int32_t pfClosePort(int32_t port) {
    auto& s = S();
    pfsim::Pending done;
    int32_t answer = 0;
    {
        std::lock_guard lock(s.mutex);
        s.log.Count(pfsim::kClosePort);
        pfsim::Port* p = s.At(port);
        if (!p) {
            answer = pfsim::kErrNoSuchPort;
        } else if (!p->open) {
            answer = pfsim::kErrPortNotOpen;
        } else {
            p->open = false;
            done.portObserver = s.portObserver;
            done.port = port;
        }
        if (s.log.On())
            s.End(pfsim::kClosePort, nullptr, {pfsim::LogInt(port)}, pfsim::LogInt(answer));
    }
    done.Run();
    return answer;
}

const char* pfGetErrorMsg(int32_t port) {
    auto& s = S();
    std::lock_guard lock(s.mutex);
    s.log.Count(pfsim::kGetErrorMsg);
    const pfsim::Port* p = s.At(port);
    const char* answer = p ? (p->error ? p->error->c_str() : nullptr) : s.BadPortError(port);
    if (s.log.On())
        s.End(pfsim::kGetErrorMsg, nullptr, {pfsim::LogInt(port)}, pfsim::LogText(answer));
    return answer;
}

int32_t pfGetNumProperties(int32_t port) {
    auto& s = S();
    std::chrono::microseconds delay{0};
    int32_t answer = 0;
    {
        std::lock_guard lock(s.mutex);
        const pfsim::Port* p = s.Begin(pfsim::kGetNumProperties, port);
        if (p) answer = static_cast<int32_t>(p->camera.Table().Size());
        if (s.Tracing(p)) {
            delay =
                s.End(pfsim::kGetNumProperties, p, {pfsim::LogInt(port)}, pfsim::LogInt(answer));
        }
    }
    pfsim::SleepFor(delay);
    return answer;
}

const char* pfGetPropertyInfo(int32_t port, int32_t index, int32_t* type, int32_t* access) {
    auto& s = S();
    std::chrono::microseconds delay{0};
    const char* answer = nullptr;
    {
        std::lock_guard lock(s.mutex);
        const pfsim::Port* p = s.Begin(pfsim::kGetPropertyInfo, port);
        const pfsim::PropertyDef* def =
            p && index >= 0 ? p->camera.Table().At(static_cast<size_t>(index)) : nullptr;
        if (def) {
            answer = def->name.c_str();
            const bool bare = def->type == pfsim::PropertyType::Bare;
            if (type) {
                *type = bare                                    ? pfsim::kTypeBare
                        : def->type == pfsim::PropertyType::Int ? pfsim::kTypeInt
                                                                : pfsim::kTypeReal;
            }
            if (access) {
                *access = bare            ? pfsim::kAccessNone
                          : def->readOnly ? pfsim::kAccessRead
                                          : pfsim::kAccessReadWrite;
            }
        }
        if (s.Tracing(p)) {
            delay = s.End(pfsim::kGetPropertyInfo, p, {pfsim::LogInt(port), pfsim::LogInt(index)},
                          pfsim::LogText(answer));
        }
    }
    pfsim::SleepFor(delay);
    return answer;
}

int32_t pfGetCameraPropertyI(int32_t port, const char* name) {
    return pfsim::ReadCall(pfsim::kGetI, port, name, pfsim::ToInt32, pfsim::IntText);
}

float pfGetCameraPropertyF(int32_t port, const char* name) {
    return pfsim::ReadCall(pfsim::kGetF, port, name, pfsim::ToFloat, pfsim::LogReal);
}

int32_t pfSetCameraPropertyI(int32_t port, const char* name, int32_t value) {
    return pfsim::WriteCall(pfsim::kSetI, port, name, value, pfsim::LogInt(value));
}

int32_t pfSetCameraPropertyF(int32_t port, const char* name, float value) {
    return pfsim::WriteCall(pfsim::kSetF, port, name, value, pfsim::LogReal(value));
}

int32_t pfGetCameraPropertyInt(int32_t port, const char* name, int32_t* value) {
    auto& s = S();
    std::chrono::microseconds delay{0};
    int32_t answer = 0;
    int32_t stored = 0;
    {
        std::lock_guard lock(s.mutex);
        const pfsim::Port* p = s.Begin(pfsim::kGetInt, port);
        double v = 0;
        if (!p) {
            answer = s.At(port) ? pfsim::kErrPortNotOpen : pfsim::kErrNoSuchPort;
        } else if (!name) {
            answer = pfsim::kErrUnknownProperty;
        } else if (!value) {
            answer = pfsim::kErrNullPointer;
        } else {
            answer = pfsim::CodeOf(p->camera.Read(name, v));
            if (answer == 0) *value = stored = pfsim::ToInt32(v);
        }
        if (s.Tracing(p)) {
            std::string text = pfsim::LogInt(answer);
            if (answer == 0) text += " value=" + pfsim::LogInt(stored);
            delay = s.End(pfsim::kGetInt, p, {pfsim::LogInt(port), pfsim::LogText(name)},
                          std::move(text));
        }
    }
    pfsim::SleepFor(delay);
    return answer;
}

}  // extern "C"
