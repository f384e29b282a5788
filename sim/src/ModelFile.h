// A model file read and checked: the ports of the simulated frame grabber and the camera on each.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "CameraTable.h"

namespace pfsim {

struct OpenError {
    int32_t code = 0;
    std::optional<std::string> message;
};

struct PortSetup {
    std::optional<std::string> description;
    std::optional<OpenError> openError;
    int32_t baud = 0;                           // 0: no link delay
    std::shared_ptr<const CameraTable> camera;  // never null; empty when nothing is attached
};

struct SimModel {
    std::vector<PortSetup> ports;
};

// Error messages never grow past this, whatever the file holds.
inline constexpr size_t kMaxErrorChars = 400;
// The rates a port's serial line may run at, slowest and fastest.
inline constexpr int32_t kMinBaud = 300;
inline constexpr int32_t kMaxBaud = 4'000'000;
// A model file is a few kilobytes; a longer one (or a device that never ends) is refused.
inline constexpr size_t kMaxModelFileBytes = 16u << 20;

// The model in `json`, or null with `error` set to a message naming the JSON path at fault.
std::shared_ptr<const SimModel> ParseModel(std::string_view json, std::string& error);

// The text of the built-in model (sim/cameras/full.json, embedded at build time).
std::string_view DefaultModelText();

}  // namespace pfsim
