// The record of library calls: text forms, the bounded log and the counts.
#include "CallRecord.h"

#include <charconv>
#include <utility>

namespace pfsim {
namespace {

constexpr std::array<std::string_view, kOpCount> kOpNames = {
    "pfGetNumPort",         "pfGetPortInfo",        "pfOpenPort",
    "pfClosePort",          "pfGetErrorMsg",        "pfGetNumProperties",
    "pfGetPropertyInfo",    "pfGetCameraPropertyI", "pfSetCameraPropertyI",
    "pfGetCameraPropertyF", "pfSetCameraPropertyF", "pfGetCameraPropertyInt"};

}  // namespace

std::string LogInt(int64_t v) {
    return std::to_string(v);
}

std::string LogReal(float v) {
    char buf[32];
    auto res = std::to_chars(buf, buf + sizeof buf, v);
    return std::string(buf, res.ptr);
}

std::string LogText(const char* text) {
    return text ? std::string(text) : std::string("null");
}

void CallRecord::Add(Op op, std::vector<std::string> args, std::string answer) {
    if (!m_on) return;
    m_calls.push_back(Call{std::string(kOpNames[op]), std::move(args), std::move(answer)});
    if (m_calls.size() > kMaxLoggedCalls) m_calls.pop_front();
}

void CallRecord::Clear() {
    m_calls.clear();
    m_counts.fill(0);
}

uint64_t CallRecord::CountOf(std::string_view op) const {
    for (size_t i = 0; i < kOpCount; ++i) {
        if (kOpNames[i] == op) return m_counts[i];
    }
    return 0;
}

uint64_t CallRecord::Total() const {
    uint64_t total = 0;
    for (uint64_t n : m_counts) total += n;
    return total;
}

}  // namespace pfsim
