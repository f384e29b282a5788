// The camera's readout window as the Image page reads it: size, offsets, maxima, the spins'
// ranges and the capture region handed to the host.
#include "WindowGeometry.h"

#include <algorithm>
#include <limits>

#include "AmbrelController.h"
#include "pfConfig.h"

namespace window {

int32_t Read(const CAmbrelController& controller, const char* property) {
    if (controller.m_port < 0) return 0;
    // What the library leaves in the value when it fails is not settled.
    int32_t value = 0;
    pfGetCameraPropertyInt(controller.m_port, property, &value);
    return value;
}

void Write(const CAmbrelController& controller, const char* property, int32_t value) {
    if (controller.m_port >= 0) pfSetCameraPropertyI(controller.m_port, property, value);
}

bool Editable(CAmbrelController& controller) {
    return controller.m_port >= 0 && controller.HasProperty(kWidthProperty) &&
           controller.HasProperty(kHeightProperty) && controller.HasProperty(kOffsetXProperty) &&
           controller.HasProperty(kOffsetYProperty);
}

void ApplySize(CAmbrelController& controller, int32_t width, int32_t height,
               std::optional<int32_t> decimation) {
    Write(controller, kWidthProperty, width);
    Write(controller, kHeightProperty, height);
    if (decimation) controller.SetSetting(kIdDecimationY, *decimation);
}

int32_t Room(int32_t maximum, int32_t size) {
    return static_cast<int32_t>(std::clamp<int64_t>(int64_t{maximum} - int64_t{size}, 0,
                                                    std::numeric_limits<int32_t>::max()));
}

Axis ReadAxis(CAmbrelController& controller, bool horizontal) {
    Axis axis;
    axis.size = Read(controller, horizontal ? kWidthProperty : kHeightProperty);
    axis.offset = Read(controller, horizontal ? kOffsetXProperty : kOffsetYProperty);
    axis.maximum = horizontal ? controller.GetMaxWidth() : controller.GetMaxHeight();
    if (controller.m_port < 0 || axis.maximum <= 0) return axis;
    // The size spin only shrinks the window; a camera answering a negative size gets none.
    axis.sizeSpinMax = std::max(axis.size, 0);
    axis.sizeSpinPos = axis.size;
    axis.offsetSpinMax = Room(axis.maximum, axis.size);
    axis.offsetSpinPos = horizontal ? axis.offset / kOffsetXStep : axis.offset;
    return axis;
}

Region CameraRegion(CAmbrelController& controller) {
    Region region{Read(controller, kWidthProperty), Read(controller, kHeightProperty)};
    for (const SettingInfo& info : controller.m_settings) {
        if (info.id != kIdDecimationY) continue;
        if (info.setting) {
            const int32_t lines = info.setting->GetValue();
            if (lines >= 1) region.height /= lines;
        }
        break;
    }
    return region;
}

}  // namespace window
