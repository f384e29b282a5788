// Tests of the wide formatter and the code-page conversions.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdio>
#include <limits>
#include <string>

#if defined(_WIN32)
#include <windows.h>
#endif

#include "child_process.h"
#include "platform/Text.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define AMBREL_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(AMBREL_ASAN)
#include <sanitizer/lsan_interface.h>
#define AMBREL_LSAN_OFF() __lsan_disable()
#define AMBREL_LSAN_ON() __lsan_enable()
#else
#define AMBREL_LSAN_OFF()
#define AMBREL_LSAN_ON()
#endif

using plat::Format;

namespace {

TEST(Format, SystemDebuggerLines) {
    EXPECT_EQ(Format(L"=================Open Port Error:%s(%d) =======", L"Port busy", -3),
              L"=================Open Port Error:Port busy(-3) =======");
    EXPECT_EQ(Format(L"Port is ====================== %d", 2), L"Port is ====================== 2");
    EXPECT_EQ(Format(L"Waiting for %d events to complete", 4), L"Waiting for 4 events to complete");
    EXPECT_EQ(Format(L"Error on line : '%s'", L"Cam:Gain,x"), L"Error on line : 'Cam:Gain,x'");
    EXPECT_EQ(Format(L"Error executing event : %s:%s:%s.", L"Setup1", L"Cam", L"OnGrab"),
              L"Error executing event : Setup1:Cam:OnGrab.");
    EXPECT_EQ(Format(L"Keltaro 4 - Could not create the command : Module is NULL or ID < 0"),
              L"Keltaro 4 - Could not create the command : Module is NULL or ID < 0");
}

TEST(Format, ProfilePaths) {
    EXPECT_EQ(Format(L"Setups\\%s\\%s", L"Default", L"Ambrel Control"),
              L"Setups\\Default\\Ambrel Control");
    EXPECT_EQ(Format(L"Setups\\%s\\Scripts\\%s\\%s", L"S", L"M", L"E"),
              L"Setups\\S\\Scripts\\M\\E");
    EXPECT_EQ(Format(L"%d", 0), L"0");
    EXPECT_EQ(Format(L"%d", 17), L"17");
}

TEST(Format, UnsignedPrintsAllTenDigits) {
    EXPECT_EQ(Format(L"%u", 4294967295u), L"4294967295");
    EXPECT_EQ(Format(L"%u", 0u), L"0");
    // A signed argument converts as the 32-bit pattern printf would print.
    EXPECT_EQ(Format(L"%u", -1), L"4294967295");
    EXPECT_EQ(Format(L"%x", -1), L"ffffffff");
    EXPECT_EQ(Format(L"%d", 4294967295u), L"-1");
    EXPECT_EQ(Format(L"%u", 18446744073709551615ull), L"18446744073709551615");
    EXPECT_EQ(Format(L"%d", std::numeric_limits<long long>::min()), L"-9223372036854775808");
}

TEST(Format, BoundsAndSliderTexts) {
    EXPECT_EQ(Format(L"%E", 5e-8), L"5.000000E-08");
    EXPECT_EQ(Format(L"%E", 2e8), L"2.000000E+08");
    EXPECT_EQ(Format(L"%E", 1e-300), L"1.000000E-300");
    EXPECT_EQ(Format(L"%0.3f", 0.25), L"0.250");
    EXPECT_EQ(Format(L"%0.3f", 1e8), L"100000000.000");
    EXPECT_EQ(Format(L"%0.3f", 0.0), L"0.000");
    EXPECT_EQ(Format(L"%0.3f", -2.5), L"-2.500");
    EXPECT_EQ(Format(L"%0.3f", 0.0005), L"0.001");  // 0.0005 is just above the half in binary
    EXPECT_EQ(Format(L"%d.%07d", 3, 1), L"3.0000001");
    EXPECT_EQ(Format(L"%d.%07d", 0, 9999999), L"0.9999999");
}

TEST(Format, NullTextPrintsNull) {
    const wchar_t* none = nullptr;
    EXPECT_EQ(Format(L"%s", none), L"(null)");
    EXPECT_EQ(Format(L"[%s]", L""), L"[]");
}

TEST(Format, MissingOrMismatchedArgumentsPrintNothing) {
    EXPECT_EQ(Format(L"a%db%sc"), L"abc");
    EXPECT_EQ(Format(L"%d-%d", 1), L"1-");
    EXPECT_EQ(Format(L"%s", 5), L"");
    EXPECT_EQ(Format(L"%d", L"text"), L"");
    EXPECT_EQ(Format(L"%f", 3), L"");
    EXPECT_EQ(Format(L"%d", 2.5), L"");
    // The mismatched argument is still used up, so the next conversion takes the next one.
    EXPECT_EQ(Format(L"%d|%s", L"x", L"y"), L"|y");
    EXPECT_EQ(Format(L"%*d", 7), L"");
}

TEST(Format, PercentAndUnknownConversions) {
    EXPECT_EQ(Format(L"100%%"), L"100%");
    EXPECT_EQ(Format(L"%%d", 5), L"%d");
    EXPECT_EQ(Format(L"50%"), L"50%");
    EXPECT_EQ(Format(L"%5"), L"%5");
    EXPECT_EQ(Format(L"%n%d", 3), L"%n3");
    EXPECT_EQ(Format(L"%ld %lld %hd %hhu %zu %lu", 1, 2LL, 3, 4u, size_t{5}, 6ul), L"1 2 3 4 5 6");
}

TEST(Format, TextWidthPrecisionAndChar) {
    EXPECT_EQ(Format(L"[%5s]", L"ab"), L"[   ab]");
    EXPECT_EQ(Format(L"[%-5s]", L"ab"), L"[ab   ]");
    EXPECT_EQ(Format(L"[%.2s]", L"abcdef"), L"[ab]");
    EXPECT_EQ(Format(L"[%*.*s]", 4, 1, L"xyz"), L"[   x]");
    EXPECT_EQ(Format(L"[%-*s]", -3, L"a"), L"[a  ]");
    EXPECT_EQ(Format(L"[%*s]", -3, L"a"), L"[a  ]");
    EXPECT_EQ(Format(L"[%c%3c]", 65, static_cast<int>(L'\u00e9')), L"[A  \u00e9]");
    EXPECT_EQ(Format(L"%s", L"\u65e5\u672c"), L"\u65e5\u672c");
    // A huge '*' width is clamped rather than honoured.
    EXPECT_LE(Format(L"%*d", 2000000000, 1).size(), 70000u);
}

TEST(Format, NonFiniteReals) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(Format(L"%f", inf), L"inf");
    EXPECT_EQ(Format(L"%E", -inf), L"-INF");
    EXPECT_EQ(Format(L"%05f", std::numeric_limits<double>::quiet_NaN()), L"  nan");
    EXPECT_EQ(Format(L"%f", 1.5f), L"1.500000");
}

