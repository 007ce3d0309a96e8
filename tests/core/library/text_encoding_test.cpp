#include "library/text_encoding.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using frt::GbkToUtf8Lossless;
using frt::Utf8ToGbk;
using frt::Utf8ToGbkLossless;

const std::string kCaptionGbk = "\xB3\xF6\xB4\xED\xD0\xC5\xCF\xA2";  // 出错信息
const std::string kReplacement = "\xEF\xBF\xBD";                     // U+FFFD

TEST(GbkText, CharactersOutsideGbkBecomeQuestionMarksAndAreCounted) {
  std::size_t replaced = 0;
  EXPECT_EQ(Utf8ToGbk("a😀b\xEF\xBF\xBD", &replaced), "a?b?");
  EXPECT_EQ(replaced, 2u);
  EXPECT_EQ(Utf8ToGbk("信\xFF\xC3", &replaced), "\xD0\xC5??");  // bytes that are not UTF-8
  EXPECT_EQ(replaced, 2u);
  EXPECT_EQ(Utf8ToGbk("x\xED\xA0\x80", &replaced), "x???");  // an encoded surrogate
  EXPECT_EQ(replaced, 3u);
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

}  // namespace
