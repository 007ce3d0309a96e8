#include "catalogue/ini_key_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "catalogue/ini_reader.h"
#include "catalogue/temp_files.h"
#include "library/faulty_file_system.h"

namespace {

using testfiles::FaultyFileSystem;
using testfiles::TempDir;

std::string Set(std::string text, const char* section, const char* key, const char* value) {
  EXPECT_EQ(frt::SetIniKeyInText(text, section, key, value), frt::kOk);
  return text;
}

// --- where the key goes

TEST(IniKeyText, ReplacesOnlyTheValueOfTheFirstKeyOfTheSection) {
  const std::string before =
      "; settings\n[A]\nSelected=1\n[B]\nSelected=2  \nOther=x\nSelected=3\n";
  EXPECT_EQ(Set(before, "B", "Selected", "7"),
            "; settings\n[A]\nSelected=1\n[B]\nSelected=7\nOther=x\nSelected=3\n");
  EXPECT_EQ(Set(before, "B", "Other", ""),
            "; settings\n[A]\nSelected=1\n[B]\nSelected=2  \nOther=\nSelected=3\n");
}

TEST(IniKeyText, KeyInAnotherSectionIsNotTouched) {
  const std::string before = "[A]\nKey=a\n\n[B]\nX=1\n\n\n[C]\nKey=c\n";
  EXPECT_EQ(Set(before, "B", "Key", "b"), "[A]\nKey=a\n\n[B]\nX=1\nKey=b\n\n\n[C]\nKey=c\n");
}

TEST(IniKeyText, MatchesKeysAsTheReaderDoes) {
  const std::string before = "[S]\nName10=ten\n Name1=comment\n;Name1=comment\nname1=lower\n";
  EXPECT_EQ(Set(before, "S", "Name1", "one"), before + "Name1=one\n");
  // A header with more after the brackets is another section.
  EXPECT_EQ(Set("[S] ; c\nK=1\n", "S", "K", "2"), "[S] ; c\nK=1\n[S]\nK=2\n");
  // Repeated headers are one section: the first key in file order is replaced.
  EXPECT_EQ(Set("[S]\nA=1\n[T]\n[S]\nK=old\n", "S", "K", "new"), "[S]\nA=1\n[T]\n[S]\nK=new\n");
}

TEST(IniKeyText, NewKeyGoesAfterTheLastFilledLineOfItsSection) {
  EXPECT_EQ(Set("[S]\n\n[T]\n", "S", "K", "v"), "[S]\nK=v\n\n[T]\n");
  EXPECT_EQ(Set("[S]\nA=1\n  \t\n\n[T]\nB=2\n", "S", "K", "v"),
            "[S]\nA=1\nK=v\n  \t\n\n[T]\nB=2\n");
  EXPECT_EQ(Set("[S]\nA=1\n;trailing note\n[T]\n", "S", "K", "v"),
            "[S]\nA=1\n;trailing note\nK=v\n[T]\n");
  // The first block of a repeated section takes it.
  EXPECT_EQ(Set("[S]\nA=1\n[T]\n[S]\nB=2\n", "S", "K", "v"), "[S]\nA=1\nK=v\n[T]\n[S]\nB=2\n");
  // Last section, file without a final line end: none is added after the new line.
  EXPECT_EQ(Set("[S]\nA=1", "S", "K", "v"), "[S]\nA=1\nK=v");
}

TEST(IniKeyText, NewSectionGoesAtTheEnd) {
  EXPECT_EQ(Set("[A]\nX=1\n", "LastActiveTemplate", "Template", "Kite_Basic"),
            "[A]\nX=1\n[LastActiveTemplate]\nTemplate=Kite_Basic\n");
  EXPECT_EQ(Set("[A]\nX=1", "B", "K", "v"), "[A]\nX=1\n[B]\nK=v\n");
  EXPECT_EQ(Set("", "B", "K", "v"), "[B]\nK=v\n");
}

TEST(IniKeyText, KeepsCarriageReturnLineEnds) {
  const std::string before = "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n";
  EXPECT_EQ(Set(before, "A", "X", "9"), "[A]\r\nX=9\r\n\r\n[B]\r\nY=2\r\n");
  EXPECT_EQ(Set(before, "A", "Z", "3"), "[A]\r\nX=1\r\nZ=3\r\n\r\n[B]\r\nY=2\r\n");
  EXPECT_EQ(Set(before, "C", "Z", "3"), before + "[C]\r\nZ=3\r\n");
  EXPECT_EQ(Set("[A]\r\nX=1", "A", "Z", "3"), "[A]\r\nX=1\r\nZ=3");
}

TEST(IniKeyText, RefusesWhatWouldNotReadBack) {
  const std::string before = "[A]\nX=1\n";
  for (const char* key : {"", "a\nb", "a\rb", ";k", " k", "[k"}) {
    std::string text = before;
    EXPECT_EQ(frt::SetIniKeyInText(text, "A", key, "v"), frt::kBadName) << key;
    EXPECT_EQ(text, before);
  }
  std::string text = before;
  EXPECT_EQ(frt::SetIniKeyInText(text, "A\n[B", "X", "v"), frt::kBadName);
  EXPECT_EQ(frt::SetIniKeyInText(text, "A", "X", "v\nY=2"), frt::kBadData);
  EXPECT_EQ(frt::SetIniKeyInText(text, "A", "X", std::string_view("v\0w", 3)), frt::kBadData);
  EXPECT_EQ(text, before);
}

TEST(IniKeyText, ReaderFindsWhatWasWritten) {
  TempDir dir;
  std::string text = "[FileHeader]\r\nType=FRT_INI\r\n\r\n[UNITS_Linear]\r\nSelected=1\r\n";
  text = Set(text, "UNITS_Linear", "Selected", "2");
  text = Set(text, "FLAGS", "Value1", "0");
  text = Set(text, "UNITS_Linear", "Unit3", "ft ");
  ASSERT_TRUE(testfiles::WriteBytes(dir / "QV.ini", text));
  CIniReader reader;
  ASSERT_TRUE(reader.Load(dir / "QV.ini"));
  std::string v;
  EXPECT_TRUE(reader.GetString("UNITS_Linear", "Selected", v));
  EXPECT_EQ(v, "2");
  EXPECT_TRUE(reader.GetString("UNITS_Linear", "Unit3", v));
  EXPECT_EQ(v, "ft ");
  EXPECT_TRUE(reader.GetString("FLAGS", "Value1", v));
  EXPECT_EQ(v, "0");
  EXPECT_TRUE(reader.GetString("FileHeader", "Type", v));
  EXPECT_EQ(v, "FRT_INI");
}

// --- on disk

TEST(IniKeyFile, WritesTheFileInPlace) {
  TempDir dir;
  const std::string path = dir / "QV.ini";
  ASSERT_TRUE(testfiles::WriteBytes(path, "[A]\r\nX=1\r\n[B]\r\nY=2\r\n"));
  ASSERT_EQ(frt::WriteIniKey(path, "B", "Y", "5"), frt::kOk);
  EXPECT_EQ(testfiles::ReadBytes(path), "[A]\r\nX=1\r\n[B]\r\nY=5\r\n");
  EXPECT_EQ(testfiles::List(dir.path()), std::vector<std::string>{"QV.ini"});
}

TEST(IniKeyFile, CreatesAMissingFile) {
  TempDir dir;
  ASSERT_EQ(frt::WriteIniKey(dir / "QV.ini", "LastActiveTemplate", "Instrument", "K1"), frt::kOk);
  EXPECT_EQ(testfiles::ReadBytes(dir / "QV.ini"), "[LastActiveTemplate]\nInstrument=K1\n");
  EXPECT_EQ(frt::WriteIniKey(dir / "no-dir/QV.ini", "S", "K", "v"), frt::kCannotSave);
}

TEST(IniKeyFile, ReadOnlyFileIsNotWritten) {
  TempDir dir;
  const std::string path = dir / "QV.ini";
  ASSERT_TRUE(testfiles::WriteBytes(path, "[A]\nX=1\n"));
  ASSERT_EQ(frt::SetOwnerWritable(path, false), frt::kOk);
  EXPECT_EQ(frt::WriteIniKey(path, "A", "X", "2"), frt::kCannotSave);
  ASSERT_EQ(frt::SetOwnerWritable(path, true), frt::kOk);
  EXPECT_EQ(frt::WriteIniKey(path, "A", "X", "2"), frt::kOk);
  EXPECT_EQ(testfiles::ReadBytes(path), "[A]\nX=2\n");
}

TEST(IniKeyFile, FailuresLeaveTheOldFileWhole) {
  using Step = FaultyFileSystem::Step;
  for (Step step :
       {Step::kRead, Step::kCreate, Step::kWrite, Step::kFlush, Step::kClose, Step::kRename}) {
    TempDir dir;
    const std::string path = dir / "QV.ini";
    const std::string old = "[A]\r\nX=1\r\n";
    ASSERT_TRUE(testfiles::WriteBytes(path, old));
    FaultyFileSystem fs;
    fs.FailAt(step);
    EXPECT_EQ(frt::WriteIniKey(path, "A", "X", "2", &fs), frt::kCannotSave)
        << static_cast<int>(step);
    EXPECT_EQ(testfiles::ReadBytes(path), old) << static_cast<int>(step);
    EXPECT_EQ(testfiles::List(dir.path()), std::vector<std::string>{"QV.ini"})
        << static_cast<int>(step);
  }
}

}  // namespace
