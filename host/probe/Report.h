// The inspector's report as aligned text, one section per port, or as one JSON document.
#pragma once

#include <string>

#include "Probe.h"

namespace inspect {

std::string ReportText(const Report& report);
// Keys: {"port_count", "warnings", "ports": [{"index", "description", "label", "offered",
// "opened", "error": {"code", "message"}, "tabs", "settings", "adjustments", "commands",
// "geometry", "missing": [{"property", "effect"}], "unused", "warnings", "cost":
// {"counted", "baud", "refresh_calls", "refresh_link_ms", "actions": {name: {"what", "calls",
// "link_ms"}}}, "restored"}]}. Texts are UTF-8; a value not known is null.
std::string ReportJson(const Report& report);

}  // namespace inspect
