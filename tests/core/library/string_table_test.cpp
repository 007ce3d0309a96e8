#include "library/string_table.h"

#include <gtest/gtest.h>

#include <string>

#include "library/text_encoding.h"

namespace {

using frt::LoadText;
using frt::ResultText;

// Order and uniqueness of the tables are checked when they compile.
TEST(StringTableShape, NonEmptyAndWritableAsGbk) {
  // The system's texts end up in formats and the pool, which hold GBK.
  for (const auto& e : frt::StringTable()) {
    EXPECT_NE(std::string(e.text), "") << e.id;
    std::size_t replaced = 0;
    EXPECT_EQ(frt::GbkToUtf8(frt::Utf8ToGbk(e.text, &replaced)), e.text) << e.id;
    EXPECT_EQ(replaced, 0u) << e.id;
  }
  for (const auto& e : frt::MenuTable()) {
    std::size_t replaced = 0;
    frt::Utf8ToGbk(e.text, &replaced);
    EXPECT_EQ(replaced, 0u) << "menu " << e.id;
  }
}

TEST(StringTableLookup, EveryEntryAndUnknownIds) {
  for (const auto& e : frt::StringTable()) {
    EXPECT_EQ(LoadText(e.id), e.text) << e.id;
    EXPECT_TRUE(frt::HasText(e.id)) << e.id;
  }
  for (int id : {-1, 0, 5, 21, 1103, 1204, 99999}) {
    EXPECT_STREQ(LoadText(id), "") << id;
    EXPECT_FALSE(frt::HasText(id)) << id;
  }
  for (const auto& e : frt::MenuTable()) EXPECT_EQ(frt::MenuText(e.id), e.text) << e.id;
  EXPECT_STREQ(frt::MenuText(1), "");
  // A command's menu text is not its status prompt.
  EXPECT_STRNE(frt::MenuText(32788), LoadText(32788));
}

TEST(ResultTexts, CodesAndTheirTexts) {
  for (frt::Result code = 0; code <= 30; ++code)
    EXPECT_STREQ(ResultText(code), LoadText(1118 + static_cast<int>(code))) << code;
  // Codes without entries still get a text of their own kind.
  EXPECT_STREQ(ResultText(frt::kMissingScales), ResultText(frt::kLoadError));
  EXPECT_STREQ(ResultText(frt::kMissingDefaults), ResultText(frt::kLoadError));
  std::string noDefault = ResultText(frt::kNoDefaultString);
  EXPECT_NE(noDefault, "");
  for (frt::Result code = 0; code <= 32; ++code) EXPECT_NE(noDefault, ResultText(code)) << code;
  EXPECT_STREQ(ResultText(33), ResultText(30));
  EXPECT_STREQ(ResultText(4000000000u), ResultText(30));
}

TEST(CommaLists, EmptyPartsKeepTheirPlace) {
  EXPECT_TRUE(frt::SplitList("").empty());
  EXPECT_EQ(frt::SplitList("a,,b"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_EQ(frt::SplitList(",a,"), (std::vector<std::string>{"", "a", ""}));
}

}  // namespace
