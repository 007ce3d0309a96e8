#include "library/frt_engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
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

// --- The state machine: what is a conversion and what is copied.

TEST_F(Renderer, PercentSignsAndMalformedConversions) {
  EXPECT_EQ(Render("%%", 0), "%");
  EXPECT_EQ(Render("100%", 0), "100");
  EXPECT_EQ(Render("%q", 0), "q");
  EXPECT_EQ(Render("%5q", 0), "q");
  EXPECT_EQ(Render("a%-+5!b", 0), "a!b");  // flags and width before the breaking char are dropped
  EXPECT_EQ(Render("%5", 0), "");
  EXPECT_TRUE(source.requests.empty());
  EXPECT_EQ(result, frt::kOk);
}

TEST_F(Renderer, DotFollowedByTypeIsNoConversion) {
  EXPECT_EQ(Render("%.f", 1), "f");
  EXPECT_EQ(Render("%.s", 1), "s");
  EXPECT_EQ(Render("%5.2.f", 1), ".f");  // a second dot breaks the precision
  EXPECT_TRUE(source.requests.empty());
}

TEST_F(Renderer, TwoSizesOrTwoTypesEndTheConversion) {
  source.SetInteger(1, 5);
  EXPECT_EQ(Render("%lld", 1), "ld");
  EXPECT_TRUE(source.requests.empty());
  EXPECT_EQ(Render("%dd", 1), "5d");
  EXPECT_EQ(Render("%5-d", 1), "-d");  // a flag after the width breaks it
}

TEST_F(Renderer, PercentInsideAConversionStartsAFreshOne) {
  source.SetInteger(1, 42);
  EXPECT_EQ(Render("%-8%d|", 1), "42|");
  EXPECT_EQ(Render("%5.3%d|", 1), "42|");
}

TEST_F(Renderer, DoubleBackslashPrintsOne) {
  EXPECT_EQ(Render("a\\\\b", 0), "a\\b");
  EXPECT_EQ(Render("a\\b", 0), "a\\b");
  EXPECT_EQ(Render("\\\\\\", 0), "\\\\");
  EXPECT_EQ(Render("%\\\\x", 0), "\\x");  // also for the char that breaks a conversion
  source.SetInteger(1, 3);
  EXPECT_EQ(Render("\\\\%d", 1), "\\3");
}

TEST_F(Renderer, RequestedDataTypes) {
  struct Case {
    const char* text;
    int type;
  } cases[] = {{"%c", 12}, {"%s", 11}, {"%hd", 2}, {"%hi", 2}, {"%ho", 1}, {"%hx", 1}, {"%d", 4},
               {"%i", 4},  {"%o", 3},  {"%x", 3},  {"%ld", 6}, {"%Lx", 6}, {"%lo", 6}, {"%e", 8},
               {"%E", 8},  {"%f", 8},  {"%g", 8},  {"%lf", 9}, {"%Le", 9}, {"%hf", 8}};
  for (const Case& c : cases) {
    source.requests.clear();
    source.SetInteger(1, 1);
    Render(c.text, 1);
    ASSERT_EQ(source.requests.size(), 1u) << c.text;
    EXPECT_EQ(source.requests[0], c.type) << c.text;
    CFrtVariable* v = nullptr;
    string.VariableAt(0, v);
    EXPECT_EQ(v->dataType, c.type) << c.text;
  }
}