#if defined(_WIN32)
TEST(Format, DecimalPointIgnoresLocale) {
    // The C runtime's numeric locale set to one with a decimal comma must not change the text.
    const std::string before = std::setlocale(LC_NUMERIC, nullptr);
    const char* set = nullptr;
    for (const char* name : {"German_Germany.1252", "de-DE", "German"})
        if ((set = std::setlocale(LC_NUMERIC, name))) break;
    if (!set) GTEST_SKIP() << "no decimal-comma locale";
    const std::string point = std::localeconv()->decimal_point;
    const std::wstring fixed = Format(L"%0.3f", 1.5);
    const std::wstring sci = Format(L"%E", 5e-8);
    std::setlocale(LC_NUMERIC, before.c_str());
    EXPECT_EQ(point, ",");  // the locale is in force
    EXPECT_EQ(fixed, L"1.500");
    EXPECT_EQ(sci, L"5.000000E-08");
}

#else
TEST(Format, DecimalPointIgnoresLocale) {
    // A locale with a decimal comma, built for the test, must not change the text.
    platform_test::TempDir dir;
    const std::string built = dir.File("comma");
    if (std::system(("localedef -i de_DE -f UTF-8 '" + built + "' >/dev/null 2>&1").c_str()) != 0)
        GTEST_SKIP() << "cannot build a decimal-comma locale";
    ::setenv("LOCPATH", dir.File("").c_str(), 1);
    AMBREL_LSAN_OFF();  // the C library keeps the parsed LOCPATH for good
    const locale_t comma = newlocale(LC_ALL_MASK, "comma", locale_t{});
    AMBREL_LSAN_ON();
    ::unsetenv("LOCPATH");
    ASSERT_NE(comma, locale_t{});
    const locale_t old = uselocale(comma);
    char c[16];
    std::snprintf(c, sizeof c, "%.3f", 1.5);
    const std::wstring fixed = Format(L"%0.3f", 1.5);
    const std::wstring sci = Format(L"%E", 5e-8);
    uselocale(old);
    freelocale(comma);
    EXPECT_STREQ(c, "1,500");  // the locale is in force
    EXPECT_EQ(fixed, L"1.500");
    EXPECT_EQ(sci, L"5.000000E-08");
}
#endif

// Every numeric conversion, flag, width and precision checked against the C library's printf,
// which our formatter matches in the "C" locale.
std::string Printf(const std::string& fmt, auto value) {
    char buf[512];
    std::snprintf(buf, sizeof buf, fmt.c_str(), value);
    return buf;
}

std::wstring Widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

