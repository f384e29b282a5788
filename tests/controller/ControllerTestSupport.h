// Camera models and list readers shared by the controller tests.
#pragma once

#include <gtest/gtest.h>
#include <sim/CameraSim.h>

#include <cstdint>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "AmbrelController.h"

namespace ctltest {

inline std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// A property the camera lists without a value.
inline std::string Bare(const std::string& name) {
    return Quoted(name);
}

inline std::string Int(const std::string& name, int64_t value) {
    return R"({"name":)" + Quoted(name) + R"(,"type":"int","value":)" + std::to_string(value) + "}";
}

// An integer property with its ".Min" and ".Max" rows.
inline std::string IntRange(const std::string& name, int64_t value, int64_t lo, int64_t hi) {
    return R"({"name":)" + Quoted(name) + R"(,"type":"int","value":)" + std::to_string(value) +
           R"(,"min":)" + std::to_string(lo) + R"(,"max":)" + std::to_string(hi) +
           R"(,"limits":true})";
}

inline std::string Real(const std::string& name, const std::string& value) {
    return R"({"name":)" + Quoted(name) + R"(,"type":"real","value":)" + value + "}";
}

inline std::string RealRange(const std::string& name, const std::string& value,
                             const std::string& lo, const std::string& hi) {
    return R"({"name":)" + Quoted(name) + R"(,"type":"real","value":)" + value + R"(,"min":)" + lo +
           R"(,"max":)" + hi + R"(,"limits":true})";
}

// A property whose every read answers `read` (a JSON number or "nan", "inf", "-inf").
inline std::string FaultyInt(const std::string& name, const std::string& read) {
    return R"({"name":)" + Quoted(name) + R"(,"type":"int","value":0,"read":)" + read + "}";
}
inline std::string FaultyReal(const std::string& name, const std::string& read) {
    return R"({"name":)" + Quoted(name) + R"(,"type":"real","value":0,"read":)" + read + "}";
}

// The camera listing `properties` (JSON values, null for an empty slot) on every port given;
// a port is a JSON object without its "camera" field.
inline std::string Model(std::initializer_list<std::string> properties,
                         std::vector<std::string> ports = {R"("description":"Port 0")"}) {
    std::string json = R"({"cameras":{"cam":{"properties":[)";
    bool first = true;
    for (const std::string& p : properties) {
        json += (first ? "" : ",") + p;
        first = false;
    }
    json += R"(]}},"ports":[)";
    first = true;
    for (const std::string& port : ports) {
        json += (first ? "{" : ",{") + port + R"(,"camera":"cam"})";
        first = false;
    }
    return json + "]}";
}

// Every property the controller knows, crosshairs on, on two ports.
inline std::string FullModel() {
    return Model(
        {
            IntRange("Decimation.Y", 1, 1, 4),
            IntRange("Window.Mode", 0, 0, 3),
            Bare("Window.Mode.Window_1024x1024"),
            Bare("Window.Mode.Window_1024x512"),
            Bare("Window.Mode.Window_1024x256"),
            Bare("Window.Mode.Window_512x512"),
            IntRange("Correction.Mode", 0, 0, 5),
            Bare("Correction.Mode.Off"),
            Bare("Correction.Mode.Offset"),
            Bare("Correction.Mode.OffsetHotpixel"),
            Bare("Correction.Mode.OffsetGainHotpixel"),
            Bare("Correction.Mode.BlackRefOut"),
            Bare("Correction.Mode.GreyRefOut"),
            IntRange("Trigger.CFR", 0, 0, 1),
            IntRange("Crosshairs.Enable", 1, 0, 1),
            IntRange("DigitalGain", 0, 0, 3),
            Bare("DigitalGain.1x"),
            Bare("DigitalGain.2x"),
            Bare("DigitalGain.4x"),
            Bare("DigitalGain.8x"),
            IntRange("Trigger.Interleave", 0, 0, 1),
            IntRange("Trigger.Source", 0, 0, 2),
            RealRange("ExposureTime", "10", "0.5", "1000"),
            RealRange("FrameTime", "40", "20", "2000"),
            IntRange("Crosshairs.X", 512, 0, 1023),
            IntRange("Crosshairs.Y", 256, 0, 1023),
            IntRange("Crosshairs.Value", 100, 0, 4095),
            Int("StoreDefaults", 0),
            Int("FactoryReset", 0),
            Int("Reset", 0),
            Int("Window.Max", 0),
        },
        {R"("description":"CL port 0")", R"("description":"CL port 1")"});
}

// Each test loads its own model; the next test starts from the default one.
class ControllerTest : public ::testing::Test {
protected:
    void TearDown() override {
        pfsim::SetWriteObserver(nullptr);
        pfsim::LoadDefaultModel();
    }

    static void Load(const std::string& json) {
        std::string error;
        ASSERT_TRUE(pfsim::LoadModelString(json, &error)) << error << "\n" << json;
    }

    // Refreshes and opens `port` the way the Settings page does.
    static void OpenPort(CAmbrelController& ctl, int32_t port) {
        ctl.Refresh();
        ASSERT_TRUE(ctl.SetSetting(kIdPort, port));
        ASSERT_EQ(ctl.m_port, port);
    }
};

inline const SettingInfo* FindSetting(const CAmbrelController& ctl, int32_t id) {
    for (const SettingInfo& s : ctl.m_settings) {
        if (s.id == id) return &s;
    }
    return nullptr;
}

inline const AdjustmentInfo* FindAdjustment(const CAmbrelController& ctl, int32_t id) {
    for (const AdjustmentInfo& a : ctl.m_adjustments) {
        if (a.id == id) return &a;
    }
    return nullptr;
}

inline std::vector<int32_t> SettingIds(const CAmbrelController& ctl) {
    std::vector<int32_t> ids;
    for (const SettingInfo& s : ctl.m_settings) ids.push_back(s.id);
    return ids;
}

inline std::vector<int32_t> AdjustmentIds(const CAmbrelController& ctl) {
    std::vector<int32_t> ids;
    for (const AdjustmentInfo& a : ctl.m_adjustments) ids.push_back(a.id);
    return ids;
}

using Options = std::vector<std::pair<int32_t, std::wstring>>;

inline Options OptionsOf(const SettingInfo* setting) {
    Options out;
    if (!setting) return out;
    for (const SettingOption& o : setting->options) out.emplace_back(o.value, o.label);
    return out;
}

// The call log as "op(arg,arg)" lines, answers left out.
inline std::vector<std::string> Calls() {
    std::vector<std::string> lines;
    for (const pfsim::Call& call : pfsim::CallLog()) {
        std::string line = call.op + "(";
        for (size_t i = 0; i < call.args.size(); ++i) line += (i ? "," : "") + call.args[i];
        lines.push_back(line + ")");
    }
    return lines;
}

}  // namespace ctltest
