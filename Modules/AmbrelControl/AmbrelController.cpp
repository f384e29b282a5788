// The camera controller: port, list building and every camera operation, over pfConfig only.
#include "AmbrelController.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "pfConfig.h"
#include "platform/DebugOutput.h"
#include "platform/Text.h"

// Narrowing a double that single precision cannot hold gives an infinity, not undefined
// behaviour, on IEEE formats; camera writes rely on it.
static_assert(std::numeric_limits<float>::is_iec559);

namespace {

constexpr const wchar_t* kOpenPortErrorFormat = L"=================Open Port Error:%s(%d) =======";
constexpr const wchar_t* kDecimationLabelFormat = L"%d";

constexpr const wchar_t* kPortName = L"Port";
constexpr const wchar_t* kNotSelectedLabel = L"Not selected";
constexpr int32_t kNotSelectedValue = -1;

constexpr const wchar_t* kDecimationName = L"Decimation Y";
constexpr const char* kDecimationProperty = "Decimation.Y";
constexpr const char* kDecimationMinProperty = "Decimation.Y.Min";
constexpr const char* kDecimationMaxProperty = "Decimation.Y.Max";

constexpr const wchar_t* kWindowName = L"Window";
constexpr const char* kWindowProperty = "Window.Mode";
constexpr const wchar_t* kCorrectionName = L"Correction";
constexpr const char* kCorrectionProperty = "Correction.Mode";
constexpr const wchar_t* kFramerateName = L"Constant FrameRate";
constexpr const char* kFramerateProperty = "Trigger.CFR";
constexpr const wchar_t* kCrosshairsName = L"Crosshairs";
constexpr const char* kCrosshairsProperty = "Crosshairs.Enable";
constexpr const wchar_t* kDigitalGainName = L"DigitalGain";
constexpr const char* kDigitalGainProperty = "DigitalGain";
constexpr const wchar_t* kInterleaveName = L"Simultaneous Readout";
constexpr const char* kInterleaveProperty = "Trigger.Interleave";
constexpr const wchar_t* kTriggerModeName = L"Trigger Mode";
constexpr const char* kTriggerModeProperty = "Trigger.Source";

constexpr const char* kWindowWidthMaxProperty = "Window.W.Max";
constexpr const char* kWindowHeightMaxProperty = "Window.H.Max";

struct CommandRow {
    int32_t id;
    const wchar_t* name;
    const char* property;
};
constexpr CommandRow kStoreDefaults{kIdStoreDefaults, L"StoreDefaults", "StoreDefaults"};
constexpr CommandRow kFactoryReset{kIdFactoryReset, L"FactoryReset", "FactoryReset"};
constexpr CommandRow kResetToDefault{kIdResetToDefault, L"ResetToDefault", "Reset"};
constexpr CommandRow kMaxROI{kIdMaxROI, L"Max ROI", "Window.Max"};

}  // namespace

namespace controller_detail {

// One option of an enumerated setting: offered only when the camera lists `property`, or always
// when it is null. With running values `value` is ignored and options count up from 0.
struct ModeOption {
    int32_t value;
    const wchar_t* label;
    const char* property;
};

struct AdjustmentRow {
    int32_t id;
    const wchar_t* name;
    const char* property;
    const char* minProperty;
    const char* maxProperty;
};

}  // namespace controller_detail