// The renderer walks conversions with hand-written code; this is the transition table itself,
// run over random texts. Integer conversions of the value 5 print what snprintf prints for the
// same flags, width and precision (the agreement tests show that), so the table's reading of the
// text can be compared character for character.
std::string TableRender(const std::string& text) {
  auto classOf = [](char c) {
    switch (c) {
      case '%':
        return 1;
      case '.':
        return 2;
      case '#':
      case '-':
      case '+':
      case ' ':
        return 4;
      case 'l':
      case 'h':
      case 'L':
        return 5;
      case 'e':
      case 'E':
      case 'f':
      case 'g':
      case 'x':
      case 'd':
      case 'i':
      case 'c':
      case 's':
      case 'o':
        return 6;
      case '0':
        return 7;
      default:
        return c >= '1' && c <= '9' ? 3 : 0;
    }
  };
  static const int kTable[8][8] = {{0, 0, 0, 0, 0, 0, 0, 0}, {1, 0, 1, 1, 1, 1, 1, 1},
                                   {0, 7, 7, 7, 0, 0, 0, 0}, {0, 3, 3, 3, 4, 0, 0, 4},
                                   {0, 2, 2, 0, 0, 0, 0, 0}, {0, 5, 5, 5, 5, 0, 0, 0},
                                   {0, 6, 6, 6, 6, 6, 0, 0}, {0, 2, 2, 3, 4, 0, 0, 4}};
  std::string out, flags;
  long long width = 0, precision = -1;
  int state = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const int next = kTable[classOf(c)][state];
    switch (next) {
      case 0:
        if (c == '\\' && i + 1 < text.size() && text[i + 1] == '\\') ++i;
        out += c;
        break;
      case 1:
        flags.clear();
        width = 0;
        precision = -1;
        break;
      case 2:
        flags += c;
        break;
      case 3:
        width = width * 10 + (c - '0');
        break;
      case 4:
        precision = precision * 10 + (c - '0');
        break;
      case 6: {
        std::string directive = "%" + flags + (width ? std::to_string(width) : "") +
                                (precision >= 0 ? "." + std::to_string(precision) : "") + c;
        char buffer[4096];
        std::snprintf(buffer, sizeof buffer, directive.c_str(), 5);
        out += buffer;
        break;
      }
      case 7:
        precision = 0;
        break;
      default:
        break;
    }
    state = next;
  }
  return out;
}

TEST_F(Renderer, ConversionParsingFollowsTheTransitionTable) {
  static const char* const kPieces[] = {"%", "%",  "%", "-", "+", " ",  "#",    "0",
                                        "5", "12", ".", "3", "l", "h",  "L",    "d",
                                        "x", "o",  "i", "q", "G", "\\", "\\\\", "ab"};
  std::mt19937 rnd(20240601);
  for (int code = 1; code <= 12; ++code) source.SetInteger(code, 5);
  for (int n = 0; n < 20000; ++n) {
    std::string text;
    for (int k = 1 + static_cast<int>(rnd() % 12); k > 0; --k)
      text += kPieces[rnd() % std::size(kPieces)];
    const std::string expected = TableRender(text);
    if (expected.size() > 4000) continue;  // runs of digits can make very wide fields
    ASSERT_EQ(Render(text.c_str(), 12), expected) << "text: " << text;
  }
}

// --- Integers.

TEST_F(Renderer, IntegerWidthFlagsAndSign) {
  source.SetInteger(1, -42);
  EXPECT_EQ(Render("%5d", 1), "  -42");
  EXPECT_EQ(Render("%-5d|", 1), "-42  |");
  EXPECT_EQ(Render("%05d", 1), "-0042");
  EXPECT_EQ(Render("%-05d|", 1), "-42  |");
  source.SetInteger(1, 7);
  EXPECT_EQ(Render("%+d", 1), "+7");
  EXPECT_EQ(Render("% d", 1), " 7");
  EXPECT_EQ(Render("%+ d", 1), "+7");
  EXPECT_EQ(Render("%+5x", 1), "    7");  // only d and i are signed
}

TEST_F(Renderer, IntegerPrecisionAndPrefixes) {
  source.SetInteger(1, 255);
  EXPECT_EQ(Render("%#x", 1), "0xff");
  EXPECT_EQ(Render("%#08x", 1), "0x0000ff");
  EXPECT_EQ(Render("%#8x", 1), "    0xff");
  source.SetInteger(1, 8);
  EXPECT_EQ(Render("%#o", 1), "010");
  EXPECT_EQ(Render("%#.4o", 1), "0010");  // precision already supplies the 0
  source.SetInteger(1, 0);
  EXPECT_EQ(Render("%#x", 1), "0");
  EXPECT_EQ(Render("%.0d|", 1), "|");
  EXPECT_EQ(Render("%#.0o", 1), "0");
  source.SetInteger(1, 7);
  EXPECT_EQ(Render("%.3d", 1), "007");
  EXPECT_EQ(Render("%08.3d", 1), "     007");  // a precision clears zero pad
}

