// The record of library calls: the latest calls as text, and a count per operation.
#pragma once

#include <sim/CameraSim.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace pfsim {

enum Op : size_t {
    kGetNumPort,
    kGetPortInfo,
    kOpenPort,
    kClosePort,
    kGetErrorMsg,
    kGetNumProperties,
    kGetPropertyInfo,
    kGetI,
    kSetI,
    kGetF,
    kSetF,
    kGetInt,
    kOpCount
};

// How the log writes arguments and answers.
std::string LogInt(int64_t v);
std::string LogReal(float v);
std::string LogText(const char* text);  // "null" for a null text

class CallRecord {
public:
    bool On() const { return m_on; }
    void Enable(bool on) { m_on = on; }

    void Count(Op op) { ++m_counts[op]; }
    // Keeps the call when the log is on (the count is the caller's).
    void Add(Op op, std::vector<std::string> args, std::string answer);
    void Clear();

    std::vector<Call> Calls() const { return {m_calls.begin(), m_calls.end()}; }
    uint64_t CountOf(std::string_view op) const;
    uint64_t Total() const;

private:
    bool m_on = true;
    std::deque<Call> m_calls;
    std::array<uint64_t, kOpCount> m_counts{};
};

}  // namespace pfsim
