// One simulated camera: reading its property table from JSON and correcting writes to it.
#include "CameraModel.h"

#include <algorithm>
#include <array>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <nlohmann/json.hpp>

namespace pfsim {
namespace {

using nlohmann::json;

// Properties whose writes the camera acts on.
constexpr std::string_view kWindowMode = "Window.Mode";
constexpr std::string_view kWindowW = "Window.W";
constexpr std::string_view kWindowH = "Window.H";
constexpr std::string_view kWindowX = "Window.X";
constexpr std::string_view kWindowY = "Window.Y";
constexpr std::string_view kWindowWMax = "Window.W.Max";
constexpr std::string_view kWindowHMax = "Window.H.Max";
constexpr std::string_view kWindowMax = "Window.Max";
constexpr std::string_view kStoreDefaults = "StoreDefaults";
constexpr std::string_view kFactoryReset = "FactoryReset";
constexpr std::string_view kReset = "Reset";
constexpr std::string_view kMinSuffix = ".Min";
constexpr std::string_view kMaxSuffix = ".Max";

struct WindowSize {
    double w;
    double h;
};
// The window size each "Window.Mode" value selects.
constexpr std::array<WindowSize, 4> kModeSizes = {
    {{1024, 1024}, {1024, 512}, {1024, 256}, {512, 512}}};

// Model file vocabulary.
constexpr std::string_view kTypeInt = "int";
constexpr std::string_view kTypeReal = "real";
constexpr std::string_view kTypeName = "name";

[[noreturn]] void Fail(const std::string& path, const std::string& what) {
    throw ModelError{path + ": " + what};
}

std::string Num(double v) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string Shown(const json& j) {
    std::string text = j.dump();
    return text.size() > 40 ? text.substr(0, 37) + "..." : text;
}

void CheckKeys(const json& object, std::initializer_list<std::string_view> allowed,
               const std::string& path) {
    for (const auto& item : object.items()) {
        if (std::find(allowed.begin(), allowed.end(), item.key()) == allowed.end()) {
            Fail(path + "." + item.key(), "unknown field");
        }
    }
}

double IntegerAt(const json& j, const std::string& path) {
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    if (!j.is_number_integer()) Fail(path, "expected an integer, got " + Shown(j));
    if (j.is_number_unsigned() ? j.get<uint64_t>() > static_cast<uint64_t>(hi)
                               : j.get<int64_t>() < lo || j.get<int64_t>() > hi) {
        Fail(path, Shown(j) + " is outside the signed 32-bit range");
    }
    return static_cast<double>(j.get<int64_t>());
}

double RealAt(const json& j, const std::string& path) {
    if (!j.is_number()) Fail(path, "expected a number, got " + Shown(j));
    const double v = j.get<double>();
    if (!std::isfinite(v) || std::fabs(v) > FLT_MAX) {
        Fail(path, Shown(j) + " is outside the single-precision range");
    }
    return static_cast<double>(static_cast<float>(v));
}

bool BoolAt(const json& j, const std::string& path) {
    if (!j.is_boolean()) Fail(path, "expected true or false, got " + Shown(j));
    return j.get<bool>();
}

// JSON has no NaN or infinity, so a fault value may also be one of these texts.
double FaultAt(const json& j, const std::string& path) {
    if (j.is_number()) return j.get<double>();
    if (j.is_string()) {
        const auto& text = j.get_ref<const std::string&>();
        if (text == "nan") return std::numeric_limits<double>::quiet_NaN();
        if (text == "inf") return std::numeric_limits<double>::infinity();
        if (text == "-inf") return -std::numeric_limits<double>::infinity();
    }
    Fail(path, "expected a number, \"nan\", \"inf\" or \"-inf\", got " + Shown(j));
}

std::string NameAt(const json& j, const std::string& path) {
    if (!j.is_string()) Fail(path, "expected a property name, got " + Shown(j));
    const auto& name = j.get_ref<const std::string&>();
    if (name.empty()) Fail(path, "empty property name");
    for (char c : name) {
        if (c < '!' || c > '~') {
            Fail(path, "property name " + Shown(j) + " is not printable ASCII without spaces");
        }
    }
    return name;
}

struct Parsed {
    std::optional<PropertyDef> def;
    bool limits = false;
};

Parsed ParseProperty(const json& j, const std::string& path) {
    Parsed out;
    if (j.is_null()) return out;
    if (j.is_string()) {
        out.def.emplace();
        out.def->name = NameAt(j, path);
        return out;
    }
    if (!j.is_object()) Fail(path, "expected a property object, a bare name or null");
    CheckKeys(j,
              {"name", "type", "value", "min", "max", "increment", "read_only", "read", "limits",
               "comment"},
              path);
    if (!j.contains("name")) Fail(path, "missing \"name\"");
    if (!j.contains("type")) Fail(path, "missing \"type\"");
    PropertyDef def;
    def.name = NameAt(j["name"], path + ".name");
    const json& typeField = j["type"];
    const std::string type = typeField.is_string() ? typeField.get<std::string>() : std::string();
    if (type == kTypeName) {
        for (const char* key :
             {"value", "min", "max", "increment", "read_only", "read", "limits"}) {
            if (j.contains(key)) {
                Fail(path + "." + key, std::string("a bare name takes no \"") + key + "\"");
            }
        }
        out.def = std::move(def);
        return out;
    }
    const bool isInt = type == kTypeInt;
    if (!isInt && type != kTypeReal) {
        Fail(path + ".type", "unknown type " + Shown(typeField) + " (int, real or name)");
    }
    def.type = isInt ? PropertyType::Int : PropertyType::Real;
    auto number = [&](const char* key) {
        return isInt ? IntegerAt(j[key], path + "." + key) : RealAt(j[key], path + "." + key);
    };
    if (!j.contains("value")) Fail(path, "missing \"value\"");
    def.value = number("value");
    def.min = j.contains("min") ? number("min")
              : isInt           ? std::numeric_limits<int32_t>::min()
                                : -static_cast<double>(FLT_MAX);
    def.max = j.contains("max") ? number("max")
              : isInt           ? std::numeric_limits<int32_t>::max()
                                : static_cast<double>(FLT_MAX);
    def.increment = j.contains("increment") ? number("increment") : isInt ? 1 : 0;
    if (j.contains("increment") && !(def.increment > 0)) {
        Fail(path + ".increment", "must be greater than 0");
    }
    if (def.min > def.max) {
        Fail(path + ".min", "greater than max (" + Num(def.min) + " > " + Num(def.max) + ")");
    }
    if (def.value < def.min || def.value > def.max) {
        Fail(path + ".value",
             Num(def.value) + " is outside [" + Num(def.min) + ", " + Num(def.max) + "]");
    }
    if (j.contains("read_only")) def.readOnly = BoolAt(j["read_only"], path + ".read_only");
    if (j.contains("read")) def.readFault = FaultAt(j["read"], path + ".read");
    if (j.contains("limits")) out.limits = BoolAt(j["limits"], path + ".limits");
    out.def = std::move(def);
    return out;
}

// A generated ".Min" or ".Max" row: read-only, same type and range as the property it bounds.
PropertyDef LimitOf(const PropertyDef& def, std::string_view suffix, double value) {
    PropertyDef limit = def;
    limit.name += suffix;
    limit.value = value;
    limit.readOnly = true;
    limit.increment = def.type == PropertyType::Int ? 1 : 0;
    limit.readFault.reset();
    return limit;
}

}  // namespace

std::shared_ptr<const CameraTable> CameraTable::FromJson(const json& camera,
                                                         const std::string& path) {
    if (!camera.is_object()) Fail(path, "expected a camera object, got " + Shown(camera));
    CheckKeys(camera, {"properties", "comment"}, path);
    if (!camera.contains("properties")) Fail(path, "missing \"properties\"");
    const json& list = camera["properties"];
    if (!list.is_array()) Fail(path + ".properties", "expected an array, got " + Shown(list));

    auto table = std::make_shared<CameraTable>();
    std::vector<std::string> paths;
    auto add = [&](std::optional<PropertyDef> def, const std::string& at) {
        const int slot = static_cast<int>(table->m_slots.size());
        if (def) {
            auto [it, added] = table->m_index.emplace(def->name, slot);
            if (!added) {
                Fail(at, "duplicate property name \"" + def->name + "\" (first at " +
                             paths[static_cast<size_t>(it->second)] + ")");
            }
        }
        table->m_slots.push_back(std::move(def));
        paths.push_back(at);
    };
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string at = path + ".properties[" + std::to_string(i) + "]";
        Parsed parsed = ParseProperty(list[i], at);
        if (parsed.limits) {
            const PropertyDef def = *parsed.def;
            add(std::move(parsed.def), at);
            add(LimitOf(def, kMinSuffix, def.min), at + ".limits");
            add(LimitOf(def, kMaxSuffix, def.max), at + ".limits");
        } else {
            add(std::move(parsed.def), at);
        }
    }
    if (table->m_slots.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        Fail(path + ".properties", "too many properties");
    }

