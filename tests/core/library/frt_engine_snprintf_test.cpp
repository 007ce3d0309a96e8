// The renderer against the C library's snprintf: wherever both rule sets define the same output,
// random conversions must come out byte for byte equal. Where they differ on purpose, the
// renderer's table of pinned outputs holds the case; the exponent over the whole double range
// belongs to the float formatter's tests.
//
// Left out of the random agreement, and why:
// - %g: its exponent letter is g, and the notation is chosen before rounding.
// - s with precision 0 (does not shorten here), s and c with the flags 0 + blank # (undefined or
//   ignored in C).
// - Values whose exact decimal expansion lies within the formatter's scaling error of a rounding
//   tie: ties round up here and to even in C, and near a tie the last digit is not reliable.
// - More than 15 significant digits printed: the formatter stops after 17 digits and its 16th
//   and 17th are not exact.
// - Negative values that print as "0" (and -0.0): here they get no sign, C prints "-0".
// - A dot without digits ("%.d"): here the dot must be followed by a digit.
// - Infinity and NaN (zero padding pads them with zeros here).
// - l with values beyond 32 bits: the renderer reads 32 bits, C's long has 64.
#include "library/frt_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>

#include "frt_test_source.h"

namespace {

using frt_test::MakeString;
using frt_test::TestSource;

class Random {
 public:
  explicit Random(std::uint64_t seed) : engine_(seed) {}
  // The standard fixes mt19937_64's sequence, so the cases are the same everywhere.
  std::uint64_t Next() { return engine_(); }
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint64_t>(n)); }
  bool Chance(int percent) { return Below(100) < percent; }

 private:
  std::mt19937_64 engine_;
};

// One conversion: its text, what snprintf makes of it, and how the source gets its value.
struct Case {
  std::string text;
  std::string expected;
  std::function<void(TestSource&, int code)> set;
};

std::string Flags(Random& rnd, const char* allowed) {
  std::string flags;
  for (const char* f = allowed; *f; ++f)
    if (rnd.Chance(30))
      flags.insert(flags.begin() + rnd.Below(static_cast<int>(flags.size()) + 1), *f);
  return flags;
}

// A precision is always written with digits: a lone dot ends the conversion here.
std::string WidthAndPrecision(Random& rnd, int maxWidth, int maxPrecision, int* precisionOut) {
  std::string s;
  if (rnd.Chance(60)) s += std::to_string(1 + rnd.Below(maxWidth));
  *precisionOut = -1;
  if (rnd.Chance(50)) {
    int p = rnd.Below(maxPrecision + 1);
    *precisionOut = p;
    s += "." + std::to_string(p);
  }
  return s;
}

template <class... Args>
std::string C(const std::string& format, Args... args) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format.c_str(), args...);
  return buffer;
}

Case IntegerCase(Random& rnd) {
  static const char kConversions[] = {'d', 'i', 'o', 'x'};
  const char conversion = kConversions[rnd.Below(4)];
  const bool isSigned = conversion == 'd' || conversion == 'i';
  int precision = 0;
  std::string directive = "%" + Flags(rnd, "-+ #0") + WidthAndPrecision(rnd, 20, 12, &precision);
  const int size = rnd.Below(3);  // none, h, l
  long long v = 0;
  switch (rnd.Below(4)) {
    case 0:
      v = 0;
      break;
    case 1:
      v = rnd.Below(200) - 100;
      break;
    default:
      v = static_cast<std::int32_t>(rnd.Next());
      break;
  }
  Case c;
  if (size == 1) {
    directive += "h";
    v = isSigned ? static_cast<std::int16_t>(v) : static_cast<std::uint16_t>(v);
    c.text = directive + conversion;
    c.expected = C(c.text, static_cast<int>(v));
  } else if (size == 2) {
    directive += "l";
    c.text = directive + conversion;
    c.expected = isSigned ? C(c.text, static_cast<long>(static_cast<std::int32_t>(v)))
                          : C(c.text, static_cast<unsigned long>(static_cast<std::uint32_t>(v)));
  } else {
    c.text = directive + conversion;
    c.expected = isSigned ? C(c.text, static_cast<int>(v)) : C(c.text, static_cast<unsigned>(v));
  }
  c.set = [v](TestSource& s, int code) { s.SetInteger(code, v); };
  return c;
}