TEST_F(Renderer, AlternateHexDoesNotLeakIntoTheNextConversion) {
  source.SetInteger(1, 255);
  source.SetDouble(2, 1.5);
  EXPECT_EQ(Render("%#x %f", 2), "0xff 1.500000");
}

TEST_F(Renderer, IntegerWidthsFollowTheRequestedType) {
  source.SetInteger(1, -1);
  EXPECT_EQ(Render("%hd", 1), "-1");
  EXPECT_EQ(Render("%hx", 1), "ffff");
  EXPECT_EQ(Render("%x", 1), "ffffffff");
  EXPECT_EQ(Render("%lx", 1), "ffffffff");
  EXPECT_EQ(Render("%ld", 1), "-1");
  EXPECT_EQ(Render("%o", 1), "37777777777");
  source.SetInteger(1, -2147483647LL - 1);
  EXPECT_EQ(Render("%d", 1), "-2147483648");
  source.SetInteger(1, 70000);
  EXPECT_EQ(Render("%hd", 1), "4464");  // only 16 bits are read
}

// --- Floats through the renderer.

TEST_F(Renderer, FloatConversions) {
  source.SetDouble(1, 3.14159);
  EXPECT_EQ(Render("%8.3f", 1), "   3.142");
  EXPECT_EQ(Render("%8.3f", 1, CFrtVariable::kOptCutDigits), "   3.141");
  EXPECT_EQ(Render("%+.2e", 1), "+3.14e+00");
  EXPECT_EQ(Render("%E", 1), "3.141590E+00");
  EXPECT_EQ(Render("%010.2f", 1), "0000003.14");
  source.SetDouble(1, 1234567);
  EXPECT_EQ(Render("%g", 1), "1.23457g+06");
  source.SetDouble(1, 0.0);
  EXPECT_EQ(Render("%e", 1), "0.000000e+00");
  EXPECT_EQ(Render("%g", 1), "0");
}

TEST_F(Renderer, FloatSign) {
  source.SetDouble(1, -2.5);
  EXPECT_EQ(Render("%7.2f", 1), "  -2.50");
  EXPECT_EQ(Render("%07.2f", 1), "-002.50");
  source.SetDouble(1, 2.5);
  EXPECT_EQ(Render("%.1f", 1, CFrtVariable::kOptNegative), "-2.5");
  // Negative, but the text is exactly "0": no sign. "0.00" is not "0": sign.
  source.SetDouble(1, -0.4);
  EXPECT_EQ(Render("%.0f", 1), "0");
  source.SetDouble(1, -0.001);
  EXPECT_EQ(Render("%.2f", 1), "-0.00");
  source.SetDouble(1, 0.0);
  EXPECT_EQ(Render("%.0f", 1, CFrtVariable::kOptNegative), "-0");
}

TEST_F(Renderer, InfinityAndNan) {
  source.SetDouble(1, -HUGE_VAL);
  EXPECT_EQ(Render("%f", 1), "-inf");
  source.SetDouble(1, std::nan(""));
  EXPECT_EQ(Render("%6E", 1), "   NAN");
}

// --- Texts and characters.

TEST_F(Renderer, TextsAndCharacters) {
  source.SetText(1, "abcdef");
  EXPECT_EQ(Render("%.2s|", 1), "ab|");
  EXPECT_EQ(Render("%.0s|", 1), "abcdef|");  // precision 0 does not shorten
  EXPECT_EQ(Render("%8s|", 1), "  abcdef|");
  EXPECT_EQ(Render("%-8.3s|", 1), "abc     |");
  EXPECT_EQ(Render("%c", 1), "a");
  EXPECT_EQ(Render("%3c|", 1), "  a|");
  source.SetText(1, "");
  EXPECT_EQ(Render("%4s|", 1), "    |");
  EXPECT_EQ(Render("[%c]", 1), "[]");  // a NUL character prints nothing
}

TEST_F(Renderer, NullValuePointerPrintsNull) {
  source.SetNullPointer(1);
  EXPECT_EQ(Render("%s", 1), "(null)");
  EXPECT_EQ(Render("%8d", 1), "  (null)");
  EXPECT_EQ(result, frt::kOk);
}

