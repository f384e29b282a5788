// The camera controller: port, list building and every camera operation, over pfConfig only.
#include "AmbrelController.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>

#include "pfConfig.h"
#include "platform/DebugOutput.h"
#include "platform/Text.h"

// Camera writes narrow reals to single precision, whose range they rely on.
static_assert(std::numeric_limits<float>::is_iec559);

namespace {

constexpr const wchar_t* kOpenPortErrorFormat = L"=================Open Port Error:%s(%d) =======";
constexpr const wchar_t* kDecimationLabelFormat = L"%d";
constexpr int32_t kNotSelectedValue = -1;
constexpr const wchar_t* kNotSelectedLabel = L"Not selected";

constexpr FeatureOption kWindowModes[] = {
    {0, L"1024x1024", "Window.Mode.Window_1024x1024"},
    {1, L"1024x512", "Window.Mode.Window_1024x512"},
    {2, L"1024x256", "Window.Mode.Window_1024x256"},
    {3, L"512x512", "Window.Mode.Window_512x512"},
};
constexpr FeatureOption kCorrectionModes[] = {
    {0, L"Off", "Correction.Mode.Off"},
    {0, L"Offset", "Correction.Mode.Offset"},
    {0, L"OffsetHotpixel", "Correction.Mode.OffsetHotpixel"},
    {0, L"OffsetGainHotpixel", "Correction.Mode.OffsetGainHotpixel"},
    {0, L"BlackRefOut", "Correction.Mode.BlackRefOut"},
    {0, L"GreyRefOut", "Correction.Mode.GreyRefOut"},
};
constexpr FeatureOption kDigitalGains[] = {
    {0, L"1x", "DigitalGain.1x"},
    {0, L"2x", "DigitalGain.2x"},
    {0, L"4x", "DigitalGain.4x"},
    {0, L"8x", "DigitalGain.8x"},
};
constexpr FeatureOption kYesNo[] = {{1, L"Yes", nullptr}, {0, L"No", nullptr}};
constexpr FeatureOption kEnableDisable[] = {{1, L"Enable", nullptr}, {0, L"Disable", nullptr}};
constexpr FeatureOption kTriggerSources[] = {
    {0, L"Free running", nullptr},
    {1, L"Interface Trigger", nullptr},
    {2, L"IO Trigger", nullptr},
};

template <class Part>
CGetSetSettings* SettingPart(CAmbrelController& controller) {
    return static_cast<Part*>(&controller);
}
template <class Part>
CAdjustment* AdjustmentPart(CAmbrelController& controller) {
    return static_cast<Part*>(&controller);
}
template <class Part>
CCommand* CommandPart(CAmbrelController& controller) {
    return static_cast<Part*>(&controller);
}

constexpr const wchar_t* kWindowSizeAbsence =
    L"the window size and offset controls on the Image page stay disabled";

using C = CAmbrelController;
using K = FeatureKind;

constexpr Feature kFeatures[] = {
    {.property = C::kWindowWidthProperty, .page = PageId::Image, .absence = kWindowSizeAbsence},
    {.property = C::kWindowHeightProperty, .page = PageId::Image, .absence = kWindowSizeAbsence},
    {.property = C::kWindowOffsetXProperty, .page = PageId::Image, .absence = kWindowSizeAbsence},
    {.property = C::kWindowOffsetYProperty, .page = PageId::Image, .absence = kWindowSizeAbsence},
    {.property = C::kWindowWidthMaxProperty,
     .page = PageId::Image,
     .absence = L"the width and offset X spins get the range 0 to 0, and Max ROI gives the host "
                L"no capture region"},
    {.property = C::kWindowHeightMaxProperty,
     .page = PageId::Image,
     .absence = L"the height and offset Y spins get the range 0 to 0, and Max ROI gives the host "
                L"no capture region"},
    {.id = kIdDecimationY,
     .kind = K::Decimation,
     .name = L"Decimation Y",
     .property = "Decimation.Y",
     .page = PageId::Image,
     .absence = L"no Decimation Y list on the Image page",
     .minProperty = "Decimation.Y.Min",
     .maxProperty = "Decimation.Y.Max",
     .rangeShownOn = L"Decimation Y list",
     .setting = SettingPart<CDecimation>},
    {.id = kIdPort,
     .kind = K::Port,
     .name = L"Port",
     .page = PageId::Settings,
     .setting = SettingPart<CCLSERPort>},
    {.id = kIdWindow,
     .kind = K::Setting,
     .name = L"Window",
     .property = "Window.Mode",
     .page = PageId::Settings,
     .absence = L"no Window setting: the window modes cannot be chosen",
     .options = kWindowModes,
     .setting = SettingPart<CImageMode>},
    {.id = kIdCorrection,
     .kind = K::Setting,
     .name = L"Correction",
     .property = "Correction.Mode",
     .page = PageId::Settings,
     .absence = L"no Correction setting",
     .options = kCorrectionModes,
     .runningValues = true,
     .setting = SettingPart<CCorrectionMode>},
    {.id = kIdConstantFrameRate,
     .kind = K::Setting,
     .name = L"Constant FrameRate",
     .property = "Trigger.CFR",
     .page = PageId::Exposure,
     .absence = L"no Constant Frame Rate check box; the frame-time controls stay disabled",
     .options = kYesNo,
     .setting = SettingPart<CFramerateMode>},
    {.id = kIdCrosshairs,
     .kind = K::Setting,
     .name = L"Crosshairs",
     .property = "Crosshairs.Enable",
     .page = PageId::Settings,
     .absence = L"no Crosshairs setting; the Crosshairs X, Y and Value adjustments are never "
                L"offered",
     .options = kEnableDisable,
     .setting = SettingPart<CCrossHairs>},
    {.id = kIdDigitalGain,
     .kind = K::Setting,
     .name = L"DigitalGain",
     .property = "DigitalGain",
     .page = PageId::Settings,
     .absence = L"no DigitalGain setting",
     .options = kDigitalGains,
     .runningValues = true,
     .setting = SettingPart<CDigtialGain>},
    {.id = kIdSimultaneousReadout,
     .kind = K::Setting,
     .name = L"Simultaneous Readout",
     .property = "Trigger.Interleave",
     .page = PageId::Exposure,
     .absence = L"no Simultaneous Readout check box",
     .options = kYesNo,
     .setting = SettingPart<CTriggerInterleave>},
    {.id = kIdTriggerMode,
     .kind = K::Setting,
     .name = L"Trigger Mode",
     .property = "Trigger.Source",
     .page = PageId::Settings,
     .absence = L"no Trigger Mode setting",
     .options = kTriggerSources,
     .setting = SettingPart<CTriggerMode>},
    {.id = kIdStoreDefaults,
     .kind = K::Command,
     .name = L"StoreDefaults",
     .property = "StoreDefaults",
     .page = PageId::Image,
     .command = CommandPart<CStoreDefaultsCmd>},
    {.id = kIdFactoryReset,
     .kind = K::Command,
     .name = L"FactoryReset",
     .property = "FactoryReset",
     .page = PageId::Image,
     .command = CommandPart<CFactoryRestCmd>},
    {.id = kIdResetToDefault,
     .kind = K::Command,
     .name = L"ResetToDefault",
     .property = "Reset",
     .page = PageId::Image,
     .command = CommandPart<CResetCmd>},
    {.id = kIdMaxROI,
     .kind = K::Command,
     .name = L"Max ROI",
     .property = "Window.Max",
     .page = PageId::Image,
     .command = CommandPart<CMaxROICmd>},
    {.id = kIdExposureTime,
     .kind = K::RealAdjustment,
     .name = L"ExposureTime",
     .property = "ExposureTime",
     .page = PageId::Exposure,
     .absence = L"no exposure-time slider and no Exposure tab",
     .minProperty = "ExposureTime.Min",
     .maxProperty = "ExposureTime.Max",
     .rangeShownOn = L"exposure-time slider",
     .adjustment = AdjustmentPart<CExposureAdjustment<double>>},
    {.id = kIdFrameTime,
     .kind = K::RealAdjustment,
     .name = L"FrameTime",
     .property = "FrameTime",
     .page = PageId::Exposure,
     .absence = L"no frame-time slider",
     .minProperty = "FrameTime.Min",
     .maxProperty = "FrameTime.Max",
     .rangeShownOn = L"frame-time slider",
     .adjustment = AdjustmentPart<CFrameRateAdjustment<double>>},
    {.id = kIdCrosshairsX,
     .kind = K::IntAdjustment,
     .name = L"Crosshairs X",
     .property = "Crosshairs.X",
     .page = PageId::Adjustment,
     .absence = L"no Crosshairs X adjustment",
     .minProperty = "Crosshairs.X.Min",
     .maxProperty = "Crosshairs.X.Max",
     .rangeShownOn = L"Crosshairs X range",
     .parent = "Crosshairs.Enable",
     .adjustment = AdjustmentPart<CCrosshairsXAdjustment<int32_t>>},
    {.id = kIdCrosshairsY,
     .kind = K::IntAdjustment,
     .name = L"Crosshairs Y",
     .property = "Crosshairs.Y",
     .page = PageId::Adjustment,
     .absence = L"no Crosshairs Y adjustment",
     .minProperty = "Crosshairs.Y.Min",
     .maxProperty = "Crosshairs.Y.Max",
     .rangeShownOn = L"Crosshairs Y range",
     .parent = "Crosshairs.Enable",
     .adjustment = AdjustmentPart<CCrosshairsYAdjustment<int32_t>>},
    {.id = kIdCrosshairsValue,
     .kind = K::IntAdjustment,
     .name = L"Crosshairs Value",
     .property = "Crosshairs.Value",
     .page = PageId::Adjustment,
     .absence = L"no Crosshairs Value adjustment",
     .minProperty = "Crosshairs.Value.Min",
     .maxProperty = "Crosshairs.Value.Max",
     .rangeShownOn = L"Crosshairs Value range",
     .parent = "Crosshairs.Enable",
     .adjustment = AdjustmentPart<CCrosshairsVAdjustment<int32_t>>},
};

}  // namespace

