// The camera library's C functions and the simulator's control API over the loaded model.
#include <pfConfig.h>
#include <sim/CameraSim.h>

#include <array>
#include <cfloat>
#include <charconv>
#include <chrono>
#include <cmath>
#include <deque>
#include <fstream>
#include <limits>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>
#include <utility>

#include "CameraModel.h"
#include "SimModel.h"

namespace pfsim {
namespace {

enum Op : size_t {
    kGetNumPort,
    kGetPortInfo,
    kOpenPort,
    kClosePort,
    kGetErrorMsg,
    kGetNumProperties,
    kGetPropertyInfo,
    kGetI,
    kSetI,
    kGetF,
    kSetF,
    kGetInt,
    kOpCount
};
constexpr std::array<std::string_view, kOpCount> kOpNames = {
    "pfGetNumPort",         "pfGetPortInfo",        "pfOpenPort",
    "pfClosePort",          "pfGetErrorMsg",        "pfGetNumProperties",
    "pfGetPropertyInfo",    "pfGetCameraPropertyI", "pfSetCameraPropertyI",
    "pfGetCameraPropertyF", "pfSetCameraPropertyF", "pfGetCameraPropertyInt"};

constexpr std::string_view kNull = "null";
// Replaced models stay alive a while, so texts the library handed out outlive a reload.
constexpr size_t kRetiredModels = 8;
// A character on the simulated serial link: start bit, 8 data bits, stop bit.
constexpr int64_t kBitsPerChar = 10;
// Framing around each request and reply (command prefix, line end).
constexpr size_t kFramingChars = 2;

std::string NoSuchPortMessage(int32_t port, size_t count) {
    return "Port " + std::to_string(port) + " does not exist (" + std::to_string(count) + " ports)";
}

std::string Int(int64_t v) {
    return std::to_string(v);
}

std::string Real(float v) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string Text(const char* text) {
    return text ? std::string(text) : std::string(kNull);
}

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

struct Port {
    explicit Port(const PortSetup& s) : setup(&s), camera(s.camera) {}
    const PortSetup* setup;
    CameraModel camera;
    bool open = false;
    std::optional<std::string> error;  // message of the last failed opening
};

// A link is never faster than its baud rate: some platforms' sleeps end a little early, so
// sleep again until the steady clock has passed the whole delay.
void Sleep(std::chrono::microseconds delay) {
    if (delay.count() <= 0) return;
    const auto until = std::chrono::steady_clock::now() + delay;
    for (auto now = std::chrono::steady_clock::now(); now < until;
         now = std::chrono::steady_clock::now()) {
        std::this_thread::sleep_for(until - now);
    }
}

// What a call still has to do once it has released the lock.
struct Pending {
    std::chrono::microseconds delay{0};
    std::shared_ptr<const WriteObserver> writeObserver;
    std::shared_ptr<const PortObserver> portObserver;
    int32_t port = 0;
    std::string name;
    double sent = 0;
    double held = 0;
    bool opened = false;
    int32_t code = 0;

    void Run() const {
        Sleep(delay);
        if (writeObserver) (*writeObserver)(port, name, sent, held, code);
        if (portObserver) (*portObserver)(port, opened, code);
    }
};

class Sim {
public:
    Sim() {
        std::string error;
        m_defaultModel = ParseModel(DefaultModelText(), error);
        if (!m_defaultModel) m_defaultModel = std::make_shared<const SimModel>();
        Install(m_defaultModel);
    }

    std::mutex mutex;
    bool logOn = true;
    bool delaysOn = true;
    std::shared_ptr<const WriteObserver> writeObserver;
    std::shared_ptr<const PortObserver> portObserver;

    std::shared_ptr<const SimModel> DefaultModel() const { return m_defaultModel; }
    std::shared_ptr<const SimModel> Model() const { return m_model; }

    // Takes `model` as the current one, everything back to its start.
    void Install(std::shared_ptr<const SimModel> model) {
        if (m_model && m_model != model) {
            m_retired.push_back(std::move(m_model));
            if (m_retired.size() > kRetiredModels) m_retired.pop_front();
        }
        m_model = std::move(model);
        m_ports.clear();
        m_ports.reserve(m_model->ports.size());
        for (const PortSetup& setup : m_model->ports) m_ports.emplace_back(setup);
        m_badPortError.reset();
        ClearLog();
    }

    void ClearLog() {
        m_log.clear();
        m_counts.fill(0);
    }

