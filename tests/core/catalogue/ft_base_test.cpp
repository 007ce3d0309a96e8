#include "catalogue/ft_base.h"

#include <gtest/gtest.h>

#include <string>

#include "catalogue/ini_reader.h"
#include "catalogue/temp_files.h"
#include "library/error_message.h"
#include "library/faulty_file_system.h"
#include "library/string_table.h"

namespace {

using testfiles::TempDir;

class FTBaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testfiles::WriteBytes(dir_ / "data.ini",
                                      "[S]\n"
                                      "Letters=abc\n"
                                      "Twelve=12abc\n"
                                      "Five=5\n"
                                      "MinusOne=-1\n"
                                      "MinusTwo=-2\n"
                                      "Empty=\n"
                                      "Unit=Angular\n"
                                      "Across=ar,Te\n"
                                      "Word=Foo\n"
                                      "Float=1.5e3\n"
                                      "SpacedFloat= 2.5\n"
                                      "NotFloat=x1.5\n"));
    ASSERT_TRUE(reader_.Load(dir_ / "data.ini"));
  }

  long Long(const char* key, long minimum = 0, long maximum = 10, int hasException = 0,
            long exception = 0) {
    return base_.GetLong(reader_, 1, "S", key, 1, minimum, maximum, hasException, exception);
  }

  TempDir dir_;
  CIniReader reader_;
  CFTBase base_{"", ""};
  CRecordingMessageSink sink_;
  CScopedMessageSink scoped_{sink_};
};

// --- GetLong

TEST_F(FTBaseTest, LongWithoutLeadingDigitsIsZeroWithoutError) {
  EXPECT_EQ(Long("Letters"), 0);
  EXPECT_TRUE(base_.IsValid());
}

TEST_F(FTBaseTest, LongTakesLeadingDigitsAndChecksTheirRange) {
  EXPECT_EQ(Long("Twelve"), 12);
  EXPECT_EQ(base_.ErrorText(), CErrorMessage::RangeText("S", "Twelve", 0, 10));
  EXPECT_FALSE(base_.IsValid());
}

TEST_F(FTBaseTest, LongMissingOrEmptyReadsAsMissingWithoutError) {
  EXPECT_EQ(Long("Absent"), CFTBase::kMissing);
  EXPECT_EQ(Long("Empty"), -9999);
  EXPECT_EQ(base_.GetLong(reader_, 1, "NoSection", "Five", 1, 0, 10, 0, 0), -9999);
  EXPECT_TRUE(base_.IsValid());
}

TEST_F(FTBaseTest, LongExceptionValueIsAcceptedOthersNameIt) {
  EXPECT_EQ(Long("MinusOne", 0, 10, 1, -1), -1);
  EXPECT_TRUE(base_.IsValid());
  EXPECT_EQ(Long("MinusTwo", 0, 10, 1, -1), -2);
  EXPECT_EQ(base_.ErrorText(), CErrorMessage::RangeText("S", "MinusTwo", 0, 10) + " (-1)");
}

TEST_F(FTBaseTest, LongWithoutCheckOrInsideRangeAppendsNothing) {
  EXPECT_EQ(base_.GetLong(reader_, 1, "S", "Twelve", 0, 0, 10, 0, 0), 12);
  EXPECT_EQ(Long("Five"), 5);
  EXPECT_EQ(Long("Five", 5, 5), 5);
  EXPECT_TRUE(base_.IsValid());
}

TEST_F(FTBaseTest, ErrorsAccumulateAcrossReads) {
  Long("Twelve");
  Long("MinusTwo");
  EXPECT_EQ(base_.ErrorText(), CErrorMessage::RangeText("S", "Twelve", 0, 10) +
                                   CErrorMessage::RangeText("S", "MinusTwo", 0, 10));
}

// --- GetString

