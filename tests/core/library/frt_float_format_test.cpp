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

TEST(FloatFormat, Layouts) {
  // Flags: a alternate, c cut digits instead of rounding, C capitals.
  const struct {
    char conversion;
    double value;
    int precision;
    std::string_view flags;
    const char* text;
  } cases[] = {
      // Fixed: digits and rounding; ties round up, the magnitude is written.
      {'f', 3.14159, 3, "", "3.142"},
      {'f', 3.14159, 3, "c", "3.141"},
      {'f', 1234.5, 2, "", "1234.50"},
      {'f', 0.5, 0, "", "1"},  // ties round up
      {'f', 2.5, 0, "", "3"},
      {'f', 0.125, 2, "", "0.13"},
      {'f', 123.456, 0, "", "123"},
      {'f', -7.25, 1, "", "7.3"},  // the formatter writes the magnitude
      // Fixed: a carry over the decimal point and the first digit.
      {'f', 9.9996, 3, "", "10.000"},
      {'f', 0.96, 1, "", "1.0"},
      {'f', 99.95, 1, "", "100.0"},
      {'f', 0.0996, 2, "", "0.10"},
      {'f', 9.9996, 3, "c", "9.999"},
      // Fixed: values below the last kept position.
      {'f', 0.006, 2, "", "0.01"},  // the first digit itself is the rounding digit
      {'f', 0.004, 2, "", "0.00"},
      {'f', 0.0004, 2, "", "0.00"},
      {'f', 0.006, 2, "c", "0.00"},
      {'f', 0.6, 0, "", "1"},
      {'f', 0.4, 0, "", "0"},
      {'f', 1e-300, 3, "", "0.000"},
      {'f', 0.00012345, 6, "", "0.000123"},
      // Exponent: letters, signs and digits; a carry raises the exponent.
      {'e', 1.5, 2, "", "1.50e+00"},
      {'e', 1.5, 2, "C", "1.50E+00"},
      {'e', 12345.678, 3, "", "1.235e+04"},
      {'e', 0.00012345, 1, "", "1.2e-04"},
      {'e', 1e100, 0, "", "1e+100"},
      {'e', 1e-100, 1, "", "1.0e-100"},
      {'e', 9.96, 1, "", "1.0e+01"},  // a carry raises the exponent
      {'e', 9.96, 1, "c", "9.9e+00"},
      {'e', 5.0, 0, "a", "5.e+00"},
      // Extremes and denormals.
      {'e', DBL_MAX, 6, "", "1.797693e+308"},
      {'e', DBL_MIN, 6, "", "2.225074e-308"},
      {'e', 4.9406564584124654e-324, 3, "", "4.941e-324"},
      {'g', 4.9406564584124654e-324, 6, "", "4.94066g-324"},
      {'f', 4.9406564584124654e-324, 2, "", "0.00"},
      // General: notation and stripping; precision 0 means one digit.
      {'g', 1234567, 6, "", "1.23457g+06"},
      {'g', 123456, 6, "", "123456"},
      {'g', 100, 6, "", "100"},
      {'g', 0.5, 6, "", "0.5"},
      {'g', 0.0001, 6, "", "0.0001"},
      {'g', 0.00001, 6, "", "1g-05"},
      {'g', 1e-5, 6, "C", "1E-05"},
      {'g', 2.5e10, 3, "", "2.5g+10"},
      {'g', 100, 6, "a", "100.000"},
      {'g', 1e10, 6, "a", "1.00000g+10"},
      {'g', 5, 0, "", "5"},  // precision 0 means one digit
      {'g', 56, 0, "", "6g+01"},
      // General: the notation is chosen before rounding.
      {'g', 999999.5, 6, "", "1000000"},
      {'g', 9.9999996e-5, 6, "", "1g-04"},
      // Zero for every conversion.
      {'e', 0.0, 6, "", "0.000000e+00"},
      {'E', 0.0, 2, "C", "0.00E+00"},
      {'g', 0.0, 6, "", "0"},
      {'g', 0.0, 6, "a", "0.00000"},
      {'f', 0.0, 6, "", "0.000000"},
      {'f', 0.0, 0, "", "0"},
      {'f', 0.0, 0, "a", "0."},
      {'f', -0.0, 1, "", "0.0"},
      // Infinity and NaN do not loop.
      {'f', HUGE_VAL, 6, "", "inf"},
      {'e', -HUGE_VAL, 6, "", "inf"},
      {'g', std::nan(""), 6, "", "nan"},
      {'e', std::nan(""), 6, "C", "NAN"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Fmt(c.conversion, c.value, c.precision, c.flags.find('a') != c.flags.npos,
                  c.flags.find('c') != c.flags.npos, c.flags.find('C') != c.flags.npos),
              c.text)
        << c.conversion << ' ' << c.value << " ." << c.precision << ' ' << c.flags;
  }
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
