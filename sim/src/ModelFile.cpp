// Reading a model file: ports, their faults and the cameras attached to them, every field checked.
#include "ModelFile.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>
#include <utility>

#include "CameraModel.h"
#include "JsonReader.h"

namespace pfsim {
namespace {

using nlohmann::json;

// Raised while reading a model file; the message starts with the JSON path at fault.
struct ModelError {
    std::string message;
};

constexpr std::string_view kMinSuffix = ".Min";
constexpr std::string_view kMaxSuffix = ".Max";

// Model file vocabulary.
constexpr std::string_view kTypeInt = "int";
constexpr std::string_view kTypeReal = "real";
constexpr std::string_view kTypeName = "name";
constexpr std::pair<std::string_view, Command> kCommandRoles[] = {
    {"max_window", Command::MaxWindow},
    {"store_defaults", Command::StoreDefaults},
    {"reset", Command::Reset},
    {"factory_reset", Command::FactoryReset}};

[[noreturn]] void Fail(const std::string& path, const std::string& what) {
    throw ModelError{path + ": " + what};
}

std::string Num(double v) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string Index(const std::string& path, size_t i) {
    return path + "[" + std::to_string(i) + "]";
}

void CheckKeys(const json& object, std::initializer_list<std::string_view> allowed,
               const std::string& path) {
    for (const auto& item : object.items()) {
        if (std::find(allowed.begin(), allowed.end(), item.key()) == allowed.end()) {
            Fail(PathWithKey(path, item.key()), "unknown field");
        }
    }
}

bool IsInt32(const json& j) {
    constexpr int64_t lo = std::numeric_limits<int32_t>::min();
    constexpr int64_t hi = std::numeric_limits<int32_t>::max();
    return j.is_number_unsigned() ? j.get<uint64_t>() <= static_cast<uint64_t>(hi)
                                  : j.get<int64_t>() >= lo && j.get<int64_t>() <= hi;
}

double IntegerAt(const json& j, const std::string& path) {
    if (!j.is_number_integer()) Fail(path, "expected an integer, got " + Describe(j));
    if (!IsInt32(j)) Fail(path, Describe(j) + " is outside the signed 32-bit range");
    return static_cast<double>(j.get<int64_t>());
}

int32_t Int32At(const json& j, const std::string& path) {
    if (!j.is_number_integer() || !IsInt32(j)) {
        Fail(path, "expected a signed 32-bit integer, got " + Describe(j));
    }
    return static_cast<int32_t>(j.get<int64_t>());
}

double RealAt(const json& j, const std::string& path) {
    if (!j.is_number()) Fail(path, "expected a number, got " + Describe(j));
    const double v = j.get<double>();
    if (!std::isfinite(v) || std::fabs(v) > FLT_MAX) {
        Fail(path, Describe(j) + " is outside the single-precision range");
    }
    return static_cast<double>(static_cast<float>(v));
}

bool BoolAt(const json& j, const std::string& path) {
    if (!j.is_boolean()) Fail(path, "expected true or false, got " + Describe(j));
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
    Fail(path, "expected a number, \"nan\", \"inf\" or \"-inf\", got " + Describe(j));
}

std::string NameAt(const json& j, const std::string& path) {
    if (!j.is_string()) Fail(path, "expected a property name, got " + Describe(j));
    const auto& name = j.get_ref<const std::string&>();
    if (name.empty()) Fail(path, "empty property name");
    for (char c : name) {
        if (c < '!' || c > '~') {
            Fail(path, "property name " + Describe(j) + " is not printable ASCII without spaces");
        }
    }
    return name;
}

// Texts handed to the plug-in as C strings cannot hold a NUL.
std::optional<std::string> TextOrNull(const json& j, const std::string& path) {
    if (j.is_null()) return std::nullopt;
    if (!j.is_string()) Fail(path, "expected a text or null, got " + Describe(j));
    const auto& text = j.get_ref<const std::string&>();
    if (text.find('\0') != std::string::npos) Fail(path, "a text cannot hold a NUL character");
    return text;
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
        Fail(path + ".type", "unknown type " + Describe(typeField) + " (int, real or name)");
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

// The table's rows; answers the JSON path of each slot.
std::vector<std::string> ReadProperties(const json& list, const std::string& path,
                                        CameraTable& table) {
    if (!list.is_array()) Fail(path, "expected an array, got " + Describe(list));
    std::vector<std::string> paths;
    auto add = [&](std::optional<PropertyDef> def, const std::string& at) {
        const std::string name = def ? def->name : std::string();
        if (!table.Add(std::move(def))) {
            Fail(at, "duplicate property name \"" + name + "\" (first at " +
                         paths[static_cast<size_t>(table.Find(name))] + ")");
        }
        paths.push_back(at);
    };
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string at = Index(path, i);
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
    if (table.Size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        Fail(path, "too many properties");
    }
    return paths;
}

// "window_modes": [[width, height], ...], indexed by the "Window.Mode" value.
std::vector<WindowSize> ReadWindowModes(const json& list, const std::string& path) {
    if (!list.is_array()) Fail(path, "expected an array of [width, height], got " + Describe(list));
    std::vector<WindowSize> sizes;
    for (size_t i = 0; i < list.size(); ++i) {
        const std::string at = Index(path, i);
        const json& pair = list[i];
        if (!pair.is_array() || pair.size() != 2) {
            Fail(at, "expected [width, height], got " + Describe(pair));
        }
        WindowSize size{IntegerAt(pair[0], Index(at, 0)), IntegerAt(pair[1], Index(at, 1))};
        for (size_t k = 0; k < 2; ++k) {
            if ((k == 0 ? size.w : size.h) < 1) Fail(Index(at, k), "must be at least 1");
        }
        sizes.push_back(size);
    }
    return sizes;
}

Command RoleAt(const json& j, const std::string& path) {
    if (j.is_string()) {
        for (const auto& [name, role] : kCommandRoles) {
            if (j.get_ref<const std::string&>() == name) return role;
        }
    }
    Fail(path, "unknown command " + Describe(j) +
                   " (max_window, store_defaults, reset or factory_reset)");
}

// "commands": {"property name": "role", ...}; without it, the default commands the camera lists.
void ReadCommands(const json& camera, const std::string& path,
                  const std::vector<std::string>& paths, CameraTable& table) {
    auto give = [&](std::string_view name, Command role, const std::string& at) {
        const int slot = table.Find(name);
        if (slot < 0) return false;
        if (table.At(static_cast<size_t>(slot))->type != PropertyType::Int) {
            Fail(at, "command \"" + std::string(name) + "\" must be an int property");
        }
        table.SetCommand(slot, role);
        return true;
    };
    if (!camera.contains("commands")) {
        for (const auto& [name, role] : kDefaultCommands) {
            const int slot = table.Find(name);
            if (slot >= 0) give(name, role, paths[static_cast<size_t>(slot)]);
        }
        return;
    }
    const std::string at = path + ".commands";
    const json& commands = camera["commands"];
    if (!commands.is_object()) Fail(at, "expected an object of command roles");
    for (const auto& item : commands.items()) {
        const std::string where = PathWithKey(at, item.key());
        if (!give(item.key(), RoleAt(item.value(), where), where)) {
            Fail(where, "the camera lists no such property");
        }
    }
}

std::shared_ptr<const CameraTable> ReadCamera(const json& camera, const std::string& path) {
    if (!camera.is_object()) Fail(path, "expected a camera object, got " + Describe(camera));
    CheckKeys(camera, {"properties", "window_modes", "commands", "comment"}, path);
    if (!camera.contains("properties")) Fail(path, "missing \"properties\"");
    auto table = std::make_shared<CameraTable>();
    const auto paths = ReadProperties(camera["properties"], path + ".properties", *table);
    const WindowSlots& window = table->Window();
    for (int slot :
         {window.mode, window.w, window.h, window.x, window.y, window.wMax, window.hMax}) {
        if (slot >= 0 && table->At(static_cast<size_t>(slot))->type != PropertyType::Int) {
            Fail(paths[static_cast<size_t>(slot)],
                 "\"" + table->At(static_cast<size_t>(slot))->name + "\" must be an int property");
        }
    }
    if (camera.contains("window_modes")) {
        table->SetWindowModes(ReadWindowModes(camera["window_modes"], path + ".window_modes"));
    }
    ReadCommands(camera, path, paths, *table);

    if (auto unfitted = CameraModel(table).FirstUnfittedWindowValue()) {
        const auto& def = *table->At(static_cast<size_t>(unfitted->first));
        Fail(paths[static_cast<size_t>(unfitted->first)] + ".value",
             def.name + " " + Num(def.value) +
                 " does not fit the sensor with the other window values (the camera would hold " +
                 Num(unfitted->second) + ")");
    }
    return table;
}

PortSetup ReadPort(
    const json& port, const std::string& path,
    const std::map<std::string, std::shared_ptr<const CameraTable>, std::less<>>& cameras) {
    if (!port.is_object()) Fail(path, "expected a port object");
    CheckKeys(port, {"description", "camera", "open_error", "baud", "comment"}, path);
    PortSetup setup;
    if (!port.contains("description")) Fail(path, "missing \"description\" (a text or null)");
    setup.description = TextOrNull(port["description"], path + ".description");
    setup.camera = CameraTable::Empty();
    if (port.contains("camera") && !port["camera"].is_null()) {
        const json& name = port["camera"];
        if (!name.is_string()) Fail(path + ".camera", "expected a camera name or null");
        auto it = cameras.find(name.get_ref<const std::string&>());
        if (it == cameras.end()) {
            Fail(path + ".camera", "no camera named " + Describe(name) + " in $.cameras");
        }
        setup.camera = it->second;
    }
    if (port.contains("open_error")) {
        const std::string at = path + ".open_error";
        const json& failure = port["open_error"];
        if (!failure.is_object()) Fail(at, "expected {\"code\": ..., \"message\": ...}");
        CheckKeys(failure, {"code", "message", "comment"}, at);
        if (!failure.contains("code")) Fail(at, "missing \"code\"");
        OpenError error;
        error.code = Int32At(failure["code"], at + ".code");
        if (error.code == 0) Fail(at + ".code", "must not be 0, which means success");
        if (failure.contains("message")) {
            error.message = TextOrNull(failure["message"], at + ".message");
        }
        setup.openError = std::move(error);
    }
    if (port.contains("baud")) {
        setup.baud = Int32At(port["baud"], path + ".baud");
        if (setup.baud < kMinBaud || setup.baud > kMaxBaud)
            Fail(path + ".baud", "not a serial line's rate (" + std::to_string(kMinBaud) + " to " +
                                     std::to_string(kMaxBaud) +
                                     " baud): " + std::to_string(setup.baud));
    }
    return setup;
}

std::shared_ptr<const SimModel> Parse(std::string_view text) {
    json root;
    std::string error;
    if (!ReadStrictJson(text, root, error)) throw ModelError{error};
    if (!root.is_object()) Fail("$", "expected an object");
    CheckKeys(root, {"ports", "cameras", "comment"}, "$");

    std::map<std::string, std::shared_ptr<const CameraTable>, std::less<>> cameras;
    if (root.contains("cameras")) {
        const json& list = root["cameras"];
        if (!list.is_object()) Fail("$.cameras", "expected an object of named cameras");
        for (const auto& item : list.items()) {
            cameras[item.key()] = ReadCamera(item.value(), PathWithKey("$.cameras", item.key()));
        }
    }

    if (!root.contains("ports")) Fail("$", "missing \"ports\"");
    const json& ports = root["ports"];
    if (!ports.is_array()) Fail("$.ports", "expected an array");
    if (ports.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        Fail("$.ports", "too many ports");
    }
    auto model = std::make_shared<SimModel>();
    for (size_t i = 0; i < ports.size(); ++i) {
        model->ports.push_back(ReadPort(ports[i], Index("$.ports", i), cameras));
    }
    return model;
}

}  // namespace

std::shared_ptr<const SimModel> ParseModel(std::string_view json, std::string& error) {
    try {
        return Parse(json);
    } catch (const ModelError& e) {
        error = e.message;
    } catch (const nlohmann::json::exception& e) {
        error = std::string("$: ") + e.what();
    }
    if (error.size() > kMaxErrorChars) error = error.substr(0, kMaxErrorChars - 3) + "...";
    return nullptr;
}

}  // namespace pfsim
