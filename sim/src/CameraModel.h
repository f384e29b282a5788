// One simulated camera's behaviour: the values it holds over its table, corrected as its firmware
// would.
#pragma once

#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

#include "CameraTable.h"

namespace pfsim {

// Outcome of a read or write. Unknown: the camera does not list the name; NoValue: a bare name.
enum class Status { Ok, Unknown, ReadOnly, NoValue, NotANumber };

class CameraModel {
public:
    explicit CameraModel(std::shared_ptr<const CameraTable> table);

    const CameraTable& Table() const { return *m_table; }

    // What a read answers: the fault value when the model sets one, else the value held.
    Status Read(std::string_view name, double& value) const;
    // The value held, ignoring faults.
    Status Held(std::string_view name, double& value) const;
    // A write as the camera takes it: clamped, snapped to the increment, acted on.
    Status Write(std::string_view name, double value);
    // The same, but read-only properties take the value too (the control API's direct access).
    Status Force(std::string_view name, double value);
    // The model's values, kept defaults forgotten.
    void RestoreModelValues();

    // The first window property whose value the camera would correct to fit the sensor, with
    // the value it would hold; nullopt when the window fits. Models must start with a fitting one.
    std::optional<std::pair<int, double>> FirstUnfittedWindowValue() const;

private:
    Status Apply(std::string_view name, double value, bool force);
    void RunCommand(Command role);
    const PropertyDef& Def(int slot) const { return *m_table->At(static_cast<size_t>(slot)); }
    double Fit(int slot, double value, double hi) const;
    double SizeMax(int size, int sizeMax) const;
    double OffsetMax(int offset, int size, int sizeMax) const;
    void FitOffsets();
    void FitWindow();
    void ApplyWindowMode(double mode);
    void MaximiseWindow();

    std::shared_ptr<const CameraTable> m_table;
    WindowSlots m_window;          // the table's, copied for short access
    std::vector<double> m_values;  // one per slot; unused for null and bare slots
    std::optional<std::vector<double>> m_kept;
};

}  // namespace pfsim
