/* The camera configuration library's operations that the plug-in calls.
 * A port is a signed 32-bit index; a property is an ASCII name. Returned text belongs to the
 * library and stays valid until the next call on the same port; callers never free it. */
#ifndef AMBREL_VENDOR_PFCONFIG_H
#define AMBREL_VENDOR_PFCONFIG_H

#include <stdint.h>

#if defined(_WIN32)
#if defined(PFCONFIG_BUILDING)
#define PFCONFIG_API __declspec(dllexport)
#else
#define PFCONFIG_API __declspec(dllimport)
#endif
#else
#define PFCONFIG_API __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Number of serial ports; 0 or less means none. */
PFCONFIG_API int32_t pfGetNumPort(void);
/* Description of a port, or null when the port is not offered. */
PFCONFIG_API const char* pfGetPortInfo(int32_t port);
/* 0 when the port is open; any other value is an error code. */
PFCONFIG_API int32_t pfOpenPort(int32_t port, int32_t flags);
PFCONFIG_API int32_t pfClosePort(int32_t port);
/* Message for the last failed opening of that port, or null. */
PFCONFIG_API const char* pfGetErrorMsg(int32_t port);

PFCONFIG_API int32_t pfGetNumProperties(int32_t port);
/* Name of property number `index`, or null; the two out-values are the library's own. */
PFCONFIG_API const char* pfGetPropertyInfo(int32_t port, int32_t index, int32_t* type,
                                           int32_t* access);

PFCONFIG_API int32_t pfGetCameraPropertyI(int32_t port, const char* name);
PFCONFIG_API int32_t pfSetCameraPropertyI(int32_t port, const char* name, int32_t value);
PFCONFIG_API float pfGetCameraPropertyF(int32_t port, const char* name);
PFCONFIG_API int32_t pfSetCameraPropertyF(int32_t port, const char* name, float value);
/* Stores the integer value through `value`; answers 0 on success. */
PFCONFIG_API int32_t pfGetCameraPropertyInt(int32_t port, const char* name, int32_t* value);

#ifdef __cplusplus
}
#endif

#endif
