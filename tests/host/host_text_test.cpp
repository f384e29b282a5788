// The host's number format for camera values.
#include <gtest/gtest.h>

#include <limits>

#include "HostText.h"

namespace host {
namespace {

TEST(FormatNumber, RealsHeldInSinglePrecisionPrintAsWritten) {
    EXPECT_EQ(FormatNumber(static_cast<double>(0.123f)), "0.123");
    EXPECT_EQ(FormatNumber(static_cast<double>(0.01f)), "0.01");
    EXPECT_EQ(FormatNumber(0.1), "0.1");
    EXPECT_EQ(FormatNumber(static_cast<double>(1e-7f)), "1e-07");
    EXPECT_EQ(FormatNumber(static_cast<double>(std::numeric_limits<float>::max())),
              "3.4028235e+38");
}

TEST(FormatNumber, WholeNumbersPrintInDecimal) {
    EXPECT_EQ(FormatNumber(1024), "1024");
    EXPECT_EQ(FormatNumber(-3), "-3");
    EXPECT_EQ(FormatNumber(-0.0), "0");
    EXPECT_EQ(FormatNumber(2147483647), "2147483647");
    EXPECT_EQ(FormatNumber(-2147483648.0), "-2147483648");
}

TEST(FormatNumber, ValuesBeyondSinglePrecisionAndNonNumbers) {
    EXPECT_EQ(FormatNumber(1e300), "1e+300");
    EXPECT_EQ(FormatNumber(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(FormatNumber(std::numeric_limits<double>::quiet_NaN()), "nan");
    EXPECT_EQ(FormatNumber(-std::numeric_limits<double>::infinity()), "-inf");
}

}  // namespace
}  // namespace host
