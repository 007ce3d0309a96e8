#include <gtest/gtest.h>

#include <charconv>
#include <string>
#include <vector>

#include "frt_test_source.h"
#include "library/frt_engine.h"
#include "library/frt_input_engine.h"

namespace {

using frt_test::MakeString;
using frt_test::TestSource;
using namespace std::literals;

// --- The syntax, one import string on one line.

// Each value handed over, as "<code><conversion>:<text>" and "=<value>" for numbers.
std::string Render(const std::vector<TestSource::Accepted>& accepted) {
  std::string out;
  for (const auto& a : accepted) {
    if (!out.empty()) out += ' ';
    out += std::to_string(a.code) + a.conversion + ':' + a.text;
    if (std::strchr("feg", a.conversion)) {
      char buf[64];
      out += '=' + std::string(buf, std::to_chars(buf, buf + sizeof buf, a.number).ptr);
    } else if (a.conversion != 's' && a.conversion != 'c') {
      out += '=' + std::to_string(a.integer);
    }
  }
  return out;
}

struct ScanCase {
  const char* importText;
  int variables;
  std::string_view line;
  frt::Result result;
  const char* accepted;
};

const ScanCase kScanCases[] = {
    // A suppressed conversion takes no variable.
    {"%d,%*d,%s", 2, "12,34,abc", frt::kOk, "1d:12=12 2s:abc"},
    {"%*d %d", 1, "1 2", frt::kOk, "1d:2=2"},
    // Text stops at its width, a blank, the following literal or a NUL.
    {"%5s", 1, "abcdefgh", frt::kOk, "1s:abcde"},
    {"%s;%d", 2, "ab;12", frt::kOk, "1s:ab 2d:12=12"},
    {"%s %s", 2, "  one two", frt::kOk, "1s:one 2s:two"},
    {"%s", 1, "ab\0cd"sv, frt::kOk, "1s:ab"},
    // A dot is a literal: %.2f is no conversion.
    {"%.2f", 1, ".2f", frt::kOk, ""},
    {"%.2f", 1, "3.14", frt::kInputMismatch, ""},
    // c skips no blanks; a blank yields nothing and ends the string, accepted with what came
    // before, a mismatch when nothing was read.
    {"%c%c", 2, "xy", frt::kOk, "1c:x 2c:y"},
    {"%d%c%d", 3, "5 x7", frt::kOk, "1d:5=5"},
    {"%c", 1, " x", frt::kInputMismatch, ""},
    {"%3c", 1, "abcd", frt::kOk, "1c:abc"},
    // Integers, saturating on overflow.
    {"%d", 1, "   -42", frt::kOk, "1d:-42=-42"},
    {"%2d%d", 2, "12345", frt::kOk, "1d:12=12 2d:345=345"},
    {"%o", 1, "17", frt::kOk, "1o:17=15"},
    {"%o", 1, "8", frt::kInputMismatch, ""},
    {"%ld %hd", 2, "+7 9", frt::kOk, "1d:+7=7 2d:9=9"},
    {"%d", 1, "99999999999999999999", frt::kOk, "1d:99999999999999999999=9223372036854775807"},
    {"%d", 1, "-99999999999999999999", frt::kOk, "1d:-99999999999999999999=-9223372036854775808"},
    // Hex with and without prefix.
    {"%x", 1, "0x1F", frt::kOk, "1x:0x1F=31"},
    {"%x", 1, "-0Xff", frt::kOk, "1x:-0Xff=-255"},
    {"%x", 1, "ab", frt::kOk, "1x:ab=171"},
    {"%xg", 1, "0xg", frt::kInputMismatch, ""},  // 0 read, then x is not g
    {"%xxg", 1, "0xg", frt::kOk, "1x:0=0"},
    // Floats; E reads as e, an e without digits stays in the input.
    {"%f", 1, "3.25", frt::kOk, "1f:3.25=3.25"},
    {"%E", 1, "-1.5e3", frt::kOk, "1e:-1.5e3=-1500"},
    {"%g", 1, "+.5", frt::kOk, "1g:+.5=0.5"},
    {"%f", 1, "7.", frt::kOk, "1f:7.=7"},
    {"%fe", 1, "2e", frt::kOk, "1f:2=2"},
    {"%f", 1, "1E-2", frt::kOk, "1f:1E-2=0.01"},
    {"%f", 1, "1e400", frt::kOk, "1f:1e400=inf"},
    {"%f", 1, "-.", frt::kInputMismatch, ""},
    {"%3f", 1, "1.2345", frt::kOk, "1f:1.2=1.2"},
    // i reads nothing but takes its variable.
    {"%i,%d", 2, ",7", frt::kOk, "2d:7=7"},
    // Literals and results; nothing is handed over unless the string is accepted.
    {"%d%%", 1, "50%", frt::kOk, "1d:50=50"},
    {"%d;", 1, "12,", frt::kInputMismatch, ""},
    {"%d", 1, "abc", frt::kInputMismatch, ""},
    {"%d,%d", 2, "12,", frt::kIncompleteInput, ""},
    {"%d,", 1, "12", frt::kIncompleteInput, ""},
    {"%0s", 1, "abc", frt::kInputMismatch, ""},  // width 0 reads nothing
    {"%d %d", 1, "1 2", frt::kEnded, "1d:1=1"},  // out of variables: input ended
};

TEST(ScanLine, Syntax) {
  for (const ScanCase& c : kScanCases) {
    SCOPED_TRACE(std::string(c.importText) + " on " + std::string(c.line));
    TestSource source;
    CFrtString string;
    MakeString(string, c.importText, c.variables);
    EXPECT_EQ(frt::ScanLine(string, c.line, source), c.result);
    EXPECT_EQ(Render(source.accepted), c.accepted);
  }
}

// --- The engine reading lines with a block's import strings.

class InputEngine : public ::testing::Test {
 protected:
  static constexpr int kBlock = 5;