    Special& sp = table->m_special;
    const std::pair<std::string_view, int*> specials[] = {{kWindowMode, &sp.mode},
                                                          {kWindowW, &sp.w},
                                                          {kWindowH, &sp.h},
                                                          {kWindowX, &sp.x},
                                                          {kWindowY, &sp.y},
                                                          {kWindowWMax, &sp.wMax},
                                                          {kWindowHMax, &sp.hMax},
                                                          {kWindowMax, &sp.maxWindow},
                                                          {kStoreDefaults, &sp.storeDefaults},
                                                          {kFactoryReset, &sp.factoryReset},
                                                          {kReset, &sp.reset}};
    for (const auto& [name, slot] : specials) {
        *slot = table->Find(name);
        if (*slot >= 0 && table->At(static_cast<size_t>(*slot))->type != PropertyType::Int) {
            Fail(paths[static_cast<size_t>(*slot)],
                 "\"" + std::string(name) + "\" must be an int property");
        }
    }

    if (auto unfitted = CameraModel(table).FirstUnfittedWindowValue()) {
        const auto& def = *table->At(static_cast<size_t>(unfitted->first));
        Fail(paths[static_cast<size_t>(unfitted->first)] + ".value",
             def.name + " " + Num(def.value) +
                 " does not fit the sensor with the other window values (the camera would hold " +
                 Num(unfitted->second) + ")");
    }
    return table;
}

