// The simulated camera behind the plug-in, as the host reaches it: through the simulator's
// control interface, and only when the build links the simulator.
#pragma once

#include <sim/CameraControl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host {

// The simulator's control interface; null when the build links the vendor's camera library.
pfsim::CameraControl* LinkedSimulator();
// Why an option that needs the simulator is refused without it.
inline constexpr const char* kNoSimulator =
    "this build links the vendor's camera library, which reads no model files";

class SimCamera {
public:
    using Property = pfsim::CameraControl::Property;

    // Loads a camera model file into the simulated library, or the built-in camera for an
    // empty path. False, with the reason, for a file that is missing or not a valid model.
    // Without the simulator there is nothing to load: true for an empty path.
    bool Load(const std::string& path, std::string* error);

    int32_t PortCount() const { return static_cast<int32_t>(m_ports.size()); }
    // The first open port, or -1.
    int32_t OpenPort() const;
    // The port the host's camera commands address: the open one, else port 0; -1 without ports.
    int32_t CurrentPort() const;
    // The valued properties of the camera on that port, in the model's order.
    const std::vector<Property>& Properties(int32_t port) const;
    const Property* FindProperty(int32_t port, const std::string& name) const;

    std::optional<double> Get(int32_t port, const std::string& name) const;
    bool Set(int32_t port, const std::string& name, double value) const;

private:
    void ListProperties();

    pfsim::CameraControl* m_control = LinkedSimulator();
    std::vector<std::vector<Property>> m_ports;
};

}  // namespace host
