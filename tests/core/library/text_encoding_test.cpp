#include "library/text_encoding.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

using frt::GbkToUtf8;
using frt::GbkToUtf8Lossless;
using frt::Utf8ToGbk;
using frt::Utf8ToGbkLossless;

const std::string kCaptionGbk = "\xB3\xF6\xB4\xED\xD0\xC5\xCF\xA2";  // 出错信息
const std::string kReplacement = "\xEF\xBF\xBD";                     // U+FFFD

TEST(GbkText, ChineseTextConvertsBothWays) {
  EXPECT_EQ(GbkToUtf8(kCaptionGbk), "出错信息");
  std::size_t replaced = 99;
  EXPECT_EQ(Utf8ToGbk("出错信息", &replaced), kCaptionGbk);
  EXPECT_EQ(replaced, 0u);
  EXPECT_EQ(GbkToUtf8(Utf8ToGbk("Kite_Basic测量")), "Kite_Basic测量");
  EXPECT_EQ(GbkToUtf8("\x80"), "€");
}

// What invalid bytes show as follows from the lossless form (its tests below).
TEST(GbkText, ValidityCheck) {
  EXPECT_FALSE(frt::IsValidGbk("a\xFF"));
  EXPECT_FALSE(frt::IsValidGbk("\xB3"));
  EXPECT_TRUE(frt::IsValidGbk(kCaptionGbk));
  EXPECT_TRUE(frt::IsValidGbk("plain"));
}

// A file written in UTF-8 by mistake: its text is UTF-8 and not GBK. Text valid as both stays GBK.
TEST(TextEncodingGuess, Utf8IsNamedOnlyWhenTheTextIsNotGbk) {
  const struct {
    std::string text;
    bool utf8;
    bool looksLikeUtf8;
  } cases[] = {
      {"@i:TS-Q6 %-8.0s", true, false}, {kCaptionGbk, false, false},
      {"测量点\"", true, true},      // nine bytes: the last lead byte pairs with the quote
      {"出错信息", true, false},     // its twelve bytes are four GBK characters as well
      {"\xC0\x80", false, false},    // an overlong NUL
      {"测\xE9\x87", false, false},  // cut off in the middle of a character
  };
  for (const auto& c : cases) {
    EXPECT_EQ(frt::IsValidUtf8(c.text), c.utf8) << c.text;
    EXPECT_EQ(frt::LooksLikeUtf8(c.text), c.looksLikeUtf8) << c.text;
  }
}

TEST(GbkText, CharactersOutsideGbkBecomeQuestionMarksAndAreCounted) {
  std::size_t replaced = 0;
  EXPECT_EQ(Utf8ToGbk("a😀b\xEF\xBF\xBD", &replaced), "a?b?");
  EXPECT_EQ(replaced, 2u);
  EXPECT_EQ(Utf8ToGbk("信\xFF\xC3", &replaced), "\xD0\xC5??");  // bytes that are not UTF-8
  EXPECT_EQ(replaced, 2u);
  EXPECT_EQ(Utf8ToGbk("x\xED\xA0\x80", &replaced), "x???");  // an encoded surrogate
  EXPECT_EQ(replaced, 3u);
}

TEST(GbkText, LongTextCrossesTheConversionBuffer) {
  std::string utf8;
  for (int i = 0; i < 3000; ++i) utf8 += "测量";
  std::string gbk = Utf8ToGbk(utf8);
  EXPECT_EQ(gbk.size(), 12000u);
  EXPECT_EQ(GbkToUtf8(gbk), utf8);
}

TEST(LosslessGbkText, InvalidBytesBecomePrivateCodePointsAndComeBack) {
  std::string bytes = "a\xFF" + kCaptionGbk + "\x81\x20\xB3";
  std::string utf8 = GbkToUtf8Lossless(bytes);
  EXPECT_EQ(utf8, "a\xEF\x9F\xBF出错信息\xEF\x9E\x81 \xEF\x9E\xB3");  // U+F7FF, U+F781, U+F7B3
  std::size_t replaced = 9;
  EXPECT_EQ(Utf8ToGbkLossless(utf8, &replaced), bytes);
  EXPECT_EQ(replaced, 0u);
  // The display pair does not give them back.
  EXPECT_EQ(Utf8ToGbk(utf8, &replaced), "a?" + kCaptionGbk + "? ?");
  EXPECT_EQ(replaced, 3u);
}

TEST(LosslessGbkText, EditedTextAroundEscapesKeepsTheUntouchedBytes) {
  std::string utf8 = GbkToUtf8Lossless("\xFE\xFF");  // two invalid bytes ...
  utf8.insert(0, "新");                              // ... and a typed character in front
  EXPECT_EQ(Utf8ToGbkLossless(utf8), Utf8ToGbk("新") + "\xFE\xFF");
  // Escapes only stand for bytes 0x80..0xFF; U+F700..U+F77F are ordinary characters.
  std::size_t replaced = 0;
  EXPECT_EQ(Utf8ToGbkLossless("\xEF\x9C\x80", &replaced), "?");
  EXPECT_EQ(replaced, 1u);
}

// U+F780..U+F7FF (EF 9E/9F xx) replaced by U+FFFD.
std::string EscapesReplaced(const std::string& utf8) {
  std::string out;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    if (i + 2 < utf8.size() && utf8[i] == '\xEF' &&
        (utf8[i + 1] == '\x9E' || utf8[i + 1] == '\x9F')) {
      out += kReplacement;
      i += 2;
    } else {
      out.push_back(utf8[i]);
    }
  }
  return out;
}

TEST(LosslessGbkText, ArbitraryBytesRoundTrip) {
  std::mt19937 random(20240611);
  std::uniform_int_distribution<int> byte(0, 255);
  std::uniform_int_distribution<int> length(0, 64);
  for (int i = 0; i < 2000; ++i) {
    std::string bytes;
    int n = length(random);
    for (int k = 0; k < n; ++k) bytes.push_back(static_cast<char>(byte(random)));
    std::size_t replaced = 0;
    ASSERT_EQ(Utf8ToGbkLossless(GbkToUtf8Lossless(bytes), &replaced), bytes) << "case " << i;
    ASSERT_EQ(replaced, 0u);
    // The display text is the same text with U+FFFD in place of each escape.
    ASSERT_EQ(GbkToUtf8(bytes), EscapesReplaced(GbkToUtf8Lossless(bytes))) << "case " << i;
  }
}

TEST(LosslessGbkText, EveryTwoByteSequenceRoundTrips) {
  std::string all;
  for (int lead = 0x80; lead <= 0xFF; ++lead)
    for (int trail = 0x00; trail <= 0xFF; ++trail) {
      all.push_back(static_cast<char>(lead));
      all.push_back(static_cast<char>(trail));
    }
  EXPECT_EQ(Utf8ToGbkLossless(GbkToUtf8Lossless(all)), all);
}

}  // namespace
