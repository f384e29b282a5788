// What one Refresh costs in library calls on a camera that lists every property the plug-in
// knows, worked out from the controller's feature table and the camera's property order: each
// name looked for scans the table from its top down to the name's row.
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include <sim/CameraSim.h>

#include "AmbrelController.h"
#include "pfConfig.h"

namespace refreshcost {

struct Cost {
    uint64_t scans = 0;      // pfGetNumProperties, one per name looked for
    uint64_t rows = 0;       // pfGetPropertyInfo
    uint64_t intReads = 0;   // pfGetCameraPropertyI: bounds, and the setting an entry needs on
    uint64_t realReads = 0;  // pfGetCameraPropertyF: bounds
    uint64_t ports = 0;      // pfGetPortInfo, one per port; pfGetNumPort is one call more
    uint64_t Total() const { return 1 + ports + scans + rows + intReads + realReads; }
};

// Asks the library for the port's property order, opening the port for it when it is closed;
// the calls it makes count like any other.
inline Cost OfRefresh(int32_t port) {
    const bool opened = !pfsim::IsPortOpen(port) && pfOpenPort(port, 0) == 0;
    std::map<std::string, uint64_t> rowOf;
    for (int32_t i = 0, n = pfGetNumProperties(port); i < n; ++i) {
        int32_t type = 0;
        int32_t access = 0;
        if (const char* name = pfGetPropertyInfo(port, i, &type, &access)) rowOf.emplace(name, i);
    }
    if (opened) pfClosePort(port);
    Cost cost;
    cost.ports = static_cast<uint64_t>(pfGetNumPort());
    auto lookFor = [&](const char* name) {
        ++cost.scans;
        cost.rows += rowOf.at(name) + 1;
    };
    for (const Feature& feature : CAmbrelController::Features()) {
        switch (feature.kind) {
            case FeatureKind::Setting:
                lookFor(feature.property);
                for (const FeatureOption& option : feature.options)
                    if (option.property) lookFor(option.property);
                break;
            case FeatureKind::Decimation:
                lookFor(feature.property);
                cost.intReads += 2;
                break;
            case FeatureKind::RealAdjustment:
                lookFor(feature.property);
                cost.realReads += 2;
                break;
            case FeatureKind::IntAdjustment:
                lookFor(feature.property);
                cost.intReads += 3;
                break;
            default:
                break;
        }
    }
    return cost;
}

}  // namespace refreshcost
