#include "library/frt_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "frt_test_source.h"

namespace {

using frt_test::MakeString;
using frt_test::TestSource;

// One engine, one source, one format, as the application has them.
class Renderer : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(engine.AttachFormat(&format), frt::kOk); }

  // Renders text whose variables have codes 1..variables into a 10,000-byte buffer.
  std::string Render(const char* text, int variables, std::uint8_t options = 0) {
    MakeString(string, text, variables, options);
    char buffer[10000];
    std::memset(buffer, 'Z', sizeof buffer);
    result = engine.Render(&string, buffer, sizeof buffer);
    return buffer;
  }

  TestSource source;
  CFrtEngine engine{&source};
  CFrtFile format;
  CFrtString string;
  frt::Result result = 0;
};

// One rendering of one value: what is set, the text, the option bits and the output.
struct Row {
  char kind;  // 'i' integer, 'f' double, 's' text, 'n' null pointer, '-' no variable
  long long integer;
  double number;
  const char* text;
  const char* format;
  std::uint8_t options;
  const char* expected;
};
Row I(long long v, const char* f, const char* e, std::uint8_t o = 0) {
  return {'i', v, 0, nullptr, f, o, e};
}
Row F(double v, const char* f, const char* e, std::uint8_t o = 0) {
  return {'f', 0, v, nullptr, f, o, e};
}
Row T(const char* v, const char* f, const char* e, std::uint8_t o = 0) {
  return {'s', 0, 0, v, f, o, e};
}
Row N(const char* f, const char* e) {
  return {'-', 0, 0, nullptr, f, 0, e};
}

TEST_F(Renderer, PinnedOutputs) {
  constexpr auto kCut = CFrtVariable::kOptCutWidth;
  constexpr auto kNeg = CFrtVariable::kOptNegative;
  const Row rows[] = {
      // What is a conversion and what is copied.
      N("%%", "%"),
      N("100%", "100"),
      N("%q", "q"),
      N("%5q", "q"),
      N("%5", ""),
      N("a%-+5!b", "a!b"),  // flags and width before the breaking char are dropped
      N("%.f", "f"),
      N("%.s", "s"),
      N("%5.2.f", ".f"),  // a dot must be followed by a digit
      N("%.d%8.lx", "dlx"),
      N("%X%u%G%5p%*d", "XuGp*d"),  // letters the C library knows
      I(5, "%lld", "ld"),
      I(5, "%dd", "5d"),
      I(5, "%5-d", "-d"),
      I(42, "%-8%d|", "42|"),
      I(42, "%5.3%d|", "42|"),  // '%' starts a fresh conversion
      N("a\\\\b", "a\\b"),
      N("a\\b", "a\\b"),
      N("\\\\\\", "\\\\"),
      N("%\\\\x", "\\x"),
      I(3, "\\\\%d", "\\3"),
      // Integers: what the random agreement with the C library does not reach.
      I(-1, "%ld", "-1"),
      I(-2147483648LL, "%d", "-2147483648"),
      // Floats: options, zeros, signs of zero and what is not finite.
      F(3.14159, "%8.3f", "   3.141", CFrtVariable::kOptCutDigits),
      F(-0.0, "%.1f", "0.0"),
      F(HUGE_VAL, "%06f", "000inf"),  // zero padding pads infinity too
      F(1234567, "%g", "1.23457g+06"),
      F(0.0, "%e", "0.000000e+00"),
      F(0.0, "%g", "0"),
      F(2.5, "%.1f", "-2.5", kNeg),
      F(-0.4, "%.0f", "0"),  // negative, but the text is exactly "0": no sign
      F(-0.001, "%.2f", "-0.00"),
      F(0.0, "%.0f", "-0", kNeg),
      F(-HUGE_VAL, "%f", "-inf"),
      F(std::nan(""), "%6E", "   NAN"),
      // Texts and characters.
      T("abcdef", "%.0s|", "abcdef|"),  // 0 does not shorten
      T("", "[%c]", "[]"),              // a NUL character prints nothing
      {'n', 0, 0, nullptr, "%8d", 0, "  (null)"},
      // Option bit 4 cuts to the width and keeps the last characters.
      I(12345, "%3d", "345", kCut),
      I(12345, "%+3d", "+45", kCut),
      I(12345, "%6d", " 12345", kCut),
      I(12345, "%d", "12345", kCut),
      I(12345, "%3d", "12345"),
      I(-12345, "%3d", "-45", kCut),
      T("abcdef", "%2s", "ef", kCut),
      F(1234.5678, "%6.2f", "234.57", kCut),
      F(1e20, "%5.1f", "000.0", kCut),      // the cut reaches into the padding zeros of 17 digits
      I(0xabcdef, "%#4x", "0xcdef", kCut),  // the prefix is not part of the text
  };
  for (const Row& r : rows) {
    switch (r.kind) {
      case 'i':
        source.SetInteger(1, r.integer);
        break;
      case 'f':
        source.SetDouble(1, r.number);
        break;
      case 's':
        source.SetText(1, r.text);
        break;
      case 'n':
        source.SetNullPointer(1);
        break;
    }
    source.requests.clear();
    EXPECT_EQ(Render(r.format, r.kind == '-' ? 0 : 1, r.options), r.expected) << r.format;
    EXPECT_EQ(result, frt::kOk) << r.format;
    if (r.kind == '-') {
      EXPECT_TRUE(source.requests.empty()) << r.format;
    }
  }
  source.SetInteger(1, 255);
  source.SetDouble(2, 1.5);
  EXPECT_EQ(Render("%#x %f", 2), "0xff 1.500000");  // '#' does not leak into the next one
}

