// Fixture for the simulated camera tests: every test starts on the built-in model.
#pragma once

#include <gtest/gtest.h>
#include <pfConfig.h>
#include <sim/CameraSim.h>

#include <cmath>
#include <string>

class SimTest : public ::testing::Test {
protected:
    void SetUp() override {
        pfsim::EnableCallLog(true);
        pfsim::EnableDelays(true);
        pfsim::SetWriteObserver({});
        pfsim::SetPortObserver({});
        pfsim::LoadDefaultModel();
    }
    void TearDown() override { SetUp(); }

    static std::string ModelPath(const std::string& file) {
        return std::string(AMBREL_SOURCE_DIR) + "/sim/cameras/" + file;
    }
    // A one-port model whose camera lists `properties` (the text of a JSON array's elements);
    // `port` and `camera` add fields to the port's and the camera's object.
    static std::string CameraJson(const std::string& properties, const std::string& port = "",
                                  const std::string& camera = "") {
        return R"({"cameras": {"c": {"properties": [)" + properties + "]" + camera +
               R"(}}, "ports": [{"description": "P0", "camera": "c")" + port + "}]}";
    }
    static void LoadCamera(const std::string& properties, const std::string& port = "",
                           const std::string& camera = "") {
        std::string error;
        if (!pfsim::LoadModelString(CameraJson(properties, port, camera), &error)) {
            ADD_FAILURE() << error;
        }
    }
    static double Held(const char* name, int32_t port = 0) {
        return pfsim::GetProperty(port, name).value_or(NAN);
    }
};
