// SQLite's memory for a fuzzer: blocks of a few sizes, reused from free lists and never handed
// back. The profile store makes hundreds of short allocations for every input; from the heap,
// each would be filled, poisoned and kept in quarantine by the address sanitizer, which costs
// more than the input itself. SQLite is not under test here, so its memory needs no such checks.
#pragma once

#include <sqlite3.h>

#include <array>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace sqlitememory {

// A block's size class is stored in front of it; the blocks of a class are 2^(class + 4) bytes.
constexpr int kClasses = 14;  // up to 128 KiB; larger requests go to the heap each time
constexpr size_t kHeader = alignof(std::max_align_t);

struct Pool {
    std::mutex lock;
    std::array<void*, kClasses + 1> free{};  // the last list stays empty: heap blocks
};

inline Pool& ThePool() {
    static Pool& pool = *new Pool;  // used by SQLite until the process ends
    return pool;
}

inline int ClassOf(int bytes) {
    int cls = 0;
    while (cls < kClasses && (size_t{16} << cls) < static_cast<size_t>(bytes)) ++cls;
    return cls;
}

inline size_t BytesOf(int cls) {
    return size_t{16} << cls;
}

inline int& ClassField(void* block) {
    return *reinterpret_cast<int*>(static_cast<char*>(block) - kHeader);
}

inline int& HeapBytesField(void* block) {
    return *reinterpret_cast<int*>(static_cast<char*>(block) - kHeader + sizeof(int));
}

inline void* Allocate(int bytes) {
    if (bytes <= 0) return nullptr;
    const int cls = ClassOf(bytes);
    Pool& pool = ThePool();
    if (cls < kClasses) {
        std::lock_guard<std::mutex> guard(pool.lock);
        if (void* block = pool.free[static_cast<size_t>(cls)]) {
            pool.free[static_cast<size_t>(cls)] = *static_cast<void**>(block);
            return block;
        }
    }
    const size_t size = cls < kClasses ? BytesOf(cls) : static_cast<size_t>(bytes);
    auto* raw = static_cast<char*>(std::malloc(kHeader + size));
    if (!raw) return nullptr;
    void* block = raw + kHeader;
    ClassField(block) = cls;
    HeapBytesField(block) = bytes;
    return block;
}

inline void Release(void* block) {
    if (!block) return;
    const int cls = ClassField(block);
    if (cls == kClasses) {
        std::free(static_cast<char*>(block) - kHeader);
        return;
    }
    Pool& pool = ThePool();
    std::lock_guard<std::mutex> guard(pool.lock);
    *static_cast<void**>(block) = pool.free[static_cast<size_t>(cls)];
    pool.free[static_cast<size_t>(cls)] = block;
}

inline int Size(void* block) {
    if (!block) return 0;
    const int cls = ClassField(block);
    return cls == kClasses ? HeapBytesField(block) : static_cast<int>(BytesOf(cls));
}

inline void* Resize(void* block, int bytes) {
    const int size = Size(block);
    if (bytes <= size && ClassField(block) < kClasses) return block;
    void* bigger = Allocate(bytes);
    if (!bigger) return nullptr;
    std::memcpy(bigger, block, static_cast<size_t>(size < bytes ? size : bytes));
    Release(block);
    return bigger;
}

inline int Roundup(int bytes) {
    const int cls = ClassOf(bytes);
    return cls < kClasses ? static_cast<int>(BytesOf(cls)) : bytes;
}

inline int Init(void*) {
    return SQLITE_OK;
}

inline void Shutdown(void*) {}

}  // namespace sqlitememory

// Call before anything opens a store.
inline void GiveSqliteItsOwnMemory() {
    static const sqlite3_mem_methods methods{
        sqlitememory::Allocate, sqlitememory::Release, sqlitememory::Resize,   sqlitememory::Size,
        sqlitememory::Roundup,  sqlitememory::Init,    sqlitememory::Shutdown, nullptr};
    if (sqlite3_shutdown() != SQLITE_OK ||
        sqlite3_config(SQLITE_CONFIG_MALLOC, &methods) != SQLITE_OK ||
        sqlite3_initialize() != SQLITE_OK)
        std::abort();
}
