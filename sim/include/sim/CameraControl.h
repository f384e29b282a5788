// What a host controls of the simulated camera library, as an interface, so that a host builds
// without the simulator and reaches it only when the build links it (see pfsim::Control()).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pfsim {

// One library call as the plug-in made it: the operation's name, its arguments and its answer,
// each as text ("pfSetCameraPropertyI", {"0", "Window.Mode", "1"}, "0"). Integers in decimal,
// reals in shortest round-trip form ("0.01", "nan", "inf"), a null text as "null". Out-value
// pointers are not arguments: pfGetPropertyInfo logs {port, index} and answers the name;
// pfGetCameraPropertyInt logs {port, name} and answers "0 value=1024" on success, else the code.
// The log keeps the latest kMaxLoggedCalls calls.
inline constexpr size_t kMaxLoggedCalls = 100000;
struct Call {
    std::string op;
    std::vector<std::string> args;
    std::string result;
};

// Observers run on the calling thread after the call has released the library's lock, so they
// may call the library; calls from several threads may report out of order.
// Observes every property write that reaches a camera (port open, name not null): name, value
// sent, value now held (0 when the camera does not list the name), and the code answered (0 when
// the camera took the write).
using WriteObserver = std::function<void(int32_t port, const std::string& name, double sent,
                                         double held, int32_t code)>;
// Observes every pfOpenPort (port, true, the code answered) and every pfClosePort that closes
// an open port (port, false, 0).
using PortObserver = std::function<void(int32_t port, bool open, int32_t code)>;

class CameraControl {
public:
    struct Property {
        std::string name;
        bool isInt = false;
        bool operator==(const Property&) const = default;
    };
    enum class LoadResult { Loaded, Unreadable, Invalid };

    // Loads a camera model file, or the built-in fully equipped camera; everything goes back to
    // the model's start. On failure the current model stays and `why` says what is wrong.
    virtual LoadResult Load(const std::string& path, std::string* why) = 0;
    virtual void LoadDefault() = 0;
    // Checks a model file as a load does, without loading it; false with the reason.
    virtual bool Check(const std::string& path, std::string* error) const = 0;

    virtual int32_t PortCount() const = 0;
    virtual bool IsPortOpen(int32_t port) const = 0;
    // The valued properties of the camera on `port` (a model's generated ".Min" and ".Max" rows
    // included), in its table's order; none for a port out of range.
    virtual std::vector<Property> Properties(int32_t port) const = 0;
    // The port's serial line rate; nullopt when the model gives none or the port is out of range.
    virtual std::optional<int32_t> Baud(int32_t port) const = 0;
    // Direct access to the values held, as pfsim::GetProperty and pfsim::SetProperty.
    virtual std::optional<double> Get(int32_t port, const std::string& name) const = 0;
    virtual bool Set(int32_t port, const std::string& name, double value) = 0;

    // Null observers stop observing.
    virtual void ObserveWrites(WriteObserver observer) = 0;
    virtual void ObservePorts(PortObserver observer) = 0;
    virtual void EnableCallLog(bool on) = 0;
    // The calls logged since the last take, which empties the log; `made` counts every call
    // since then, those beyond the log's reach included.
    virtual std::vector<Call> TakeCalls(uint64_t* made) = 0;
    // Simulated link delays; off only for measurements that compute them instead.
    virtual void EnableDelays(bool on) = 0;

    virtual ~CameraControl() = default;
};

}  // namespace pfsim
