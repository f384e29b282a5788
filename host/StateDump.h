// The host's whole state as one line of JSON: tabs, pages and controls, camera, host, profile.
#pragma once

#include <string>

namespace host {

class HostApplication;

class StateDump {
public:
    // Keys come in a fixed order, so two dumps of the same state are the same text. False, with
    // the reason, when the profile cannot be read.
    static bool Capture(HostApplication& app, std::string* text, std::string* error);
};

}  // namespace host
