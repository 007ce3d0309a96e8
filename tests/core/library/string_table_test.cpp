#include "library/string_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "library/text_encoding.h"

namespace {

using frt::LoadText;
using frt::ResultText;

TEST(StringTableShape, SortedByIdWithoutDuplicatesOrEmptyTexts) {
  auto table = frt::StringTable();
  ASSERT_GT(table.size(), 100u);
  for (std::size_t i = 0; i < table.size(); ++i) {
    ASSERT_NE(table[i].text, nullptr) << table[i].id;
    EXPECT_NE(std::string(table[i].text), "") << table[i].id;
    if (i > 0) {
      EXPECT_LT(table[i - 1].id, table[i].id) << "at index " << i;
    }
  }
}

TEST(StringTableShape, EveryTextCanBeWrittenAsGbk) {
  // The system's texts end up in formats and the pool, which hold GBK.
  for (const auto& e : frt::StringTable()) {
    std::size_t replaced = 0;
    std::string gbk = frt::Utf8ToGbk(e.text, &replaced);
    EXPECT_EQ(replaced, 0u) << "entry " << e.id;
    EXPECT_EQ(frt::GbkToUtf8(gbk), e.text) << "entry " << e.id;
  }
  for (const auto& e : frt::MenuTable()) {
    std::size_t replaced = 0;
    frt::Utf8ToGbk(e.text, &replaced);
    EXPECT_EQ(replaced, 0u) << "menu " << e.id;
  }
}

TEST(StringTableLookup, UnknownIdsGiveAnEmptyTextNeverNull) {
  for (int id : {-1, 0, 5, 21, 1103, 1204, 99999}) {
    ASSERT_NE(LoadText(id), nullptr);
    EXPECT_STREQ(LoadText(id), "") << id;
    EXPECT_FALSE(frt::HasText(id)) << id;
  }
  EXPECT_TRUE(frt::HasText(1));
  EXPECT_TRUE(frt::HasText(61446));
}

TEST(StringTableEntries, CaptionsAndStartUpMessages) {
  EXPECT_STREQ(LoadText(frt::kIdCaptionError), "出错信息");
  EXPECT_STREQ(LoadText(frt::kIdCaptionWarning), "警告信息");
  EXPECT_STREQ(LoadText(1010), "启动失败, 找不到初始化数据 !");
  EXPECT_STREQ(LoadText(1104), "错误写入 QV.ini文件。");
  EXPECT_STREQ(LoadText(1106), "qv.ini含重复的单位项");
  EXPECT_STREQ(LoadText(1111), "不能创建字串池管理器, \n 字串池无效。可能是由于内存不足。");
  EXPECT_STREQ(LoadText(1251), "不能加载字串池。");
}

TEST(StringTableEntries, DocumentAndCheckMessagesKeepTheirEscapes) {
  EXPECT_STREQ(LoadText(1113), "不能保存格式文件.\n 错误:  %s 在 (行:%s)");
  EXPECT_STREQ(LoadText(1114), "不能加载格式文件.\n分析结果: %s\n错误在行: %s");
  EXPECT_STREQ(LoadText(1116), "内存溢出 ! \n加载多于允许的格式字串数");
  EXPECT_STREQ(LoadText(1202), "无效的格式文件。\n模板名无效。");
  EXPECT_STREQ(LoadText(1215), "无效的格式文件。\n错误的软件号 \n在行:");
  EXPECT_STREQ(LoadText(1107), "Format Error:\nMaximal number of variables exceeded. ");
  EXPECT_STREQ(LoadText(1149),
               "此格式字串作用于其他仪器.\n\n一些变量对当前选定的仪器无效。, \n 字串不能 加载。");
  std::string comctl = LoadText(1252);
  EXPECT_EQ(comctl.front(), '"');
  EXPECT_EQ(comctl.back(), '"');
  EXPECT_NE(comctl.find("V%d.%d found.\n\nUpdate"), std::string::npos);
}

TEST(StringTableEntries, TreeDialogAndPrintTexts) {
  EXPECT_STREQ(LoadText(500), "表头");
  EXPECT_STREQ(LoadText(510), "输出格式字串");
  EXPECT_STREQ(LoadText(513), "插入输入变量 ...");
  EXPECT_STREQ(LoadText(1112), "*** 没模板 ***");
  EXPECT_STREQ(LoadText(16), "Really remove the string ");
  EXPECT_STREQ(LoadText(20), "Quarvel中文版 1.0");
  EXPECT_STREQ(LoadText(23), "Quarvel ---- Data export sample --- Generated: ");
  EXPECT_STREQ(LoadText(25), "Page : ");
  EXPECT_STREQ(LoadText(32788), "格式文件数据预览\n预览");
  EXPECT_STREQ(LoadText(57344), "Quarvel");
  EXPECT_STREQ(LoadText(61446), "没选择类别");
}

TEST(ResultTexts, CodesZeroToThirtyAreEntry1118PlusCode) {
  for (frt::Result code = 0; code <= 30; ++code)
    EXPECT_STREQ(ResultText(code), LoadText(1118 + static_cast<int>(code))) << code;
  EXPECT_STREQ(ResultText(frt::kBadFormatFile), "无效的格式文件！");
  EXPECT_STREQ(ResultText(frt::kFileNotFound), "文件没找到。");
  EXPECT_STREQ(ResultText(frt::kEnded), "确认。");
  EXPECT_STREQ(ResultText(frt::kMissingUnits), "未定义错误 (请咨询！)");
}

TEST(ResultTexts, CodesWithoutEntriesStillGetATextOfTheirOwnKind) {
  EXPECT_STREQ(ResultText(frt::kMissingScales), "文件加载错误。");
  EXPECT_STREQ(ResultText(frt::kMissingDefaults), "文件加载错误。");
  std::string noDefault = ResultText(frt::kNoDefaultString);
  EXPECT_NE(noDefault, "");
  for (frt::Result code = 0; code <= 32; ++code) EXPECT_NE(noDefault, ResultText(code)) << code;
  EXPECT_STREQ(ResultText(33), ResultText(30));
  EXPECT_STREQ(ResultText(4000000000u), ResultText(30));
}

TEST(CommaLists, ComboListsSplitInOrder) {
  EXPECT_EQ(frt::ListItems(frt::kIdListAlign), (std::vector<std::string>{"右", "左"}));
  EXPECT_EQ(frt::ListItems(frt::kIdListRepresentation),
            (std::vector<std::string>{"正常", "格式exp. Basis e", "格式exp. Basis E"}));
  EXPECT_EQ(frt::ListItems(frt::kIdListFillCharacter), (std::vector<std::string>{"0", "空格"}));
  EXPECT_EQ(frt::ListItems(522), (std::vector<std::string>{"只有负", "总是"}));
  EXPECT_EQ(frt::ListItems(520), frt::ListItems(517));
  EXPECT_TRUE(frt::ListItems(12345).empty());
}

TEST(CommaLists, EmptyPartsKeepTheirPlace) {
  EXPECT_TRUE(frt::SplitList("").empty());
  EXPECT_EQ(frt::SplitList("a"), (std::vector<std::string>{"a"}));
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
