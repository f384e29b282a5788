// UTF-8 for the debug sinks and the registry store, independent of the thread's locale.
#pragma once

#include <string>
#include <string_view>

namespace plat::detail {

// Appends `text` as UTF-8. With `keepSurrogates` a lone surrogate is written in the three-byte
// form, so a store gives back exactly the wide text it was handed; without, it becomes U+FFFD.
// Characters beyond U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, std::wstring_view text, bool keepSurrogates);

// Reads UTF-8 (three-byte surrogates included); a byte that is not part of a valid sequence
// becomes U+FFFD.
std::wstring FromUtf8(std::string_view text);

}  // namespace plat::detail