CAmbrelController::CAmbrelController() = default;

CAmbrelController::~CAmbrelController() {
    m_settings.clear();
    m_adjustments.clear();
    m_cameraCommands.clear();
    if (m_port >= 0) pfClosePort(m_port);
}

std::span<const Feature> CAmbrelController::Features() {
    return kFeatures;
}

const Feature* CAmbrelController::FeatureOf(int32_t id) {
    if (id == kNoEntry) return nullptr;
    const auto it = std::find_if(std::begin(kFeatures), std::end(kFeatures),
                                 [id](const Feature& f) { return f.id == id; });
    return it == std::end(kFeatures) ? nullptr : &*it;
}

const char* CAmbrelController::PropertyOf(int32_t id) {
    const Feature* feature = FeatureOf(id);
    return feature ? feature->property : nullptr;
}

void CAmbrelController::Refresh() {
    m_settings.clear();
    m_cameraCommands.clear();
    m_adjustments.clear();
    for (const Feature& feature : kFeatures) AddFeature(feature);
}

void CAmbrelController::AddFeature(const Feature& feature) {
    switch (feature.kind) {
        case FeatureKind::Port:
            return AddPortSetting(feature);
        case FeatureKind::Setting:
            return AddEnumSetting(feature);
        case FeatureKind::Decimation:
            return AddDecimationSetting(feature);
        case FeatureKind::RealAdjustment:
            return AddRealAdjustmentStep(feature);
        case FeatureKind::IntAdjustment:
            return AddIntAdjustmentStep(feature);
        case FeatureKind::Command:
            return AddCommand(feature.id, feature.name, feature.command(*this));
        case FeatureKind::Geometry:
            return;
    }
}

