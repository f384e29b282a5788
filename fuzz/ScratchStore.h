// A profile store for a fuzzer: every profile write is a transaction, so it lies in memory-backed
// files where the system has them, and is deleted with the process.
#pragma once

#include <platform/Registry.h>
#include <unistd.h>

#include <filesystem>
#include <string>

class ScratchStore {
public:
    explicit ScratchStore(const char* name) {
        std::error_code ec;
        const std::filesystem::path shm("/dev/shm");
        const auto folder =
            std::filesystem::is_directory(shm, ec) ? shm : std::filesystem::temp_directory_path();
        m_path = (folder / (std::string(name) + "-" + std::to_string(getpid()) + ".db")).string();
    }
    ~ScratchStore() { Forget(); }
    ScratchStore(const ScratchStore&) = delete;
    ScratchStore& operator=(const ScratchStore&) = delete;

    const std::string& Path() const { return m_path; }
    // Lets go of the store and deletes its files: the next opening starts empty.
    void Forget() const {
        plat::reg::UseMemoryStore();
        std::error_code ec;
        for (const char* suffix : {"", "-wal", "-shm", "-journal"})
            std::filesystem::remove(m_path + suffix, ec);
    }

private:
    std::string m_path;
};
