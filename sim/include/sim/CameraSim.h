// Control of the simulated camera library, for tests and the reference host (not for the plug-in).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sim/CameraControl.h"

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

// Error codes the library answers (a model's open_error code is answered as given).
inline constexpr int32_t kErrNoSuchPort = 101;       // port index out of range
inline constexpr int32_t kErrPortNotOpen = 102;      // property call or close on a closed port
inline constexpr int32_t kErrUnknownProperty = 103;  // the camera does not list the name (or null)
inline constexpr int32_t kErrReadOnly = 104;         // write to a read-only property
inline constexpr int32_t kErrNoValue = 105;          // a bare name: listed, but holds no value
inline constexpr int32_t kErrNotANumber = 106;       // NaN written
inline constexpr int32_t kErrNullPointer = 107;      // null out-value pointer

// What pfGetPropertyInfo stores through its two out-values.
inline constexpr int32_t kTypeBare = 0;
inline constexpr int32_t kTypeInt = 1;
inline constexpr int32_t kTypeReal = 2;
inline constexpr int32_t kAccessNone = 0;  // bare names
inline constexpr int32_t kAccessRead = 1;
inline constexpr int32_t kAccessReadWrite = 3;

// Loads a camera model (JSON, see sim/README.md). On failure the current model stays and
// `error` says what is wrong, with the JSON path of the offending element.
PFSIM_API bool LoadModelFile(const std::string& path, std::string* error = nullptr);
PFSIM_API bool LoadModelString(const std::string& json, std::string* error = nullptr);
// The text of a model file, of at most 16 MiB; false, with the reason, for a folder, a file that
// cannot be read or a longer one (a device that never ends included).
PFSIM_API bool ReadModelFile(const std::string& path, std::string* text, std::string* error);
// Checks a model file as a load does, without loading it; false with `error` as above.
PFSIM_API bool CheckModelFile(const std::string& path, std::string* error = nullptr);
// The built-in fully equipped camera on two ports (also the model before any load).
PFSIM_API void LoadDefaultModel();
PFSIM_API std::string DefaultModelJson();

// Back to the model's values: every port closed, kept defaults forgotten, log and counts cleared.
// A successful load does the same.
PFSIM_API void Reset();

// Direct access to a camera's properties, bypassing ports, faults, delays and the log.
// `port` picks the camera on that port (open or not). GetProperty answers the value held, or
// nullopt for a port out of range, an unlisted name or a bare name. SetProperty takes the value
// as the camera takes a write (clamped, snapped, acted on), read-only properties included; it
// answers false where GetProperty answers nullopt and for NaN. It calls no observer.
PFSIM_API std::optional<double> GetProperty(int32_t port, const std::string& name);
PFSIM_API bool SetProperty(int32_t port, const std::string& name, double value);
PFSIM_API bool IsPortOpen(int32_t port);
PFSIM_API int32_t OpenPortCount();

// The library's own log of the calls made to it (Call and kMaxLoggedCalls: sim/CameraControl.h).
PFSIM_API void EnableCallLog(bool on);  // on by default
PFSIM_API std::vector<Call> CallLog();
PFSIM_API void ClearCallLog();
// Calls per operation since the last reset or clear (counted even with the log off).
PFSIM_API uint64_t CallCount(const std::string& op);
PFSIM_API uint64_t TotalCallCount();

// Observers: see sim/CameraControl.h.
PFSIM_API void SetWriteObserver(WriteObserver observer);
PFSIM_API void SetPortObserver(PortObserver observer);

// Simulated link delays (per call, as on a serial link of the model's baud rate) are off
// unless the model asks for them; this switches them off or back on for benchmarks.
PFSIM_API void EnableDelays(bool on);

// The library's control interface, for a host that reaches the simulator only through it.
PFSIM_API CameraControl& Control();

}  // namespace pfsim