TEST_F(Renderer, RequestedDataTypes) {
  const std::pair<const char*, int> cases[] = {
      {"%c", 12}, {"%s", 11}, {"%hd", 2}, {"%hi", 2}, {"%ho", 1}, {"%hx", 1}, {"%d", 4},
      {"%i", 4},  {"%o", 3},  {"%x", 3},  {"%ld", 6}, {"%Lx", 6}, {"%lo", 6}, {"%e", 8},
      {"%E", 8},  {"%f", 8},  {"%g", 8},  {"%lf", 9}, {"%Le", 9}, {"%hf", 8}};
  source.SetInteger(1, 1);
  for (const auto& [text, type] : cases) {
    source.requests.clear();
    Render(text, 1);
    EXPECT_EQ(source.requests, std::vector<int>{type}) << text;
    CFrtVariable* v = nullptr;
    string.VariableAt(0, v);
    EXPECT_EQ(v->dataType, type) << text;
  }
}

// --- The caller's capacity.

TEST_F(Renderer, OutputNeverPassesTheCapacity) {
  source.SetInteger(1, -42);
  source.SetDouble(2, 3.14159);
  source.SetText(3, "text");
  MakeString(string, "a%6d|%-9.3e|%5s\\\\z", 3);
  std::string full;
  ASSERT_EQ(engine.Render(&string, full), frt::kOk);
  ASSERT_EQ(full, "a   -42|3.142e+00| text\\z");
  for (std::size_t capacity = 1; capacity <= full.size() + 2; ++capacity) {
    char buffer[64];
    std::memset(buffer, '#', sizeof buffer);
    frt::Result r = engine.Render(&string, buffer, capacity);
    const std::size_t fits = std::min(capacity - 1, full.size());
    EXPECT_EQ(r, capacity > full.size() ? frt::kOk : frt::kBufferOverflow) << capacity;
    EXPECT_EQ(std::string(buffer), full.substr(0, fits)) << capacity;
    for (std::size_t i = capacity; i < sizeof buffer; ++i)
      ASSERT_EQ(buffer[i], '#') << "capacity " << capacity << " byte " << i;
  }
  char byte = '#';
  MakeString(string, "", 0);
  EXPECT_EQ(engine.Render(&string, &byte, 0), frt::kBufferOverflow);
  EXPECT_EQ(byte, '#');
  EXPECT_EQ(engine.Render(&string, &byte, 1), frt::kOk);  // an empty text fits in one byte
  EXPECT_EQ(byte, '\0');
}

}  // namespace
