// The grabber stand-in: it keeps the last capture region a module set.
#include "DGrabModule.h"

#include <cstdint>

DGrabModule::DGrabModule() = default;

DGrabModule::~DGrabModule() = default;

bool DGrabModule::SetROI(uint32_t x, uint32_t y, uint32_t width, uint32_t height) {
    m_roi = DGrabRegion{x, y, width, height};
    if (m_roiCount != UINT32_MAX) ++m_roiCount;
    if (m_observer) m_observer(m_observerContext, m_roi);
    return true;
}

DGrabRegion DGrabModule::GetLastROI() const {
    return m_roi;
}

uint32_t DGrabModule::GetROICount() const {
    return m_roiCount;
}

void DGrabModule::SetROIObserver(ROIObserver observer, void* context) {
    m_observer = observer;
    m_observerContext = context;
}