TEST_F(FTBaseTest, StringRequiredOnlyWhenAskedFor) {
  EXPECT_EQ(base_.GetString(reader_, 1, "S", "Absent", {}, {}, 0, -1), "");
  EXPECT_TRUE(base_.IsValid());
  EXPECT_EQ(base_.GetString(reader_, 1, "S", "Empty", {}, {}, 1, -1), "");
  EXPECT_EQ(base_.ErrorText(), CErrorMessage::EntryText("S", "Empty"));
}

TEST_F(FTBaseTest, StringAllowedIsASubstringSearch) {
  const std::string allowed = "Linear,Angular,Temperature,Pressure";
  EXPECT_EQ(base_.GetString(reader_, 1, "S", "Unit", {}, allowed, 0, -1), "Angular");
  EXPECT_EQ(base_.GetString(reader_, 1, "S", "Across", {}, allowed, 0, -1), "ar,Te");
  EXPECT_TRUE(base_.IsValid());
  EXPECT_EQ(base_.GetString(reader_, 1, "S", "Word", {}, allowed, 0, -1), "Foo");
  EXPECT_EQ(base_.ErrorText(), CErrorMessage::ValueText("S", "Word", allowed));
}

TEST_F(FTBaseTest, StringExpectedIsExactAndYieldsToAllowed) {
  EXPECT_EQ(base_.GetString(reader_, 1, "S", "Unit", "Angular", {}, 0, -1), "Angular");
  EXPECT_TRUE(base_.IsValid());
  // With an allowed list the expected value is not looked at.
  base_.GetString(reader_, 1, "S", "Unit", "Linear", "Angular", 0, -1);
  EXPECT_TRUE(base_.IsValid());
  EXPECT_EQ(base_.GetString(reader_, 1, "S", "Unit", "Angula", {}, 0, -1), "Angular");
  EXPECT_EQ(base_.ErrorText(), CErrorMessage::EqualsText("S", "Unit", "Angula"));
}

TEST_F(FTBaseTest, StringLengthCheckedOnlyWhileNoErrorSoFar) {
  base_.GetString(reader_, 1, "S", "Word", {}, {}, 0, 3);
  EXPECT_TRUE(base_.IsValid());
  base_.GetString(reader_, 1, "S", "Unit", {}, {}, 0, 3);
  EXPECT_EQ(base_.ErrorText(), CErrorMessage::BadFloatText("S", "Unit", 3));

  CFTBase other("", "");
  other.GetLong(reader_, 1, "S", "Twelve", 1, 0, 10, 0, 0);
  const std::string before = other.ErrorText();
  EXPECT_EQ(other.GetString(reader_, 1, "S", "Unit", {}, {}, 0, 3), "Angular");
  EXPECT_EQ(other.ErrorText(), before);
}

// --- GetFloatText

TEST_F(FTBaseTest, FloatTextIsRequiredAndMustScan) {
  EXPECT_EQ(base_.GetFloatText(reader_, 1, "S", "Float"), "1.5e3");
  EXPECT_EQ(base_.GetFloatText(reader_, 1, "S", "SpacedFloat"), " 2.5");
  EXPECT_TRUE(base_.IsValid());
  EXPECT_EQ(base_.GetFloatText(reader_, 1, "S", "Absent"), "");
  EXPECT_EQ(base_.ErrorText(), CErrorMessage::EntryText("S", "Absent"));

  CFTBase other("", "");
  EXPECT_EQ(other.GetFloatText(reader_, 1, "S", "NotFloat"), "x1.5");
  EXPECT_EQ(other.ErrorText(),
            CErrorMessage::EntryText("S", "NotFloat") + frt::LoadText(frt::kIdBadFloat) + "(x1.5)");
}

// --- message, reads and access mode

TEST_F(FTBaseTest, ShowErrorShowsStartFailedOnlyWhenInvalid) {
  base_.ShowError();
  EXPECT_TRUE(sink_.Empty());
  Long("Twelve");
  base_.ShowError();
  ASSERT_EQ(sink_.Count(), 1u);
  EXPECT_EQ(sink_.Last().id, frt::kIdStartFailed);
  EXPECT_TRUE(sink_.Last().isError);
  EXPECT_EQ(sink_.Last().extra, "");
}