std::shared_ptr<const CameraTable> CameraTable::Empty() {
    static const auto empty = std::make_shared<const CameraTable>();
    return empty;
}

const PropertyDef* CameraTable::At(size_t index) const {
    if (index >= m_slots.size() || !m_slots[index]) return nullptr;
    return &*m_slots[index];
}

int CameraTable::Find(std::string_view name) const {
    auto it = m_index.find(name);
    return it == m_index.end() ? -1 : it->second;
}

CameraModel::CameraModel(std::shared_ptr<const CameraTable> table) : m_table(std::move(table)) {
    RestoreModelValues();
}

void CameraModel::RestoreModelValues() {
    m_values.assign(m_table->Size(), 0.0);
    for (size_t i = 0; i < m_values.size(); ++i) {
        if (const PropertyDef* def = m_table->At(i)) m_values[i] = def->value;
    }
    m_kept.reset();
}

Status CameraModel::Read(std::string_view name, double& value) const {
    const int slot = m_table->Find(name);
    if (slot < 0) return Status::Unknown;
    const PropertyDef& def = Def(slot);
    if (def.type == PropertyType::Bare) return Status::NoValue;
    value = def.readFault ? *def.readFault : m_values[static_cast<size_t>(slot)];
    return Status::Ok;
}

Status CameraModel::Held(std::string_view name, double& value) const {
    const int slot = m_table->Find(name);
    if (slot < 0) return Status::Unknown;
    if (Def(slot).type == PropertyType::Bare) return Status::NoValue;
    value = m_values[static_cast<size_t>(slot)];
    return Status::Ok;
}

Status CameraModel::Write(std::string_view name, double value) {
    return Apply(name, value, false);
}

Status CameraModel::Force(std::string_view name, double value) {
    return Apply(name, value, true);
}

Status CameraModel::Apply(std::string_view name, double value, bool force) {
    const int slot = m_table->Find(name);
    if (slot < 0) return Status::Unknown;
    const PropertyDef& def = Def(slot);
    if (def.type == PropertyType::Bare) return Status::NoValue;
    if (def.readOnly && !force) return Status::ReadOnly;
    if (std::isnan(value)) return Status::NotANumber;

    const Special& sp = m_table->m_special;
    double& held = m_values[static_cast<size_t>(slot)];
    // Commands are momentary: a write of 1 acts, and the property keeps its value.
    if (slot == sp.storeDefaults || slot == sp.factoryReset || slot == sp.reset ||
        slot == sp.maxWindow) {
        if (value != 1) return Status::Ok;
        if (slot == sp.storeDefaults) {
            m_kept = m_values;
        } else if (slot == sp.factoryReset) {
            RestoreModelValues();
        } else if (slot == sp.reset) {
            if (m_kept) {
                m_values = *m_kept;
            } else {
                RestoreModelValues();
            }
        } else {
            MaximiseWindow();
        }
        return Status::Ok;
    }
    if (slot == sp.w || slot == sp.h) {
        held = Fit(slot, value, SizeMax(slot, slot == sp.w ? sp.wMax : sp.hMax));
        FitOffsets();
    } else if (slot == sp.x) {
        held = Fit(slot, value, OffsetMax(sp.x, sp.w, sp.wMax));
    } else if (slot == sp.y) {
        held = Fit(slot, value, OffsetMax(sp.y, sp.h, sp.hMax));
    } else {
        held = Fit(slot, value, def.max);
        if (slot == sp.mode) {
            ApplyWindowMode(held);
        } else if (slot == sp.wMax || slot == sp.hMax) {
            FitWindow();
        }
    }
    return Status::Ok;
}

