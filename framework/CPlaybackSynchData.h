// A thread-safe playback range (start and end host timestamps), its ordering key and a tag.
//
// Binary interface: the host reads and writes this record, held by value in the setup manager,
// so the member order and types are shared with the host. The one virtual operation is the
// destructor (slot 0). The key and the tag are read without the lock; they are atomics of the
// same size and alignment as the plain integers, so such reads are not data races.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/Sync.h"

class CPlaybackSynchData {
public:
    CPlaybackSynchData();
    virtual ~CPlaybackSynchData();
    CPlaybackSynchData(const CPlaybackSynchData&) = delete;
    CPlaybackSynchData& operator=(const CPlaybackSynchData&) = delete;

    void Set(int32_t startMajor, uint16_t startMinor1, uint16_t startMinor2, int32_t endMajor,
             uint16_t endMinor1, uint16_t endMinor2, uint32_t orderKey);
    void Get(int32_t& startMajor, uint16_t& startMinor1, uint16_t& startMinor2, int32_t& endMajor,
             uint16_t& endMinor1, uint16_t& endMinor2) const;
    void GetStart(int32_t& major, uint16_t& minor1, uint16_t& minor2) const;
    void GetEnd(int32_t& major, uint16_t& minor1, uint16_t& minor2) const;
    // 0 means no key.
    uint32_t GetOrderKey() const;

    // Copies the range and the key (not the tag), holding both records' locks.
    void CopyFrom(const CPlaybackSynchData& other);

    void SetTag(int32_t tag);
    int32_t GetTag() const;
    bool HasTag(int32_t tag) const;

    // Where `other` lies relative to this record: when both have keys, by key (-1 when the
    // other's key is smaller) with a zero difference; otherwise -1 when the other range ends
    // before this one starts, 1 when it starts after this one ends, 0 when they meet or
    // overlap. The difference is between the two starts, negative for -1 and positive for 1,
    // in ComputeTimeDifference's parts; `key` receives this record's key. Compared with itself
    // it answers 0 and writes nothing. Safe against a concurrent Compare in the other
    // direction: both locks are always taken in one order.
    int Compare(const CPlaybackSynchData& other, int32_t& dMajor, int16_t& dMinor1,
                int16_t& dMinor2, uint32_t& key) const;

private:
    mutable plat::CriticalSection m_lock;
    std::atomic<int32_t> m_nTag;
    int32_t m_startMajor;
    uint16_t m_startMinor1;
    uint16_t m_startMinor2;
    int32_t m_endMajor;
    uint16_t m_endMinor1;
    uint16_t m_endMinor2;
    std::atomic<uint32_t> m_nOrderKey;
};
