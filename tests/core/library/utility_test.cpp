#include "library/utility.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>

#include "library/error_message.h"

namespace {

TEST(IntToText, ZeroPaddedToWidthOnlyWhenShorter) {
  EXPECT_EQ(CUtility::IntToText(7, 3), "007");
  EXPECT_EQ(CUtility::IntToText(1234, 3), "1234");
  EXPECT_EQ(CUtility::IntToText(5, 0), "5");
  EXPECT_EQ(CUtility::IntToText(5, -4), "5");
  EXPECT_EQ(CUtility::IntToText(0, 9), "000000000");
  EXPECT_EQ(CUtility::IntToText(123, 3), "123");
}

TEST(IntToText, NegativeNumbersKeepTheSignInFront) {
  EXPECT_EQ(CUtility::IntToText(-7, 3), "-07");
  EXPECT_EQ(CUtility::IntToText(-7, 0), "-7");
  EXPECT_EQ(CUtility::IntToText(-1234, 3), "-1234");
  EXPECT_EQ(CUtility::IntToText(LLONG_MIN, 0), "-9223372036854775808");
}

TEST(IntToText, HugeWidthIsCut) {
  EXPECT_EQ(CUtility::IntToText(1, 1 << 30).size(), static_cast<std::size_t>(CUtility::kMaxWidth));
}

TEST(FloatToText, FixedNotationWithDecimalPoint) {
  EXPECT_EQ(CUtility::FloatToText(12.5, 1), "12.5");
  EXPECT_EQ(CUtility::FloatToText(12.5, 3), "12.500");
  EXPECT_EQ(CUtility::FloatToText(2.0, 0), "2");
  EXPECT_EQ(CUtility::FloatToText(-0.125, 2), "-0.12");  // as printf rounds the binary value
  EXPECT_EQ(CUtility::FloatToText(1e20, 1), "100000000000000000000.0");
  EXPECT_EQ(CUtility::FloatToText(3.14159, -2), "3");
}

TEST(TextToNumber, LeadingNumberOrZero) {
  EXPECT_EQ(CUtility::TextToLong("42abc"), 42);
  EXPECT_EQ(CUtility::TextToLong("  -17 "), -17);
  EXPECT_EQ(CUtility::TextToLong("+8"), 8);
  EXPECT_EQ(CUtility::TextToLong("abc"), 0);
  EXPECT_EQ(CUtility::TextToLong(""), 0);
  EXPECT_EQ(CUtility::TextToLong("-"), 0);
  EXPECT_EQ(CUtility::TextToLong("0x1F"), 0);
  EXPECT_EQ(CUtility::TextToLong("99999999999999999999"), LONG_MAX);
  EXPECT_EQ(CUtility::TextToLong("-99999999999999999999"), LONG_MIN);
  EXPECT_EQ(CUtility::TextToLong("-9223372036854775808"), LONG_MIN);

  EXPECT_DOUBLE_EQ(CUtility::TextToDouble("2.5m"), 2.5);
  EXPECT_DOUBLE_EQ(CUtility::TextToDouble(" -1.25e2x"), -125.0);
  EXPECT_DOUBLE_EQ(CUtility::TextToDouble("+.5"), 0.5);
  EXPECT_DOUBLE_EQ(CUtility::TextToDouble("7."), 7.0);
  EXPECT_EQ(CUtility::TextToDouble("x1"), 0.0);
  EXPECT_EQ(CUtility::TextToDouble("+-1"), 0.0);
  EXPECT_EQ(CUtility::TextToDouble(""), 0.0);
  EXPECT_DOUBLE_EQ(CUtility::TextToDouble("1,5"), 1.0);
  EXPECT_TRUE(std::isinf(CUtility::TextToDouble("1e999")));
  EXPECT_LT(CUtility::TextToDouble("-1e999"), 0.0);
  EXPECT_EQ(CUtility::TextToDouble("1e-999"), 0.0);
}

// Switches the numeric category to a locale with a decimal comma, when the machine has one.
class CommaLocale {
 public:
  CommaLocale() {
    previous_ = std::setlocale(LC_NUMERIC, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "ru_RU.UTF-8", "de_DE"}) {
      if (std::setlocale(LC_NUMERIC, name) && *std::localeconv()->decimal_point == ',') {
        active_ = true;
        return;
      }
    }
    std::setlocale(LC_NUMERIC, previous_.c_str());
  }
  ~CommaLocale() { std::setlocale(LC_NUMERIC, previous_.c_str()); }
  bool active() const { return active_; }

