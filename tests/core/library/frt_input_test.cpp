#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "frt_test_source.h"
#include "library/frt_engine.h"
#include "library/frt_input_engine.h"

namespace {

using frt_test::MakeString;
using frt_test::TestSource;

// --- The syntax, one import string on one line.

class ScanLineTest : public ::testing::Test {
 protected:
  frt::Result Scan(const char* importText, int variables, std::string_view line) {
    MakeString(string, importText, variables);
    source.accepted.clear();
    return frt::ScanLine(string, line, source);
  }
  const TestSource::Accepted& Value(std::size_t i) { return source.accepted.at(i); }

  TestSource source;
  CFrtString string;
};

TEST_F(ScanLineTest, SuppressedConversionTakesNoVariable) {
  EXPECT_EQ(Scan("%d,%*d,%s", 2, "12,34,abc"), frt::kOk);
  ASSERT_EQ(source.accepted.size(), 2u);
  EXPECT_EQ(Value(0).code, 1);
  EXPECT_EQ(Value(0).integer, 12);
  EXPECT_EQ(Value(1).code, 2);
  EXPECT_EQ(Value(1).text, "abc");
  EXPECT_EQ(Scan("%*d %d", 1, "1 2"), frt::kOk);
  ASSERT_EQ(source.accepted.size(), 1u);
  EXPECT_EQ(Value(0).integer, 2);
}

TEST_F(ScanLineTest, TextStopsAtWidthBlankOrTheFollowingLiteral) {
  EXPECT_EQ(Scan("%5s", 1, "abcdefgh"), frt::kOk);
  EXPECT_EQ(Value(0).text, "abcde");
  EXPECT_EQ(Scan("%s;%d", 2, "ab;12"), frt::kOk);
  EXPECT_EQ(Value(0).text, "ab");
  EXPECT_EQ(Value(1).integer, 12);
  EXPECT_EQ(Scan("%s %s", 2, "  one two"), frt::kOk);
  EXPECT_EQ(Value(0).text, "one");
  EXPECT_EQ(Value(1).text, "two");
  EXPECT_EQ(Scan("%s", 1, std::string_view("ab\0cd", 5)), frt::kOk);
  EXPECT_EQ(Value(0).text, "ab");
}

TEST_F(ScanLineTest, TextWithoutWidthReadsAtMost1928Characters) {
  EXPECT_EQ(Scan("%s", 1, std::string(2000, 'a')), frt::kOk);
  EXPECT_EQ(Value(0).text.size(), 1928u);
}

TEST_F(ScanLineTest, DotIsALiteralSoPointTwoFIsNoConversion) {
  EXPECT_EQ(Scan("%.2f", 1, ".2f"), frt::kOk);
  EXPECT_TRUE(source.accepted.empty());
  EXPECT_EQ(Scan("%.2f", 1, "3.14"), frt::kInputMismatch);
}

TEST_F(ScanLineTest, CharacterDoesNotSkipBlanks) {
  EXPECT_EQ(Scan("%c%c", 2, "xy"), frt::kOk);
  EXPECT_EQ(Value(1).text, "y");
  // A blank yields nothing and ends the string: accepted with what was read before ...
  EXPECT_EQ(Scan("%d%c%d", 3, "5 x7"), frt::kOk);
  ASSERT_EQ(source.accepted.size(), 1u);
  EXPECT_EQ(Value(0).integer, 5);
  // ... and a mismatch when nothing was read.
  EXPECT_EQ(Scan("%c", 1, " x"), frt::kInputMismatch);
  EXPECT_TRUE(source.accepted.empty());
  EXPECT_EQ(Scan("%3c", 1, "abcd"), frt::kOk);
  EXPECT_EQ(Value(0).text, "abc");
}

TEST_F(ScanLineTest, Integers) {
  EXPECT_EQ(Scan("%d", 1, "   -42"), frt::kOk);
  EXPECT_EQ(Value(0).integer, -42);
  EXPECT_EQ(Value(0).text, "-42");
  EXPECT_EQ(Scan("%2d%d", 2, "12345"), frt::kOk);
  EXPECT_EQ(Value(0).integer, 12);
  EXPECT_EQ(Value(1).integer, 345);
  EXPECT_EQ(Scan("%o", 1, "17"), frt::kOk);
  EXPECT_EQ(Value(0).integer, 15);
  EXPECT_EQ(Scan("%o", 1, "8"), frt::kInputMismatch);
  EXPECT_EQ(Scan("%ld %hd", 2, "+7 9"), frt::kOk);
  EXPECT_EQ(Value(0).integer, 7);
  EXPECT_EQ(Scan("%d", 1, "99999999999999999999"), frt::kOk);
  EXPECT_EQ(Value(0).integer, LLONG_MAX);
  EXPECT_EQ(Scan("%d", 1, "-99999999999999999999"), frt::kOk);
  EXPECT_EQ(Value(0).integer, LLONG_MIN);
}

TEST_F(ScanLineTest, HexWithAndWithoutPrefix) {
  EXPECT_EQ(Scan("%x", 1, "0x1F"), frt::kOk);
  EXPECT_EQ(Value(0).integer, 31);
  EXPECT_EQ(Value(0).text, "0x1F");
  EXPECT_EQ(Scan("%x", 1, "-0Xff"), frt::kOk);
  EXPECT_EQ(Value(0).integer, -255);
  EXPECT_EQ(Scan("%x", 1, "ab"), frt::kOk);
  EXPECT_EQ(Value(0).integer, 171);
  EXPECT_EQ(Scan("%xg", 1, "0xg"), frt::kInputMismatch);  // 0 read, then x is not g
  EXPECT_EQ(Scan("%xxg", 1, "0xg"), frt::kOk);
  EXPECT_EQ(Value(0).integer, 0);
}

TEST_F(ScanLineTest, Floats) {
  EXPECT_EQ(Scan("%f", 1, "3.25"), frt::kOk);
  EXPECT_EQ(Value(0).number, 3.25);
  EXPECT_EQ(Value(0).conversion, 'f');
  EXPECT_EQ(Scan("%E", 1, "-1.5e3"), frt::kOk);
  EXPECT_EQ(Value(0).number, -1500.0);
  EXPECT_EQ(Value(0).conversion, 'e');
  EXPECT_EQ(Scan("%g", 1, "+.5"), frt::kOk);
  EXPECT_EQ(Value(0).number, 0.5);
  EXPECT_EQ(Scan("%f", 1, "7."), frt::kOk);
  EXPECT_EQ(Value(0).number, 7.0);
  EXPECT_EQ(Scan("%fe", 1, "2e"), frt::kOk);  // an e without digits stays in the input
  EXPECT_EQ(Value(0).text, "2");
  EXPECT_EQ(Scan("%f", 1, "1E-2"), frt::kOk);
  EXPECT_EQ(Value(0).number, 0.01);
  EXPECT_EQ(Scan("%f", 1, "1e400"), frt::kOk);
  EXPECT_TRUE(std::isinf(Value(0).number));
  EXPECT_EQ(Scan("%f", 1, "-."), frt::kInputMismatch);
  EXPECT_EQ(Scan("%3f", 1, "1.2345"), frt::kOk);
  EXPECT_EQ(Value(0).number, 1.2);
}

TEST_F(ScanLineTest, IReadsNothingButTakesItsVariable) {
  EXPECT_EQ(Scan("%i,%d", 2, ",7"), frt::kOk);
  ASSERT_EQ(source.accepted.size(), 1u);
  EXPECT_EQ(Value(0).code, 2);
  EXPECT_EQ(Value(0).integer, 7);
}

TEST_F(ScanLineTest, LiteralsAndResults) {
  EXPECT_EQ(Scan("%d%%", 1, "50%"), frt::kOk);
  EXPECT_EQ(Scan("%d;", 1, "12,"), frt::kInputMismatch);
  EXPECT_TRUE(source.accepted.empty());  // nothing is handed over for a mismatch
  EXPECT_EQ(Scan("%d", 1, "abc"), frt::kInputMismatch);
  EXPECT_EQ(Scan("%d,%d", 2, "12,"), frt::kIncompleteInput);
  EXPECT_EQ(Scan("%d,", 1, "12"), frt::kIncompleteInput);
  EXPECT_EQ(Scan("%0s", 1, "abc"), frt::kInputMismatch);  // width 0 reads nothing
  EXPECT_EQ(Scan("%d %d", 1, "1 2"), frt::kEnded);        // out of variables: input ended
  ASSERT_EQ(source.accepted.size(), 1u);
  EXPECT_EQ(Value(0).integer, 1);
  source.acceptAnswer = frt::kBadData;
  EXPECT_EQ(Scan("%d", 1, "1"), frt::kBadData);
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

TEST_F(InputEngine, StartAndNullFormat) {
  EXPECT_EQ(engine.InputLine("x"), frt::kNotAttached);
  EXPECT_EQ(engine.BeginInput(nullptr, kBlock), frt::kNullPointer);
  Begin();
  EXPECT_EQ(engine.Input().Status(), CFrtInputEngine::kStarted);
  EXPECT_EQ(engine.InputFlag(), 0u);
  EXPECT_EQ(engine.InputLine(static_cast<const char*>(nullptr)), frt::kNullPointer);
}

TEST_F(InputEngine, FirstMatchingStringOfTheBlockWins) {
  Add(1, kBlock, "P%d", 1, 90);      // export strings are not used
  Add(2, kBlock + 1, "P%d", 1, 91);  // nor other blocks
  Add(2, kBlock, "P%d,%f", 2, 10);
  Add(2, kBlock, "C%s", 1, 20);
  Add(2, kBlock, "P%d", 1, 30);
  Begin();
  EXPECT_EQ(engine.InputLine("P12,3.5"), frt::kOk);
  EXPECT_EQ(engine.InputLine("Cabc\r\n"), frt::kOk);
  EXPECT_EQ(engine.InputLine("P7"), frt::kOk);  // the first string wants a comma: the third
  ASSERT_EQ(source.accepted.size(), 4u);
  EXPECT_EQ(source.accepted[0].code, 10);
  EXPECT_EQ(source.accepted[0].integer, 12);
  EXPECT_EQ(source.accepted[1].number, 3.5);
  EXPECT_EQ(source.accepted[2].code, 20);
  EXPECT_EQ(source.accepted[2].text, "abc");
  EXPECT_EQ(source.accepted[3].code, 30);
  EXPECT_EQ(engine.InputFlag(), 1u);
  const auto status = engine.Input().Status();
  EXPECT_TRUE(status & CFrtInputEngine::kMatched);
  EXPECT_TRUE(status & CFrtInputEngine::kStarted);
  EXPECT_EQ(engine.Input().Buffered(), 0u);
}

TEST_F(InputEngine, MismatchDropsTheLineAndReadingGoesOn) {
  Add(2, kBlock, "C%s", 1, 20);
  Begin();
  EXPECT_EQ(engine.InputLine("X1"), frt::kInputMismatch);
  EXPECT_FALSE(engine.Input().Status() & CFrtInputEngine::kMatched);
  EXPECT_EQ(engine.InputFlag(), 0u);
  EXPECT_EQ(engine.Input().Buffered(), 0u);
  EXPECT_EQ(engine.InputLine("Cok trailing words"), frt::kOk);
  ASSERT_EQ(source.accepted.size(), 1u);
  EXPECT_EQ(source.accepted[0].text, "ok");
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
  ASSERT_EQ(source.accepted.size(), 2u);
  EXPECT_EQ(source.accepted[0].integer, 12);
  EXPECT_EQ(source.accepted[1].number, 3.5);
}

TEST_F(InputEngine, LaterStringMayAcceptWhatAnEarlierOneWaitsFor) {
  Add(2, kBlock, "%d,%d", 2, 10);
  Add(2, kBlock, "%d", 1, 30);
  Begin();
  EXPECT_EQ(engine.InputLine("4,"), frt::kOk);
  ASSERT_EQ(source.accepted.size(), 1u);
  EXPECT_EQ(source.accepted[0].code, 30);
}

TEST_F(InputEngine, RingBufferOverflowGives2AndKeepsTheBuffer) {
  Add(2, kBlock, "P%d,%d", 2, 10);
  Begin();
  EXPECT_EQ(engine.InputLine("P1,"), frt::kIncompleteInput);
  const std::size_t held = engine.Input().Buffered();
  EXPECT_EQ(held, 4u);  // the text and its line feed
  std::string big(CFrtInputEngine::kMaxBuffered - held, ' ');
  EXPECT_EQ(engine.InputLine(big), frt::kOutOfMemory);
  EXPECT_EQ(engine.Input().Buffered(), held);
  const std::string fits(CFrtInputEngine::kMaxBuffered - held - 2, ' ');
  EXPECT_EQ(engine.InputLine(fits + "2"), frt::kOk);  // with its line feed it fills the ring
  ASSERT_EQ(source.accepted.size(), 2u);
  EXPECT_EQ(source.accepted[1].integer, 2);
}

TEST_F(InputEngine, LongestLineThatFits) {
  Add(2, kBlock, "C%s", 1, 20);
  Begin();
  EXPECT_EQ(engine.InputLine(std::string(CFrtInputEngine::kMaxBuffered, 'x')), frt::kOutOfMemory);
  EXPECT_EQ(engine.InputLine(std::string(CFrtInputEngine::kMaxBuffered - 1, 'x')),
            frt::kInputMismatch);
}

TEST_F(InputEngine, ReadingPositionsWrapAroundTheRing) {
  Add(2, kBlock, "P%d,%s", 2, 10);
  Begin();
  for (int i = 0; i < 300; ++i) {
    const std::string n = std::to_string(i);
    ASSERT_EQ(engine.InputLine("P" + n + ","), frt::kIncompleteInput) << i;
    ASSERT_EQ(engine.InputLine(std::string(i % 7, ' ') + "v" + n), frt::kOk) << i;
  }
  ASSERT_EQ(source.accepted.size(), 600u);
  for (int i = 0; i < 300; ++i) {
    EXPECT_EQ(source.accepted[2 * i].integer, i);
    EXPECT_EQ(source.accepted[2 * i + 1].text, "v" + std::to_string(i));
  }
}

TEST_F(InputEngine, RunningOutOfVariablesEndsTheInput) {
  Add(2, kBlock, "E%d %d", 1, 10);
  Begin();
  EXPECT_EQ(engine.InputLine("E1 2"), frt::kEnded);
  EXPECT_TRUE(engine.Input().Status() & CFrtInputEngine::kEnded);
  ASSERT_EQ(source.accepted.size(), 1u);
  EXPECT_EQ(engine.InputLine("E3 4"), frt::kEnded);
  EXPECT_EQ(source.accepted.size(), 1u);
  Begin();  // starts afresh
  EXPECT_EQ(engine.Input().Status(), CFrtInputEngine::kStarted);
}

TEST_F(InputEngine, BlockWithoutImportStringsEndsAtOnce) {
  Add(1, kBlock, "P%d", 1, 10);
  Begin();
  EXPECT_EQ(engine.InputLine("P1"), frt::kEnded);
  EXPECT_TRUE(source.accepted.empty());
}

TEST_F(InputEngine, RefusedValueIsReported) {
  Add(2, kBlock, "%d", 1, 10);
  Begin();
  source.acceptAnswer = frt::kBadData;
  EXPECT_EQ(engine.InputLine("1"), frt::kBadData);
  EXPECT_EQ(engine.Input().Buffered(), 0u);
}

}  // namespace
