// Which camera property each feature of the plug-in needs, and what its absence switches off.
#include "FeatureNeeds.h"

#include <algorithm>

#include "ControllerTypes.h"

namespace features {
namespace {

constexpr PropertyNeed kNeeds[] = {
    {"Window.Mode", Role::Value, kIdWindow, nullptr,
     L"no Window setting: the window modes cannot be chosen"},
    {"Window.Mode.Window_1024x1024", Role::Option, kIdWindow, "Window.Mode",
     L"no \"1024x1024\" option in the Window setting"},
    {"Window.Mode.Window_1024x512", Role::Option, kIdWindow, "Window.Mode",
     L"no \"1024x512\" option in the Window setting"},
    {"Window.Mode.Window_1024x256", Role::Option, kIdWindow, "Window.Mode",
     L"no \"1024x256\" option in the Window setting"},
    {"Window.Mode.Window_512x512", Role::Option, kIdWindow, "Window.Mode",
     L"no \"512x512\" option in the Window setting"},
    {"Correction.Mode", Role::Value, kIdCorrection, nullptr, L"no Correction setting"},
    {"Correction.Mode.Off", Role::Option, kIdCorrection, "Correction.Mode",
     L"no \"Off\" option in the Correction setting"},
    {"Correction.Mode.Offset", Role::Option, kIdCorrection, "Correction.Mode",
     L"no \"Offset\" option in the Correction setting"},
    {"Correction.Mode.OffsetHotpixel", Role::Option, kIdCorrection, "Correction.Mode",
     L"no \"OffsetHotpixel\" option in the Correction setting"},
    {"Correction.Mode.OffsetGainHotpixel", Role::Option, kIdCorrection, "Correction.Mode",
     L"no \"OffsetGainHotpixel\" option in the Correction setting"},
    {"Correction.Mode.BlackRefOut", Role::Option, kIdCorrection, "Correction.Mode",
     L"no \"BlackRefOut\" option in the Correction setting"},
    {"Correction.Mode.GreyRefOut", Role::Option, kIdCorrection, "Correction.Mode",
     L"no \"GreyRefOut\" option in the Correction setting"},
    {"Crosshairs.Enable", Role::Value, kIdCrosshairs, nullptr,
     L"no Crosshairs setting; the Crosshairs X, Y and Value adjustments are never offered"},
    {"DigitalGain", Role::Value, kIdDigitalGain, nullptr, L"no DigitalGain setting"},
    {"DigitalGain.1x", Role::Option, kIdDigitalGain, "DigitalGain",
     L"no \"1x\" option in the DigitalGain setting"},
    {"DigitalGain.2x", Role::Option, kIdDigitalGain, "DigitalGain",
     L"no \"2x\" option in the DigitalGain setting"},
    {"DigitalGain.4x", Role::Option, kIdDigitalGain, "DigitalGain",
     L"no \"4x\" option in the DigitalGain setting"},
    {"DigitalGain.8x", Role::Option, kIdDigitalGain, "DigitalGain",
     L"no \"8x\" option in the DigitalGain setting"},
    {"Trigger.Source", Role::Value, kIdTriggerMode, nullptr, L"no Trigger Mode setting"},
    {"Trigger.CFR", Role::Value, kIdConstantFrameRate, nullptr,
     L"no Constant Frame Rate check box; the frame-time controls stay disabled"},
    {"Trigger.Interleave", Role::Value, kIdSimultaneousReadout, nullptr,
     L"no Simultaneous Readout check box"},
    {"ExposureTime", Role::Value, kIdExposureTime, nullptr,
     L"no exposure-time slider and no Exposure tab"},
    {"ExposureTime.Min", Role::Minimum, kIdExposureTime, "ExposureTime",
     L"the exposure-time slider starts at what the camera "
     L"answers for an unknown name (0 on the simulator)"},
    {"ExposureTime.Max", Role::Maximum, kIdExposureTime, "ExposureTime",
     L"the exposure-time slider ends at what the camera "
     L"answers for an unknown name (0 on the simulator)"},
    {"FrameTime", Role::Value, kIdFrameTime, nullptr, L"no frame-time slider"},
    {"FrameTime.Min", Role::Minimum, kIdFrameTime, "FrameTime",
     L"the frame-time slider starts at what the camera answers "
     L"for an unknown name (0 on the simulator)"},
    {"FrameTime.Max", Role::Maximum, kIdFrameTime, "FrameTime",
     L"the frame-time slider ends at what the camera answers for "
     L"an unknown name (0 on the simulator)"},
    {"Crosshairs.X", Role::Value, kIdCrosshairsX, "Crosshairs.Enable",
     L"no Crosshairs X adjustment"},
    {"Crosshairs.X.Min", Role::Minimum, kIdCrosshairsX, "Crosshairs.X",
     L"the Crosshairs X range starts at what the camera "
     L"answers for an unknown name"},
    {"Crosshairs.X.Max", Role::Maximum, kIdCrosshairsX, "Crosshairs.X",
     L"the Crosshairs X range ends at what the camera "
     L"answers for an unknown name"},
    {"Crosshairs.Y", Role::Value, kIdCrosshairsY, "Crosshairs.Enable",
     L"no Crosshairs Y adjustment"},
    {"Crosshairs.Y.Min", Role::Minimum, kIdCrosshairsY, "Crosshairs.Y",
     L"the Crosshairs Y range starts at what the camera "
     L"answers for an unknown name"},
    {"Crosshairs.Y.Max", Role::Maximum, kIdCrosshairsY, "Crosshairs.Y",
     L"the Crosshairs Y range ends at what the camera "
     L"answers for an unknown name"},
    {"Crosshairs.Value", Role::Value, kIdCrosshairsValue, "Crosshairs.Enable",
     L"no Crosshairs Value adjustment"},
    {"Crosshairs.Value.Min", Role::Minimum, kIdCrosshairsValue, "Crosshairs.Value",
     L"the Crosshairs Value range starts at what "
     L"the camera answers for an unknown name"},
    {"Crosshairs.Value.Max", Role::Maximum, kIdCrosshairsValue, "Crosshairs.Value",
     L"the Crosshairs Value range ends at what the "
     L"camera answers for an unknown name"},
    {"Window.W", Role::Geometry, kNoEntry, nullptr,
     L"the window size and offset controls on the Image page stay disabled"},
    {"Window.H", Role::Geometry, kNoEntry, nullptr,
     L"the window size and offset controls on the Image page stay disabled"},
    {"Window.X", Role::Geometry, kNoEntry, nullptr,
     L"the window size and offset controls on the Image page stay disabled"},
    {"Window.Y", Role::Geometry, kNoEntry, nullptr,
     L"the window size and offset controls on the Image page stay disabled"},
    {"Window.W.Max", Role::Geometry, kNoEntry, nullptr,
     L"the width and offset X spins get the range 0 to 0, and Max ROI "
     L"gives the host no capture region"},
    {"Window.H.Max", Role::Geometry, kNoEntry, nullptr,
     L"the height and offset Y spins get the range 0 to 0, and Max ROI "
     L"gives the host no capture region"},
    {"Decimation.Y", Role::Value, kIdDecimationY, nullptr,
     L"no Decimation Y list on the Image page"},
    {"Decimation.Y.Min", Role::Minimum, kIdDecimationY, "Decimation.Y",
     L"the Decimation Y list starts at what the camera "
     L"answers for an unknown name"},
    {"Decimation.Y.Max", Role::Maximum, kIdDecimationY, "Decimation.Y",
     L"the Decimation Y list ends at what the camera answers "
     L"for an unknown name"},
    {"StoreDefaults", Role::Command, kIdStoreDefaults, nullptr,
     L"the StoreDefaults command is offered but the camera ignores it"},
    {"FactoryReset", Role::Command, kIdFactoryReset, nullptr,
     L"the FactoryReset command is offered but the camera ignores it"},
    {"Reset", Role::Command, kIdResetToDefault, nullptr,
     L"the ResetToDefault command is offered but the camera ignores it"},
    {"Window.Max", Role::Command, kIdMaxROI, nullptr,
     L"the Max ROI command is offered but the camera ignores it"},
};

}  // namespace

std::span<const PropertyNeed> PropertyNeeds() {
    return kNeeds;
}

const PropertyNeed* NeedOf(int32_t entryId, Role role) {
    const auto it = std::find_if(std::begin(kNeeds), std::end(kNeeds), [&](const PropertyNeed& n) {
        return n.entryId == entryId && n.role == role;
    });
    return it == std::end(kNeeds) ? nullptr : &*it;
}

}  // namespace features