const SettingInfo* CAmbrelController::FindSetting(int32_t id) const {
    const auto it = std::find_if(m_settings.begin(), m_settings.end(),
                                 [id](const SettingInfo& s) { return s.id == id; });
    return it == m_settings.end() ? nullptr : &*it;
}

bool CAmbrelController::SetSetting(int32_t id, int32_t value) {
    const SettingInfo* entry = FindSetting(id);
    if (!entry) return false;
    entry->setting->SetValue(value);
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
    return ReadSetting(PropertyOf(kIdWindow));
}
void CAmbrelController::SetImageMode(int32_t value) {
    WriteInt(PropertyOf(kIdWindow), value);
}
int32_t CAmbrelController::GetCorrectionMode() {
    return ReadSetting(PropertyOf(kIdCorrection));
}
void CAmbrelController::SetCorrectionMode(int32_t value) {
    WriteInt(PropertyOf(kIdCorrection), value);
}
int32_t CAmbrelController::GetFramerateMode() {
    return ReadSetting(PropertyOf(kIdConstantFrameRate));
}
void CAmbrelController::SetFramerateMode(int32_t value) {
    WriteInt(PropertyOf(kIdConstantFrameRate), value);
}
int32_t CAmbrelController::GetDigitalGain() {
    return ReadSetting(PropertyOf(kIdDigitalGain));
}
void CAmbrelController::SetDigitalGain(int32_t value) {
    WriteInt(PropertyOf(kIdDigitalGain), value);
}
int32_t CAmbrelController::GetCrossHairs() {
    return ReadSetting(PropertyOf(kIdCrosshairs));
}
void CAmbrelController::SetCrossHairs(int32_t value) {
    WriteInt(PropertyOf(kIdCrosshairs), value);
}
int32_t CAmbrelController::GetTriggerInterleave() {
    return ReadSetting(PropertyOf(kIdSimultaneousReadout));
}
void CAmbrelController::SetTriggerInterleave(int32_t value) {
    WriteInt(PropertyOf(kIdSimultaneousReadout), value);
}
int32_t CAmbrelController::GetTriggerMode() {
    return ReadSetting(PropertyOf(kIdTriggerMode));
}
void CAmbrelController::SetTriggerMode(int32_t value) {
    WriteInt(PropertyOf(kIdTriggerMode), value);
}
int32_t CAmbrelController::GetDecimation() {
    return ReadSetting(PropertyOf(kIdDecimationY));
}
void CAmbrelController::SetDecimation(int32_t value) {
    WriteInt(PropertyOf(kIdDecimationY), value);
}

