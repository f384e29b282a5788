// The host API library's grab module and timestamp functions, as modules call them.
//
// Binary interface: these are exports of the host API library (DovrelAPIu). Their names and
// argument types are shared with the host; do not change them.
//
// A host timestamp is three parts: `major` counts seconds (signed), `minorA` milliseconds and
// `minorB` microseconds. Normalised parts lie in 0..999; a larger minor part is taken at its
// value and carries into the next part (major 0, minorA 1500 is 1.5 s), so every input has one
// well-defined instant and no input overflows.
#pragma once

#include <cstdint>

#if defined(_WIN32)
#if defined(DOVRELAPI_BUILDING)
#define DOVREL_API __declspec(dllexport)
#else
#define DOVREL_API __declspec(dllimport)
#endif
#else
#define DOVREL_API __attribute__((visibility("default")))
#endif

// A region of interest as the grabber was last given it.
struct DGrabRegion {
    uint32_t x = 0;
    uint32_t y = 0;
    uint32_t width = 0;
    uint32_t height = 0;
};

// The setup's frame grabber. The host owns it; modules only set the capture region.
class DOVREL_API DGrabModule {
public:
    DGrabModule();
    ~DGrabModule();
    DGrabModule(const DGrabModule&) = delete;
    DGrabModule& operator=(const DGrabModule&) = delete;

    // Records the region; the grabber takes any region, so the answer is always true.
    bool SetROI(uint32_t x, uint32_t y, uint32_t width, uint32_t height);

    // The host's view: the last region set (all zero before the first) and how many times
    // SetROI was called (saturating).
    DGrabRegion GetLastROI() const;
    uint32_t GetROICount() const;

    // The host's own hook: told of every SetROI after it is recorded; null for none.
    using ROIObserver = void (*)(void* context, const DGrabRegion& region);
    void SetROIObserver(ROIObserver observer, void* context);

private:
    DGrabRegion m_roi;
    uint32_t m_roiCount = 0;
    ROIObserver m_observer = nullptr;
    void* m_observerContext = nullptr;
};

// -1, 0 or 1 as the first timestamp is before, equal to or after the second.
DOVREL_API int CompareTimestamps(int32_t major1, uint16_t minor1a, uint16_t minor1b, int32_t major2,
                                 uint16_t minor2a, uint16_t minor2b);

// The distance between two timestamps, t1 - t2, as a magnitude in normalised parts (seconds,
// milliseconds 0..999, microseconds 0..999, none negative) and `negative` true when t1 is
// before t2. A distance beyond the 32-bit seconds part saturates to (INT32_MAX, 999, 999) and
// answers false; otherwise true. Null out-pointers are skipped.
DOVREL_API bool ComputeTimeDifference(int32_t major1, uint16_t minor1a, uint16_t minor1b,
                                      int32_t major2, uint16_t minor2a, uint16_t minor2b,
                                      int32_t* dMajor, int16_t* dMinorA, int16_t* dMinorB,
                                      bool* negative);