// Where mingw-w64's printf, the reference on Windows, departs from the C standard that our
// formatter and glibc follow: it gives %u the space flag's blank, and prints 0 under %#.0o as
// nothing instead of "0".
bool MingwPrintfDeparts([[maybe_unused]] const std::string& flags,
                        [[maybe_unused]] const std::string& precision,
                        [[maybe_unused]] char conversion, [[maybe_unused]] unsigned value) {
#if defined(_WIN32)
    if (conversion == 'u' && flags.find(' ') != std::string::npos) return true;
    return conversion == 'o' && value == 0 && flags.find('#') != std::string::npos &&
           (precision == "." || precision == ".0");
#else
    return false;
#endif
}

TEST(Format, MatchesPrintfForNumbers) {
    const char* flags[] = {"", "-", "+", " ", "#", "0", "-0", "+0", "#0", "- ", "+#"};
    const char* widths[] = {"", "1", "8", "25"};
    const char* precisions[] = {"", ".", ".0", ".1", ".3", ".12"};
    const int ints[] = {0,
                        1,
                        -1,
                        42,
                        -42,
                        7,
                        123456789,
                        std::numeric_limits<int>::min(),
                        std::numeric_limits<int>::max()};
    const unsigned uints[] = {0u, 1u, 255u, 4096u, 0xDEADBEEFu, 4294967295u};
    const double reals[] = {
        0.0,   -0.0,  1.0,    -1.5, 0.5, 2.5,         1e-5,    1e-4,  123.456,          1e15,
        1e16,  1e100, 9.9999, 5e-8, 2e8, 0.000123456, -1e-300, 1e300, 3.14159265358979, 999999.5,
        0.0005};
    int checked = 0;
    for (const char* f : flags)
        for (const char* w : widths)
            for (const char* p : precisions) {
                const std::string directive = std::string("%") + f + w + p;
                for (const char c : std::string("di")) {
                    for (const int v : ints) {
                        const std::string fmt = directive + c;
                        ASSERT_EQ(Format(Widen(fmt), v), Widen(Printf(fmt, v))) << fmt << " " << v;
                        ++checked;
                    }
                }
                for (const char c : std::string("uxXo")) {
                    for (const unsigned v : uints) {
                        const std::string fmt = directive + c;
                        if (MingwPrintfDeparts(f, p, c, v)) continue;
                        ASSERT_EQ(Format(Widen(fmt), v), Widen(Printf(fmt, v))) << fmt << " " << v;
                        ++checked;
                    }
                }
                for (const char c : std::string("fFeEgG")) {
                    for (const double v : reals) {
                        const std::string fmt = directive + c;
                        if (fmt.find('#') != std::string::npos && (c == 'g' || c == 'G') &&
                            v == 999999.5)
                            continue;  // glibc drops the kept zeros here; see below
                        ASSERT_EQ(Format(Widen(fmt), v), Widen(Printf(fmt, v))) << fmt << " " << v;
                        ++checked;
                    }
                }
            }
    EXPECT_GT(checked, 10000);
}

TEST(Format, AlternateGeneralKeepsZerosAfterRoundingUp) {
    // '#' keeps trailing zeros even when rounding carries into a new exponent.
    EXPECT_EQ(Format(L"%#g", 999999.5), L"1.00000e+06");
    EXPECT_EQ(Format(L"%g", 999999.5), L"1e+06");
    EXPECT_EQ(Format(L"%#.3g", 99.95), L"100.");
}

#if defined(_WIN32)
// Runs the body with the calling thread's locale, and with it the thread's ANSI code page, set
// to `lcid`; false when the system does not take it.
template <class Body>
bool InThreadLocale(LCID lcid, Body body) {
    const LCID old = GetThreadLocale();
    if (!SetThreadLocale(lcid)) return false;
    body();
    SetThreadLocale(old);
    return true;
}

const LCID kUsEnglish = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);
const LCID kJapanese = MAKELCID(MAKELANGID(LANG_JAPANESE, SUBLANG_JAPANESE_JAPAN), SORT_DEFAULT);

TEST(NarrowToWide, WesternCodePageConvertsEveryByte) {
    const bool ran = InThreadLocale(kUsEnglish, [] {
        EXPECT_EQ(plat::NarrowToWide("COM1 - Camera Link"), L"COM1 - Camera Link");
        EXPECT_EQ(plat::NarrowToWide("caf\xe9 \x80"), L"caf\u00e9 \u20ac");  // code page 1252
        EXPECT_EQ(plat::NarrowToWide(std::string_view("a\0b", 3)), std::wstring(L"a\0b", 3));
    });
    EXPECT_EQ(plat::NarrowToWide(static_cast<const char*>(nullptr)), L"");
    EXPECT_EQ(plat::NarrowToWide(""), L"");
    if (!ran) GTEST_SKIP() << "the US English locale is not available";
}