double CAmbrelController::GetExposure() {
    return ReadReal(PropertyOf(kIdExposureTime));
}
void CAmbrelController::SetExposure(double value) {
    WriteReal(PropertyOf(kIdExposureTime), value);
}
double CAmbrelController::GetFrameTime() {
    return ReadReal(PropertyOf(kIdFrameTime));
}
void CAmbrelController::SetFrameTime(double value) {
    WriteReal(PropertyOf(kIdFrameTime), value);
}
int32_t CAmbrelController::GetCrosshairsX() {
    return ReadInt(PropertyOf(kIdCrosshairsX));
}
void CAmbrelController::SetCrosshairsX(int32_t value) {
    WriteInt(PropertyOf(kIdCrosshairsX), value);
}
int32_t CAmbrelController::GetCrosshairsY() {
    return ReadInt(PropertyOf(kIdCrosshairsY));
}
void CAmbrelController::SetCrosshairsY(int32_t value) {
    WriteInt(PropertyOf(kIdCrosshairsY), value);
}
int32_t CAmbrelController::GetCrosshairsValue() {
    return ReadInt(PropertyOf(kIdCrosshairsValue));
}
void CAmbrelController::SetCrosshairsValue(int32_t value) {
    WriteInt(PropertyOf(kIdCrosshairsValue), value);
}