  CFrtString* Add(int direction, int block, const char* text, int variables, int firstCode) {
    CFrtString* s = nullptr;
    EXPECT_EQ(format.AddString(CFrtKey{static_cast<std::uint8_t>(direction), 1,
                                       static_cast<std::uint8_t>(block), 0},
                               s),
              frt::kOk);
    s->SetText(text);
    for (int i = 0; i < variables; ++i) {
      CFrtVariable v;
      v.code = static_cast<std::uint16_t>(firstCode + i);
      s->AddVariable(v);
    }
    return s;
  }
  void Begin() { ASSERT_EQ(engine.BeginInput(&format, kBlock), frt::kOk); }

  TestSource source;
  CFrtEngine engine{&source};
  CFrtFile format;
};

TEST_F(InputEngine, MismatchDropsTheLineAndReadingGoesOn) {
  Add(2, kBlock, "C%s", 1, 20);
  Begin();
  EXPECT_EQ(engine.InputLine("X1"), frt::kInputMismatch);
  EXPECT_FALSE(engine.Input().Status() & CFrtInputEngine::kMatched);
  EXPECT_EQ(engine.InputFlag(), 0u);
  EXPECT_EQ(engine.Input().Buffered(), 0u);
  EXPECT_EQ(engine.InputLine("Cok trailing words"), frt::kOk);
  EXPECT_EQ(Render(source.accepted), "20s:ok");
  EXPECT_EQ(engine.Input().Buffered(), 0u);  // the rest of the line went with the record
}

TEST_F(InputEngine, RecordSpanningLinesIsHandedOverOnce) {
  Add(2, kBlock, "P%d,%f", 2, 10);
  Begin();
  EXPECT_EQ(engine.InputLine("P12,"), frt::kIncompleteInput);
  EXPECT_TRUE(engine.Input().Status() & CFrtInputEngine::kMoreInput);
  EXPECT_TRUE(source.accepted.empty());
  EXPECT_EQ(engine.InputLine("  3.5"), frt::kOk);
  EXPECT_FALSE(engine.Input().Status() & CFrtInputEngine::kMoreInput);
  EXPECT_EQ(Render(source.accepted), "10d:12=12 11f:3.5=3.5");
}

TEST_F(InputEngine, EndsWhenOutOfVariablesOrWithoutImportStrings) {
  Add(2, kBlock, "E%d %d", 1, 10);
  Add(1, kBlock + 1, "P%d", 1, 20);
  Begin();
  EXPECT_EQ(engine.InputLine("E1 2"), frt::kEnded);
  EXPECT_TRUE(engine.Input().Status() & CFrtInputEngine::kEnded);
  EXPECT_EQ(engine.InputLine("E3 4"), frt::kEnded);
  EXPECT_EQ(Render(source.accepted), "10d:1=1");
  Begin();  // starts afresh
  EXPECT_EQ(engine.Input().Status(), CFrtInputEngine::kStarted);
  ASSERT_EQ(engine.BeginInput(&format, kBlock + 1), frt::kOk);
  EXPECT_EQ(engine.InputLine("P1"), frt::kEnded);
  EXPECT_EQ(Render(source.accepted), "10d:1=1");
}

}  // namespace