namespace {

using controller_detail::AdjustmentRow;
using controller_detail::ModeOption;

constexpr ModeOption kWindowModes[] = {
    {0, L"1024x1024", "Window.Mode.Window_1024x1024"},
    {1, L"1024x512", "Window.Mode.Window_1024x512"},
    {2, L"1024x256", "Window.Mode.Window_1024x256"},
    {3, L"512x512", "Window.Mode.Window_512x512"},
};
constexpr ModeOption kCorrectionModes[] = {
    {0, L"Off", "Correction.Mode.Off"},
    {0, L"Offset", "Correction.Mode.Offset"},
    {0, L"OffsetHotpixel", "Correction.Mode.OffsetHotpixel"},
    {0, L"OffsetGainHotpixel", "Correction.Mode.OffsetGainHotpixel"},
    {0, L"BlackRefOut", "Correction.Mode.BlackRefOut"},
    {0, L"GreyRefOut", "Correction.Mode.GreyRefOut"},
};
constexpr ModeOption kDigitalGains[] = {
    {0, L"1x", "DigitalGain.1x"},
    {0, L"2x", "DigitalGain.2x"},
    {0, L"4x", "DigitalGain.4x"},
    {0, L"8x", "DigitalGain.8x"},
};
constexpr ModeOption kYesNo[] = {{1, L"Yes", nullptr}, {0, L"No", nullptr}};
constexpr ModeOption kEnableDisable[] = {{1, L"Enable", nullptr}, {0, L"Disable", nullptr}};
constexpr ModeOption kTriggerSources[] = {
    {0, L"Free running", nullptr},
    {1, L"Interface Trigger", nullptr},
    {2, L"IO Trigger", nullptr},
};

constexpr AdjustmentRow kExposure{kIdExposureTime, L"ExposureTime", "ExposureTime",
                                  "ExposureTime.Min", "ExposureTime.Max"};
constexpr AdjustmentRow kFrameTime{kIdFrameTime, L"FrameTime", "FrameTime", "FrameTime.Min",
                                   "FrameTime.Max"};
constexpr AdjustmentRow kCrosshairsX{kIdCrosshairsX, L"Crosshairs X", "Crosshairs.X",
                                     "Crosshairs.X.Min", "Crosshairs.X.Max"};
constexpr AdjustmentRow kCrosshairsY{kIdCrosshairsY, L"Crosshairs Y", "Crosshairs.Y",
                                     "Crosshairs.Y.Min", "Crosshairs.Y.Max"};
constexpr AdjustmentRow kCrosshairsValue{kIdCrosshairsValue, L"Crosshairs Value",
                                         "Crosshairs.Value", "Crosshairs.Value.Min",
                                         "Crosshairs.Value.Max"};

}  // namespace

CAmbrelController::CAmbrelController() = default;

CAmbrelController::~CAmbrelController() {
    m_settings.clear();
    m_adjustments.clear();
    m_cameraCommands.clear();
    if (m_port >= 0) pfClosePort(m_port);
}

void CAmbrelController::Refresh() {
    m_settings.clear();
    AddDecimationSetting();
    AddPortSetting();
    AddEnumSetting(kIdWindow, kWindowName, kWindowProperty, static_cast<CImageMode*>(this),
                   kWindowModes, false);
    AddEnumSetting(kIdCorrection, kCorrectionName, kCorrectionProperty,
                   static_cast<CCorrectionMode*>(this), kCorrectionModes, true);
    AddEnumSetting(kIdConstantFrameRate, kFramerateName, kFramerateProperty,
                   static_cast<CFramerateMode*>(this), kYesNo, false);
    AddEnumSetting(kIdCrosshairs, kCrosshairsName, kCrosshairsProperty,
                   static_cast<CCrossHairs*>(this), kEnableDisable, false);
    AddEnumSetting(kIdDigitalGain, kDigitalGainName, kDigitalGainProperty,
                   static_cast<CDigtialGain*>(this), kDigitalGains, true);
    AddEnumSetting(kIdSimultaneousReadout, kInterleaveName, kInterleaveProperty,
                   static_cast<CTriggerInterleave*>(this), kYesNo, false);
    AddEnumSetting(kIdTriggerMode, kTriggerModeName, kTriggerModeProperty,
                   static_cast<CTriggerMode*>(this), kTriggerSources, false);

    m_cameraCommands.clear();
    AddCommand(kStoreDefaults.id, kStoreDefaults.name, static_cast<CStoreDefaultsCmd*>(this));
    AddCommand(kFactoryReset.id, kFactoryReset.name, static_cast<CFactoryRestCmd*>(this));
    AddCommand(kResetToDefault.id, kResetToDefault.name, static_cast<CResetCmd*>(this));
    AddCommand(kMaxROI.id, kMaxROI.name, static_cast<CMaxROICmd*>(this));

    m_adjustments.clear();
    AddRealAdjustmentStep(kExposure, static_cast<CExposureAdjustment<double>*>(this));
    AddRealAdjustmentStep(kFrameTime, static_cast<CFrameRateAdjustment<double>*>(this));
    AddIntAdjustmentStep(kCrosshairsX, static_cast<CCrosshairsXAdjustment<int32_t>*>(this));
    AddIntAdjustmentStep(kCrosshairsY, static_cast<CCrosshairsYAdjustment<int32_t>*>(this));
    AddIntAdjustmentStep(kCrosshairsValue, static_cast<CCrosshairsVAdjustment<int32_t>*>(this));
}

