#include "library/utility.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <string>

#include "library/error_message.h"
#include "temp_files.h"

namespace {

TEST(NumberText, FormattingAndScanning) {
  const std::pair<std::string, std::string> texts[] = {
      {CUtility::IntToText(7, 3), "007"},
      {CUtility::IntToText(1234, 3), "1234"},
      {CUtility::IntToText(5, -4), "5"},
      {CUtility::IntToText(-7, 3), "-07"},  // the sign stays in front
      {CUtility::IntToText(LLONG_MIN, 0), "-9223372036854775808"},
      {CUtility::FloatToText(12.5, 3), "12.500"},
      {CUtility::FloatToText(2.0, 0), "2"},
      {CUtility::FloatToText(-0.125, 2), "-0.12"},  // as printf rounds the binary value
      {CUtility::FloatToText(1e20, 1), "100000000000000000000.0"},
      {CUtility::FloatToText(3.14159, -2), "3"},
  };
  for (const auto& [got, want] : texts) EXPECT_EQ(got, want);
  EXPECT_EQ(CUtility::IntToText(1, 1 << 30).size(), static_cast<std::size_t>(CUtility::kMaxWidth));

  const std::pair<const char*, long> longs[] = {{"42abc", 42},
                                                {"  -17 ", -17},
                                                {"+8", 8},
                                                {"abc", 0},
                                                {"-", 0},
                                                {"0x1F", 0},
                                                {"99999999999999999999", LONG_MAX},
                                                {"-99999999999999999999", LONG_MIN},
                                                {"-9223372036854775808", LONG_MIN}};
  for (const auto& [text, want] : longs) EXPECT_EQ(CUtility::TextToLong(text), want) << text;
  const std::pair<const char*, double> doubles[] = {
      {"2.5m", 2.5},   {" -1.25e2x", -125.0}, {"+.5", 0.5}, {"7.", 7.0},
      {"x1", 0.0},     {"+-1", 0.0},          {"", 0.0},    {"1,5", 1.0},
      {"1e-999", 0.0}, {"-1e999", -HUGE_VAL}};
  for (const auto& [text, want] : doubles) EXPECT_EQ(CUtility::TextToDouble(text), want) << text;
}

TEST(SplitFirst, TakesThePartBeforeTheSeparator) {
  std::string text = ",a,b";
  EXPECT_EQ(CUtility::SplitFirst(text, ','), "");
  EXPECT_EQ(CUtility::SplitFirst(text, ','), "a");
  EXPECT_EQ(text, "b");
  EXPECT_EQ(CUtility::SplitFirst(text, ','), "b");
  EXPECT_EQ(text, "");
}

TEST(ItemNumbers, SplitMakeAndGroup) {
  EXPECT_EQ(CUtility::SplitItemNumber(11010999), (CUtility::ItemParts{11000000, 10, 999}));
  EXPECT_EQ(CUtility::MakeItemNumber(21000000, 5, 7), 21005007);
  EXPECT_EQ(CUtility::FirstIndex(12099001), 99);
  for (int n : {11001001, 13000101, 26099000, 17042000}) {
    auto p = CUtility::SplitItemNumber(n);
    EXPECT_EQ(CUtility::MakeItemNumber(p.category, p.first, p.second), n);
  }
  // Group one is the categories ten to nineteen.
  for (int n : {CUtility::kFileFooterItem, CUtility::kFileHeaderItem, 10000000, 19999999})
    EXPECT_TRUE(CUtility::IsGroupOneItem(n)) << n;
  for (int n : {9999999, 20000000, -1}) EXPECT_FALSE(CUtility::IsGroupOneItem(n)) << n;
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

TEST_F(FileHelpers, ShortOrOverlongReadsFailQuietly) {
  ASSERT_EQ(CUtility::WriteUInt32(file, 0xFFFFFFFFu), 1);
  std::rewind(file);
  std::string text = "old";
  EXPECT_EQ(CUtility::ReadText(file, text, 1927), 0);  // the length is over the limit
  EXPECT_EQ(text, "");
  std::rewind(file);
  ASSERT_EQ(CUtility::WriteUInt32(file, 5), 1);
  ASSERT_EQ(CUtility::WriteBytes(file, "abc", 3), 1);
  std::rewind(file);
  EXPECT_EQ(CUtility::ReadText(file, text, 100), 0);  // the file ends early
  std::uint32_t value = 7;
  EXPECT_EQ(CUtility::ReadUInt32(file, value), 0);
  EXPECT_TRUE(sink.Empty());
}

TEST_F(FileHelpers, ReadAndWriteErrorsAreReported) {
  std::FILE* readOnly = std::fopen("/dev/null", "r");
  std::FILE* writeOnly = std::fopen("/dev/null", "w");
  ASSERT_TRUE(readOnly != nullptr && writeOnly != nullptr);
  EXPECT_EQ(CUtility::WriteText(readOnly, "abc"), 0);
  EXPECT_EQ(CUtility::WriteBytes(nullptr, "a", 1), 0);
  ASSERT_EQ(sink.Count(), 2u);
  EXPECT_TRUE(sink.Last().isError);
  EXPECT_EQ(sink.Last().extra, "error writing to file");
  std::string text;
  EXPECT_EQ(CUtility::ReadText(writeOnly, text, 10), 0);
  EXPECT_EQ(sink.Last().extra, "error read from file");
  EXPECT_EQ(CUtility::ReadText(nullptr, text, 10), 0);  // quietly
  EXPECT_EQ(sink.Count(), 3u);
  std::fclose(readOnly);
  std::fclose(writeOnly);
}

}  // namespace
