// Control of the simulated camera library, for tests and the reference host (not for the plug-in).
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#if defined(_WIN32)
#if defined(PFCONFIG_BUILDING)
#define PFSIM_API __declspec(dllexport)
#else
#define PFSIM_API __declspec(dllimport)
#endif
#else
#define PFSIM_API __attribute__((visibility("default")))
#endif

namespace pfsim {

// Loads a camera model (JSON, see sim/README.md). On failure the current model stays and
// `error` says what is wrong, with the JSON path of the offending element.
PFSIM_API bool LoadModelFile(const std::string& path, std::string* error = nullptr);
PFSIM_API bool LoadModelString(const std::string& json, std::string* error = nullptr);
// The built-in fully equipped camera on two ports (also the model before any load).
PFSIM_API void LoadDefaultModel();
PFSIM_API std::string DefaultModelJson();

// Back to the model's values: every port closed, kept defaults forgotten, log and counts cleared.
PFSIM_API void Reset();

// Direct access to a camera's properties, bypassing ports, faults, delays and the log.
// `port` picks the camera on that port.
PFSIM_API std::optional<double> GetProperty(int32_t port, const std::string& name);
PFSIM_API bool SetProperty(int32_t port, const std::string& name, double value);
PFSIM_API bool IsPortOpen(int32_t port);
PFSIM_API int32_t OpenPortCount();

// One library call as the plug-in made it: the operation's name, its arguments and its answer,
// each as text ("pfSetCameraPropertyI", {"0", "Window.Mode", "1"}, "0").
struct Call {
    std::string op;
    std::vector<std::string> args;
    std::string result;
};
PFSIM_API void EnableCallLog(bool on);  // on by default
PFSIM_API std::vector<Call> CallLog();
PFSIM_API void ClearCallLog();
// Calls per operation since the last reset or clear (counted even with the log off).
PFSIM_API uint64_t CallCount(const std::string& op);
PFSIM_API uint64_t TotalCallCount();

// Observes every property write the plug-in makes: name, value sent, value now held.
using WriteObserver = std::function<void(int32_t port, const std::string& name, double sent,
                                         double held)>;
PFSIM_API void SetWriteObserver(WriteObserver observer);
// Observes opening and closing: port, opened (true) or closed, error code (0 on success).
using PortObserver = std::function<void(int32_t port, bool open, int32_t code)>;
PFSIM_API void SetPortObserver(PortObserver observer);

// Simulated link delays (per call, as on a serial link of the model's baud rate) are off
// unless the model asks for them; this switches them off or back on for benchmarks.
PFSIM_API void EnableDelays(bool on);

}  // namespace pfsim
