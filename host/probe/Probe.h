// What the plug-in's controller finds on each port of the camera library: tabs, settings,
// adjustments, commands, window geometry, missing and unused properties, guarded answers and
// the cost of a refresh and of each user action in library calls and link time.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "DialogClicks.h"
#include "SliderMapping.h"
#include "WindowGeometry.h"

namespace inspect {

struct OptionFact {
    int32_t value = 0;
    std::wstring label;
};

struct SettingFact {
    int32_t id = 0;
    std::wstring name;
    std::wstring page;  // the tab that shows it
    int32_t value = 0;
    std::vector<OptionFact> options;
};

struct AdjustmentFact {
    int32_t id = 0;
    std::wstring name;
    std::wstring page;
    bool integer = false;
    double minimum = 0.0;  // as the page takes them (an integer maximum of "no limit" widened)
    double maximum = 0.0;
    double value = 0.0;  // as the camera answers it
    slider::SliderSetting slider;
    double smallStep = 0.0;
    double largeStep = 0.0;
    int32_t sliderScale = 0;
};

struct CommandFact {
    int32_t id = 0;
    std::wstring name;
};

struct GeometryFact {
    bool editable = false;  // the size and offset controls are enabled
    window::Axis x;
    window::Axis y;
    int32_t offsetXStep = 0;
    bool decimation = false;  // the Decimation Y list is enabled
    std::vector<int32_t> decimationValues;
};

struct MissingFact {
    std::string property;
    std::wstring effect;
};

struct WarningFact {
    std::string property;
    std::wstring text;
};

// A click on the plug-in's dialog and what it cost.
using ActionCost = ClickCost;

struct CostFact {
    bool counted = false;  // false where this build cannot count calls
    int32_t baud = 0;      // 0: no baud rate known for the port
    uint64_t refreshCalls = 0;
    std::optional<double> refreshLinkMs;
    std::vector<ActionCost> actions;  // in the order made
};

// A property the run changed and could not put back, and why.
struct NotRestored {
    std::string property;
    std::wstring reason;
};

// A property as the camera lists it, as a vendor's property browser shows it.
struct PropertyRow {
    std::string name;
    std::string type;  // "int", "real", "name" (listed without a value), or the library's code
    bool readOnly = false;
    std::optional<double> value;    // as read; none for a name without a value
    std::optional<double> minimum;  // its .Min and .Max where the camera lists them
    std::optional<double> maximum;
    std::optional<bool> readsBack;  // what the clicks wrote, read back; none: not written
};

// Whether the plug-in works on a port: 0 fully, 1 with features missing, 2 not at all.
struct Verdict {
    int status = 0;
    std::wstring text;
};

struct PortFact {
    int32_t index = 0;
    std::optional<std::string> description;  // as the library answers it
    std::wstring label;                      // as the Port list shows it
    bool offered = false;                    // the Port list has a row for it
    bool opened = false;
    int32_t errorCode = 0;
    std::optional<std::wstring> errorMessage;
    std::vector<std::wstring> tabs;
    std::vector<SettingFact> settings;
    std::vector<AdjustmentFact> adjustments;
    std::vector<CommandFact> commands;
    GeometryFact geometry;
    std::vector<MissingFact> missing;
    std::vector<std::string> unused;
    std::vector<WarningFact> warnings;
    CostFact cost;
    bool clicked = false;  // the dialog was clicked on this port
    bool restored = true;  // --actions put every value back
    std::vector<NotRestored> notRestored;
    std::vector<PropertyRow> properties;  // with --properties
    Verdict verdict;
};

struct Report {
    int32_t portCount = 0;  // as the library answers it
    std::vector<PortFact> ports;
    std::vector<WarningFact> warnings;   // about the library as a whole
    Verdict verdict;                     // of every port inspected
    std::optional<int32_t> clickedPort;  // the one port the dialog was clicked on, if only one
};

struct InspectOptions {
    std::optional<int32_t> port;  // only this port
    bool actions = false;         // click everything (writes, then puts values back)
    bool properties = false;      // the property table of each port
    // Click the dialog on every port, not only on the first that opens: each open refreshes
    // the plug-in, which reads every port's description, so the time grows with the square of
    // the port count.
    bool clickAllPorts = false;
    std::map<int32_t, int32_t> baudByPort;
    std::optional<int32_t> baud;  // for every port, over baudByPort
};

Report Inspect(const InspectOptions& options);

}  // namespace inspect
