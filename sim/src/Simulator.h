// The simulator's state behind one lock: the loaded model, the ports and their cameras, the call
// log, observers and link delays.
#pragma once

#include <sim/CameraSim.h>

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "CallRecord.h"
#include "CameraModel.h"
#include "ModelFile.h"

namespace pfsim {

struct Port {
    explicit Port(const PortSetup& s) : setup(&s), camera(s.camera) {}
    const PortSetup* setup;
    CameraModel camera;
    bool open = false;
    std::optional<std::string> error;  // message of the last failed opening
};

// What a call still has to do once it has released the lock: wait out the link, tell observers.
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

    void Run() const;
};

class Sim {
public:
    Sim();

    std::mutex mutex;
    CallRecord log;
    bool delaysOn = true;
    std::shared_ptr<const WriteObserver> writeObserver;
    std::shared_ptr<const PortObserver> portObserver;

    std::shared_ptr<const SimModel> DefaultModel() const { return m_defaultModel; }
    std::shared_ptr<const SimModel> Model() const { return m_model; }
    // Takes `model` as the current one, everything back to its start.
    void Install(std::shared_ptr<const SimModel> model);

    // A port index in range, open or not; null otherwise.
    Port* At(int32_t port);
    int32_t PortCount() const { return static_cast<int32_t>(m_ports.size()); }
    int32_t OpenCount() const;

    // Counts the call and answers the open port it addresses, or null.
    Port* Begin(Op op, int32_t port);
    // Whether a call on `p` must be written out: for the log, or to time it on the link.
    bool Tracing(const Port* p) const { return log.On() || Linked(p); }
    // Logs the call and answers the link delay it costs on `p` (null: no link traffic).
    std::chrono::microseconds End(Op op, const Port* p, std::vector<std::string> args,
                                  std::string answer);

    void SetBadPortError(int32_t port);
    const char* BadPortError(int32_t port) const;

private:
    bool Linked(const Port* p) const { return p && delaysOn && p->setup->baud > 0; }

    std::shared_ptr<const SimModel> m_defaultModel;
    std::shared_ptr<const SimModel> m_model;
    std::deque<std::shared_ptr<const SimModel>> m_retired;
    std::vector<Port> m_ports;
    int32_t m_badPort = 0;
    std::optional<std::string> m_badPortError;  // last failed opening of a port out of range
};

// The one simulator, never destroyed: the plug-in may close its port while the process exits.
Sim& S();

}  // namespace pfsim
