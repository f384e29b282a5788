// The simulator's state and its control API for tests and the reference host.
#include "Simulator.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>
#include <utility>

#include "Link.h"
#include "ModelFile.h"

namespace pfsim {
namespace {

// Replaced models stay alive a while, so texts the library handed out outlive a reload.
constexpr size_t kRetiredModels = 8;

bool ReadFile(const std::string& path, std::string& text, std::string* error) {
    std::string why;
    if (ReadModelFile(path, &text, &why)) return true;
    if (error) *error = "cannot read model file '" + path + "': " + why;
    return false;
}

std::shared_ptr<const SimModel> Parse(const std::string& json, std::string* error) {
    std::string message;
    auto model = ParseModel(json, message);
    if (!model && error) *error = message;
    return model;
}

}  // namespace

void Pending::Run() const {
    SleepFor(delay);
    if (writeObserver) (*writeObserver)(port, name, sent, held, code);
    if (portObserver) (*portObserver)(port, opened, code);
}

Sim::Sim() {
    std::string error;
    m_defaultModel = ParseModel(DefaultModelText(), error);
    if (!m_defaultModel) m_defaultModel = std::make_shared<const SimModel>();
    Install(m_defaultModel);
}

void Sim::Install(std::shared_ptr<const SimModel> model) {
    if (m_model && m_model != model) {
        m_retired.push_back(std::move(m_model));
        if (m_retired.size() > kRetiredModels) m_retired.pop_front();
    }
    m_model = std::move(model);
    m_ports.clear();
    m_ports.reserve(m_model->ports.size());
    for (const PortSetup& setup : m_model->ports) m_ports.emplace_back(setup);
    m_badPortError.reset();
    log.Clear();
}

Port* Sim::At(int32_t port) {
    if (port < 0 || static_cast<size_t>(port) >= m_ports.size()) return nullptr;
    return &m_ports[static_cast<size_t>(port)];
}

int32_t Sim::OpenCount() const {
    int32_t n = 0;
    for (const Port& p : m_ports) n += p.open ? 1 : 0;
    return n;
}

Port* Sim::Begin(Op op, int32_t port) {
    log.Count(op);
    Port* p = At(port);
    return p && p->open ? p : nullptr;
}

std::chrono::microseconds Sim::End(Op op, const Port* p, std::vector<std::string> args,
                                   std::string answer) {
    std::chrono::microseconds delay{0};
    if (Linked(p)) delay = LinkDelay(p->setup->baud, args, answer);
    log.Add(op, std::move(args), std::move(answer));
    return delay;
}

void Sim::SetBadPortError(int32_t port) {
    m_badPort = port;
    m_badPortError = "Port " + std::to_string(port) + " does not exist (" +
                     std::to_string(m_ports.size()) + " ports)";
}

const char* Sim::BadPortError(int32_t port) const {
    return m_badPortError && m_badPort == port ? m_badPortError->c_str() : nullptr;
}

Sim& S() {
    static Sim* sim = new Sim();
    return *sim;
}

bool ReadModelFile(const std::string& path, std::string* text, std::string* error) {
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) {
        *error = "it is a folder";
        return false;
    }
    errno = 0;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(path.c_str(), "rb"),
                                                       &std::fclose);
    if (!in) {
        *error = std::strerror(errno);
        return false;
    }
    std::string data;
    char buffer[1 << 16];
    size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, in.get())) > 0) {
        if (data.size() + got > kMaxModelFileBytes) {
            *error = "longer than " + std::to_string(kMaxModelFileBytes) + " bytes";
            return false;
        }
        data.append(buffer, got);
    }
    if (std::ferror(in.get())) {
        *error = errno ? std::strerror(errno) : "input/output error";
        return false;
    }
    *text = std::move(data);
    return true;
}

bool LoadModelFile(const std::string& path, std::string* error) {
    std::string text;
    return ReadFile(path, text, error) && LoadModelString(text, error);
}

bool CheckModelFile(const std::string& path, std::string* error) {
    std::string text;
    return ReadFile(path, text, error) && Parse(text, error);
}

bool LoadModelString(const std::string& json, std::string* error) {
    auto model = Parse(json, error);
    if (!model) return false;
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
    s.log.Enable(on);
}

std::vector<Call> CallLog() {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    return s.log.Calls();
}

void ClearCallLog() {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    s.log.Clear();
}

uint64_t CallCount(const std::string& op) {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    return s.log.CountOf(op);
}

uint64_t TotalCallCount() {
    Sim& s = S();
    std::lock_guard lock(s.mutex);
    return s.log.Total();
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
