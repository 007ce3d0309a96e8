#include "library/string_table.h"

#include <gtest/gtest.h>

#include <string>

#include "library/text_encoding.h"

namespace {

using frt::LoadText;
using frt::ResultText;

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

}  // namespace
