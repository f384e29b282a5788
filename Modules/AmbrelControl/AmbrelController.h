// The camera controller: the open camera port and the lists of what the camera offers.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "CAdjustment.h"
#include "CCommand.h"
#include "CGetSetSettings.h"
#include "ControllerTypes.h"

class CAmbrelController;

// The control dialog's pages, in tab order.
enum class PageId : int32_t { Settings, Adjustment, Image, Exposure };

// How Refresh builds a feature's entry, and what the plug-in does with its property.
enum class FeatureKind : int32_t {
    Port,            // the port list, which is no camera property
    Setting,         // an enumerated setting: looked for, then read and written
    Decimation,      // a setting whose options are the range between two bound properties
    RealAdjustment,  // a real value with bounds, read once per refresh
    IntAdjustment,   // an integer value with bounds, offered while `parent` reads 1
    Command,         // written with 1 when the user runs it
    Geometry,        // read and written by the Image page for the window; no entry
};

// One option of an enumerated setting: offered only when the camera lists `property`, or always
// when it is null. With running values `value` is ignored and options count up from 0.
struct FeatureOption {
    int32_t value = 0;
    const wchar_t* label = nullptr;
    const char* property = nullptr;
};

// One thing the plug-in needs of a camera: its entry, the properties it reads and writes, the
// page that shows it and what the user loses when the camera does not list `property`.
struct Feature {
    int32_t id = kNoEntry;
    FeatureKind kind = FeatureKind::Geometry;
    const wchar_t* name = nullptr;
    const char* property = nullptr;
    PageId page = PageId::Settings;
    const wchar_t* absence = nullptr;
    std::span<const FeatureOption> options = {};
    bool runningValues = false;
    const char* minProperty = nullptr;
    const char* maxProperty = nullptr;
    // The control a range is shown on, for the texts about missing bounds.
    const wchar_t* rangeShownOn = nullptr;
    // A setting that must read 1 for the entry to be offered.
    const char* parent = nullptr;
    // The controller's interface part behind the entry, by kind.
    CGetSetSettings* (*setting)(CAmbrelController&) = nullptr;
    CAdjustment* (*adjustment)(CAmbrelController&) = nullptr;
    CCommand* (*command)(CAmbrelController&) = nullptr;
};

