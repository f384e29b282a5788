// Loading camera models: the shipped files, the built-in default and the validation errors.
#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "SimTest.h"

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::vector<std::string> ScanNames(int32_t port) {
    std::vector<std::string> names;
    for (int32_t i = 0; i < pfGetNumProperties(port); ++i) {
        const char* name = pfGetPropertyInfo(port, i, nullptr, nullptr);
        names.push_back(name ? name : "<null>");
    }
    return names;
}

using ModelTest = SimTest;

TEST_F(ModelTest, DefaultModelIsFullJson) {
    const std::string full = ReadFile(ModelPath("full.json"));
    ASSERT_FALSE(full.empty());
    EXPECT_EQ(pfsim::DefaultModelJson(), full);

    ASSERT_EQ(pfOpenPort(0, 0), 0);
    const auto builtIn = ScanNames(0);
    std::string error;
    ASSERT_TRUE(pfsim::LoadModelFile(ModelPath("full.json"), &error)) << error;
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    EXPECT_EQ(ScanNames(0), builtIn);
}

TEST_F(ModelTest, FullCameraListsEveryPropertyThePlugInUses) {
    ASSERT_EQ(pfGetNumPort(), 2);
    EXPECT_STREQ(pfGetPortInfo(0), "CL port 0 (simulated)");
    EXPECT_STREQ(pfGetPortInfo(1), "CL port 1 (simulated)");
    ASSERT_EQ(pfOpenPort(1, 0), 0);
    const auto names = ScanNames(1);
    for (const char* name : {"Window.Mode",
                             "Window.Mode.Window_1024x1024",
                             "Window.Mode.Window_1024x512",
                             "Window.Mode.Window_1024x256",
                             "Window.Mode.Window_512x512",
                             "Window.W",
                             "Window.H",
                             "Window.X",
                             "Window.Y",
                             "Window.W.Max",
                             "Window.H.Max",
                             "Window.Max",
                             "Correction.Mode",
                             "Correction.Mode.Off",
                             "Correction.Mode.Offset",
                             "Correction.Mode.OffsetHotpixel",
                             "Correction.Mode.OffsetGainHotpixel",
                             "Correction.Mode.BlackRefOut",
                             "Correction.Mode.GreyRefOut",
                             "DigitalGain",
                             "DigitalGain.1x",
                             "DigitalGain.2x",
                             "DigitalGain.4x",
                             "DigitalGain.8x",
                             "Trigger.CFR",
                             "Trigger.Interleave",
                             "Trigger.Source",
                             "Crosshairs.Enable",
                             "Crosshairs.X",
                             "Crosshairs.X.Min",
                             "Crosshairs.X.Max",
                             "Crosshairs.Y",
                             "Crosshairs.Y.Min",
                             "Crosshairs.Y.Max",
                             "Crosshairs.Value",
                             "Crosshairs.Value.Min",
                             "Crosshairs.Value.Max",
                             "Decimation.Y",
                             "Decimation.Y.Min",
                             "Decimation.Y.Max",
                             "ExposureTime",
                             "ExposureTime.Min",
                             "ExposureTime.Max",
                             "FrameTime",
                             "FrameTime.Min",
                             "FrameTime.Max",
                             "StoreDefaults",
                             "FactoryReset",
                             "Reset"}) {
        EXPECT_NE(std::find(names.begin(), names.end(), name), names.end()) << name;
    }
    EXPECT_EQ(pfGetCameraPropertyI(1, "Decimation.Y.Max"), 4);
    EXPECT_FLOAT_EQ(pfGetCameraPropertyF(1, "ExposureTime.Min"), 0.01f);
    int32_t width = 0;
    EXPECT_EQ(pfGetCameraPropertyInt(1, "Window.W.Max", &width), 0);
    EXPECT_EQ(width, 1024);
}

TEST_F(ModelTest, EveryModelInTheCamerasFolderLoads) {
    int models = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ModelPath(""))) {
        const std::string file = entry.path().filename().string();
        if (entry.path().extension() != ".json" || file.find(".schema.") != std::string::npos) {
            continue;
        }
        ++models;
        std::string error;
        EXPECT_TRUE(pfsim::CheckModelFile(entry.path().string(), &error)) << file << ": " << error;
        EXPECT_TRUE(pfsim::LoadModelFile(entry.path().string(), &error)) << file << ": " << error;
    }
    EXPECT_GE(models, 4);
    ASSERT_TRUE(pfsim::LoadModelFile(ModelPath("noports.json")));
    EXPECT_EQ(pfGetNumPort(), 0);
    EXPECT_EQ(pfOpenPort(0, 0), pfsim::kErrNoSuchPort);
    ASSERT_TRUE(pfsim::LoadModelFile(ModelPath("minimal.json")));
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    EXPECT_EQ(ScanNames(0),
              (std::vector<std::string>{"Window.W", "Window.H", "Window.X", "Window.Y",
                                        "Window.W.Max", "Window.H.Max", "ExposureTime",
                                        "ExposureTime.Min", "ExposureTime.Max"}));
}