bool CAmbrelController::SetSetting(int32_t id, int32_t value) {
    const auto it = std::find_if(m_settings.begin(), m_settings.end(),
                                 [id](const SettingInfo& s) { return s.id == id; });
    if (it == m_settings.end()) return false;
    it->setting->SetValue(value);
    m_settings.clear();
    Refresh();
    return true;
}

AdjustmentInfo* CAmbrelController::FindAdjustment(int32_t id) {
    const auto it = std::find_if(m_adjustments.begin(), m_adjustments.end(),
                                 [id](const AdjustmentInfo& a) { return a.id == id; });
    return it == m_adjustments.end() ? nullptr : &*it;
}

bool CAmbrelController::GetAdjustmentInt(int32_t id, int32_t& value) {
    value = 0;
    AdjustmentInfo* entry = FindAdjustment(id);
    if (!entry) return false;
    entry->adjustment->GetIntValue(value);
    return true;
}

bool CAmbrelController::SetAdjustmentInt(int32_t id, int32_t value) {
    AdjustmentInfo* entry = FindAdjustment(id);
    if (!entry) return false;
    entry->adjustment->SetIntValue(value);
    return true;
}

bool CAmbrelController::GetAdjustmentReal(int32_t id, double& value) {
    value = 0.0;
    AdjustmentInfo* entry = FindAdjustment(id);
    if (!entry) return false;
    entry->adjustment->GetRealValue(value);
    return true;
}

bool CAmbrelController::SetAdjustmentReal(int32_t id, double value) {
    AdjustmentInfo* entry = FindAdjustment(id);
    if (!entry) return false;
    entry->adjustment->SetRealValue(value);
    return true;
}

bool CAmbrelController::GetAdjustmentAuto(int32_t id, int32_t& flag) {
    flag = 0;
    AdjustmentInfo* entry = FindAdjustment(id);
    if (!entry) return false;
    entry->adjustment->GetAuto(flag);
    return true;
}

bool CAmbrelController::SetAdjustmentAuto(int32_t id, int32_t flag) {
    AdjustmentInfo* entry = FindAdjustment(id);
    if (!entry) return false;
    entry->adjustment->SetAuto(flag);
    return true;
}

bool CAmbrelController::HasProperty(const char* name) {
    // The library is never asked about properties while no port is open.
    if (m_port < 0 || !name) return false;
    const int32_t count = std::min(pfGetNumProperties(m_port), kMaxProperties);
    for (int32_t i = 0; i < count; ++i) {
        int32_t type = 0;
        int32_t access = 0;
        const char* property = pfGetPropertyInfo(m_port, i, &type, &access);
        if (!property) continue;
        plat::OutputDebugNarrow(property);
        // The first byte settles most rows without a library call; scans dominate Refresh.
        if (property[0] == name[0] && std::strcmp(property, name) == 0) return true;
    }
    return false;
}

int32_t CAmbrelController::GetMaxWidth() {
    return ReadStoredInt(kWindowWidthMaxProperty);
}

int32_t CAmbrelController::GetMaxHeight() {
    return ReadStoredInt(kWindowHeightMaxProperty);
}

int32_t CAmbrelController::GetPort() {
    return m_port;
}

void CAmbrelController::OpenPort(int32_t index) {
    if (m_port >= 0) pfClosePort(m_port);
    m_port = -1;
    if (index < 0) return;
    const int32_t result = pfOpenPort(index, 0);
    if (result == 0) {
        m_port = index;
        return;
    }
    const char* message = pfGetErrorMsg(index);
    const std::wstring wide = plat::NarrowToWide(message);
    plat::OutputDebugText(
        plat::Format(kOpenPortErrorFormat, message ? wide.c_str() : nullptr, result));
}