 private:
  std::string previous_;
  bool active_ = false;
};

TEST(TextToNumber, DecimalPointWhateverTheLocale) {
  CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma installed";
  EXPECT_DOUBLE_EQ(CUtility::TextToDouble("2.75"), 2.75);
  EXPECT_DOUBLE_EQ(CUtility::TextToDouble("2,75"), 2.0);
  EXPECT_EQ(CUtility::FloatToText(2.75, 2), "2.75");
  EXPECT_TRUE(std::isinf(CUtility::TextToDouble("1.5e999")));
}

TEST(SplitFirst, TakesThePartBeforeTheSeparator) {
  std::string text = "a,b,c";
  EXPECT_EQ(CUtility::SplitFirst(text, ','), "a");
  EXPECT_EQ(text, "b,c");
  EXPECT_EQ(CUtility::SplitFirst(text, ','), "b");
  EXPECT_EQ(CUtility::SplitFirst(text, ','), "c");
  EXPECT_EQ(text, "");
  EXPECT_EQ(CUtility::SplitFirst(text, ','), "");

  std::string leading = ",x";
  EXPECT_EQ(CUtility::SplitFirst(leading, ','), "");
  EXPECT_EQ(leading, "x");
}

TEST(ItemNumbers, SplitAndMake) {
  EXPECT_EQ(CUtility::SplitItemNumber(14002003), (CUtility::ItemParts{14000000, 2, 3}));
  EXPECT_EQ(CUtility::SplitItemNumber(11010999), (CUtility::ItemParts{11000000, 10, 999}));
  EXPECT_EQ(CUtility::SplitItemNumber(0), (CUtility::ItemParts{0, 0, 0}));
  EXPECT_EQ(CUtility::MakeItemNumber(21000000, 5, 7), 21005007);
  EXPECT_EQ(CUtility::FirstIndex(12099001), 99);
  for (int n : {11001001, 13000101, 26099000, 17042000}) {
    auto p = CUtility::SplitItemNumber(n);
    EXPECT_EQ(CUtility::MakeItemNumber(p.category, p.first, p.second), n);
  }
}

TEST(ItemNumbers, GroupOneIsCategoriesTenToNineteen) {
  EXPECT_TRUE(CUtility::IsGroupOneItem(CUtility::kFileFooterItem));
  EXPECT_TRUE(CUtility::IsGroupOneItem(CUtility::kFileHeaderItem));
  EXPECT_TRUE(CUtility::IsGroupOneItem(10000000));
  EXPECT_TRUE(CUtility::IsGroupOneItem(19999999));
  EXPECT_FALSE(CUtility::IsGroupOneItem(9999999));
  EXPECT_FALSE(CUtility::IsGroupOneItem(20000000));
  EXPECT_FALSE(CUtility::IsGroupOneItem(-1));
}

TEST(DigitRuns, LeadingAndTrailing) {
  EXPECT_EQ(CUtility::LeadingDigits("123abc45"), "123");
  EXPECT_EQ(CUtility::TrailingDigits("123abc45"), "45");
  EXPECT_EQ(CUtility::LeadingDigits("abc"), "");
  EXPECT_EQ(CUtility::TrailingDigits("abc"), "");
  EXPECT_EQ(CUtility::LeadingDigits(""), "");
  EXPECT_EQ(CUtility::TrailingDigits("2024"), "2024");
  EXPECT_EQ(CUtility::LeadingDigits("-12"), "");
  EXPECT_EQ(CUtility::TrailingDigits("输出格式字串 12"), "12");
}

