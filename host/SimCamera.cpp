// The simulated camera: its model loaded into the library, and the port and property lists the
// host reads from the library.
#include "SimCamera.h"

#if defined(AMBREL_HOST_SIMULATOR)
#include <sim/CameraSim.h>
#endif

namespace host {

pfsim::CameraControl* LinkedSimulator() {
#if defined(AMBREL_HOST_SIMULATOR)
    return &pfsim::Control();
#else
    return nullptr;
#endif
}

bool SimCamera::Load(const std::string& path, std::string* error) {
    m_ports.clear();
    if (!m_control) {
        if (path.empty()) return true;
        *error = std::string("--camera: ") + kNoSimulator;
        return false;
    }
    if (path.empty()) {
        m_control->LoadDefault();
        ListProperties();
        return true;
    }
    std::string why;
    switch (m_control->Load(path, &why)) {
        case pfsim::CameraControl::LoadResult::Unreadable:
            *error = "cannot read camera model file " + path + ": " + why;
            return false;
        case pfsim::CameraControl::LoadResult::Invalid:
            *error = "bad camera model file " + path + ": " + why;
            return false;
        case pfsim::CameraControl::LoadResult::Loaded:
            break;
    }
    ListProperties();
    return true;
}

void SimCamera::ListProperties() {
    for (int32_t port = 0; port < m_control->PortCount(); ++port)
        m_ports.push_back(m_control->Properties(port));
}

int32_t SimCamera::OpenPort() const {
    for (int32_t port = 0; port < PortCount(); ++port) {
        if (m_control->IsPortOpen(port)) return port;
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
    return m_control ? m_control->Get(port, name) : std::nullopt;
}

bool SimCamera::Set(int32_t port, const std::string& name, double value) const {
    return m_control && m_control->Set(port, name, value);
}

}  // namespace host
