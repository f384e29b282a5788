// The host's whole state as one line of JSON: tabs, pages and controls, camera, host, profile.
#pragma once

#include <string>

namespace host {

class HostApplication;

class StateDump {
public:
    // Keys come in a fixed order, so two dumps of the same state are the same text.
    static std::string Capture(HostApplication& app);
};

}  // namespace host