Case TextCase(Random& rnd) {
  std::string value;
  for (int n = rnd.Below(13); n > 0; --n) value += static_cast<char>('!' + rnd.Below(90));
  for (char& ch : value)
    if (ch == '%' || ch == '\\') ch = '_';
  Case c;
  std::string directive = "%" + std::string(rnd.Chance(40) ? "-" : "");
  if (rnd.Chance(60)) directive += std::to_string(1 + rnd.Below(16));
  if (rnd.Chance(50)) directive += "." + std::to_string(1 + rnd.Below(14));
  if (rnd.Chance(30) && !value.empty()) {
    c.text = directive + "c";
    c.expected = C(c.text, value[0]);
  } else {
    c.text = directive + "s";
    c.expected = C(c.text, value.c_str());
  }
  c.set = [value](TestSource& s, int code) { s.SetText(code, value); };
  return c;
}

// Distance, in units of the last printed digit, from the exact value to the nearest rounding tie.
// `digits` significant digits are printed; the exact expansion comes from the C library.
double TieDistance(double v, long long digits) {
  char exact[128];
  std::snprintf(exact, sizeof exact, "%.60e", std::fabs(v));
  std::string d;
  for (const char* p = exact; *p && *p != 'e'; ++p)
    if (*p >= '0' && *p <= '9') d += *p;
  std::string rest = digits >= 0
                         ? d.substr(static_cast<std::size_t>(std::min<long long>(digits, 60)))
                         : std::string(static_cast<std::size_t>(-digits), '0') + d;
  double r = std::atof(("0." + rest.substr(0, 12)).c_str());
  return std::fabs(r - 0.5);
}

// A float conversion, or nothing when the value falls into a left-out case.
bool FloatCase(Random& rnd, Case& c) {
  const char conversion = "feE"[rnd.Below(3)];
  int precision = -1;
  std::string directive = "%" + Flags(rnd, "-+ #0") + WidthAndPrecision(rnd, 25, 14, &precision);
  if (rnd.Chance(20)) directive += "l";
  const int p = precision < 0 ? 6 : precision;

  const int exponent = rnd.Below(19) - 6;
  double v = 0.0;
  if (rnd.Chance(50)) {
    // A short decimal number: often printed without any rounding at all.
    std::string digits = std::to_string(1 + rnd.Below(9));
    for (int n = rnd.Below(12); n > 0; --n) digits += static_cast<char>('0' + rnd.Below(10));
    v = std::strtod(
        (digits + "e" + std::to_string(exponent - static_cast<int>(digits.size()) + 1)).c_str(),
        nullptr);
  } else {
    double m = 1.0 + static_cast<double>(rnd.Next() >> 11) * (9.0 / 9007199254740992.0);
    v = std::strtod((std::to_string(m) + "e" + std::to_string(exponent)).c_str(), nullptr) *
        (1.0 + static_cast<double>(rnd.Next() >> 40) * 1e-13);
  }
  if (rnd.Chance(40)) v = -v;

  const int decimalExponent = static_cast<int>(std::floor(std::log10(std::fabs(v))));
  const long long digits = (conversion == 'f') ? decimalExponent + 1 + p : p + 1;
  if (digits > 15) return false;
  // The scaling error relative to the value.
  if (TieDistance(v, digits) <
      4e-16 * std::pow(10.0, static_cast<double>(std::max<long long>(digits, 1))) + 1e-6)
    return false;
  c.text = directive + conversion;
  c.expected = C(c.text, v);
  if (v < 0 && conversion == 'f' && p == 0 && std::fabs(v) < 0.5) return false;  // prints as 0
  c.set = [v](TestSource& s, int code) { s.SetDouble(code, v); };
  return true;
}

class AgainstSnprintf : public ::testing::Test {
 protected:
  void SetUp() override { engine.AttachFormat(&format); }

  // Renders a line of several cases, bracketed, and compares it with the C library's line.
  void Check(const std::vector<Case>& cases) {
    std::string text, expected;
    for (std::size_t i = 0; i < cases.size(); ++i) {
      text += "[" + cases[i].text + "]";
      expected += "[" + cases[i].expected + "]";
      cases[i].set(source, static_cast<int>(i) + 1);
    }
    MakeString(string, text.c_str(), static_cast<int>(cases.size()));
    std::string out;
    ASSERT_EQ(engine.Render(&string, out), frt::kOk) << text;
    ASSERT_EQ(out, expected) << "format: " << text;
  }

  TestSource source;
  CFrtEngine engine{&source};
  CFrtFile format;
  CFrtString string;
};

TEST_F(AgainstSnprintf, MixedLines) {
  Random rnd(0x5eed0005);
  for (int i = 0; i < 1500; ++i) {
    Case f;
    while (!FloatCase(rnd, f)) {
    }
    ASSERT_NO_FATAL_FAILURE(
        Check({IntegerCase(rnd), TextCase(rnd), std::move(f), IntegerCase(rnd)}));
  }
}

}  // namespace
