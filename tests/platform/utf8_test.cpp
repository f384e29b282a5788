// UTF-8 encoding and decoding of wide text.
#include "platform/Utf8.h"

#include <gtest/gtest.h>

namespace plat {
namespace {

TEST(Utf8, RoundTripsEveryPlane) {
    const std::wstring text = L"Kan\u00e4le \u65e5\u672c \U0001F4F7";
    EXPECT_EQ(ToUtf8(text), "Kan\xc3\xa4le \xe6\x97\xa5\xe6\x9c\xac \xf0\x9f\x93\xb7");
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
}

TEST(Utf8, BrokenBytesBecomeReplacementCharacters) {
    EXPECT_EQ(FromUtf8("a\xff"
                       "b"),
              L"a\ufffd"
              L"b");
    EXPECT_EQ(FromUtf8("\xc3"), L"\ufffd");
    EXPECT_EQ(FromUtf8("\xe6\x97"
                       "x"),
              L"\ufffd"
              L"x");
    EXPECT_EQ(FromUtf8("\xc0\xaf"), L"\ufffd");      // an overlong '/'
    EXPECT_EQ(FromUtf8("\xed\xa0\x80"), L"\ufffd");  // a surrogate
}

TEST(Utf8, LoneSurrogatesAreKeptOnlyWhenAsked) {
    // A UTF-16 half alone; where wchar_t has four bytes, the same value as a character.
    const std::wstring lone(1, static_cast<wchar_t>(0xD83D));
    EXPECT_EQ(ToUtf8(lone), "\xef\xbf\xbd");
    EXPECT_EQ(ToUtf8(lone, Surrogates::Keep), "\xed\xa0\xbd");
    EXPECT_EQ(FromUtf8(ToUtf8(lone, Surrogates::Keep), Surrogates::Keep), lone);
    // Beyond U+10FFFF there is nothing to keep.
    EXPECT_EQ(FromUtf8("\xf4\x90\x80\x80", Surrogates::Keep), L"\ufffd");
}

}  // namespace
}  // namespace plat
