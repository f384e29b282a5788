// UTF-8 encoding and decoding of wide text, independent of the thread's locale: for files,
// output streams, the debug sinks and the registry store.
#pragma once

#include <string>
#include <string_view>

namespace plat {

// What happens to a lone surrogate (a UTF-16 half without its partner, or any value in
// 0xD800-0xDFFF where wchar_t is four bytes): replaced by U+FFFD, or kept in the three-byte
// form so that a store gives back exactly the wide text it was handed.
enum class Surrogates { Replace, Keep };

// Appends `text` as UTF-8; characters beyond U+10FFFF become U+FFFD.
void AppendUtf8(std::string& out, std::wstring_view text,
                Surrogates surrogates = Surrogates::Replace);
std::string ToUtf8(std::wstring_view text, Surrogates surrogates = Surrogates::Replace);

// Reads UTF-8. A sequence that breaks off, is overlong or lies beyond U+10FFFF becomes one
// U+FFFD, and reading goes on at the byte that broke it; a three-byte surrogate decodes to
// its code unit with Surrogates::Keep and becomes U+FFFD otherwise.
std::wstring FromUtf8(std::string_view text, Surrogates surrogates = Surrogates::Replace);

}  // namespace plat