int32_t CAmbrelController::GetImageMode() {
    return ReadSetting(kWindowProperty);
}
void CAmbrelController::SetImageMode(int32_t value) {
    WriteInt(kWindowProperty, value);
}
int32_t CAmbrelController::GetCorrectionMode() {
    return ReadSetting(kCorrectionProperty);
}
void CAmbrelController::SetCorrectionMode(int32_t value) {
    WriteInt(kCorrectionProperty, value);
}
int32_t CAmbrelController::GetFramerateMode() {
    return ReadSetting(kFramerateProperty);
}
void CAmbrelController::SetFramerateMode(int32_t value) {
    WriteInt(kFramerateProperty, value);
}
int32_t CAmbrelController::GetDigitalGain() {
    return ReadSetting(kDigitalGainProperty);
}
void CAmbrelController::SetDigitalGain(int32_t value) {
    WriteInt(kDigitalGainProperty, value);
}
int32_t CAmbrelController::GetCrossHairs() {
    return ReadSetting(kCrosshairsProperty);
}
void CAmbrelController::SetCrossHairs(int32_t value) {
    WriteInt(kCrosshairsProperty, value);
}
int32_t CAmbrelController::GetTriggerInterleave() {
    return ReadSetting(kInterleaveProperty);
}
void CAmbrelController::SetTriggerInterleave(int32_t value) {
    WriteInt(kInterleaveProperty, value);
}
int32_t CAmbrelController::GetTriggerMode() {
    return ReadSetting(kTriggerModeProperty);
}
void CAmbrelController::SetTriggerMode(int32_t value) {
    WriteInt(kTriggerModeProperty, value);
}
int32_t CAmbrelController::GetDecimation() {
    return ReadSetting(kDecimationProperty);
}
void CAmbrelController::SetDecimation(int32_t value) {
    WriteInt(kDecimationProperty, value);
}

double CAmbrelController::GetExposure() {
    return ReadReal(kExposure.property);
}
void CAmbrelController::SetExposure(double value) {
    WriteReal(kExposure.property, value);
}
double CAmbrelController::GetFrameTime() {
    return ReadReal(kFrameTime.property);
}
void CAmbrelController::SetFrameTime(double value) {
    WriteReal(kFrameTime.property, value);
}
int32_t CAmbrelController::GetCrosshairsX() {
    return ReadInt(kCrosshairsX.property);
}
void CAmbrelController::SetCrosshairsX(int32_t value) {
    WriteInt(kCrosshairsX.property, value);
}
int32_t CAmbrelController::GetCrosshairsY() {
    return ReadInt(kCrosshairsY.property);
}
void CAmbrelController::SetCrosshairsY(int32_t value) {
    WriteInt(kCrosshairsY.property, value);
}
int32_t CAmbrelController::GetCrosshairsValue() {
    return ReadInt(kCrosshairsValue.property);
}
void CAmbrelController::SetCrosshairsValue(int32_t value) {
    WriteInt(kCrosshairsValue.property, value);
}

void CAmbrelController::StoreDefaults() {
    WriteInt(kStoreDefaults.property, 1);
}
void CAmbrelController::FactoryReset() {
    WriteInt(kFactoryReset.property, 1);
}
void CAmbrelController::Reset() {
    WriteInt(kResetToDefault.property, 1);
}
void CAmbrelController::MaxROI() {
    WriteInt(kMaxROI.property, 1);
}

void CAmbrelController::AddSetting(int32_t id, const wchar_t* name, CGetSetSettings* setting) {
    m_settings.push_back(SettingInfo{id, name, setting, {}});
}

void CAmbrelController::AddSettingOption(int32_t id, int32_t value, std::wstring label) {
    const auto it = std::find_if(m_settings.begin(), m_settings.end(),
                                 [id](const SettingInfo& s) { return s.id == id; });
    if (it == m_settings.end()) return;
    it->options.push_back(SettingOption{value, std::move(label)});
}

void CAmbrelController::AddRealAdjustment(int32_t id, const wchar_t* name, double lo, double hi,
                                          CAdjustment* adjustment) {
    AdjustmentInfo info;
    info.id = id;
    info.name = name;
    info.realMin = lo;
    info.realMax = hi;
    info.available = 1;
    info.isInteger = 0;
    info.adjustment = adjustment;
    m_adjustments.push_back(std::move(info));
}

void CAmbrelController::AddIntAdjustment(int32_t id, const wchar_t* name, int32_t lo, int32_t hi,
                                         CAdjustment* adjustment) {
    AdjustmentInfo info;
    info.id = id;
    info.name = name;
    info.intMin = lo;
    info.intMax = hi;
    info.available = 1;
    info.isInteger = 1;
    info.adjustment = adjustment;
    m_adjustments.push_back(std::move(info));
}