void CAmbrelController::StoreDefaults() {
    WriteInt(PropertyOf(kIdStoreDefaults), 1);
}
void CAmbrelController::FactoryReset() {
    WriteInt(PropertyOf(kIdFactoryReset), 1);
}
void CAmbrelController::Reset() {
    WriteInt(PropertyOf(kIdResetToDefault), 1);
}
void CAmbrelController::MaxROI() {
    WriteInt(PropertyOf(kIdMaxROI), 1);
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

void CAmbrelController::AddPortSetting(const Feature& feature) {
    const int32_t count = std::min(pfGetNumPort(), kMaxPorts);
    if (count <= 0) return;
    AddSetting(feature.id, feature.name, feature.setting(*this));
    AddSettingOption(feature.id, kNotSelectedValue, kNotSelectedLabel);
    for (int32_t i = 0; i < count; ++i) {
        // Bytes the code page cannot convert keep a readable label (see NarrowToWide).
        if (const char* description = pfGetPortInfo(i))
            AddSettingOption(feature.id, i, plat::NarrowToWide(description));
    }
}

void CAmbrelController::AddDecimationSetting(const Feature& feature) {
    if (m_port < 0 || !HasProperty(feature.property)) return;
    AddSetting(feature.id, feature.name, feature.setting(*this));
    const int32_t lo = pfGetCameraPropertyI(m_port, feature.minProperty);
    const int32_t hi = pfGetCameraPropertyI(m_port, feature.maxProperty);
    if (lo > hi) return;
    // Counted in 64 bits: a range reaching INT32_MAX must neither overflow nor run for ever.
    const int64_t count =
        std::min<int64_t>(int64_t{hi} - int64_t{lo} + 1, int64_t{kMaxDecimationOptions});
    for (int64_t i = 0; i < count; ++i) {
        const int32_t value = static_cast<int32_t>(lo + i);
        AddSettingOption(feature.id, value, plat::Format(kDecimationLabelFormat, value));
    }
}

void CAmbrelController::AddEnumSetting(const Feature& feature) {
    if (m_port < 0 || !HasProperty(feature.property)) return;
    AddSetting(feature.id, feature.name, feature.setting(*this));
    int32_t running = 0;
    for (const FeatureOption& option : feature.options) {
        if (option.property && !HasProperty(option.property)) continue;
        AddSettingOption(feature.id, feature.runningValues ? running++ : option.value,
                         option.label);
    }
}

void CAmbrelController::AddRealAdjustmentStep(const Feature& feature) {
    if (m_port < 0 || !HasProperty(feature.property)) return;
    // As returned, NaN and infinities included; the pages decide how to show them.
    const double lo = pfGetCameraPropertyF(m_port, feature.minProperty);
    const double hi = pfGetCameraPropertyF(m_port, feature.maxProperty);
    AddRealAdjustment(feature.id, feature.name, lo, hi, feature.adjustment(*this));
}

void CAmbrelController::AddIntAdjustmentStep(const Feature& feature) {
    if (ReadSetting(feature.parent) != 1 || !HasProperty(feature.property)) return;
    const int32_t lo = pfGetCameraPropertyI(m_port, feature.minProperty);
    const int32_t hi = pfGetCameraPropertyI(m_port, feature.maxProperty);
    AddIntAdjustment(feature.id, feature.name, lo, hi, feature.adjustment(*this));
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

// The one place a real is narrowed to the camera's single precision; beyond its range the
// value becomes an infinity of the same sign.
void CAmbrelController::WriteReal(const char* property, double value) {
    if (m_port < 0) return;
    constexpr double kMax = std::numeric_limits<float>::max();
    const float single = value > kMax    ? std::numeric_limits<float>::infinity()
                         : value < -kMax ? -std::numeric_limits<float>::infinity()
                                         : static_cast<float>(value);
    pfSetCameraPropertyF(m_port, property, single);
}
