// Reading decimal integers from text and comparing text without regard to ASCII case.
#include "platform/TextRules.h"

#include <algorithm>
#include <limits>

namespace plat {
namespace {

constexpr int64_t kBeyondInt32 = int64_t{std::numeric_limits<int32_t>::max()} + 1;

std::size_t SkipSpace(std::wstring_view text, std::size_t i) {
    while (i < text.size() && IsAsciiSpace(text[i])) ++i;
    return i;
}

// White space, an optional sign and digits from the start; `end` is left after the digits.
std::optional<int32_t> ReadInt32(std::wstring_view text, std::size_t& end) {
    std::size_t i = SkipSpace(text, 0);
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
    const std::size_t firstDigit = i;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i)
        value = std::min(value * 10 + (text[i] - L'0'), kBeyondInt32);
    if (i == firstDigit) return std::nullopt;
    end = i;
    if (negative) value = -value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

template <class Char>
Char Upper(Char c) {
    return c >= Char('a') && c <= Char('z') ? static_cast<Char>(c - Char('a') + Char('A')) : c;
}

template <class Char>
Char Lower(Char c) {
    return c >= Char('A') && c <= Char('Z') ? static_cast<Char>(c - Char('A') + Char('a')) : c;
}

}  // namespace

bool IsAsciiSpace(wchar_t c) {
    return c == L' ' || (c >= L'\t' && c <= L'\r');
}

std::optional<int32_t> ParseWholeInt32(std::wstring_view text) {
    std::size_t end = 0;
    const std::optional<int32_t> value = ReadInt32(text, end);
    if (!value || SkipSpace(text, end) != text.size()) return std::nullopt;
    return value;
}

std::optional<int32_t> ParseLeadingInt32(std::wstring_view text) {
    std::size_t end = 0;
    return ReadInt32(text, end);
}

wchar_t AsciiUpper(wchar_t c) {
    return Upper(c);
}

wchar_t AsciiLower(wchar_t c) {
    return Lower(c);
}

std::wstring AsciiUpper(std::wstring_view text) {
    std::wstring upper(text);
    for (wchar_t& c : upper) c = AsciiUpper(c);
    return upper;
}

std::wstring AsciiLower(std::wstring_view text) {
    std::wstring lower(text);
    for (wchar_t& c : lower) c = AsciiLower(c);
    return lower;
}

int CompareAsciiNoCase(std::wstring_view a, std::wstring_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const wchar_t ca = AsciiUpper(a[i]);
        const wchar_t cb = AsciiUpper(b[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool EqualsAsciiNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && CompareAsciiNoCase(a, b) == 0;
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return Upper(x) == Upper(y); });
}

bool StartsWithAsciiNoCase(std::wstring_view text, std::wstring_view prefix) {
    return text.size() >= prefix.size() && EqualsAsciiNoCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace plat