TEST_F(ModelTest, LimitsFollowTheirPropertyReadOnly) {
    LoadCamera(R"({"name": "A", "type": "int", "value": 2, "min": -1, "max": 9, "limits": true},
                  {"name": "B", "type": "real", "value": 0.5, "min": 0.25, "limits": true})");
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    EXPECT_EQ(ScanNames(0),
              (std::vector<std::string>{"A", "A.Min", "A.Max", "B", "B.Min", "B.Max"}));
    EXPECT_EQ(pfGetCameraPropertyI(0, "A.Min"), -1);
    EXPECT_EQ(pfGetCameraPropertyI(0, "A.Max"), 9);
    EXPECT_EQ(pfGetCameraPropertyF(0, "B.Max"), std::numeric_limits<float>::max());
    int32_t type = -7, access = -7;
    pfGetPropertyInfo(0, 1, &type, &access);
    EXPECT_EQ(type, pfsim::kTypeInt);
    EXPECT_EQ(access, pfsim::kAccessRead);
    EXPECT_EQ(pfSetCameraPropertyI(0, "A.Min", 5), pfsim::kErrReadOnly);
    EXPECT_EQ(pfGetCameraPropertyI(0, "A.Min"), -1);
}

TEST_F(ModelTest, PortWithoutCameraOpensWithNoProperties) {
    ASSERT_TRUE(pfsim::LoadModelString(R"({"ports": [{"description": null}]})"));
    EXPECT_EQ(pfGetPortInfo(0), nullptr);
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    EXPECT_EQ(pfGetNumProperties(0), 0);
    EXPECT_EQ(pfGetPropertyInfo(0, 0, nullptr, nullptr), nullptr);
}