TEST_F(FTBaseTest, BaseReadsAndWritesEmptyTheErrorText) {
  for (int (CFTBase::*op)() :
       {&CFTBase::Read, &CFTBase::Write, &CFTBase::ReadEntries, &CFTBase::WriteEntries}) {
    Long("Twelve");
    ASSERT_FALSE(base_.IsValid());
    EXPECT_EQ((base_.*op)(), 1);
    EXPECT_TRUE(base_.IsValid());
  }
}

// --- list items

TEST_F(FTBaseTest, NextItemTakesTextBeforeTheFirstComma) {
  std::string list = "A,B,";
  EXPECT_EQ(base_.NextItem(list), "A");
  EXPECT_EQ(list, "B,");
  std::string single = "A";
  EXPECT_EQ(base_.NextItem(single), "");
  EXPECT_EQ(single, "A");
}

TEST_F(FTBaseTest, FirstItemAppendsAComma) {
  std::string empty;
  EXPECT_EQ(base_.FirstItem(empty), "");
  EXPECT_EQ(empty, "");
  std::string single = "A";
  EXPECT_EQ(base_.FirstItem(single), "A");
  EXPECT_EQ(single, "");
  std::string doubled = "A,,B";
  EXPECT_EQ(base_.FirstItem(doubled), "A");
  EXPECT_EQ(base_.NextItem(doubled), "");
  EXPECT_EQ(doubled, "B,");
}

// --- serial numbers and paths

TEST_F(FTBaseTest, ElementsAreNumberedByTheirParent) {
  CFTBase root("settings.ini", "templates.tpl");
  EXPECT_EQ(root.Serial(), 0);
  CFTBase first(&root);
  CFTBase second(&root);
  CFTBase orphan(static_cast<CFTBase*>(nullptr));
  EXPECT_EQ(first.Serial(), 1);
  EXPECT_EQ(second.Serial(), 2);
  EXPECT_EQ(orphan.Serial(), 0);
  EXPECT_EQ(second.Parent(), &root);
  EXPECT_EQ(second.SettingsPath(), "settings.ini");
  EXPECT_EQ(second.TemplatePath(), "templates.tpl");
}

// --- WriteString

TEST_F(FTBaseTest, WriteStringSetsTheKeyInTheSettingsFile) {
  const std::string path = dir_ / "QV.ini";
  ASSERT_TRUE(testfiles::WriteBytes(path, "[Units]\nLinear=m\n"));
  CFTBase settings(path, "");
  settings.GetString(reader_, 1, "S", "Five", {}, {}, 0, -1);
  settings.WriteString("Units", "Linear", "ft");
  settings.WriteString("Template", "Last", "Kite_Basic");
  EXPECT_TRUE(settings.IsValid());
  EXPECT_EQ(settings.AccessMode(), 0);
  CIniReader check;
  ASSERT_TRUE(check.Load(path));
  std::string value;
  EXPECT_TRUE(check.GetString("Units", "Linear", value));
  EXPECT_EQ(value, "ft");
  EXPECT_TRUE(check.GetString("Template", "Last", value));
  EXPECT_EQ(value, "Kite_Basic");
}

TEST_F(FTBaseTest, FailedWriteAppendsWriteErrorAndKeepsTheFile) {
  const std::string path = dir_ / "QV.ini";
  ASSERT_TRUE(testfiles::WriteBytes(path, "[Units]\nLinear=m\n"));
  testfiles::FaultyFileSystem fs;
  fs.FailAt(testfiles::FaultyFileSystem::Step::kRename);
  CFTBase settings(path, "");
  settings.SetFileSystem(&fs);
  CFTBase child(&settings);  // elements inherit the file system of their parent
  child.WriteString("Units", "Linear", "ft");
  EXPECT_EQ(child.ErrorText(), CErrorMessage::WriteErrorText("Units", "Linear"));
  EXPECT_EQ(testfiles::ReadBytes(path), "[Units]\nLinear=m\n");
  EXPECT_TRUE(sink_.Empty());
}

}  // namespace