// --- Cutting to the width (option bit 4).

TEST_F(Renderer, CutToWidthKeepsTheLastCharacters) {
  const auto cut = CFrtVariable::kOptCutWidth;
  source.SetInteger(1, 12345);
  EXPECT_EQ(Render("%3d", 1, cut), "345");
  EXPECT_EQ(Render("%+3d", 1, cut), "+45");
  EXPECT_EQ(Render("%5d", 1, cut), "12345");
  EXPECT_EQ(Render("%6d", 1, cut), " 12345");
  EXPECT_EQ(Render("%d", 1, cut), "12345");  // no width, nothing to cut to
  EXPECT_EQ(Render("%3d", 1), "12345");      // without the bit
  source.SetInteger(1, -12345);
  EXPECT_EQ(Render("%3d", 1, cut), "-45");
  source.SetText(1, "abcdef");
  EXPECT_EQ(Render("%2s", 1, cut), "ef");
  source.SetDouble(1, 1234.5678);
  EXPECT_EQ(Render("%6.2f", 1, cut), "234.57");
  source.SetInteger(1, 0xabcdef);
  EXPECT_EQ(Render("%#4x", 1, cut), "0xcdef");  // the prefix is not part of the text
}

// --- Missing values, default output strings and results.

TEST_F(Renderer, MissingValuePrintsTheDefaultOutputString) {
  format.SetDefaultString(1, "NOINT");
  format.SetDefaultString(8, "NOFLT");
  format.SetDefaultString(11, "NOSTR");
  EXPECT_EQ(Render("[%7d]", 1), "[  NOINT]");
  EXPECT_EQ(result, frt::kNotFound);
  EXPECT_EQ(Render("[%-7f]", 1), "[NOFLT  ]");
  EXPECT_EQ(Render("[%c][%s]", 2), "[NOSTR][NOSTR]");
  EXPECT_EQ(Render("[%3s]", 1, CFrtVariable::kOptCutWidth), "[STR]");
  // Signed conversions keep their sign rules; there is no value to make them negative.
  EXPECT_EQ(Render("[%+d]", 1), "[+NOINT]");
}

TEST_F(Renderer, EmptyDefaultOutputStringIsStillADefault) {
  format.SetDefaultString(4, "");
  EXPECT_EQ(Render("[%4d]", 1), "[    ]");
  EXPECT_EQ(result, frt::kNotFound);
}

TEST_F(Renderer, ResultIsThatOfTheLastValueRequest) {
  source.SetInteger(2, 9);
  EXPECT_EQ(Render("%d %d", 2), "0000000000000000 9");
  EXPECT_EQ(result, frt::kOk);
  source.SetMissing(2);
  source.SetInteger(1, 9);
  EXPECT_EQ(Render("%d %d", 2), "9 0000000000000000");
  EXPECT_EQ(result, frt::kNotFound);
  EXPECT_EQ(Render("no conversions", 0), "no conversions");
  EXPECT_EQ(result, frt::kOk);
}

TEST_F(Renderer, MoreConversionsThanVariablesEndsWith3) {
  source.SetInteger(1, 1);
  source.SetInteger(2, 2);
  EXPECT_EQ(Render("a=%d b=%d c", 1), "a=1 b=");
  EXPECT_EQ(result, frt::kNotFound);
  EXPECT_EQ(source.requests.size(), 1u);
}

TEST_F(Renderer, NoDefaultStringWithoutAFormatGives100) {
  CFrtEngine bare(&source);
  source.SetInteger(1, 4);
  MakeString(string, "x%d y%d z", 2);
  char buffer[64];
  EXPECT_EQ(bare.Render(&string, buffer, sizeof buffer), frt::kNoDefaultString);
  EXPECT_STREQ(buffer, "x4 y");
}

