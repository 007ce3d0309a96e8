#include "catalogue/ini_key_writer.h"

#include <gtest/gtest.h>

#include <string>

#include "catalogue/ini_reader.h"
#include "temp_files.h"
#include "library/faulty_file_system.h"

namespace {

using testfiles::FaultyFileSystem;
using testfiles::TempDir;

TEST(IniKeyText, WhereTheKeyGoes) {
  struct Case {
    std::string before;
    const char* section;
    const char* key;
    const char* value;
    std::string after;
  };
  const std::string two = "; c\n[A]\nSel=1\n[B]\nSel=2  \nOther=x\nSel=3\n";
  const std::string crlf = "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n";
  const Case cases[] = {
      // Existing key: only the value of the first one of the section is replaced.
      {two, "B", "Sel", "7", "; c\n[A]\nSel=1\n[B]\nSel=7\nOther=x\nSel=3\n"},
      {two, "B", "Other", "", "; c\n[A]\nSel=1\n[B]\nSel=2  \nOther=\nSel=3\n"},
      {"[S]\nA=1\n[T]\n[S]\nK=old\n", "S", "K", "new", "[S]\nA=1\n[T]\n[S]\nK=new\n"},
      {crlf, "A", "X", "9", "[A]\r\nX=9\r\n\r\n[B]\r\nY=2\r\n"},
      // Keys match as the reader matches them; a header with more after it is another section.
      {"[S]\nName10=t\n Name1=c\n;Name1=c\nname1=l\n", "S", "Name1", "1",
       "[S]\nName10=t\n Name1=c\n;Name1=c\nname1=l\nName1=1\n"},
      {"[S] ; c\nK=1\n", "S", "K", "2", "[S] ; c\nK=1\n[S]\nK=2\n"},
      // New key: after the last filled line of the first block of its section; elsewhere
      // nothing moves.
      {"[A]\nKey=a\n\n[B]\nX=1\n\n\n[C]\nKey=c\n", "B", "Key", "b",
       "[A]\nKey=a\n\n[B]\nX=1\nKey=b\n\n\n[C]\nKey=c\n"},
      {"[S]\n\n[T]\n", "S", "K", "v", "[S]\nK=v\n\n[T]\n"},
      {"[S]\nA=1\n  \t\n\n[T]\n", "S", "K", "v", "[S]\nA=1\nK=v\n  \t\n\n[T]\n"},
      {"[S]\nA=1\n;note\n[T]\n", "S", "K", "v", "[S]\nA=1\n;note\nK=v\n[T]\n"},
      {"[S]\nA=1\n[T]\n[S]\nB=2\n", "S", "K", "v", "[S]\nA=1\nK=v\n[T]\n[S]\nB=2\n"},
      {"[S]\nA=1", "S", "K", "v", "[S]\nA=1\nK=v"},
      {crlf, "A", "Z", "3", "[A]\r\nX=1\r\nZ=3\r\n\r\n[B]\r\nY=2\r\n"},
      {"[A]\r\nX=1", "A", "Z", "3", "[A]\r\nX=1\r\nZ=3"},
      // New section: at the end.
      {"[A]\nX=1\n", "Last", "T", "K", "[A]\nX=1\n[Last]\nT=K\n"},
      {"[A]\nX=1", "B", "K", "v", "[A]\nX=1\n[B]\nK=v\n"},
      {"", "B", "K", "v", "[B]\nK=v\n"},
      {crlf, "C", "Z", "3", crlf + "[C]\r\nZ=3\r\n"},
  };
  for (const Case& c : cases) {
    std::string text = c.before;
    EXPECT_EQ(frt::SetIniKeyInText(text, c.section, c.key, c.value), frt::kOk);
    EXPECT_EQ(text, c.after) << c.before;
  }
}

TEST(IniKeyText, RefusesWhatWouldNotReadBack) {
  const std::string before = "[A]\nX=1\n";
  std::string text = before;
  for (const char* key : {"", "a\nb", "a\rb", "\nk", ";k", " k", "[k"})
    EXPECT_EQ(frt::SetIniKeyInText(text, "A", key, "v"), frt::kBadName) << key;
  EXPECT_EQ(frt::SetIniKeyInText(text, "A\n[B", "X", "v"), frt::kBadName);
  EXPECT_EQ(frt::SetIniKeyInText(text, "A", "X", "v\nY=2"), frt::kBadData);
  EXPECT_EQ(frt::SetIniKeyInText(text, "A", "X", std::string_view("v\0w", 3)), frt::kBadData);
  EXPECT_EQ(text, before);
}

TEST(IniKeyFile, WritesInPlaceAndTheReaderFindsIt) {
  TempDir dir;
  const std::string path = dir / "QV.ini";
  ASSERT_TRUE(testfiles::WriteBytes(path, "[A]\r\nX=1\r\n[B]\r\nY=2\r\n"));
  ASSERT_EQ(frt::WriteIniKey(path, "B", "Y", "5"), frt::kOk);
  ASSERT_EQ(frt::WriteIniKey(path, "B", "Unit3", "ft "), frt::kOk);
  EXPECT_EQ(testfiles::ReadBytes(path), "[A]\r\nX=1\r\n[B]\r\nY=5\r\nUnit3=ft \r\n");
  EXPECT_EQ(testfiles::List(dir.path()), std::vector<std::string>{"QV.ini"});
  CIniReader reader;
  ASSERT_TRUE(reader.Load(path));
  std::string v;
  EXPECT_TRUE(reader.GetString("B", "Unit3", v));
  EXPECT_EQ(v, "ft ");
  // A missing file is created; a missing folder is not.
  ASSERT_EQ(frt::WriteIniKey(dir / "new.ini", "Last", "Instrument", "K1"), frt::kOk);
  EXPECT_EQ(testfiles::ReadBytes(dir / "new.ini"), "[Last]\nInstrument=K1\n");
  EXPECT_EQ(frt::WriteIniKey(dir / "no-dir/QV.ini", "S", "K", "v"), frt::kCannotSave);
}

TEST(IniKeyFile, FailuresLeaveTheOldFileWhole) {
  TempDir dir;
  const std::string path = dir / "QV.ini";
  const std::string old = "[A]\r\nX=1\r\n";
  ASSERT_TRUE(testfiles::WriteBytes(path, old));
  ASSERT_EQ(frt::SetOwnerWritable(path, false), frt::kOk);
  EXPECT_EQ(frt::WriteIniKey(path, "A", "X", "2"), frt::kCannotSave);
  EXPECT_EQ(testfiles::ReadBytes(path), old);
  ASSERT_EQ(frt::SetOwnerWritable(path, true), frt::kOk);
  using Step = FaultyFileSystem::Step;
  for (Step step :
       {Step::kRead, Step::kCreate, Step::kWrite, Step::kFlush, Step::kClose, Step::kRename}) {
    SCOPED_TRACE(static_cast<int>(step));
    FaultyFileSystem fs;
    fs.FailAt(step);
    EXPECT_EQ(frt::WriteIniKey(path, "A", "X", "2", &fs), frt::kCannotSave);
    EXPECT_EQ(testfiles::ReadBytes(path), old);
    EXPECT_EQ(testfiles::List(dir.path()), std::vector<std::string>{"QV.ini"});
  }
}

}  // namespace
