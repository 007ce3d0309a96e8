// Key-by-key writes of the settings file.
#include <gtest/gtest.h>

#include "profile_test_file.h"

namespace proftest {
namespace {

class ProfileWriteTest : public ProfileTest {
 protected:
  void SetUp() override {
    profile_ = Make(kIni);
    ASSERT_EQ(profile_->Read(), 1);
  }
  std::string File() const { return testfiles::ReadBytes(Path()); }

  std::unique_ptr<CQVProfile> profile_;
};

TEST_F(ProfileWriteTest, SaveUnitsWritesOnlySelectedAndZeroForAnUnknownValue) {
  profile_->SelectUnit("Linear", "U");
  profile_->SelectUnit("Volume", "U");  // no such type: nothing
  profile_->SelectUnit("Pressure", "Q");
  EXPECT_EQ(profile_->FindUnitType("Pressure")->Selected(), 0);
  EXPECT_TRUE(profile_->SaveUnits());
  EXPECT_EQ(File(), Edit(Edit(kIni, "UNITS_Linear", "Selected=1", "Selected=3"), "UNITS_Pressure",
                         "Selected=1", "Selected=0"));
  EXPECT_TRUE(sink_.Empty());
}

TEST_F(ProfileWriteTest, FlagsWriteNamesAndValuesNotValid) {
  profile_->Flags().Find("cut")->value = 1;
  profile_->Flags().Find("scale")->valid = 1;
  EXPECT_EQ(profile_->Flags().Write(), 1);
  EXPECT_EQ(File(), Edit(kIni, "FLAGS", "Value2=0", "Value2=1"));
}

TEST_F(ProfileWriteTest, ScalesAndDefaultValuesAreWrittenAsText) {
  CQVProfDefault& d = profile_->Default();
  EXPECT_TRUE(d.SetScaleText("Linear", "3.25"));
  EXPECT_FALSE(d.SetScaleText("Volume", "1"));
  d.SetStringValue("");
  EXPECT_EQ(d.Write(), 1);
  std::string expected = Edit(kIni, "Scalings", "Linear=2.5", "Linear=3.25");
  EXPECT_EQ(File(), Edit(expected, "DefaultValues", "StringValue=----", "StringValue="));
}

TEST_F(ProfileWriteTest, OutputDefaultsCopiedFromRealNumbersAndSaved) {
  CQVProfDefault& d = profile_->Default();
  d.PrintFFloat().SetLength(-1);
  d.PrintFFloat().SetAlign(0);
  d.CopyPrintFFloatToOthers();
  EXPECT_EQ(d.PrintFStrings().Precision(), 3);
  EXPECT_EQ(d.PrintFInteger().Sign(), 0);
  EXPECT_EQ(d.PrintFInteger().FillCharacter(), 1);
  EXPECT_EQ(d.PrintFChar().Length(), -1);
  EXPECT_EQ(File(), kIni);  // copying alone writes nothing
  EXPECT_TRUE(d.SavePrintFDefaults());
  std::string e = kIni;
  e = Edit(e, "PrintFDefaultSettings_Float", "Align=1\nLength=10", "Align=0\nLength=-1");
  e = Edit(e, "PrintFDefaultSettings_Integer", "Length=6\nFillCharacter=0\nSign=1",
           "Length=-1\nFillCharacter=1\nSign=0");
  e = Edit(e, "PrintFDefaultSettings_String", "Align=1\nLength=16\nPrecision=0",
           "Align=0\nLength=-1\nPrecision=3");
  e = Edit(e, "PrintFDefaultSettings_Character", "Align=1\nLength=4", "Align=0\nLength=-1");
  EXPECT_EQ(File(), e);
}

}  // namespace
}  // namespace proftest
