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

}  // namespace