TEST(NarrowToWide, DoubleByteCodePageFallsBackPerByte) {
    const bool ran = InThreadLocale(kJapanese, [] {
        EXPECT_EQ(plat::NarrowToWide("\x93\xfa\x96\x7b"), L"\u65e5\u672c");  // code page 932
        // A lead byte without its trail byte keeps its byte value; the text around it converts.
        EXPECT_EQ(plat::NarrowToWide("\x93\xfa\x96"), L"\u65e5\u0096");
        EXPECT_EQ(plat::NarrowToWide("a\x93"), L"a\u0093");
    });
    if (!ran) GTEST_SKIP() << "the Japanese locale is not available";
}

TEST(WideToNarrow, ReplacesWhatTheCodePageLacks) {
    const bool western = InThreadLocale(kUsEnglish, [] {
        EXPECT_EQ(plat::WideToNarrow(L"3.0000001"), "3.0000001");
        EXPECT_EQ(plat::WideToNarrow(L"caf\u00e9"), "caf\xe9");
        EXPECT_EQ(plat::WideToNarrow(L"\u65e5"), "?");
        EXPECT_EQ(plat::WideToNarrow(std::wstring(1, static_cast<wchar_t>(0xD800))), "?");
        EXPECT_EQ(plat::WideToNarrow(L""), "");
    });
    const bool japanese = InThreadLocale(kJapanese, [] {
        EXPECT_EQ(plat::WideToNarrow(L"\u65e5\u672c"), "\x93\xfa\x96\x7b");
        // No best-fit stand-in ('e' for an e acute): what the code page lacks is a '?'.
        EXPECT_EQ(plat::WideToNarrow(L"caf\u00e9"), "caf?");
    });
    if (!western || !japanese) GTEST_SKIP() << "a locale the test needs is not available";
}

#else
// Runs the body with the calling thread in the named locale; false when it is not installed.
template <class Body>
bool InLocale(const char* name, Body body) {
    locale_t loc = newlocale(LC_ALL_MASK, name, locale_t{});
    if (!loc) return false;
    const locale_t old = uselocale(loc);
    body();
    uselocale(old);
    freelocale(loc);
    return true;
}

TEST(NarrowToWide, CLocaleKeepsEveryByte) {
    InLocale("C", [] {
        EXPECT_EQ(plat::NarrowToWide("COM1 - Camera Link"), L"COM1 - Camera Link");
        EXPECT_EQ(plat::NarrowToWide("caf\xe9 \x80\xff"), L"caf\u00e9 \u0080\u00ff");
        EXPECT_EQ(plat::NarrowToWide(std::string_view("a\0b", 3)), std::wstring(L"a\0b", 3));
    });
    EXPECT_EQ(plat::NarrowToWide(static_cast<const char*>(nullptr)), L"");
    EXPECT_EQ(plat::NarrowToWide(""), L"");
}

TEST(NarrowToWide, Utf8LocaleDecodesAndFallsBackPerByte) {
    const bool ran = InLocale("C.UTF-8", [] {
        EXPECT_EQ(plat::NarrowToWide("caf\xc3\xa9"), L"caf\u00e9");
        EXPECT_EQ(plat::NarrowToWide("\xe6\x97\xa5"), L"\u65e5");
        // An invalid byte, and a sequence cut off at the end, keep their byte values.
        EXPECT_EQ(plat::NarrowToWide("a\xff"
                                     "b"),
                  L"a\u00ffb");
        EXPECT_EQ(plat::NarrowToWide("x\xc3"), L"x\u00c3");
        EXPECT_EQ(plat::NarrowToWide("\xe6\x97"
                                     "A"),
                  L"\u00e6\u0097A");
    });
    if (!ran) GTEST_SKIP() << "C.UTF-8 is not installed";
}

TEST(WideToNarrow, ReplacesWhatTheCodePageLacks) {
    InLocale("C", [] {
        EXPECT_EQ(plat::WideToNarrow(L"3.0000001"), "3.0000001");
        EXPECT_EQ(plat::WideToNarrow(L"caf\u00e9"), "caf?");
        EXPECT_EQ(plat::WideToNarrow(L""), "");
    });
    const bool ran = InLocale("C.UTF-8", [] {
        EXPECT_EQ(plat::WideToNarrow(L"caf\u00e9 \u65e5"), "caf\xc3\xa9 \xe6\x97\xa5");
        EXPECT_EQ(plat::WideToNarrow(std::wstring(1, static_cast<wchar_t>(0xD800))), "?");
    });
    if (!ran) GTEST_SKIP() << "C.UTF-8 is not installed";
}
#endif

}  // namespace
