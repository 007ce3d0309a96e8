#include "catalogue/ft_base.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "catalogue/ini_reader.h"
#include "library/error_message.h"
#include "library/faulty_file_system.h"
#include "library/string_table.h"
#include "temp_files.h"

namespace {

using E = CErrorMessage;

class FTBaseTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testfiles::WriteBytes(dir_ / "data.ini",
                                      "[S]\nLetters=abc\nTwelve=12abc\nFive=5\nMinusOne=-1\n"
                                      "MinusTwo=-2\nEmpty=\nUnit=Angular\nAcross=ar,Te\nWord=Foo\n"
                                      "Float=1.5e3\nSpacedFloat= 2.5\nNotFloat=x1.5\n"));
    ASSERT_TRUE(reader_.Load(dir_ / "data.ini"));
  }
  long Long(CFTBase& b, const char* key, long min = 0, long max = 10, int hasEx = 0, long ex = 0,
            int check = 1) {
    return b.GetLong(reader_, "S", key, check, min, max, hasEx, ex);
  }
  testfiles::TempDir dir_;
  CIniReader reader_;
  CRecordingMessageSink sink_;
  CScopedMessageSink scoped_{sink_};
};

// Every checked read: its value and the error text it leaves ("" = still valid).
TEST_F(FTBaseTest, CheckedReadsAndTheirErrorTexts) {
  const std::string units = "Linear,Angular,Temperature,Pressure";
  struct Case {
    std::function<std::string(CFTBase&)> read;
    std::string value;
    std::string error;
  };
  const auto L = [](long v) { return std::to_string(v); };
  const Case cases[] = {
      {[&](CFTBase& b) { return L(Long(b, "Letters")); }, "0", ""},
      {[&](CFTBase& b) { return L(Long(b, "Twelve")); }, "12", E::RangeText("S", "Twelve", 0, 10)},
      {[&](CFTBase& b) { return L(Long(b, "Twelve", 0, 10, 0, 0, 0)); }, "12", ""},  // unchecked
      {[&](CFTBase& b) { return L(Long(b, "Five", 5, 5)); }, "5", ""},
      {[&](CFTBase& b) { return L(Long(b, "Absent")); }, "-9999", ""},
      {[&](CFTBase& b) { return L(Long(b, "Empty")); }, "-9999", ""},
      {[&](CFTBase& b) { return L(b.GetLong(reader_, "None", "Five", 0, 10)); }, "-9999", ""},
      {[&](CFTBase& b) { return L(Long(b, "MinusOne", 0, 10, 1, -1)); }, "-1", ""},
      {[&](CFTBase& b) { return L(Long(b, "MinusTwo", 0, 10, 1, -1)); }, "-2",
       E::RangeText("S", "MinusTwo", 0, 10) + " (-1)"},
      {[&](CFTBase& b) { return b.GetText(reader_, "S", "Absent"); }, "", ""},
      {[&](CFTBase& b) { return b.GetRequiredText(reader_, "S", "Empty"); }, "",
       E::EntryText("S", "Empty")},
      // Allowed is a substring search.
      {[&](CFTBase& b) { return b.GetAllowedText(reader_, "S", "Across", units); }, "ar,Te", ""},
      {[&](CFTBase& b) { return b.GetAllowedText(reader_, "S", "Word", units); }, "Foo",
       E::ValueText("S", "Word", units)},
      {[&](CFTBase& b) { return b.GetExpectedText(reader_, "S", "Unit", "Angular"); }, "Angular",
       ""},
      {[&](CFTBase& b) { return b.GetExpectedText(reader_, "S", "Unit", "Angula"); }, "Angular",
       E::EqualsText("S", "Unit", "Angula")},
      {[&](CFTBase& b) { return b.GetSizedText(reader_, "S", "Word", 3); }, "Foo", ""},
      {[&](CFTBase& b) { return b.GetSizedText(reader_, "S", "Unit", 3); }, "Angular",
       E::BadFloatText("S", "Unit", 3)},
      // The length is checked only while there is no error yet.
      {[&](CFTBase& b) {
         const long v = Long(b, "Twelve");
         return L(v) + b.GetSizedText(reader_, "S", "Unit", 3);
       },
       "12Angular", E::RangeText("S", "Twelve", 0, 10)},
      {[&](CFTBase& b) {
         const long v = Long(b, "Twelve");
         return L(v) + L(Long(b, "MinusTwo"));
       },
       "12-2", E::RangeText("S", "Twelve", 0, 10) + E::RangeText("S", "MinusTwo", 0, 10)},
      {[&](CFTBase& b) { return b.GetFloatText(reader_, "S", "SpacedFloat"); }, " 2.5", ""},
      {[&](CFTBase& b) { return b.GetFloatText(reader_, "S", "Absent"); }, "",
       E::EntryText("S", "Absent")},
      {[&](CFTBase& b) { return b.GetFloatText(reader_, "S", "NotFloat"); }, "x1.5",
       E::EntryText("S", "NotFloat") + frt::LoadText(frt::kIdBadFloat) + "(x1.5)"},
  };
  int row = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(row++);
    CFTBase base("", "");
    EXPECT_EQ(c.read(base), c.value);
    EXPECT_EQ(base.ErrorText(), c.error);
    EXPECT_EQ(base.IsValid(), c.error.empty());
  }
  EXPECT_TRUE(sink_.Empty());
}

TEST_F(FTBaseTest, WriteString) {
  const std::string path = dir_ / "QV.ini";
  ASSERT_TRUE(testfiles::WriteBytes(path, "[Units]\nLinear=m\n"));
  CFTBase settings(path, "");
  settings.WriteString("Units", "Linear", "ft");
  settings.WriteString("Template", "Last", "Kite_Basic");
  EXPECT_TRUE(settings.IsValid());
  EXPECT_EQ(testfiles::ReadBytes(path), "[Units]\nLinear=ft\n[Template]\nLast=Kite_Basic\n");
  // A failed write names the key and keeps the file; elements use their parent's file system.
  testfiles::FaultyFileSystem fs;
  fs.FailAt(testfiles::FaultyFileSystem::Step::kRename);
  settings.SetFileSystem(&fs);
  CFTBase child(&settings);
  child.WriteString("Units", "Linear", "m");
  EXPECT_EQ(child.ErrorText(), E::WriteErrorText("Units", "Linear"));
  EXPECT_EQ(testfiles::ReadBytes(path), "[Units]\nLinear=ft\n[Template]\nLast=Kite_Basic\n");
  EXPECT_TRUE(sink_.Empty());
}

}  // namespace
