// The floors of the controller benchmarks: a recorded stretch of camera-library calls made again
// with nothing else around them, and the padded camera the benchmarks run on.
#pragma once

#include <sim/CameraSim.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bench {

// The built-in camera with its table padded to `names` rows. The padding comes first, so every
// scan walks past it, as scans on a camera with a long table do.
std::string PaddedModel(int64_t names);

class CallReplay {
public:
    // The calls of `log` (the simulator's call log), ready to be made again. A run of
    // pfGetPropertyInfo calls over consecutive indices of one port (a property scan) becomes one
    // record, so replaying it costs no more than the scan itself.
    explicit CallReplay(const std::vector<pfsim::Call>& log);

    // Makes every call again; `names`, when given, receives each name a scan answers.
    void Run(void (*names)(const char*) = nullptr) const;
    size_t Calls() const { return m_calls; }

private:
    struct Record {
        enum Op {
            NumPort,
            PortInfo,
            ErrorMsg,
            Open,
            Close,
            NumProperties,
            Scan,
            GetI,
            GetF,
            GetInt,
            SetI,
            SetF
        } op = NumPort;
        int32_t port = 0;
        int32_t index = 0;  // Scan: the first index; Open: the flags
        int32_t count = 0;  // Scan: how many indices in a row
        double value = 0;
        std::string name;
    };

    std::vector<Record> m_records;
    size_t m_calls = 0;
};

}  // namespace bench
