// The controller's list records and the fixed entry ids it shares with the dialog pages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CGetSetSettings;
class CAdjustment;
class CCommand;

// Entry ids. Pages find entries by these, always taking the first entry with the id.
inline constexpr int32_t kIdPort = 0;
inline constexpr int32_t kIdWindow = 1;
inline constexpr int32_t kIdCorrection = 2;
inline constexpr int32_t kIdConstantFrameRate = 3;
inline constexpr int32_t kIdCrosshairs = 4;
inline constexpr int32_t kIdDigitalGain = 5;
inline constexpr int32_t kIdSimultaneousReadout = 6;
inline constexpr int32_t kIdTriggerMode = 7;
inline constexpr int32_t kIdDecimationY = 8;
inline constexpr int32_t kIdExposureTime = 9;
inline constexpr int32_t kIdFrameTime = 10;
inline constexpr int32_t kIdCrosshairsX = 11;
inline constexpr int32_t kIdCrosshairsY = 12;
inline constexpr int32_t kIdCrosshairsValue = 13;
inline constexpr int32_t kIdFactoryReset = 14;
inline constexpr int32_t kIdStoreDefaults = 15;
inline constexpr int32_t kIdMaxROI = 16;
inline constexpr int32_t kIdResetToDefault = 17;
// The id of a feature that has no entry.
inline constexpr int32_t kNoEntry = -1;

struct SettingOption {
    int32_t value = 0;   // exchanged with the camera
    std::wstring label;  // shown to the user
};

// `setting` points into the controller that built the entry; good until its next Refresh.
struct SettingInfo {
    int32_t id = 0;
    std::wstring name;
    CGetSetSettings* setting = nullptr;
    std::vector<SettingOption> options;
};

// An integer adjustment has its range in intMin/intMax and 0.0 in realMin/realMax; a real one
// the other way round. The controller leaves smallStep, largeStep and sliderScale at 0: the
// Adjustment page computes them on its own copy.
struct AdjustmentInfo {
    int32_t id = 0;
    std::wstring name;
    int32_t intMin = 0;
    int32_t intMax = 0;
    double realMin = 0.0;
    double realMax = 0.0;
    int32_t available = 0;
    int32_t autoCapable = 0;
    int32_t oneShotCapable = 0;
    int32_t isInteger = 0;
    int32_t logScale = 0;
    double smallStep = 0.0;
    double largeStep = 0.0;
    int32_t sliderScale = 0;
    CAdjustment* adjustment = nullptr;
};

struct CameraCommandInfo {
    int32_t id = 0;
    std::wstring name;
    CCommand* command = nullptr;
};
