// The camera's readout window as the Image page reads it: size, offsets, maxima, the spins'
// ranges and the capture region handed to the host.
#pragma once

#include <cstdint>
#include <optional>

#include "AmbrelController.h"

namespace window {

inline constexpr const char* kWidthProperty = CAmbrelController::kWindowWidthProperty;
inline constexpr const char* kHeightProperty = CAmbrelController::kWindowHeightProperty;
inline constexpr const char* kOffsetXProperty = CAmbrelController::kWindowOffsetXProperty;
inline constexpr const char* kOffsetYProperty = CAmbrelController::kWindowOffsetYProperty;
// The offset X spin counts in steps of this many pixels.
inline constexpr int32_t kOffsetXStep = 32;

// A window property on the controller's open port; 0 with no port open (nothing is asked).
int32_t Read(const CAmbrelController& controller, const char* property);
void Write(const CAmbrelController& controller, const char* property, int32_t value);

// The size and offset controls are enabled: a port is open and the camera lists all four
// window properties (asked in the order width, height, offset X, offset Y).
bool Editable(CAmbrelController& controller);

// Apply's writes: the window size, then the decimation (when a row is chosen) as a setting,
// which rebuilds the controller's lists.
void ApplySize(CAmbrelController& controller, int32_t width, int32_t height,
               std::optional<int32_t> decimation);

// How far an offset may go: maximum less size, never negative.
int32_t Room(int32_t maximum, int32_t size);

// One axis as the page shows it. Without a port or a positive maximum both spins are 0 to 0.
struct Axis {
    int32_t size = 0;
    int32_t offset = 0;
    int32_t maximum = 0;
    int32_t sizeSpinMax = 0;
    int32_t sizeSpinPos = 0;
    int32_t offsetSpinMax = 0;
    int32_t offsetSpinPos = 0;
};
// Reads size, offset and maximum, in this order.
Axis ReadAxis(CAmbrelController& controller, bool horizontal);

// The capture region the host gets after Apply: the window, its height divided by the
// decimation when that is 1 or more. No region when either side is not positive.
struct Region {
    int32_t width = 0;
    int32_t height = 0;
    bool valid() const { return width > 0 && height > 0; }
};
Region CameraRegion(CAmbrelController& controller);

}  // namespace window
