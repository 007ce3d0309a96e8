// The sample export of whole formats made for the shipped template Kite_Basic: applications
// 101 to 106 (headers allowed for 101, 102, 104, 105), block 10 with a block header, block 14
// without one, block 16 with two strings at most.
#include "preview/sample_export.h"

#include <gtest/gtest.h>

#include <string>

#include "catalogue/format_template_manager.h"
#include "temp_files.h"
#include "document/doc_format.h"
#include "library/error_message.h"
#include "library/string_table.h"
#include "library/text_encoding.h"
#include "shell/qv_workspace.h"

namespace {

class SampleExportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CWorkspaceOptions options;
    options.locations.appDir = dir_ / "app";
    options.locations.sharedDir = QUARVEL_SOURCE_DATA_DIR;
    options.env = [](const char*) -> const char* { return nullptr; };
    options.usePool = false;
    ASSERT_TRUE(workspace_.Start(options));
    tpl_ = workspace_.Catalogue()->FindTemplate("Kite_Basic");
    ASSERT_NE(tpl_, nullptr);
    format_ = std::make_unique<CDocFormat>(workspace_.DocContext());
    format_->SetTemplate(tpl_);
    ASSERT_EQ(format_->InitNew(), 1);
  }

  void Put(int kind, int block, int index, const std::string& text, const std::string& apps = "",
           const std::string& variables = "") {
    ASSERT_EQ(
        format_->SetFormatString(CDocFormat::MakeId(kind, block, index), text, variables, apps), 1);
  }
  void AppHeader(int application, const std::string& text) {
    ASSERT_EQ(
        format_->SetFormatString(CDocFormat::kApplicationHeaderKind + application, text, "", ""),
        1);
  }
  std::string Export() { return SampleExport(*format_, *tpl_); }

  testfiles::TempDir dir_;
  CRecordingMessageSink sink_;
  CScopedMessageSink scoped_{sink_};
  CQVWorkspace workspace_;
  const CFormatTemplate* tpl_ = nullptr;
  std::unique_ptr<CDocFormat> format_;
};

TEST_F(SampleExportTest, FileHeaderAndFooterOnlyGiveTwoLines) {
  EXPECT_EQ(Export(), "");
  Put(15, 0, 0, "FOOT");
  Put(14, 0, 0, "HEAD");
  EXPECT_EQ(Export(), "HEAD\nFOOT\n");
}

TEST_F(SampleExportTest, StringWithoutHeadersIsWrittenThreeTimes) {
  Put(11, 14, 1, "L");
  EXPECT_EQ(Export(), "L\nL\nL\n");
  // Applications without header strings change nothing.
  Put(11, 14, 1, "L", "103106");
  EXPECT_EQ(Export(), "L\nL\nL\n");
}

TEST_F(SampleExportTest, EachApplicationHeaderIsFollowedByTheLineWithoutBlockHeader) {
  AppHeader(101, "A1");
  AppHeader(102, "A2");
  Put(11, 14, 1, "L", "101102");
  EXPECT_EQ(Export(), "A1\nL\nL\nL\nA2\nL\nL\nL\n");
}

TEST_F(SampleExportTest, BlockHeaderCollectsTheLinesAfterTheApplicationHeaders) {
  AppHeader(101, "A1");
  AppHeader(102, "A2");
  Put(12, 10, 0, "BH");
  Put(11, 10, 1, "L", "101102");
  EXPECT_EQ(Export(), "A1\nA2\nBH\nL\nL\nL\n");
  Put(11, 10, 1, "L", "103");  // no application header: the block header alone
  EXPECT_EQ(Export(), "BH\nL\nL\nL\n");
}

TEST_F(SampleExportTest, DefaultStringServesTheApplicationsWithoutStringPerBlock) {
  AppHeader(102, "A2");
  AppHeader(104, "A4");
  Put(11, 14, 1, "L", "101");
  Put(17, 14, 0, "D");
  Put(17, 16, 0, "E");
  // Block 14: 101 has its own string; 102 and 104 of the rest have headers. Block 16 starts
  // again from all six applications.
  EXPECT_EQ(Export(),
            "L\nL\nL\n"
            "A2\nD\nD\nD\nA4\nD\nD\nD\n"
            "A2\nE\nE\nE\nA4\nE\nE\nE\n");
  Put(11, 14, 2, "M", "102");  // 102 now has a string in block 14: its header goes with it
  EXPECT_EQ(Export(),
            "L\nL\nL\nA2\nM\nM\nM\n"
            "A4\nD\nD\nD\n"
            "A2\nE\nE\nE\nA4\nE\nE\nE\n");
}

TEST_F(SampleExportTest, DefaultStringWithoutAnyHeaderIsWrittenOnce) {
  Put(17, 14, 0, "D");
  EXPECT_EQ(Export(), "D\nD\nD\n");
  Put(12, 10, 0, "BH");
  Put(17, 10, 0, "X");
  EXPECT_EQ(Export(), "BH\nX\nX\nX\nD\nD\nD\n");
}

TEST_F(SampleExportTest, OnlyExportStringsOfDefinedBlocksWithinTheirCountAppear) {
  Put(21, 12, 1, "import");
  Put(24, 12, 0, "import header");
  Put(26, 12, 0, "restriction");
  Put(11, 17, 1, "undefined block", "101");
  Put(17, 50, 0, "undefined default");
  Put(11, 16, 3, "beyond the count");
  EXPECT_EQ(Export(), "");
  Put(11, 16, 2, "last");
  Put(11, 16, 1, "first");  // index order, not list order
  EXPECT_EQ(Export(), "first\nfirst\nfirst\nlast\nlast\nlast\n");
}

TEST_F(SampleExportTest, BlocksFollowTheTemplatesOrder) {
  Put(11, 19, 1, "other");
  Put(11, 12, 1, "coordinates");
  Put(11, 10, 1, "measurement");
  EXPECT_EQ(Export(),
            "measurement\nmeasurement\nmeasurement\n"
            "coordinates\ncoordinates\ncoordinates\n"
            "other\nother\nother\n");
}

TEST_F(SampleExportTest, LinesAreRenderedWithSampleValuesOrShowTheFailure) {
  // Point number (code 1, default P1001) and east (code 51, 512345.678).
  Put(11, 14, 1, "%-8.0s|%12.2lf", "", "100011001100209051");
  EXPECT_EQ(Export(), "P1001   |   512345.68\nP1001   |   512345.68\nP1001   |   512345.68\n");
  Put(11, 14, 1, "%-8.0s|%12.2lf", "", "100011001");  // second conversion without variable
  const std::string failure = frt::Utf8ToGbk(frt::ResultText(frt::kNotFound));
  EXPECT_EQ(Export(), failure + "\n" + failure + "\n" + failure + "\n");
}

}  // namespace
