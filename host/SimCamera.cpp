// The simulated camera: its model loaded into the library, and the port and property lists the
// host reads from the same model.
#include "SimCamera.h"

#include <sim/CameraSim.h>

#include <nlohmann/json.hpp>

namespace host {

bool SimCamera::Load(const std::string& path, std::string* error) {
    std::string json;
    if (path.empty()) {
        pfsim::LoadDefaultModel();
        json = pfsim::DefaultModelJson();
    } else {
        std::string why;
        if (!pfsim::ReadModelFile(path, &json, &why)) {
            *error = "cannot read camera model file " + path + ": " + why;
            return false;
        }
        if (!pfsim::LoadModelString(json, &why)) {
            *error = "bad camera model file " + path + ": " + why;
            return false;
        }
    }
    if (!ReadTable(json, error)) return false;
    pfsim::Reset();
    return true;
}

// The library has accepted the model, so its shape is known to be right.
bool SimCamera::ReadTable(const std::string& json, std::string* error) {
    m_ports.clear();
    try {
        const auto model = nlohmann::json::parse(json);
        for (const auto& port : model.at("ports")) {
            std::vector<Property> properties;
            const auto camera = port.find("camera");
            if (camera != port.end() && camera->is_string()) {
                const auto& table =
                    model.at("cameras").at(camera->get<std::string>()).at("properties");
                for (const auto& row : table) {
                    if (!row.is_object() || row.at("type") == "name") continue;
                    const std::string name = row.at("name").get<std::string>();
                    const bool isInt = row.at("type") == "int";
                    properties.push_back({name, isInt});
                    if (row.value("limits", false)) {
                        properties.push_back({name + ".Min", isInt});
                        properties.push_back({name + ".Max", isInt});
                    }
                }
            }
            m_ports.push_back(std::move(properties));
        }
    } catch (const nlohmann::json::exception& e) {
        *error = std::string("cannot read the camera model's property table: ") + e.what();
        return false;
    }
    return true;
}

int32_t SimCamera::OpenPort() const {
    for (int32_t port = 0; port < PortCount(); ++port) {
        if (pfsim::IsPortOpen(port)) return port;
    }
    return -1;
}

int32_t SimCamera::CurrentPort() const {
    const int32_t open = OpenPort();
    if (open >= 0) return open;
    return PortCount() > 0 ? 0 : -1;
}

const std::vector<SimCamera::Property>& SimCamera::Properties(int32_t port) const {
    static const std::vector<Property> kNone;
    if (port < 0 || port >= PortCount()) return kNone;
    return m_ports[static_cast<size_t>(port)];
}

const SimCamera::Property* SimCamera::FindProperty(int32_t port, const std::string& name) const {
    for (const Property& property : Properties(port)) {
        if (property.name == name) return &property;
    }
    return nullptr;
}

std::optional<double> SimCamera::Get(int32_t port, const std::string& name) const {
    return pfsim::GetProperty(port, name);
}

bool SimCamera::Set(int32_t port, const std::string& name, double value) const {
    return pfsim::SetProperty(port, name, value);
}

}  // namespace host