// One object, eighteen interface parts; the list entries point at the parts. The base order and
// the member order below are shared with the pages. The destructor is the first virtual function
// the controller declares, so it takes the slot after CCLSERPort's four in the first base's table.
class CAmbrelController : public CCLSERPort,
                          public CImageMode,
                          public CCorrectionMode,
                          public CFramerateMode,
                          public CDigtialGain,
                          public CCrossHairs,
                          public CTriggerInterleave,
                          public CTriggerMode,
                          public CDecimation,
                          public CExposureAdjustment<double>,
                          public CFrameRateAdjustment<double>,
                          public CCrosshairsXAdjustment<int32_t>,
                          public CCrosshairsYAdjustment<int32_t>,
                          public CCrosshairsVAdjustment<int32_t>,
                          public CStoreDefaultsCmd,
                          public CFactoryRestCmd,
                          public CResetCmd,
                          public CMaxROICmd {
public:
    // Bounds on what a camera may answer, so that a faulty or hostile library cannot make a
    // Refresh loop without end or build an unbounded list. Real cameras stay far below them.
    static constexpr int32_t kMaxPorts = 4096;
    static constexpr int32_t kMaxProperties = 65536;
    static constexpr int32_t kMaxDecimationOptions = 1024;

    // The window's properties, which the Image page reads and writes itself.
    static constexpr const char* kWindowWidthProperty = "Window.W";
    static constexpr const char* kWindowHeightProperty = "Window.H";
    static constexpr const char* kWindowOffsetXProperty = "Window.X";
    static constexpr const char* kWindowOffsetYProperty = "Window.Y";
    static constexpr const char* kWindowWidthMaxProperty = "Window.W.Max";
    static constexpr const char* kWindowHeightMaxProperty = "Window.H.Max";

    // Every feature, in the order Refresh builds the entries (geometry, which has none, first).
    static std::span<const Feature> Features();
    // The feature of this entry id; null for an id no feature has.
    static const Feature* FeatureOf(int32_t id);

    virtual ~CAmbrelController();
    CAmbrelController();
    CAmbrelController(const CAmbrelController&) = delete;
    CAmbrelController& operator=(const CAmbrelController&) = delete;

    // Empties and rebuilds all three lists from the camera; entries taken before are invalid.
    void Refresh();
    // The first setting with this id, or null; good until the next Refresh.
    const SettingInfo* FindSetting(int32_t id) const;
    // Writes the first setting with this id (id 0 opens or closes the port) and rebuilds the
    // lists; false, with nothing done, when no setting has this id.
    bool SetSetting(int32_t id, int32_t value);

    // On the first adjustment with this id; false when there is none (a read then gives 0).
    bool GetAdjustmentInt(int32_t id, int32_t& value);
    bool SetAdjustmentInt(int32_t id, int32_t value);
    bool GetAdjustmentReal(int32_t id, double& value);
    // The camera takes single precision: the controller narrows the value, to an infinity
    // beyond its range.
    bool SetAdjustmentReal(int32_t id, double value);
    bool GetAdjustmentAuto(int32_t id, int32_t& flag);
    bool SetAdjustmentAuto(int32_t id, int32_t flag);

    // Whether the camera lists a property of exactly this name. Scans the camera's whole
    // property table every time, sending each scanned name to the debugger output.
    bool HasProperty(const char* name);

    // The camera's largest window size; 0 with no port open.
    int32_t GetMaxWidth();
    int32_t GetMaxHeight();

    int32_t GetPort() override;
    void OpenPort(int32_t index) override;

    int32_t GetImageMode() override;
    void SetImageMode(int32_t value) override;
    int32_t GetCorrectionMode() override;
    void SetCorrectionMode(int32_t value) override;
    int32_t GetFramerateMode() override;
    void SetFramerateMode(int32_t value) override;
    int32_t GetDigitalGain() override;
    void SetDigitalGain(int32_t value) override;
    int32_t GetCrossHairs() override;
    void SetCrossHairs(int32_t value) override;
    int32_t GetTriggerInterleave() override;
    void SetTriggerInterleave(int32_t value) override;
    int32_t GetTriggerMode() override;
    void SetTriggerMode(int32_t value) override;
    int32_t GetDecimation() override;
    void SetDecimation(int32_t value) override;

    double GetExposure() override;
    void SetExposure(double value) override;
    double GetFrameTime() override;
    void SetFrameTime(double value) override;
    int32_t GetCrosshairsX() override;
    void SetCrosshairsX(int32_t value) override;
    int32_t GetCrosshairsY() override;
    void SetCrosshairsY(int32_t value) override;
    int32_t GetCrosshairsValue() override;
    void SetCrosshairsValue(int32_t value) override;

    void StoreDefaults() override;
    void FactoryReset() override;
    void Reset() override;
    void MaxROI() override;

    // Read directly by the pages; changed only by the controller.
    std::vector<AdjustmentInfo> m_adjustments;
    std::vector<SettingInfo> m_settings;
    std::vector<CameraCommandInfo> m_cameraCommands;
    int32_t m_port = -1;  // -1 while no port is open

private:
    void AddSetting(int32_t id, const wchar_t* name, CGetSetSettings* setting);
    void AddSettingOption(int32_t id, int32_t value, std::wstring label);
    void AddRealAdjustment(int32_t id, const wchar_t* name, double lo, double hi,
                           CAdjustment* adjustment);
    void AddIntAdjustment(int32_t id, const wchar_t* name, int32_t lo, int32_t hi,
                          CAdjustment* adjustment);
    void AddCommand(int32_t id, const wchar_t* name, CCommand* command);

    void AddFeature(const Feature& feature);
    void AddPortSetting(const Feature& feature);
    void AddDecimationSetting(const Feature& feature);
    void AddEnumSetting(const Feature& feature);
    void AddRealAdjustmentStep(const Feature& feature);
    void AddIntAdjustmentStep(const Feature& feature);

    AdjustmentInfo* FindAdjustment(int32_t id);
    static const char* PropertyOf(int32_t id);
    int32_t ReadSetting(const char* property);
    int32_t ReadInt(const char* property);
    int32_t ReadStoredInt(const char* property);
    double ReadReal(const char* property);
    void WriteInt(const char* property, int32_t value);
    void WriteReal(const char* property, double value);
};
