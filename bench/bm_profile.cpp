// Benchmarks of the profile's .reg import: a tree of many keys into a store file, and one key at
// the deepest level holding many values. Each reports the process's peak memory.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Registry.h"

namespace {

namespace reg = plat::reg;

constexpr const char* kHeader = "Windows Registry Editor Version 5.00\r\n\r\n";

// A scratch folder for one benchmark's files, removed with everything in it.
class Scratch {
public:
    Scratch() {
        m_path =
            std::filesystem::temp_directory_path() / ("ambrel-bench-" + std::to_string(::getpid()));
        std::filesystem::create_directories(m_path);
    }
    ~Scratch() {
        reg::UseMemoryStore();
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string File(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

double PeakMemoryMiB() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void Import(benchmark::State& state, const Scratch& scratch, const std::string& file) {
    for (auto _ : state) {
        state.PauseTiming();
        const std::string store = scratch.File("store.db");
        for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(store + suffix);
        if (!reg::OpenStore(store)) state.SkipWithError("the store cannot be made");
        state.ResumeTiming();
        std::string error;
        if (!reg::ImportRegFile(file, &error)) state.SkipWithError(error.c_str());
    }
    state.counters["file_MiB"] = static_cast<double>(std::filesystem::file_size(file)) / 1048576.0;
    state.counters["peak_MiB"] = PeakMemoryMiB();
}

// Keys side by side below one parent, each with one value.
void BM_ImportManyKeys(benchmark::State& state) {
    const Scratch scratch;
    const std::string file = scratch.File("keys.reg");
    {
        std::ofstream out(file, std::ios::binary);
        out << kHeader;
        for (int64_t i = 0; i < state.range(0); ++i)
            out << "[HKEY_CURRENT_USER\\B\\K" << i << "]\r\n\"V\"=dword:"
                << "0000002a\r\n";
    }
    Import(state, scratch, file);
}
BENCHMARK(BM_ImportManyKeys)->Arg(1'000'000)->Unit(benchmark::kSecond)->Iterations(1);

// One key as deep as the registry goes, holding many values.
void BM_ImportDeepKey(benchmark::State& state) {
    const Scratch scratch;
    const std::string file = scratch.File("deep.reg");
    {
        std::ofstream out(file, std::ios::binary);
        out << kHeader << "[HKEY_CURRENT_USER";
        for (uint32_t level = 0; level < reg::kMaxKeyDepth; ++level) out << "\\Level";
        out << "]\r\n";
        for (int64_t i = 0; i < state.range(0); ++i)
            out << "\"Value" << i << "\"=\"text " << i << "\"\r\n";
    }
    Import(state, scratch, file);
}
BENCHMARK(BM_ImportDeepKey)->Arg(5000)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
