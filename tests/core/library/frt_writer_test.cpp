#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "library/frt_file.h"
#include "library/frt_test_file.h"
#include "temp_files.h"

namespace {

using frt_test::Add;
using frt_test::Key;

CFrtVariable Var(int unitType, int dataType, int unitCode, int options, int code) {
  CFrtVariable v;
  v.unitType = static_cast<std::uint8_t>(unitType);
  v.dataType = static_cast<std::uint8_t>(dataType);
  v.unitCode = static_cast<std::uint8_t>(unitCode);
  v.options = static_cast<std::uint8_t>(options);
  v.code = static_cast<std::uint16_t>(code);
  return v;
}

std::string Current(CFrtFile& f) {
  frt::StringOutStream out;
  EXPECT_EQ(f.WriteFrt(&out), frt::kOk);
  return out.str();
}

std::string LineOf(CFrtString* s) {
  CFrtFile f;
  frt::StringOutStream out;
  EXPECT_EQ(f.WriteStringLine(&out, s), frt::kOk);
  return out.str();
}

TEST(FrtWriterCurrent, EmptyFormatIsTheTwentyHeaderLines) {
  CFrtFile f;
  EXPECT_EQ(Current(f),
            "@t:FRT\r\n@i:Unknown\r\n@v:Unknown\r\n@a:Unknown\r\n@c:Unknown\r\n@d:Unknown\r\n"
            "@o:Unknown\r\n@l:Unknown\r\n%N\r\n#WR\r\n#LM\r\n#TC\r\n#PT\r\n"
            "&W1.000000000000\r\n&L1.000000000000\r\n&T1.000000000000\r\n&P1.000000000000\r\n"
            "@Dd0000000000000000\r\n@Df0000000000000000\r\n@Ds0000000000000000\r\n");
}

TEST(FrtWriterStringLine, Lines) {
  const struct {
    CFrtKey key;
    const char* text;
    std::vector<CFrtVariable> variables;
    std::vector<int> applications;
    const char* line;
  } cases[] = {
      {Key(1, 1, 11, 2),
       "%8.3f %s",
       {Var(2, 8, 21, 1, 23), Var(0, 11, 0, 1, 5)},
       {101, 104},
       "$1111002\"%8.3f %s\"208211023011001005;101104\r\n"},
      // Fields are padded to their widths; wider numbers are written whole.
      {Key(1, 7, 5, 7), "x", {Var(2, 8, 0, 1, 7)}, {}, "$1705007\"x\"208001007;\r\n"},
      {Key(1, 1, 123, 4567), "y", {}, {1000}, "$111234567\"y\";1000\r\n"},
      {Key(1, 4, 0, 0),
       "a\nb\"c\rd\x12",
       {},
       {},
       "$1400000\"a\x12"
       "b\x13"
       "c\x14"
       "d\x12\"\r\n"},
      // The ; and the applications depend on section and direction.
      {Key(1, 1, 10, 0), "t", {}, {}, "$1110000\"t\"\r\n"},
      {Key(1, 3, 0, 0), "t", {}, {7}, "$1300000\"t\";007\r\n"},
      // Fuzz finding: a saved format must open again, so section 3 always has its ';' and
      // section 2 never has one, even after variables.
      {Key(1, 3, 0, 0), "t", {}, {}, "$1300000\"t\";\r\n"},
      {Key(1, 2, 12, 0),
       "a",
       {Var(0, 11, 0, 1, 1), Var(2, 9, 21, 1, 51)},
       {},
       "$1212000\"a\"011001001209211051\r\n"},
      {Key(2, 1, 20, 1), "t", {}, {101}, "$2120001\"t\";\r\n"},
      {Key(2, 1, 20, 1), "t", {Var(1, 9, 11, 0, 999)}, {101}, "$2120001\"t\"109110999;\r\n"},
  };
  for (const auto& c : cases) {
    CFrtFile f;
    CFrtString* s = Add(f, c.key, c.text);
    for (const CFrtVariable& v : c.variables) s->AddVariable(v);
    for (int a : c.applications) s->AddApplication(a);
    EXPECT_EQ(LineOf(s), c.line);
  }
}

TEST(FrtWriterSave, WritesBinaryCrLfFiles) {
  CFrtFile f;
  Add(f, Key(1, 1, 10, 0), "a\nb");
  testfiles::TempDir dir;
  const std::string path = dir / "save.frt";
  ASSERT_EQ(f.Save(path.c_str(), CFrtFile::kCurrentVariant), frt::kOk);
  EXPECT_EQ(testfiles::ReadBytes(path), Current(f));
  frt::StringOutStream older;
  ASSERT_EQ(f.WriteFrtOrig(&older), frt::kOk);
  ASSERT_EQ(f.Save(path.c_str(), CFrtFile::kOlderVariant), frt::kOk);
  EXPECT_EQ(testfiles::ReadBytes(path), older.str());
  EXPECT_EQ(f.Save(path.c_str(), 3), frt::kUnknownType);  // an unknown variant: an empty file
  EXPECT_EQ(testfiles::ReadBytes(path), "");
}

TEST(FrtWriterOlder, FullLayoutWithEmptyLinesAndFallback) {
  CFrtFile f;
  f.SetName("Old");
  f.SetUnitCode({2, 'F'});
  f.SetUnitCode({1, 'G'});
  f.SetScale(2, 0.3048);
  f.SetScale(1, 2.5);
  f.SetScale(3, 9.0);  // the older variant has no temperature line
  CFrtString* m = Add(f, Key(1, 1, 10, 0), "m\"q");
  m->AddVariable(Var(2, 8, 21, 1, 5));
  m->AddVariable(Var(0, 11, 0, 1, 123));
  m->AddApplication(101);
  Add(f, Key(1, 7, 11, 0), "fallback of S");
  Add(f, Key(1, 1, 12, 3), "number 3 is not written");
  Add(f, Key(1, 2, 13, 0), "aux J");
  Add(f, Key(1, 3, 0, 0), "no application");
  CFrtString* a103 = Add(f, Key(1, 3, 0, 0), "app 103");
  a103->AddApplication(103);
  CFrtString* a101 = Add(f, Key(1, 3, 0, 0), "app 101");
  a101->AddApplication(101);
  Add(f, Key(2, 1, 14, 0), "import is not written");
  Add(f, Key(1, 4, 0, 0), "head\r\n");
  Add(f, Key(1, 4, 0, 0), "a second header is left out");
  frt::StringOutStream out;
  CFrtOlderReport report;
  ASSERT_EQ(f.WriteFrtOrig(&out, &report), frt::kOk);
  EXPECT_EQ(report.imports, 1);
  EXPECT_EQ(report.applications, 1);
  EXPECT_EQ(report.numbered, 1);
  EXPECT_EQ(report.further, 1);
  EXPECT_EQ(out.str(),
            "@frt_orig\r\n%NOld\r\n#LF\r\n#WG\r\n&L0.304800000000\r\n&W2.500000000000\r\n"
            "$M\"m\x13q\"005123\r\n$S\"fallback of S\"\r\n$O\"\"\r\n$C\"\"\r\n$J\"\"\r\n$F\"\"\r\n"
            "@_M\"\"\r\n@_S\"\"\r\n@_O\"\"\r\n@_C\"\"\r\n@_J\"aux J\"\r\n@_F\"\"\r\n"
            "@AF\"\"\r\n@AS\"app 101\"\r\n@AT\"\"\r\n@AA\"app 103\"\r\n"
            "@BA\"head\x14\x12\"\r\n@BE\"\"\r\n");
}

}  // namespace
