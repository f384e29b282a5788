// Random valid camera models for the simulated library: the same model for the same seed.
#pragma once

#include <cstdint>
#include <string>

namespace probe_test {

// A model of one camera on one or two ports: a random choice of the properties the plug-in
// uses, with random ranges, values, steps, window modes and link speeds.
std::string GenerateModel(uint32_t seed);

}  // namespace probe_test
