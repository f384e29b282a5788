// One simulated camera: its property table as a model file gives it, and the values it holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace pfsim {

enum class PropertyType { Bare, Int, Real };

// One row of the table. Numbers are held as double: integers stay exact, reals are kept at
// single precision (every value, bound and increment of a real is a float widened to double).
struct PropertyDef {
    std::string name;
    PropertyType type = PropertyType::Bare;
    bool readOnly = false;
    double value = 0;  // the model's value
    double min = 0;
    double max = 0;
    double increment = 0;             // 0: no grid (reals only); integers have 1 or more
    std::optional<double> readFault;  // every read answers this instead of the held value
};

// Raised while reading a model file; the message starts with the JSON path at fault. Never
// leaves the library.
struct ModelError {
    std::string message;
};

// The immutable table of one camera, shared by every camera built from it, so the names it hands
// out stay valid for as long as the model is loaded.
class CameraTable {
public:
    // `camera` is the camera's JSON object, `path` its JSON path for messages. Throws ModelError.
    static std::shared_ptr<const CameraTable> FromJson(const nlohmann::json& camera,
                                                       const std::string& path);
    static std::shared_ptr<const CameraTable> Empty();

    size_t Size() const { return m_slots.size(); }
    // The row at `index`, or null for a null slot and beyond the end.
    const PropertyDef* At(size_t index) const;
    // The slot of `name`, or -1 when the camera does not list it.
    int Find(std::string_view name) const;

private:
    friend class CameraModel;

    struct NameHash {
        using is_transparent = void;
        size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };

    // Slots of the properties whose writes the camera acts on; -1 when not listed.
    struct Special {
        int mode = -1, w = -1, h = -1, x = -1, y = -1, wMax = -1, hMax = -1;
        int maxWindow = -1, storeDefaults = -1, factoryReset = -1, reset = -1;
    };

    std::vector<std::optional<PropertyDef>> m_slots;
    std::unordered_map<std::string, int, NameHash, std::equal_to<>> m_index;
    Special m_special;
};

// Outcome of a read or write. Unknown: the camera does not list the name; NoValue: a bare name.
enum class Status { Ok, Unknown, ReadOnly, NoValue, NotANumber };

// A camera's live state over a table: writes are corrected as the camera firmware would.
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
    using Special = CameraTable::Special;

    Status Apply(std::string_view name, double value, bool force);
    const PropertyDef& Def(int slot) const { return *m_table->m_slots[static_cast<size_t>(slot)]; }
    double Fit(int slot, double value, double hi) const;
    double SizeMax(int size, int sizeMax) const;
    double OffsetMax(int offset, int size, int sizeMax) const;
    void FitOffsets();
    void FitWindow();
    void ApplyWindowMode(double mode);
    void MaximiseWindow();

    std::shared_ptr<const CameraTable> m_table;
    std::vector<double> m_values;  // one per slot; unused for null and bare slots
    std::optional<std::vector<double>> m_kept;
};

}  // namespace pfsim
