// The printf-style wide formatter.
#include "platform/Text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>

namespace plat {

long long FormatArg::asSigned() const {
    switch (m_kind) {
        case Kind::Signed:
            return m_signed;
        case Kind::Unsigned:
            // printf reads an unsigned argument under %d as the signed number of the same bits;
            // values that fit 32 bits are the int of those bits, larger ones the 64-bit reading.
            if (m_unsigned <= UINT32_MAX) return static_cast<int32_t>(m_unsigned);
            return static_cast<long long>(m_unsigned);
        default:
            return 0;
    }
}

unsigned long long FormatArg::asUnsigned() const {
    switch (m_kind) {
        case Kind::Unsigned:
            return m_unsigned;
        case Kind::Signed:
            if (m_signed >= INT32_MIN && m_signed <= INT32_MAX)
                return static_cast<uint32_t>(m_signed);
            return static_cast<unsigned long long>(m_signed);
        default:
            return 0;
    }
}

double FormatArg::asReal() const {
    return m_kind == Kind::Real ? m_real : 0.0;
}

namespace {

// A field width or precision beyond this is clamped, so a stray '*' argument cannot ask for
// gigabytes of padding.
constexpr int kMaxField = 65536;

struct Directive {
    bool left = false;
    bool plus = false;
    bool space = false;
    bool alt = false;
    bool zero = false;
    int width = 0;
    int precision = -1;  // -1: not given
    wchar_t conv = 0;
};

bool IsInteger(const FormatArg& a) {
    return a.kind() == FormatArg::Kind::Signed || a.kind() == FormatArg::Kind::Unsigned;
}

// Appends `body` with its sign/prefix, padded to the directive's width.
void Pad(std::wstring& out, const Directive& s, std::wstring_view prefix, std::wstring_view body,
         bool zeroPadAllowed) {
    const size_t len = prefix.size() + body.size();
    const size_t width = static_cast<size_t>(s.width);
    const size_t fill = width > len ? width - len : 0;
    if (s.left) {
        out.append(prefix).append(body).append(fill, L' ');
    } else if (s.zero && zeroPadAllowed) {
        out.append(prefix).append(fill, L'0').append(body);
    } else {
        out.append(fill, L' ').append(prefix).append(body);
    }
}

void AppendAscii(std::wstring& out, const char* first, const char* last) {
    for (const char* p = first; p != last; ++p) out.push_back(static_cast<wchar_t>(*p));
}

void FormatInteger(std::wstring& out, const Directive& s, const FormatArg& arg) {
    std::wstring_view prefix;
    unsigned long long magnitude = 0;
    int base = 10;
    switch (s.conv) {
        case L'd':
        case L'i': {
            const long long v = arg.asSigned();
            if (v < 0) {
                prefix = L"-";
                magnitude = 0ULL - static_cast<unsigned long long>(v);
            } else {
                magnitude = static_cast<unsigned long long>(v);
                if (s.plus)
                    prefix = L"+";
                else if (s.space)
                    prefix = L" ";
            }
            break;
        }
        case L'u':
            magnitude = arg.asUnsigned();
            break;
        case L'x':
        case L'X':
            magnitude = arg.asUnsigned();
            base = 16;
            if (s.alt && magnitude != 0) prefix = s.conv == L'x' ? L"0x" : L"0X";
            break;
        case L'o':
            magnitude = arg.asUnsigned();
            base = 8;
            break;
    }

    std::array<char, 32> buf{};
    char* end = buf.data();
    if (!(magnitude == 0 && s.precision == 0)) {
        end = std::to_chars(buf.data(), buf.data() + buf.size(), magnitude, base).ptr;
    }
    if (s.conv == L'X')
        std::transform(buf.data(), end, buf.data(), [](char c) {
            return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
        });
    const size_t digits = static_cast<size_t>(end - buf.data());
    size_t zeros = s.precision > 0 && static_cast<size_t>(s.precision) > digits
                       ? static_cast<size_t>(s.precision) - digits
                       : 0;
    // '#' with %o makes the first digit a zero.
    if (s.conv == L'o' && s.alt && zeros == 0 && (digits == 0 || buf[0] != '0')) zeros = 1;

    std::wstring body(zeros, L'0');
    AppendAscii(body, buf.data(), end);
    Pad(out, s, prefix, body, s.precision < 0);
}

// Rounds `v` to `precision` digits after the point in the given notation; '.' whatever the
// locale, and an exponent of at least two digits, as std::to_chars follows printf.
std::string RealChars(double v, std::chars_format fmt, int precision) {
    // The longest fixed text of a double: 309 integer digits, the point and the precision.
    std::string text(static_cast<size_t>(precision) + 330, '\0');
    const auto r = std::to_chars(text.data(), text.data() + text.size(), v, fmt, precision);
    if (r.ec != std::errc()) return "0";
    text.resize(static_cast<size_t>(r.ptr - text.data()));
    return text;
}

void StripTrailingZeros(std::string& digits) {
    const size_t point = digits.find('.');
    if (point == std::string::npos) return;
    size_t end = digits.size();
    while (end > point + 1 && digits[end - 1] == '0') --end;
    if (end == point + 1) --end;
    digits.resize(end);
}

// '#' keeps the point in a mantissa that has no decimals.
void InsertPointBeforeExponent(std::string& digits) {
    if (digits.find('.') != std::string::npos) return;
    const size_t e = digits.find('e');
    digits.insert(e == std::string::npos ? digits.size() : e, 1, '.');
}

void FormatReal(std::wstring& out, const Directive& s, double v) {
    const bool upper = s.conv == L'F' || s.conv == L'E' || s.conv == L'G';
    std::wstring_view prefix;
    if (std::signbit(v)) {
        prefix = L"-";
        v = -v;
    } else if (s.plus) {
        prefix = L"+";
    } else if (s.space) {
        prefix = L" ";
    }

    if (!std::isfinite(v)) {
        const std::wstring_view text =
            std::isnan(v) ? (upper ? L"NAN" : L"nan") : (upper ? L"INF" : L"inf");
        Pad(out, s, prefix, text, false);
        return;
    }

    int precision = s.precision < 0 ? 6 : s.precision;
    std::string digits;
    switch (s.conv) {
        case L'f':
        case L'F':
            digits = RealChars(v, std::chars_format::fixed, precision);
            if (s.alt) InsertPointBeforeExponent(digits);
            break;
        case L'e':
        case L'E':
            digits = RealChars(v, std::chars_format::scientific, precision);
            if (s.alt) InsertPointBeforeExponent(digits);
            break;
        default: {
            // %g: scientific when the exponent X after rounding to P significant digits is
            // below -4 or at least P, fixed with P-1-X decimals otherwise.
            if (precision == 0) precision = 1;
            const std::string sci = RealChars(v, std::chars_format::scientific, precision - 1);
            const size_t e = sci.find('e');
            const int x = e == std::string::npos ? 0 : std::atoi(sci.c_str() + e + 1);
            if (x < -4 || x >= precision) {
                digits = sci;
                if (!s.alt && e != std::string::npos) {
                    std::string mantissa = digits.substr(0, e);
                    StripTrailingZeros(mantissa);
                    digits = mantissa + digits.substr(e);
                }
            } else {
                digits = RealChars(v, std::chars_format::fixed, precision - 1 - x);
                if (!s.alt) StripTrailingZeros(digits);
            }
            if (s.alt) InsertPointBeforeExponent(digits);
            break;
        }
    }
    if (upper)
        std::transform(digits.begin(), digits.end(), digits.begin(),
                       [](char c) { return c == 'e' ? 'E' : c; });
    std::wstring body;
    AppendAscii(body, digits.data(), digits.data() + digits.size());
    Pad(out, s, prefix, body, true);
}

// Reads a run of decimal digits, saturating at kMaxField.
int ReadNumber(std::wstring_view f, size_t& i) {
    int n = 0;
    while (i < f.size() && f[i] >= L'0' && f[i] <= L'9') {
        n = std::min(kMaxField, n * 10 + static_cast<int>(f[i] - L'0'));
        ++i;
    }
    return n;
}

// The next argument as a '*' width or precision; false when it is missing or not an integer.
bool TakeStarArg(std::span<const FormatArg> args, size_t& next, long long& value) {
    if (next >= args.size()) return false;
    const FormatArg& a = args[next++];
    if (!IsInteger(a)) return false;
    value = a.asSigned();
    return true;
}

}  // namespace

std::wstring FormatV(std::wstring_view f, std::span<const FormatArg> args) {
    std::wstring out;
    out.reserve(f.size() + 16);
    size_t next = 0;
    size_t i = 0;
    while (i < f.size()) {
        const size_t pct = f.find(L'%', i);
        if (pct == std::wstring_view::npos) {
            out.append(f.substr(i));
            break;
        }
        out.append(f.substr(i, pct - i));
        i = pct + 1;
        if (i < f.size() && f[i] == L'%') {
            out.push_back(L'%');
            ++i;
            continue;
        }

        Directive s;
        for (; i < f.size(); ++i) {
            const wchar_t c = f[i];
            if (c == L'-')
                s.left = true;
            else if (c == L'+')
                s.plus = true;
            else if (c == L' ')
                s.space = true;
            else if (c == L'#')
                s.alt = true;
            else if (c == L'0')
                s.zero = true;
            else
                break;
        }
        if (i < f.size() && f[i] == L'*') {
            ++i;
            long long w = 0;
            if (TakeStarArg(args, next, w)) {
                // A negative '*' width means left alignment, as in printf.
                if (w < 0) {
                    s.left = true;
                    w = w < -kMaxField ? kMaxField : -w;
                }
                s.width = static_cast<int>(std::min<long long>(w, kMaxField));
            }
        } else {
            s.width = ReadNumber(f, i);
        }
        if (i < f.size() && f[i] == L'.') {
            ++i;
            if (i < f.size() && f[i] == L'*') {
                ++i;
                long long p = 0;
                if (TakeStarArg(args, next, p))
                    s.precision = p < 0 ? -1 : static_cast<int>(std::min<long long>(p, kMaxField));
            } else {
                s.precision = ReadNumber(f, i);
            }
        }
        // Length modifiers change nothing: every argument carries its own kind and size.
        while (i < f.size() && (f[i] == L'h' || f[i] == L'l' || f[i] == L'z' || f[i] == L'j' ||
                                f[i] == L't' || f[i] == L'L'))
            ++i;
        if (i >= f.size()) {
            // A format ending inside a conversion prints that text as it stands.
            out.append(f.substr(pct));
            break;
        }
        s.conv = f[i++];

        const FormatArg* arg = nullptr;
        switch (s.conv) {
            case L'd':
            case L'i':
            case L'u':
            case L'x':
            case L'X':
            case L'o':
                if (next < args.size()) arg = &args[next++];
                if (arg && IsInteger(*arg)) FormatInteger(out, s, *arg);
                break;
            case L'f':
            case L'F':
            case L'e':
            case L'E':
            case L'g':
            case L'G':
                if (next < args.size()) arg = &args[next++];
                if (arg && arg->kind() == FormatArg::Kind::Real) FormatReal(out, s, arg->asReal());
                break;
            case L'c':
                if (next < args.size()) arg = &args[next++];
                if (arg && IsInteger(*arg)) {
                    const unsigned long long code = arg->asUnsigned();
                    if (code <= static_cast<unsigned long long>(WCHAR_MAX)) {
                        const wchar_t ch = static_cast<wchar_t>(code);
                        Pad(out, s, {}, std::wstring_view(&ch, 1), false);
                    }
                }
                break;
            case L's':
                if (next < args.size()) arg = &args[next++];
                if (arg && arg->kind() == FormatArg::Kind::Text) {
                    std::wstring_view text = arg->asText();
                    if (s.precision >= 0 && static_cast<size_t>(s.precision) < text.size())
                        text = text.substr(0, static_cast<size_t>(s.precision));
                    Pad(out, s, {}, text, false);
                }
                break;
            default:
                // Not a conversion we know (%n, %p, ...): shown as written, no argument taken.
                out.append(f.substr(pct, i - pct));
                break;
        }
    }
    return out;
}

std::wstring NarrowToWide(const char* text) {
    if (!text) return {};
    return NarrowToWide(std::string_view(text));
}

}  // namespace plat
