// The platform's rules for reading decimal integers from text and for comparing text without
// regard to case, one function a rule, so every control and store reads text the same way.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace plat {

// White space as the C locale has it: space, tab, line feed, vertical tab, form feed and
// carriage return, whatever the thread's locale.
bool IsAsciiSpace(wchar_t c);

// Decimal integers saturate at the 32-bit range: "99999999999" reads as INT32_MAX.
// The whole text is one number: white space, an optional sign, at least one digit, white space.
// Anything else (empty text, "12a", "1 2", "3.5") is not a number.
std::optional<int32_t> ParseWholeInt32(std::wstring_view text);
// The number the text starts with: white space, an optional sign, at least one digit; whatever
// follows is ignored ("-12abc" reads as -12). Not a number when no digit follows the sign.
std::optional<int32_t> ParseLeadingInt32(std::wstring_view text);

// ASCII case: only 'a' to 'z' and 'A' to 'Z' change case; every other character stays as it is,
// whatever the thread's locale.
wchar_t AsciiUpper(wchar_t c);
wchar_t AsciiLower(wchar_t c);
std::wstring AsciiUpper(std::wstring_view text);
std::wstring AsciiLower(std::wstring_view text);
// Orders as the ASCII upper-case forms of the two texts would: negative, 0 or positive.
int CompareAsciiNoCase(std::wstring_view a, std::wstring_view b);
bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b);
bool EqualsAsciiNoCase(std::string_view a, std::string_view b);
bool StartsWithAsciiNoCase(std::wstring_view text, std::wstring_view prefix);

}  // namespace plat