TEST_F(Renderer, WrongDataTypeFromTheSourceGives12) {
  source.SetInteger(1, 4);
  source.At(1).forceType = 11;
  EXPECT_EQ(Render("a%db", 1), "a");
  EXPECT_EQ(result, frt::kWrongType);
  source.At(1).forceType = 0;  // 0 is accepted
  EXPECT_EQ(Render("a%db", 1), "a4b");
  EXPECT_EQ(result, frt::kOk);
  source.SetDouble(1, 1.5);
  source.At(1).forceType = 10;  // floats may also answer 10
  EXPECT_EQ(Render("%.1f", 1), "1.5");
  EXPECT_EQ(result, frt::kOk);
  source.At(1).forceType = 9;
  EXPECT_EQ(Render("%.1f", 1), "");
  EXPECT_EQ(result, frt::kWrongType);
}

TEST_F(Renderer, OtherSourceFailuresEndTheRendering) {
  source.SetInteger(1, 4);
  source.At(1).answer = frt::kBadData;
  EXPECT_EQ(Render("a%db", 1), "a");
  EXPECT_EQ(result, frt::kBadData);
}

TEST_F(Renderer, NullArgumentsGive13) {
  char buffer[8];
  MakeString(string, "x", 0);
  EXPECT_EQ(engine.Render(nullptr, buffer, sizeof buffer), frt::kNullPointer);
  EXPECT_EQ(engine.Render(&string, nullptr, 8), frt::kNullPointer);
  EXPECT_EQ(engine.AttachFormat(nullptr), frt::kNullPointer);
  EXPECT_EQ(engine.Format(), &format);  // a refused attach keeps the old format
  CFrtEngine noSource;
  MakeString(string, "a%db", 1);
  EXPECT_EQ(noSource.Render(&string, buffer, sizeof buffer), frt::kNullPointer);
  EXPECT_STREQ(buffer, "a");
}

TEST_F(Renderer, AttachingHandsTheFormatToTheSource) {
  CFrtFile other;
  EXPECT_EQ(source.Format(), &format);
  EXPECT_EQ(engine.AttachFormat(&other), frt::kOk);
  EXPECT_EQ(source.Format(), &other);
  EXPECT_EQ(engine.Format(), &other);
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
}

TEST_F(Renderer, CapacityZeroWritesNothing) {
  char byte = '#';
  MakeString(string, "", 0);
  EXPECT_EQ(engine.Render(&string, &byte, 0), frt::kBufferOverflow);
  EXPECT_EQ(byte, '#');
  EXPECT_EQ(engine.Render(&string, &byte, 1), frt::kOk);  // an empty text fits in one byte
  EXPECT_EQ(byte, '\0');
}

TEST_F(Renderer, OverflowStopsBeforeFurtherValueRequests) {
  source.SetInteger(1, 1);
  source.SetInteger(2, 2);
  MakeString(string, "%20d%d", 2);
  char buffer[8];
  EXPECT_EQ(engine.Render(&string, buffer, sizeof buffer), frt::kBufferOverflow);
  EXPECT_STREQ(buffer, "       ");
  EXPECT_EQ(source.requests.size(), 1u);
}

TEST_F(Renderer, HugeWidthAndPrecisionAreBounded) {
  source.SetDouble(1, 1.0);
  MakeString(string, "%99999999999999999999999.99999999999999999999f", 1);
  std::vector<char> buffer(10000, '#');
  EXPECT_EQ(engine.Render(&string, buffer.data(), buffer.size()), frt::kBufferOverflow);
  EXPECT_EQ(std::strlen(buffer.data()), buffer.size() - 1);
  std::string out;
  EXPECT_EQ(engine.Render(&string, out), frt::kBufferOverflow);
  EXPECT_EQ(out.size(), CFrtEngine::kStringLimit);
}

TEST_F(Renderer, StringFormMatchesTheBufferForm) {
  source.SetInteger(1, 77);
  source.SetText(2, std::string(300, 'q'));
  MakeString(string, "%-10d|%s|%400d", 3);
  std::string out = "old content";
  EXPECT_EQ(engine.Render(&string, out), frt::kNotFound);
  char buffer[1000];
  EXPECT_EQ(engine.Render(&string, buffer, sizeof buffer), frt::kNotFound);
  EXPECT_EQ(out, buffer);
  EXPECT_EQ(out.size(), 10 + 1 + 300 + 1 + 400u);
}

}  // namespace
