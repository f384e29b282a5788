// The playback range record: locked access and comparison of two ranges.
#include "CPlaybackSynchData.h"

#include <functional>
#include <mutex>

#include "DGrabModule.h"

namespace {

// Holds two records' locks, always the one at the lower address first, so two threads
// comparing or copying the same pair in opposite directions cannot deadlock.
class PairLock {
public:
    PairLock(plat::CriticalSection& a, plat::CriticalSection& b)
        : m_first(std::less<>{}(&a, &b) ? a : b), m_second(std::less<>{}(&a, &b) ? b : a) {
        m_first.Lock();
        m_second.Lock();
    }
    ~PairLock() {
        m_second.Unlock();
        m_first.Unlock();
    }
    PairLock(const PairLock&) = delete;
    PairLock& operator=(const PairLock&) = delete;

private:
    plat::CriticalSection& m_first;
    plat::CriticalSection& m_second;
};

}  // namespace

CPlaybackSynchData::CPlaybackSynchData()
    : m_nTag(0),
      m_startMajor(0),
      m_startMinor1(0),
      m_startMinor2(0),
      m_endMajor(0),
      m_endMinor1(0),
      m_endMinor2(0),
      m_nOrderKey(0) {}

CPlaybackSynchData::~CPlaybackSynchData() = default;

void CPlaybackSynchData::Set(int32_t startMajor, uint16_t startMinor1, uint16_t startMinor2,
                             int32_t endMajor, uint16_t endMinor1, uint16_t endMinor2,
                             uint32_t orderKey) {
    std::lock_guard guard(m_lock);
    m_startMajor = startMajor;
    m_startMinor1 = startMinor1;
    m_startMinor2 = startMinor2;
    m_endMajor = endMajor;
    m_endMinor1 = endMinor1;
    m_endMinor2 = endMinor2;
    m_nOrderKey.store(orderKey, std::memory_order_relaxed);
}

void CPlaybackSynchData::Get(int32_t& startMajor, uint16_t& startMinor1, uint16_t& startMinor2,
                             int32_t& endMajor, uint16_t& endMinor1, uint16_t& endMinor2) const {
    std::lock_guard guard(m_lock);
    startMajor = m_startMajor;
    startMinor1 = m_startMinor1;
    startMinor2 = m_startMinor2;
    endMajor = m_endMajor;
    endMinor1 = m_endMinor1;
    endMinor2 = m_endMinor2;
}

void CPlaybackSynchData::GetStart(int32_t& major, uint16_t& minor1, uint16_t& minor2) const {
    std::lock_guard guard(m_lock);
    major = m_startMajor;
    minor1 = m_startMinor1;
    minor2 = m_startMinor2;
}

void CPlaybackSynchData::GetEnd(int32_t& major, uint16_t& minor1, uint16_t& minor2) const {
    std::lock_guard guard(m_lock);
    major = m_endMajor;
    minor1 = m_endMinor1;
    minor2 = m_endMinor2;
}

uint32_t CPlaybackSynchData::GetOrderKey() const {
    return m_nOrderKey.load(std::memory_order_relaxed);
}

void CPlaybackSynchData::CopyFrom(const CPlaybackSynchData& other) {
    if (&other == this) return;
    PairLock locks(m_lock, other.m_lock);
    m_startMajor = other.m_startMajor;
    m_startMinor1 = other.m_startMinor1;
    m_startMinor2 = other.m_startMinor2;
    m_endMajor = other.m_endMajor;
    m_endMinor1 = other.m_endMinor1;
    m_endMinor2 = other.m_endMinor2;
    m_nOrderKey.store(other.m_nOrderKey.load(std::memory_order_relaxed), std::memory_order_relaxed);
}

void CPlaybackSynchData::SetTag(int32_t tag) {
    m_nTag.store(tag, std::memory_order_relaxed);
}

int32_t CPlaybackSynchData::GetTag() const {
    return m_nTag.load(std::memory_order_relaxed);
}

bool CPlaybackSynchData::HasTag(int32_t tag) const {
    return GetTag() == tag;
}

int CPlaybackSynchData::Compare(const CPlaybackSynchData& other, int32_t& dMajor, int16_t& dMinor1,
                                int16_t& dMinor2, uint32_t& key) const {
    if (&other == this) return 0;
    PairLock locks(m_lock, other.m_lock);

    dMajor = 0;
    dMinor1 = 0;
    dMinor2 = 0;
    const uint32_t ownKey = m_nOrderKey.load(std::memory_order_relaxed);
    const uint32_t otherKey = other.m_nOrderKey.load(std::memory_order_relaxed);
    key = ownKey;

    if (ownKey != 0 && otherKey != 0) {
        if (ownKey == otherKey) return 0;
        return otherKey < ownKey ? -1 : 1;
    }

    // The difference's sign flag is not consulted: the result already says which way it
    // points, and the parts are magnitudes no larger than INT32_MAX and 999, so negating them
    // cannot overflow.
    bool negative = false;
    if (CompareTimestamps(other.m_endMajor, other.m_endMinor1, other.m_endMinor2, m_startMajor,
                          m_startMinor1, m_startMinor2) == -1) {
        ComputeTimeDifference(m_startMajor, m_startMinor1, m_startMinor2, other.m_startMajor,
                              other.m_startMinor1, other.m_startMinor2, &dMajor, &dMinor1, &dMinor2,
                              &negative);
        dMajor = -dMajor;
        dMinor1 = static_cast<int16_t>(-dMinor1);
        dMinor2 = static_cast<int16_t>(-dMinor2);
        return -1;
    }
    if (CompareTimestamps(other.m_startMajor, other.m_startMinor1, other.m_startMinor2, m_endMajor,
                          m_endMinor1, m_endMinor2) == 1) {
        ComputeTimeDifference(m_startMajor, m_startMinor1, m_startMinor2, other.m_startMajor,
                              other.m_startMinor1, other.m_startMinor2, &dMajor, &dMinor1, &dMinor2,
                              &negative);
        return 1;
    }
    return 0;
}
