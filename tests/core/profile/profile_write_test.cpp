// Key-by-key writes of the settings file and its read-only bit.
#include <gtest/gtest.h>

#include "library/faulty_file_system.h"
#include "library/safe_file.h"
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

TEST_F(ProfileWriteTest, ScanIntegerDefaultsNeverSaveBase) {
  CQVScanFDefInteger& i = profile_->Default().ScanFInteger();
  i.SetBase(7);
  i.SetLength(5);
  EXPECT_EQ(i.Write(), 1);
  EXPECT_EQ(File(), Edit(kIni, "ScanFDefaultSettings_Integer", "Length=-1", "Length=5"));
}

TEST_F(ProfileWriteTest, LastActiveTemplateReplacedOrAppended) {
  EXPECT_TRUE(profile_->SetLastActive("TS-9", "Other"));
  std::string e = Edit(kIni, "LastActiveTemplate", "Template=Kite_Basic", "Template=Other");
  EXPECT_EQ(File(), Edit(e, "LastActiveTemplate", "Instrument=TS-1", "Instrument=TS-9"));
  EXPECT_EQ(profile_->LastInstrument(), "TS-9");

  const std::string without = Edit(kIni, "LastActiveTemplate", "[LastActiveTemplate]", "[X]");
  profile_.reset();  // its end would make the new file read-only
  profile_ = Make(without);
  ASSERT_EQ(profile_->Read(), 1);
  EXPECT_EQ(profile_->LastTemplate(), "");
  EXPECT_TRUE(profile_->SetLastActive("TS-2", "Kite_Basic"));
  EXPECT_EQ(File(), without + "[LastActiveTemplate]\nTemplate=Kite_Basic\nInstrument=TS-2\n");
}

TEST_F(ProfileTest, FailedWritesAreReportedAndKeepTheNewValues) {
  testfiles::FaultyFileSystem fs;
  auto p = Make(kIni, &fs);
  ASSERT_EQ(p->Read(), 1);
  fs.FailAt(testfiles::FaultyFileSystem::Step::kRename);
  p->SelectUnit("Linear", "F");
  EXPECT_FALSE(p->SaveUnits());
  // Every type is written even after the first failure, and each reports its own.
  EXPECT_EQ(sink_.Ids(), (std::vector<int>{1010, 1010, 1010, 1010}));
  EXPECT_EQ(p->FindUnitType("Linear")->ErrorText(),
            CErrorMessage::WriteErrorText("UNITS_Linear", "Selected"));
  EXPECT_EQ(p->FindUnitType("Linear")->Selected(), 2);
  EXPECT_FALSE(p->Default().SavePrintFDefaults());
  EXPECT_EQ(sink_.Count(), 8u);  // one more for each output section
  sink_.Clear();
  EXPECT_FALSE(p->SetLastActive("I", "T"));  // no message: the caller decides
  EXPECT_TRUE(sink_.Empty());
  EXPECT_EQ(p->ErrorText(), CErrorMessage::WriteErrorText("LastActiveTemplate", "Template") +
                                CErrorMessage::WriteErrorText("LastActiveTemplate", "Instrument"));
  EXPECT_EQ(testfiles::ReadBytes(Path()), kIni);
}

// The editor holds the settings file: writable while it runs, read-only after. A tool leaves
// the mode as it finds it unless it writes. Any other process may set the bit meanwhile; a key
// write succeeds all the same.
TEST_F(ProfileTest, ReadOnlyBitAcrossProcesses) {
  using Mode = CQVSettingsMode;
  struct Case {
    Mode mode;
    bool writableBefore, writes, writableWhileLoaded, writableAfter;
  } const cases[] = {
      {Mode::kHold, false, false, true, false}, {Mode::kHold, true, true, true, false},
      {Mode::kLeave, true, false, true, true},  {Mode::kLeave, false, false, false, false},
      {Mode::kLeave, true, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << &c - cases);
    testfiles::WriteBytes(Path(), kIni);
    ASSERT_EQ(frt::SetOwnerWritable(Path(), c.writableBefore), frt::kOk);
    {
      CQVProfile p(reader_, Path(), dir_ / "QV.tpl", dir_.path(), nullptr, c.mode);
      ASSERT_EQ(p.Read(), 1);
      if (c.writes) {
        ASSERT_EQ(frt::SetOwnerWritable(Path(), false), frt::kOk);
        EXPECT_TRUE(p.SetLastActive("TS-9", "Other"));
      }
      EXPECT_EQ(frt::IsOwnerWritable(Path()), c.writableWhileLoaded);
    }
    EXPECT_EQ(frt::IsOwnerWritable(Path()), c.writableAfter);
    frt::SetOwnerWritable(Path(), true);
  }
}

TEST_F(ProfileTest, ReadOnlyBitOfAStubbornFile) {
  testfiles::FaultyFileSystem fs;
  auto p = Make(kIni, &fs);
  fs.FailAt(testfiles::FaultyFileSystem::Step::kSetMode);
  EXPECT_EQ(p->SetReadOnly(), frt::kCannotSave);
  EXPECT_TRUE(frt::IsOwnerWritable(Path()));
}

}  // namespace
}  // namespace proftest