    // A port index in range, open or not; null otherwise.
    Port* At(int32_t port) {
        if (port < 0 || static_cast<size_t>(port) >= m_ports.size()) return nullptr;
        return &m_ports[static_cast<size_t>(port)];
    }
    int32_t PortCount() const { return static_cast<int32_t>(m_ports.size()); }
    int32_t OpenCount() const {
        int32_t n = 0;
        for (const Port& p : m_ports) n += p.open ? 1 : 0;
        return n;
    }

    // Counts the call and answers the open port it addresses, or null.
    Port* Begin(Op op, int32_t port) {
        ++m_counts[op];
        Port* p = At(port);
        return p && p->open ? p : nullptr;
    }
    void Count(Op op) { ++m_counts[op]; }

    bool Linked(const Port* p) const { return p && delaysOn && p->setup->baud > 0; }
    bool Tracing(const Port* p) const { return logOn || Linked(p); }

    // Logs the call and answers the link delay it costs on `p` (null: no link traffic). The
    // estimate: request = the arguments after the port joined by one separator, reply = the
    // answer, each with two framing characters, ten bits a character.
    std::chrono::microseconds End(Op op, const Port* p, std::vector<std::string> args,
                                  std::string answer) {
        std::chrono::microseconds delay{0};
        if (Linked(p)) {
            size_t chars = 2 * kFramingChars + answer.size();
            for (size_t i = 1; i < args.size(); ++i) chars += args[i].size() + (i > 1 ? 1 : 0);
            delay = std::chrono::microseconds(static_cast<int64_t>(chars) * kBitsPerChar *
                                              1'000'000 / p->setup->baud);
        }
        if (logOn) {
            m_log.push_back(Call{std::string(kOpNames[op]), std::move(args), std::move(answer)});
            if (m_log.size() > kMaxLoggedCalls) m_log.pop_front();
        }
        return delay;
    }

    void SetBadPortError(int32_t port) {
        m_badPort = port;
        m_badPortError = NoSuchPortMessage(port, m_ports.size());
    }
    const char* BadPortError(int32_t port) const {
        return m_badPortError && m_badPort == port ? m_badPortError->c_str() : nullptr;
    }

    std::vector<Call> Log() const { return {m_log.begin(), m_log.end()}; }
    uint64_t CountOf(std::string_view op) const {
        for (size_t i = 0; i < kOpCount; ++i) {
            if (kOpNames[i] == op) return m_counts[i];
        }
        return 0;
    }
    uint64_t TotalCount() const {
        uint64_t total = 0;
        for (uint64_t n : m_counts) total += n;
        return total;
    }

private:
    std::shared_ptr<const SimModel> m_defaultModel;
    std::shared_ptr<const SimModel> m_model;
    std::deque<std::shared_ptr<const SimModel>> m_retired;
    std::vector<Port> m_ports;
    int32_t m_badPort = 0;
    std::optional<std::string> m_badPortError;  // last failed opening of a port out of range
    std::deque<Call> m_log;
    std::array<uint64_t, kOpCount> m_counts{};
};

// Never destroyed: the plug-in may close its port while the process exits.
Sim& S() {
    static Sim* sim = new Sim();
    return *sim;
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
            done.delay = s.End(op, p, {Int(port), Text(name), std::move(sentText)}, Int(answer));
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
        if (s.Tracing(p)) done.delay = s.End(op, p, {Int(port), Text(name)}, format(answer));
    }
    done.Run();
    return answer;
}

std::string IntText(int32_t v) {
    return Int(v);
}

}  // namespace

bool LoadModelFile(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    if (!in || in.bad()) {
        if (error) *error = "cannot read model file '" + path + "'";
        return false;
    }
    return LoadModelString(text.str(), error);
}

bool LoadModelString(const std::string& json, std::string* error) {
    std::string message;
    auto model = ParseModel(json, message);
    if (!model) {
        if (error) *error = message;
        return false;
    }
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    s.Install(std::move(model));
    return true;
}

void LoadDefaultModel() {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    s.Install(s.DefaultModel());
}

std::string DefaultModelJson() {
    return std::string(DefaultModelText());
}

void Reset() {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    s.Install(s.Model());
}

std::optional<double> GetProperty(int32_t port, const std::string& name) {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    double v = 0;
    Port* p = s.At(port);
    if (!p || p->camera.Held(name, v) != Status::Ok) return std::nullopt;
    return v;
}

bool SetProperty(int32_t port, const std::string& name, double value) {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    Port* p = s.At(port);
    return p && p->camera.Force(name, value) == Status::Ok;
}