TEST(Wrappers, ForwardToTheStringTable) {
  EXPECT_STREQ(CUtility::LoadText(900), "出错信息");
  EXPECT_STREQ(CUtility::ResultText(frt::kBadFormatFile), "无效的格式文件！");
  EXPECT_EQ(CUtility::ComboItems(519), (std::vector<std::string>{"否", "是"}));
}

class FileHelpers : public ::testing::Test {
 protected:
  void SetUp() override {
    file = std::tmpfile();
    ASSERT_NE(file, nullptr);
  }
  void TearDown() override {
    if (file) std::fclose(file);
  }
  std::string Bytes() {
    std::rewind(file);
    std::string all;
    int c;
    while ((c = std::fgetc(file)) != EOF) all.push_back(static_cast<char>(c));
    std::rewind(file);
    return all;
  }
  std::FILE* file = nullptr;
  CRecordingMessageSink sink;
  CScopedMessageSink scope{sink};
};

TEST_F(FileHelpers, TextIsLittleEndianLengthThenBytes) {
  ASSERT_EQ(CUtility::WriteText(file, "ab\0c"), 1);  // string_view of "ab" only
  ASSERT_EQ(CUtility::WriteText(file, std::string_view("x\0y", 3)), 1);
  ASSERT_EQ(CUtility::WriteUInt32(file, 0x01020304u), 1);
  EXPECT_EQ(Bytes(), std::string("\x02\0\0\0ab\x03\0\0\0x\0y\x04\x03\x02\x01", 17));

  std::string text;
  std::uint32_t value = 0;
  ASSERT_EQ(CUtility::ReadText(file, text, 10), 1);
  EXPECT_EQ(text, "ab");
  ASSERT_EQ(CUtility::ReadText(file, text, 3), 1);
  EXPECT_EQ(text, std::string("x\0y", 3));
  ASSERT_EQ(CUtility::ReadUInt32(file, value), 1);
  EXPECT_EQ(value, 0x01020304u);
  EXPECT_TRUE(sink.Empty());
}

TEST_F(FileHelpers, LengthAboveTheLimitFailsWithoutReadingOn) {
  ASSERT_EQ(CUtility::WriteUInt32(file, 0xFFFFFFFFu), 1);
  std::rewind(file);
  std::string text = "old";
  EXPECT_EQ(CUtility::ReadText(file, text, 1927), 0);
  EXPECT_EQ(text, "");
  EXPECT_TRUE(sink.Empty());
}

TEST_F(FileHelpers, FileEndingEarlyFailsQuietly) {
  ASSERT_EQ(CUtility::WriteUInt32(file, 5), 1);
  ASSERT_EQ(CUtility::WriteBytes(file, "abc", 3), 1);
  std::rewind(file);
  std::string text;
  EXPECT_EQ(CUtility::ReadText(file, text, 100), 0);
  std::uint32_t value = 7;
  EXPECT_EQ(CUtility::ReadUInt32(file, value), 0);
  EXPECT_TRUE(sink.Empty());
}

TEST_F(FileHelpers, WriteErrorIsReported) {
  std::FILE* readOnly = std::fopen("/dev/null", "r");
  ASSERT_NE(readOnly, nullptr);
  EXPECT_EQ(CUtility::WriteText(readOnly, "abc"), 0);
  std::fclose(readOnly);
  EXPECT_EQ(CUtility::WriteBytes(nullptr, "a", 1), 0);
  ASSERT_EQ(sink.Count(), 2u);
  EXPECT_TRUE(sink.Last().isError);
  EXPECT_EQ(sink.Last().extra, "error writing to file");
}

TEST_F(FileHelpers, ReadErrorIsReported) {
  std::FILE* writeOnly = std::fopen("/dev/null", "w");
  ASSERT_NE(writeOnly, nullptr);
  std::string text;
  EXPECT_EQ(CUtility::ReadText(writeOnly, text, 10), 0);
  std::fclose(writeOnly);
  ASSERT_EQ(sink.Count(), 1u);
  EXPECT_EQ(sink.Last().extra, "error read from file");
  EXPECT_EQ(CUtility::ReadText(nullptr, text, 10), 0);
  EXPECT_EQ(sink.Count(), 1u);
}

}  // namespace
