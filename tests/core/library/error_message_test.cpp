#include "library/error_message.h"

#include <gtest/gtest.h>

#include <string>

#include "library/string_table.h"

namespace {

class MessageTest : public ::testing::Test {
 protected:
  CRecordingMessageSink sink;
  CScopedMessageSink scope{sink};
};

TEST_F(MessageTest, KindCaptionAndText) {
  // Errors and warnings are entry, extra text and a line break under captions 900 and 901; a
  // message without entry is its extra text; a notice has the application's title and no break.
  const struct {
    void (*show)();
    int id;
    CMessage::Kind kind;
    int captionId;
    const char* caption;
    const char* text;
    const char* extra;
  } cases[] = {
      {[] { CErrorMessage::ShowMessage(1212, 1, ""); }, 1212, CMessage::Kind::kError, 900,
       "出错信息", "无效的格式文件。\n格式字串有无效变量。\n", ""},
      {[] { CErrorMessage::ShowMessage(1202, false, "\nKite_Basic"); }, 1202,
       CMessage::Kind::kWarning, 901, "警告信息", "无效的格式文件。\n模板名无效。\nKite_Basic\n",
       "\nKite_Basic"},
      {[] { CErrorMessage::ShowMessage(frt::kIdNone, true, "error writing to file"); }, 0,
       CMessage::Kind::kError, 900, "出错信息", "error writing to file\n", "error writing to file"},
      {[] { CErrorMessage::ShowNotice(4); }, 4, CMessage::Kind::kNotice, 0, "",
       "从池中删除字串时出错。", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.id);
    const std::size_t before = sink.Count();
    c.show();
    ASSERT_EQ(sink.Count(), before + 1);
    const CMessage& m = sink.Last();
    EXPECT_EQ(m.id, c.id);
    EXPECT_EQ(m.kind, c.kind);
    EXPECT_EQ(m.isError, c.kind == CMessage::Kind::kError);
    EXPECT_EQ(m.captionId, c.captionId);
    EXPECT_EQ(m.caption, c.caption);
    EXPECT_EQ(m.text, c.text);
    EXPECT_EQ(m.extra, c.extra);
  }
}

TEST_F(MessageTest, QuestionsAreAnsweredFromTheQueueThenByTheDefault) {
  sink.QueueAnswer(true);
  sink.QueueAnswer(false);
  EXPECT_TRUE(CErrorMessage::AskYesNo(16, "abc ?"));
  EXPECT_FALSE(CErrorMessage::AskYesNo(1150));
  EXPECT_FALSE(CErrorMessage::AskYesNo(3));
  sink.SetDefaultAnswer(true);
  EXPECT_TRUE(CErrorMessage::AskYesNo(19));
  EXPECT_EQ(sink.PendingAnswers(), 0u);

  ASSERT_EQ(sink.Ids(), (std::vector<int>{16, 1150, 3, 19}));
  const CMessage& first = sink.Messages().front();
  EXPECT_EQ(first.kind, CMessage::Kind::kQuestion);
  EXPECT_EQ(first.text, "Really remove the string abc ?");
  EXPECT_EQ(first.extra, "abc ?");
}

TEST_F(MessageTest, LoadAndSaveMessagesFillInResultTextAndLine) {
  EXPECT_EQ(CErrorMessage::SaveErrorText(frt::kCannotSave, 57),
            "不能保存格式文件.\n 错误:  不能保存格式文件！ 在 (行:57)");
  EXPECT_EQ(CErrorMessage::LoadErrorText(frt::kBadFormatFile, 23),
            "不能加载格式文件.\n分析结果: 无效的格式文件！\n错误在行: 23");
  EXPECT_EQ(CErrorMessage::LoadErrorText(frt::kLoadError, 0),
            "不能加载格式文件.\n分析结果: 文件加载错误。\n错误在行: 0");

  CErrorMessage::ShowLoadError(frt::kFileNotFound, 0);
  CErrorMessage::ShowSaveError(frt::kNullPointer, 12);
  ASSERT_EQ(sink.Ids(), (std::vector<int>{1114, 1113}));
  EXPECT_TRUE(sink.Messages()[0].isError);
  EXPECT_EQ(sink.Messages()[0].text, "不能加载格式文件.\n分析结果: 文件没找到。\n错误在行: 0");
  EXPECT_EQ(sink.Messages()[1].text, "不能保存格式文件.\n 错误:  另指针！ 在 (行:12)");
}

TEST(MessageTexts, EntryTextNamesSectionAndKey) {
  EXPECT_EQ(CErrorMessage::EntryText("S", "K"), "\n\n[S]\nK=");
  EXPECT_EQ(CErrorMessage::EntryText("", ""), "\n\n[]\n=");
}

TEST(MessageTexts, BuildersAppendTheirPartToTheEntryText) {
  EXPECT_EQ(CErrorMessage::RangeText("UNITS", "Selected", 1, 12),
            "\n\n[UNITS]\nSelected= (Min >= 1 Max <= 12)");
  EXPECT_EQ(CErrorMessage::RangeText("A", "B", -9999, 0), "\n\n[A]\nB= (Min >= -9999 Max <= 0)");
  EXPECT_EQ(CErrorMessage::ValueText("FLAGS", "Type", "Linear,Angular"),
            "\n\n[FLAGS]\nType= [Linear,Angular]");
  EXPECT_EQ(CErrorMessage::EqualsText("H", "Version", "1.00"), "\n\n[H]\nVersion= (=1.00)");
  EXPECT_EQ(CErrorMessage::BadFloatText("Scalings", "Linear", 7),
            "\n\n[Scalings]\nLinear= (无效的浮点数7)");
  EXPECT_EQ(CErrorMessage::WriteErrorText("Template", "Last"),
            "\n\n[Template]\nLast= (错误写入 QV.ini文件。)");
}

TEST(MessageSinkInstallation, DefaultSinkPrintsAndAnswersNo) {
  CStderrMessageSink stderrSink;
  CScopedMessageSink scope(stderrSink);
  testing::internal::CaptureStderr();
  CErrorMessage::ShowMessage(1251, false, "!");
  bool yes = CErrorMessage::AskYesNo(1150);
  std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_FALSE(yes);
  EXPECT_NE(printed.find("警告信息: 不能加载字串池。!\n"), std::string::npos) << printed;
  EXPECT_NE(printed.find("您要替换正在编辑的字串吗？"), std::string::npos) << printed;
}

}  // namespace