void CAmbrelController::AddCommand(int32_t id, const wchar_t* name, CCommand* command) {
    if (m_port < 0) return;
    m_cameraCommands.push_back(CameraCommandInfo{id, name, command});
}

void CAmbrelController::AddPortSetting() {
    const int32_t count = std::min(pfGetNumPort(), kMaxPorts);
    if (count <= 0) return;
    AddSetting(kIdPort, kPortName, static_cast<CCLSERPort*>(this));
    AddSettingOption(kIdPort, kNotSelectedValue, kNotSelectedLabel);
    for (int32_t i = 0; i < count; ++i) {
        // Bytes the code page cannot convert keep a readable label (see NarrowToWide).
        if (const char* description = pfGetPortInfo(i))
            AddSettingOption(kIdPort, i, plat::NarrowToWide(description));
    }
}

void CAmbrelController::AddDecimationSetting() {
    if (m_port < 0 || !HasProperty(kDecimationProperty)) return;
    AddSetting(kIdDecimationY, kDecimationName, static_cast<CDecimation*>(this));
    const int32_t lo = pfGetCameraPropertyI(m_port, kDecimationMinProperty);
    const int32_t hi = pfGetCameraPropertyI(m_port, kDecimationMaxProperty);
    if (lo > hi) return;
    // Counted in 64 bits: a range reaching INT32_MAX must neither overflow nor run for ever.
    const int64_t count =
        std::min<int64_t>(int64_t{hi} - int64_t{lo} + 1, int64_t{kMaxDecimationOptions});
    for (int64_t i = 0; i < count; ++i) {
        const int32_t value = static_cast<int32_t>(lo + i);
        AddSettingOption(kIdDecimationY, value, plat::Format(kDecimationLabelFormat, value));
    }
}

void CAmbrelController::AddEnumSetting(int32_t id, const wchar_t* name, const char* property,
                                       CGetSetSettings* setting,
                                       std::span<const ModeOption> options, bool runningValues) {
    if (m_port < 0 || !HasProperty(property)) return;
    AddSetting(id, name, setting);
    int32_t running = 0;
    for (const ModeOption& option : options) {
        if (option.property && !HasProperty(option.property)) continue;
        AddSettingOption(id, runningValues ? running++ : option.value, option.label);
    }
}

void CAmbrelController::AddRealAdjustmentStep(const AdjustmentRow& row, CAdjustment* adjustment) {
    if (m_port < 0 || !HasProperty(row.property)) return;
    // As returned, NaN and infinities included; the pages decide how to show them.
    const double lo = pfGetCameraPropertyF(m_port, row.minProperty);
    const double hi = pfGetCameraPropertyF(m_port, row.maxProperty);
    AddRealAdjustment(row.id, row.name, lo, hi, adjustment);
}

void CAmbrelController::AddIntAdjustmentStep(const AdjustmentRow& row, CAdjustment* adjustment) {
    if (GetCrossHairs() != 1 || !HasProperty(row.property)) return;
    const int32_t lo = pfGetCameraPropertyI(m_port, row.minProperty);
    const int32_t hi = pfGetCameraPropertyI(m_port, row.maxProperty);
    AddIntAdjustment(row.id, row.name, lo, hi, adjustment);
}

int32_t CAmbrelController::ReadSetting(const char* property) {
    if (m_port < 0) return 0;
    const int32_t value = pfGetCameraPropertyI(m_port, property);
    return value < 0 ? 0 : value;
}

int32_t CAmbrelController::ReadInt(const char* property) {
    if (m_port < 0) return 0;
    return pfGetCameraPropertyI(m_port, property);
}

// What the library leaves in the out-value when it fails is not settled: start it at 0.
int32_t CAmbrelController::ReadStoredInt(const char* property) {
    if (m_port < 0) return 0;
    int32_t value = 0;
    pfGetCameraPropertyInt(m_port, property, &value);
    return value;
}

double CAmbrelController::ReadReal(const char* property) {
    if (m_port < 0) return 0.0;
    return pfGetCameraPropertyF(m_port, property);
}

void CAmbrelController::WriteInt(const char* property, int32_t value) {
    if (m_port >= 0) pfSetCameraPropertyI(m_port, property, value);
}

void CAmbrelController::WriteReal(const char* property, double value) {
    if (m_port >= 0) pfSetCameraPropertyF(m_port, property, static_cast<float>(value));
}
