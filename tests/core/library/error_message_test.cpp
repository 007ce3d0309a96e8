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

TEST_F(MessageTest, ErrorMessageIsEntryThenExtraThenLineBreakUnderCaption900) {
  CErrorMessage::ShowMessage(1212, 1, "");
  ASSERT_EQ(sink.Count(), 1u);
  const CMessage& m = sink.Last();
  EXPECT_EQ(m.id, 1212);
  EXPECT_TRUE(m.isError);
  EXPECT_EQ(m.kind, CMessage::Kind::kError);
  EXPECT_EQ(m.captionId, 900);
  EXPECT_EQ(m.caption, "出错信息");
  EXPECT_EQ(m.text, std::string("无效的格式文件。\n格式字串有无效变量。") + "\n");
  EXPECT_EQ(m.extra, "");
}

TEST_F(MessageTest, WarningUsesCaption901AndKeepsTheExtraText) {
  CErrorMessage::ShowMessage(1202, false, "\nKite_Basic");
  const CMessage& m = sink.Last();
  EXPECT_FALSE(m.isError);
  EXPECT_EQ(m.kind, CMessage::Kind::kWarning);
  EXPECT_EQ(m.captionId, 901);
  EXPECT_EQ(m.caption, "警告信息");
  EXPECT_EQ(m.text, "无效的格式文件。\n模板名无效。\nKite_Basic\n");
  EXPECT_EQ(m.extra, "\nKite_Basic");
}

TEST_F(MessageTest, MessageWithoutEntryIsItsExtraText) {
  CErrorMessage::ShowMessage(frt::kIdNone, true, "error writing to file");
  EXPECT_EQ(sink.Last().text, "error writing to file\n");
  EXPECT_EQ(sink.Last().id, 0);
}

TEST_F(MessageTest, NoticeHasTheApplicationTitleAndNoAddedLineBreak) {
  CErrorMessage::ShowNotice(4);
  EXPECT_EQ(sink.Last().kind, CMessage::Kind::kNotice);
  EXPECT_EQ(sink.Last().captionId, 0);
  EXPECT_EQ(sink.Last().caption, "");
  EXPECT_EQ(sink.Last().text, "从池中删除字串时出错。");
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

TEST(MessageSinkInstallation, SetReturnsThePreviousSinkAndNullRestoresTheDefault) {
  CMessageSink& original = MessageSink();
  CRecordingMessageSink a;
  CRecordingMessageSink b;
  EXPECT_EQ(SetMessageSink(&a), &original);
  EXPECT_EQ(&MessageSink(), &a);
  EXPECT_EQ(SetMessageSink(&b), &a);
  CErrorMessage::ShowMessage(900, true);
  EXPECT_TRUE(a.Empty());
  EXPECT_EQ(b.Count(), 1u);
  EXPECT_EQ(SetMessageSink(nullptr), &b);
  EXPECT_NE(dynamic_cast<CStderrMessageSink*>(&MessageSink()), nullptr);
  SetMessageSink(&original);
  EXPECT_EQ(&MessageSink(), &original);
}

TEST(MessageSinkInstallation, ScopedSinksNestAndRestore) {
  CMessageSink& original = MessageSink();
  CRecordingMessageSink outer;
  {
    CScopedMessageSink s1(outer);
    CRecordingMessageSink inner;
    {
      CScopedMessageSink s2(inner);
      CErrorMessage::ShowMessage(1010, true);
    }
    CErrorMessage::ShowMessage(1251, false);
    EXPECT_EQ(inner.Ids(), std::vector<int>{1010});
  }
  EXPECT_EQ(outer.Ids(), std::vector<int>{1251});
  EXPECT_EQ(&MessageSink(), &original);
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