// Clamps into [min, hi] and snaps to the nearest step of the increment counted from min,
// stepping down when the nearest step lies above hi.
double CameraModel::Fit(int slot, double value, double hi) const {
    const PropertyDef& def = Def(slot);
    const double lo = def.min;
    hi = std::max(lo, hi);
    double v = std::clamp(value, lo, hi);
    if (def.increment > 0) {
        const double snapped = lo + std::floor((v - lo) / def.increment + 0.5) * def.increment;
        v = snapped > hi ? snapped - def.increment : snapped;
    }
    if (def.type == PropertyType::Real) v = static_cast<double>(static_cast<float>(v));
    return v;
}

// The largest size the sensor allows: the size's own maximum, lowered by "Window.W.Max" or
// "Window.H.Max" when the camera lists it.
double CameraModel::SizeMax(int size, int sizeMax) const {
    double hi = Def(size).max;
    if (sizeMax >= 0) hi = std::min(hi, m_values[static_cast<size_t>(sizeMax)]);
    return std::max(Def(size).min, hi);
}

double CameraModel::OffsetMax(int offset, int size, int sizeMax) const {
    double hi = Def(offset).max;
    if (size >= 0) hi = std::min(hi, SizeMax(size, sizeMax) - m_values[static_cast<size_t>(size)]);
    return hi;
}

void CameraModel::FitOffsets() {
    const Special& sp = m_table->m_special;
    const int axes[2][3] = {{sp.x, sp.w, sp.wMax}, {sp.y, sp.h, sp.hMax}};
    for (const auto& [offset, size, sizeMax] : axes) {
        if (offset < 0) continue;
        double& held = m_values[static_cast<size_t>(offset)];
        held = Fit(offset, held, OffsetMax(offset, size, sizeMax));
    }
}

void CameraModel::FitWindow() {
    const Special& sp = m_table->m_special;
    const int axes[2][2] = {{sp.w, sp.wMax}, {sp.h, sp.hMax}};
    for (const auto& [size, sizeMax] : axes) {
        if (size < 0) continue;
        double& held = m_values[static_cast<size_t>(size)];
        held = Fit(size, held, SizeMax(size, sizeMax));
    }
    FitOffsets();
}

// Modes without a size of their own (a model may give "Window.Mode" a wider range) keep the window.
void CameraModel::ApplyWindowMode(double mode) {
    if (!(mode >= 0 && mode < static_cast<double>(kModeSizes.size()))) return;
    const WindowSize size = kModeSizes[static_cast<size_t>(mode)];
    const Special& sp = m_table->m_special;
    if (sp.w >= 0) m_values[static_cast<size_t>(sp.w)] = Fit(sp.w, size.w, SizeMax(sp.w, sp.wMax));
    if (sp.h >= 0) m_values[static_cast<size_t>(sp.h)] = Fit(sp.h, size.h, SizeMax(sp.h, sp.hMax));
    FitOffsets();
}

void CameraModel::MaximiseWindow() {
    const Special& sp = m_table->m_special;
    const int axes[2][3] = {{sp.w, sp.wMax, sp.x}, {sp.h, sp.hMax, sp.y}};
    for (const auto& [size, sizeMax, offset] : axes) {
        if (size >= 0) {
            const double hi = SizeMax(size, sizeMax);
            m_values[static_cast<size_t>(size)] = Fit(size, hi, hi);
        }
        if (offset >= 0) {
            m_values[static_cast<size_t>(offset)] =
                Fit(offset, 0, OffsetMax(offset, size, sizeMax));
        }
    }
}

std::optional<std::pair<int, double>> CameraModel::FirstUnfittedWindowValue() const {
    CameraModel fitted = *this;
    fitted.FitWindow();
    const Special& sp = m_table->m_special;
    for (int slot : {sp.w, sp.h, sp.x, sp.y}) {
        if (slot < 0) continue;
        const double now = m_values[static_cast<size_t>(slot)];
        const double then = fitted.m_values[static_cast<size_t>(slot)];
        if (now != then) return std::pair{slot, then};
    }
    return std::nullopt;
}

}  // namespace pfsim
