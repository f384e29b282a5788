// Reading a model file: ports, their faults and the cameras attached to them.
#include "SimModel.h"

#include <initializer_list>
#include <limits>
#include <map>
#include <nlohmann/json.hpp>

namespace pfsim {
namespace {

using nlohmann::json;

[[noreturn]] void Fail(const std::string& path, const std::string& what) {
    throw ModelError{path + ": " + what};
}

void CheckKeys(const json& object, std::initializer_list<std::string_view> allowed,
               const std::string& path) {
    for (const auto& item : object.items()) {
        bool known = false;
        for (std::string_view key : allowed) known = known || key == item.key();
        if (!known) Fail(path + "." + item.key(), "unknown field");
    }
}

// Texts handed to the plug-in as C strings cannot hold a NUL.
std::optional<std::string> TextOrNull(const json& j, const std::string& path) {
    if (j.is_null()) return std::nullopt;
    if (!j.is_string()) Fail(path, "expected a text or null, got " + j.dump());
    const auto& text = j.get_ref<const std::string&>();
    if (text.find('\0') != std::string::npos) Fail(path, "a text cannot hold a NUL character");
    return text;
}

int32_t Int32At(const json& j, const std::string& path) {
    const bool ok =
        j.is_number_integer() &&
        (j.is_number_unsigned() ? j.get<uint64_t>() <= uint64_t{std::numeric_limits<int32_t>::max()}
                                : j.get<int64_t>() >= std::numeric_limits<int32_t>::min() &&
                                      j.get<int64_t>() <= std::numeric_limits<int32_t>::max());
    if (!ok) Fail(path, "expected a signed 32-bit integer, got " + j.dump());
    return static_cast<int32_t>(j.get<int64_t>());
}

std::shared_ptr<const SimModel> Parse(std::string_view text) {
    json root;
    try {
        root = json::parse(text);
    } catch (const json::parse_error& e) {
        Fail("$", std::string("not valid JSON: ") + e.what());
    }
    if (!root.is_object()) Fail("$", "expected an object");
    CheckKeys(root, {"ports", "cameras", "comment"}, "$");

    std::map<std::string, std::shared_ptr<const CameraTable>, std::less<>> cameras;
    if (root.contains("cameras")) {
        const json& list = root["cameras"];
        if (!list.is_object()) Fail("$.cameras", "expected an object of named cameras");
        for (const auto& item : list.items()) {
            cameras[item.key()] = CameraTable::FromJson(item.value(), "$.cameras." + item.key());
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
        const std::string path = "$.ports[" + std::to_string(i) + "]";
        const json& port = ports[i];
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
                Fail(path + ".camera", "no camera named " + name.dump() + " in $.cameras");
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
            if (setup.baud <= 0) Fail(path + ".baud", "must be greater than 0");
        }
        model->ports.push_back(std::move(setup));
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
    return nullptr;
}

}  // namespace pfsim