TEST_F(ModelTest, InvalidModelsAreRejectedNamingThePath) {
    const std::string p = "$.cameras.c.properties";
    const struct {
        std::string json;
        std::string error;
    } cases[] = {
        {"{", "$: not valid JSON"},
        {"[]", "$: expected an object"},
        {R"({"cameras": {}})", "$: missing \"ports\""},
        {R"({"ports": [{"camera": null}]})", "$.ports[0]: missing \"description\""},
        {R"({"ports": [{"description": 3}]})", "$.ports[0].description: expected a text"},
        {R"({"ports": [{"description": null, "camera": "x"}]})", "$.ports[0].camera: no camera"},
        {R"({"ports": [{"description": null, "speed": 1}]})", "$.ports[0].speed: unknown field"},
        {R"({"ports": [{"description": null, "baud": 0}]})", "$.ports[0].baud: not a serial"},
        {R"({"ports": [{"description": null, "baud": 1}]})",
         "$.ports[0].baud: not a serial line's rate (300 to 4000000 baud): 1"},
        {R"({"ports": [{"description": null, "baud": 4000001}]})", "$.ports[0].baud: not a serial"},
        {R"({"ports": [{"description": null, "open_error": {"code": 0}}]})",
         "$.ports[0].open_error.code: must not be 0"},
        {CameraJson(R"({"name": "A", "type": "bool", "value": 1})"),
         p + "[0].type: unknown type \"bool\""},
        {CameraJson(R"({"name": "A", "type": "int", "value": 1, "min": 5, "max": 3})"),
         p + "[0].min: greater than max (5 > 3)"},
        {CameraJson(R"("A", {"name": "A", "type": "int", "value": 1})"),
         p + "[1]: duplicate property name \"A\" (first at " + p + "[0])"},
        {CameraJson(R"({"name": "A", "type": "int", "value": 1, "limits": true}, "A.Max")"),
         p + "[1]: duplicate property name \"A.Max\""},
        {CameraJson(R"({"name": "A", "type": "int", "value": "1"})"),
         p + "[0].value: expected an integer"},
        {CameraJson(R"({"name": "A", "type": "int", "value": 1.5})"),
         p + "[0].value: expected an integer"},
        {CameraJson(R"({"name": "A", "type": "int", "value": 4294967296})"),
         p + "[0].value: 4294967296 is outside the signed 32-bit range"},
        {CameraJson(R"({"name": "A", "type": "real", "value": 1e39})"),
         p + "[0].value: 1e+39 is outside the single-precision range"},
        {CameraJson(R"({"name": "A", "type": "real", "value": 2, "max": 1})"),
         p + "[0].value: 2 is outside ["},
        {CameraJson(R"({"name": "A", "type": "int", "value": 1, "increment": 0})"),
         p + "[0].increment: must be greater than 0"},
        {CameraJson(R"({"name": "A", "type": "int", "value": 1, "read": "x"})"),
         p + "[0].read: expected a number, \"nan\""},
        {CameraJson(R"({"name": "A", "type": "name", "value": 1})"),
         p + "[0].value: a bare name takes no \"value\""},
        {CameraJson(R"({"type": "int", "value": 1})"), p + "[0]: missing \"name\""},
        {CameraJson(R"("Window W")"), p + "[0]: property name \"Window W\" is not printable"},
        {CameraJson("3"), p + "[0]: expected a property object"},
        {CameraJson(R"({"name": "Window.X", "type": "real", "value": 1})"),
         p + "[0]: \"Window.X\" must be an int property"},
        {CameraJson(R"({"name": "Reset", "type": "real", "value": 1})"),
         p + "[0]: command \"Reset\" must be an int property"},
        {CameraJson("", "", R"(, "window_modes": [[1024, 0]])"),
         "$.cameras.c.window_modes[0][1]: must be at least 1"},
        {CameraJson("", "", R"(, "window_modes": [[1024]])"),
         "$.cameras.c.window_modes[0]: expected [width, height], got an array"},
        {CameraJson("", "", R"(, "commands": {"Reset": "reset"})"),
         "$.cameras.c.commands.Reset: the camera lists no such property"},
        {CameraJson(R"({"name": "Go", "type": "int", "value": 0})", "",
                    R"(, "commands": {"Go": 1})"),
         "$.cameras.c.commands.Go: unknown command 1 (max_window"},
        {R"({"ports": [], "cameras": {}, "ports": []})", "$.ports: duplicate key"},
        {CameraJson(R"({"name": "A", "type": "int", "value": 1, "value": 2})"),
         p + "[0].value: duplicate key"},
        {CameraJson(R"({"name": "Window.W", "type": "int", "value": 512, "max": 1024},
                       {"name": "Window.X", "type": "int", "value": 600, "max": 1024})"),
         p + "[1].value: Window.X 600 does not fit the sensor with the other window values "
             "(the camera would hold 512)"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(pfsim::LoadModelString(c.json, &error)) << c.json;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << "error: " << error << "\nexpected: " << c.error;
    }
}

TEST_F(ModelTest, HostileModelsFailWithABoundedMessage) {
    const std::string deep = std::string(50000, '[') + std::string(50000, ']');
    const std::string longText(1 << 20, 'x');
    const struct {
        std::string json;
        std::string error;
    } cases[] = {
        {R"({"ports": [{"description": )" + deep + "}]}",
         "$.ports[0].description[0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0][0]"},
        {R"({"ports": [{"description": null, "baud": ")" + longText + "\"}]}",
         "$.ports[0].baud: expected a signed 32-bit integer, got \"xxxx"},
        {"{\"" + longText + "\": 1}", "$.xxxx"},
        {"{\"ports\": [\"" + longText, "$: not valid JSON"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(pfsim::LoadModelString(c.json, &error));
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << error.substr(0, 200);
        EXPECT_LE(error.size(), 400u);
    }
}

TEST_F(ModelTest, FailedLoadKeepsCurrentModelAndState) {
    ASSERT_TRUE(pfsim::LoadModelFile(ModelPath("minimal.json")));
    ASSERT_EQ(pfOpenPort(0, 0), 0);
    ASSERT_EQ(pfSetCameraPropertyI(0, "Window.W", 512), 0);

    std::string error;
    EXPECT_FALSE(pfsim::LoadModelString(R"({"ports": 1})", &error));
    EXPECT_EQ(error, "$.ports: expected an array");
    EXPECT_FALSE(pfsim::LoadModelFile(ModelPath("missing.json"), &error));
    EXPECT_NE(error.find("missing.json"), std::string::npos);

    EXPECT_EQ(pfGetNumPort(), 1);
    EXPECT_TRUE(pfsim::IsPortOpen(0));
    EXPECT_EQ(pfGetCameraPropertyI(0, "Window.W"), 512);
}

TEST_F(ModelTest, LoadingStartsAfresh) {
    ASSERT_EQ(pfOpenPort(1, 0), 0);
    ASSERT_TRUE(pfsim::LoadModelFile(ModelPath("full.json")));
    EXPECT_EQ(pfsim::OpenPortCount(), 0);
    EXPECT_TRUE(pfsim::CallLog().empty());
    EXPECT_EQ(pfsim::TotalCallCount(), 0u);
}

TEST_F(ModelTest, LibraryExportsEveryVendorFunction) {
#if defined(_WIN32)
    // Already loaded, as the test program links it.
    const HMODULE lib = GetModuleHandleA("pfConfig.dll");
    ASSERT_NE(lib, nullptr) << GetLastError();
    const auto find = [&](const char* name) {
        return reinterpret_cast<void*>(GetProcAddress(lib, name));
    };
#else
    void* lib = dlopen((std::string(AMBREL_BINARY_DIR) + "/bin/libpfConfig.so").c_str(),
                       RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(lib, nullptr) << dlerror();
    const auto find = [&](const char* name) { return dlsym(lib, name); };
#endif
    for (const char* name :
         {"pfGetNumPort", "pfGetPortInfo", "pfOpenPort", "pfClosePort", "pfGetErrorMsg",
          "pfGetNumProperties", "pfGetPropertyInfo", "pfGetCameraPropertyI", "pfSetCameraPropertyI",
          "pfGetCameraPropertyF", "pfSetCameraPropertyF", "pfGetCameraPropertyInt"}) {
        EXPECT_NE(find(name), nullptr) << name;
    }
#if !defined(_WIN32)
    dlclose(lib);
#endif
}

}  // namespace
