// The camera the inspector runs against: a model of the simulated camera library, or the
// vendor's library as the build links it.
#include <fstream>
#include <sstream>

#include "CommandLine.h"

#if defined(AMBREL_INSPECT_SIMULATOR)
#include <sim/CameraSim.h>
#include <nlohmann/json.hpp>
#endif

namespace inspect {

#if defined(AMBREL_INSPECT_SIMULATOR)
namespace {

// The "baud" of each port in a model file the simulator has accepted.
std::map<int32_t, int32_t> BaudRates(const std::string& modelJson) {
    std::map<int32_t, int32_t> rates;
    const nlohmann::json model = nlohmann::json::parse(modelJson, nullptr, false);
    if (!model.is_object() || !model.contains("ports") || !model["ports"].is_array()) return rates;
    int32_t index = 0;
    for (const nlohmann::json& port : model["ports"]) {
        if (port.is_object() && port.contains("baud") && port["baud"].is_number_integer()) {
            const int64_t baud = port["baud"].get<int64_t>();
            if (baud > 0 && baud <= std::numeric_limits<int32_t>::max())
                rates[index] = static_cast<int32_t>(baud);
        }
        ++index;
    }
    return rates;
}

}  // namespace

bool PrepareCamera(CommandLine& line, std::string& error) {
    std::string json;
    if (line.cameraFile) {
        if (!pfsim::LoadModelFile(*line.cameraFile, &error)) {
            error = "--camera " + *line.cameraFile + ": " + error;
            return false;
        }
        std::ifstream file(*line.cameraFile, std::ios::binary);
        std::ostringstream text;
        text << file.rdbuf();
        json = text.str();
    } else {
        pfsim::LoadDefaultModel();
        json = pfsim::DefaultModelJson();
    }
    // The link time is computed from the calls; nobody needs to wait for it.
    pfsim::EnableDelays(false);
    // Nor the library's own log of them: it would keep copies of every answer (each port's
    // description on every refresh).
    pfsim::EnableCallLog(false);
    line.options.baudByPort = BaudRates(json);
    return true;
}

#else

bool PrepareCamera(CommandLine& line, std::string& error) {
    if (line.cameraFile) {
        error =
            "--camera: this build links the vendor's camera library, which reads no model "
            "files; inspect the cameras on its ports without --camera";
        return false;
    }
    return true;
}

#endif

}  // namespace inspect