bool IsPortOpen(int32_t port) {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    Port* p = s.At(port);
    return p && p->open;
}

int32_t OpenPortCount() {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    return s.OpenCount();
}

void EnableCallLog(bool on) {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    s.logOn = on;
}

std::vector<Call> CallLog() {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    return s.Log();
}

void ClearCallLog() {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    s.ClearLog();
}

uint64_t CallCount(const std::string& op) {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    return s.CountOf(op);
}

uint64_t TotalCallCount() {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    return s.TotalCount();
}

void SetWriteObserver(WriteObserver observer) {
    auto shared = observer ? std::make_shared<const WriteObserver>(std::move(observer)) : nullptr;
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    s.writeObserver = std::move(shared);
}

void SetPortObserver(PortObserver observer) {
    auto shared = observer ? std::make_shared<const PortObserver>(std::move(observer)) : nullptr;
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    s.portObserver = std::move(shared);
}

void EnableDelays(bool on) {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    s.delaysOn = on;
}

}  // namespace pfsim

using pfsim::S;

extern "C" {

int32_t pfGetNumPort(void) {
    auto& s = S();
    std::lock_guard lock(s.mutex);
    s.Count(pfsim::kGetNumPort);
    const int32_t answer = s.PortCount();
    if (s.logOn) s.End(pfsim::kGetNumPort, nullptr, {}, pfsim::Int(answer));
    return answer;
}

const char* pfGetPortInfo(int32_t port) {
    auto& s = S();
    std::lock_guard lock(s.mutex);
    s.Count(pfsim::kGetPortInfo);
    const pfsim::Port* p = s.At(port);
    const char* answer = p && p->setup->description ? p->setup->description->c_str() : nullptr;
    if (s.logOn) s.End(pfsim::kGetPortInfo, nullptr, {pfsim::Int(port)}, pfsim::Text(answer));
    return answer;
}

int32_t pfOpenPort(int32_t port, int32_t flags) {
    auto& s = S();
    pfsim::Pending done;
    int32_t answer = 0;
    {
        std::lock_guard lock(s.mutex);
        s.Count(pfsim::kOpenPort);
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
        if (s.logOn) {
            s.End(pfsim::kOpenPort, nullptr, {pfsim::Int(port), pfsim::Int(flags)},
                  pfsim::Int(answer));
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
        s.Count(pfsim::kClosePort);
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
        if (s.logOn) s.End(pfsim::kClosePort, nullptr, {pfsim::Int(port)}, pfsim::Int(answer));
    }
    done.Run();
    return answer;
}

const char* pfGetErrorMsg(int32_t port) {
    auto& s = S();
    std::lock_guard lock(s.mutex);
    s.Count(pfsim::kGetErrorMsg);
    const pfsim::Port* p = s.At(port);
    const char* answer = p ? (p->error ? p->error->c_str() : nullptr) : s.BadPortError(port);
    if (s.logOn) s.End(pfsim::kGetErrorMsg, nullptr, {pfsim::Int(port)}, pfsim::Text(answer));
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
            delay = s.End(pfsim::kGetNumProperties, p, {pfsim::Int(port)}, pfsim::Int(answer));
        }
    }
    pfsim::Sleep(delay);
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
            delay = s.End(pfsim::kGetPropertyInfo, p, {pfsim::Int(port), pfsim::Int(index)},
                          pfsim::Text(answer));
        }
    }
    pfsim::Sleep(delay);
    return answer;
}

int32_t pfGetCameraPropertyI(int32_t port, const char* name) {
    return pfsim::ReadCall(pfsim::kGetI, port, name, pfsim::ToInt32, pfsim::IntText);
}

float pfGetCameraPropertyF(int32_t port, const char* name) {
    return pfsim::ReadCall(pfsim::kGetF, port, name, pfsim::ToFloat, pfsim::Real);
}

int32_t pfSetCameraPropertyI(int32_t port, const char* name, int32_t value) {
    return pfsim::WriteCall(pfsim::kSetI, port, name, value, pfsim::Int(value));
}

int32_t pfSetCameraPropertyF(int32_t port, const char* name, float value) {
    return pfsim::WriteCall(pfsim::kSetF, port, name, value, pfsim::Real(value));
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
            std::string text = pfsim::Int(answer);
            if (answer == 0) text += " value=" + pfsim::Int(stored);
            delay =
                s.End(pfsim::kGetInt, p, {pfsim::Int(port), pfsim::Text(name)}, std::move(text));
        }
    }
    pfsim::Sleep(delay);
    return answer;
}

}  // extern "C"
