// Wide-text formatting for the system's printf-style format strings, and code-page conversion.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace plat {

// One argument of Format. Unlike the C library's wide printf family, %s always takes wide text,
// so one format string gives the same output on every platform.
class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Real, Text };

    FormatArg(int v) : m_kind(Kind::Signed), m_signed(v) {}
    FormatArg(long v) : m_kind(Kind::Signed), m_signed(v) {}
    FormatArg(long long v) : m_kind(Kind::Signed), m_signed(v) {}
    FormatArg(unsigned v) : m_kind(Kind::Unsigned), m_unsigned(v) {}
    FormatArg(unsigned long v) : m_kind(Kind::Unsigned), m_unsigned(v) {}
    FormatArg(unsigned long long v) : m_kind(Kind::Unsigned), m_unsigned(v) {}
    FormatArg(double v) : m_kind(Kind::Real), m_real(v) {}
    FormatArg(float v) : m_kind(Kind::Real), m_real(v) {}
    FormatArg(const wchar_t* v)
        : m_kind(Kind::Text), m_text(v ? std::wstring_view(v) : L"(null)") {}
    FormatArg(const std::wstring& v) : m_kind(Kind::Text), m_text(v) {}
    FormatArg(std::wstring_view v) : m_kind(Kind::Text), m_text(v) {}

    Kind kind() const { return m_kind; }
    long long asSigned() const;
    unsigned long long asUnsigned() const;
    double asReal() const;
    std::wstring_view asText() const { return m_text; }

private:
    Kind m_kind;
    long long m_signed = 0;
    unsigned long long m_unsigned = 0;
    double m_real = 0.0;
    std::wstring_view m_text;
};

// Formats with the printf conversions %d %i %u %x %X %o %c %s %f %F %e %E %g %G %%, with flags,
// width and precision (including '*'); length modifiers are accepted and change nothing.
// %s takes wide text; a null pointer prints "(null)". Reals print with '.' whatever the locale
// and an exponent of at least two digits. An integer of the other signedness prints as printf
// would print it (-1 under %u is 4294967295). A conversion without an argument, or with an
// argument of the wrong kind (text for %d, an integer for %f), prints nothing for that
// conversion; it never reads past the arguments given. An unknown conversion prints as written.
// Widths and precisions above 65536 are clamped.
std::wstring FormatV(std::wstring_view format, std::span<const FormatArg> args);

template <class... Args>
std::wstring Format(std::wstring_view format, const Args&... args) {
    if constexpr (sizeof...(Args) == 0) {
        return FormatV(format, {});
    } else {
        const FormatArg list[] = {FormatArg(args)...};
        return FormatV(format, list);
    }
}

// Narrow text to wide with the calling thread's code page (on Linux: the C library's multibyte
// conversion under the thread's locale). A byte that does not convert becomes the character of
// the same number (U+0080..U+00FF), so no text is lost and every label stays readable.
// A null pointer gives empty text.
std::wstring NarrowToWide(const char* text);
std::wstring NarrowToWide(std::string_view text);
// The same conversion without the fallback, for text that must read as the code page has it:
// false, with the offset of the first byte that does not convert in `bad`, when one does not.
bool NarrowToWideExact(std::string_view text, std::wstring* out, size_t* bad);

// Wide text to narrow with the thread's code page; a character that does not convert becomes '?'.
std::string WideToNarrow(std::wstring_view text);

}  // namespace plat
