// Reading model-file JSON strictly: no duplicate keys, bounded nesting, errors naming the JSON
// path.
#pragma once

#include <cstddef>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace pfsim {

// Model files nest five levels deep; anything far deeper is hostile.
inline constexpr size_t kMaxJsonDepth = 64;

// Reads `text` into `out`. On failure answers false and sets `error` to a message starting with
// the JSON path at fault: invalid JSON, a key given twice in one object, nesting too deep.
bool ReadStrictJson(std::string_view text, nlohmann::json& out, std::string& error);

// `path` extended by an object key, the key shortened so that messages stay bounded.
std::string PathWithKey(const std::string& path, std::string_view key);

// A short description of a JSON value for messages: a scalar as written (texts shortened), a
// container by its kind only.
std::string Describe(const nlohmann::json& value);

}  // namespace pfsim
