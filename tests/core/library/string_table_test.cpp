#include "library/string_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "library/text_encoding.h"

namespace {

using frt::LoadText;
using frt::ResultText;

TEST(StringTableShape, SortedUniqueNonEmptyAndWritableAsGbk) {
  // The system's texts end up in formats and the pool, which hold GBK.
  int previous = -1;
  for (const auto& e : frt::StringTable()) {
    ASSERT_NE(e.text, nullptr) << e.id;
    EXPECT_NE(std::string(e.text), "") << e.id;
    EXPECT_LT(previous, e.id);
    previous = e.id;
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

TEST(StringTableLookup, EntriesAndUnknownIds) {
  for (int id : {-1, 0, 5, 21, 1103, 1204, 99999}) {
    ASSERT_NE(LoadText(id), nullptr);
    EXPECT_STREQ(LoadText(id), "") << id;
    EXPECT_FALSE(frt::HasText(id)) << id;
  }
  // A few entries whose escapes and spacing must survive byte for byte.
  const std::pair<int, const char*> entries[] = {
      {frt::kIdCaptionError, "出错信息"},
      {1010, "启动失败, 找不到初始化数据 !"},
      {1111, "不能创建字串池管理器, \n 字串池无效。可能是由于内存不足。"},
      {1113, "不能保存格式文件.\n 错误:  %s 在 (行:%s)"},
      {1215, "无效的格式文件。\n错误的软件号 \n在行:"},
      {1107, "Format Error:\nMaximal number of variables exceeded. "},
      {32788, "格式文件数据预览\n预览"},
      {61446, "没选择类别"},
  };
  for (const auto& [id, text] : entries) EXPECT_STREQ(LoadText(id), text) << id;
  std::string comctl = LoadText(1252);
  EXPECT_EQ(comctl.front(), '"');
  EXPECT_EQ(comctl.back(), '"');
  EXPECT_NE(comctl.find("V%d.%d found.\n\nUpdate"), std::string::npos);
}

TEST(ResultTexts, CodesAndTheirTexts) {
  for (frt::Result code = 0; code <= 30; ++code)
    EXPECT_STREQ(ResultText(code), LoadText(1118 + static_cast<int>(code))) << code;
  EXPECT_STREQ(ResultText(frt::kBadFormatFile), "无效的格式文件！");
  EXPECT_STREQ(ResultText(frt::kFileNotFound), "文件没找到。");
  EXPECT_STREQ(ResultText(frt::kEnded), "确认。");
  EXPECT_STREQ(ResultText(frt::kMissingUnits), "未定义错误 (请咨询！)");
  // Codes without entries still get a text of their own kind.
  EXPECT_STREQ(ResultText(frt::kMissingScales), "文件加载错误。");
  EXPECT_STREQ(ResultText(frt::kMissingDefaults), "文件加载错误。");
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

TEST(MenuTexts, CommandsHaveTheirMenuTextApartFromTheirPrompt) {
  auto menus = frt::MenuTable();
  for (std::size_t i = 1; i < menus.size(); ++i) EXPECT_LT(menus[i - 1].id, menus[i].id);
  EXPECT_STREQ(frt::MenuText(57600), "(&N)新文件\tStrg+N");
  EXPECT_STREQ(frt::MenuText(32788), "输出预览...");
  EXPECT_STRNE(frt::MenuText(32788), LoadText(32788));
  EXPECT_STREQ(frt::MenuText(1), "");
}

}  // namespace
