// Tests of the integer-reading and case-folding rules every control and store shares.
#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <string>

#include "platform/TextRules.h"

namespace {

using plat::ParseLeadingInt32;
using plat::ParseWholeInt32;

struct IntCase {
    const wchar_t* text;
    std::optional<int32_t> whole;
    std::optional<int32_t> leading;
};

TEST(IntegerRules, WholeTextAndLeadingNumber) {
    const IntCase cases[] = {
        {L"12", 12, 12},
        {L" \t-3\r\n", -3, -3},
        {L"+7", 7, 7},
        {L"99999999999", INT_MAX, INT_MAX},
        {L"-99999999999999999999999", INT_MIN, INT_MIN},
        {L"-2147483648", INT_MIN, INT_MIN},
        {L"-12abc", std::nullopt, -12},
        {L"1 2", std::nullopt, 1},
        {L"3.5", std::nullopt, 3},
        {L"", std::nullopt, std::nullopt},
        {L"-", std::nullopt, std::nullopt},
        {L"+-1", std::nullopt, std::nullopt},
        {L"abc", std::nullopt, std::nullopt},
        // Only ASCII white space counts, whatever the locale says of other spaces.
        {L"\x3000"
         L"5",
         std::nullopt, std::nullopt},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
        EXPECT_EQ(ParseWholeInt32(c.text), c.whole);
        EXPECT_EQ(ParseLeadingInt32(c.text), c.leading);
    }
}

TEST(AsciiCase, OnlyAsciiLettersChangeCase) {
    EXPECT_EQ(plat::AsciiUpper(L"Button_1 \x00E9\x0131z"), L"BUTTON_1 \x00E9\x0131Z");
    EXPECT_EQ(plat::AsciiLower(L"ListBox \x00C9Z"), L"listbox \x00C9z");
    EXPECT_TRUE(plat::EqualsAsciiNoCase(L"msctls_TRACKBAR32", L"MSCTLS_trackbar32"));
    EXPECT_FALSE(plat::EqualsAsciiNoCase(L"\x00E9", L"\x00C9"));
    EXPECT_FALSE(plat::EqualsAsciiNoCase(L"Edit", L"Edit2"));
    EXPECT_TRUE(plat::EqualsAsciiNoCase(std::string_view("Yes"), std::string_view("yES")));
    EXPECT_TRUE(plat::StartsWithAsciiNoCase(L"DWORD:0001", L"dword:"));
    EXPECT_FALSE(plat::StartsWithAsciiNoCase(L"dw", L"dword:"));
}

TEST(AsciiCase, OrdersByUpperCaseForms) {
    // '_' (0x5F) sorts after the upper-case letters, so "a_" follows "AB" here.
    EXPECT_LT(plat::CompareAsciiNoCase(L"ab", L"AC"), 0);
    EXPECT_GT(plat::CompareAsciiNoCase(L"a_", L"AB"), 0);
    EXPECT_EQ(plat::CompareAsciiNoCase(L"Gain", L"gAIN"), 0);
    EXPECT_LT(plat::CompareAsciiNoCase(L"gain", L"GAINS"), 0);
}

}  // namespace
