// The simulated camera behind the plug-in: its model, and what the host reads and changes on it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host {

class SimCamera {
public:
    struct Property {
        std::string name;
        bool isInt = false;
    };

    // Loads a camera model file into the simulated library, or the built-in camera for an
    // empty path. False, with the reason, for a file that is missing or not a valid model.
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
    bool ReadTable(const std::string& json, std::string* error);

    std::vector<std::vector<Property>> m_ports;
};

}  // namespace host
