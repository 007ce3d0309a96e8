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
