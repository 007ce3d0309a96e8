#include "catalogue/ini_reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include "catalogue/temp_files.h"

namespace {

using testfiles::TempDir;

class IniReaderTest : public ::testing::Test {
 protected:
  // Loads `bytes` as a file; returns Load's answer.
  bool LoadText(const std::string& bytes, const std::string& name = "data.ini") {
    EXPECT_TRUE(testfiles::WriteBytes(dir_ / name, bytes));
    return reader_.Load(dir_ / name);
  }
  std::string Str(const char* section, const char* key) {
    std::string v = "<absent>";
    reader_.GetString(section, key, v);
    return v;
  }

  TempDir dir_;
  CIniReader reader_;
};

// --- what a line is

TEST_F(IniReaderTest, ReadsAKeyOfASection) {
  ASSERT_TRUE(LoadText("[FileHeader]\nType=FRT_TPL\n"));
  EXPECT_EQ(Str("FileHeader", "Type"), "FRT_TPL");
  EXPECT_EQ(reader_.SectionCount(), 1u);
}

TEST_F(IniReaderTest, ValuesAndKeysAreNotTrimmed) {
  ASSERT_TRUE(LoadText("[S]\nKey = value\nNum=5 \nEmpty=\n"));
  EXPECT_EQ(Str("S", "Key"), "<absent>");
  EXPECT_EQ(Str("S", "Key "), " value");
  EXPECT_EQ(Str("S", "Num"), "5 ");
  long n = 0;
  EXPECT_TRUE(reader_.GetLong("S", "Num", n));
  EXPECT_EQ(n, 5);
  EXPECT_EQ(Str("S", "Empty"), "");
}

TEST_F(IniReaderTest, CommentsAreLinesStartingWithSemicolonOrSpace) {
  ASSERT_TRUE(LoadText("[S]\n;A=1\n B=2\n\tC=3\nD=4 ; not a comment\n"));
  EXPECT_EQ(Str("S", ";A"), "<absent>");
  EXPECT_EQ(Str("S", "A"), "<absent>");
  EXPECT_EQ(Str("S", "B"), "<absent>");
  EXPECT_EQ(Str("S", " B"), "<absent>");
  // A tab starts an ordinary line, stored whole.
  EXPECT_EQ(Str("S", "\tC"), "3");
  EXPECT_EQ(Str("S", "D"), "4 ; not a comment");
  ASSERT_NE(reader_.FindSection("S"), nullptr);
  EXPECT_EQ(reader_.FindSection("S")->size(), 3u);  // \tC, D, and the empty last read
}

TEST_F(IniReaderTest, HeaderIsTheWholeLineAsWritten) {
  ASSERT_TRUE(LoadText("[Sec] ; note\nK=1\n[Old]; was [New]\nO=3\n[ Pad ]\nP=2\n"));
  EXPECT_EQ(reader_.SectionCount(), 3u);
  EXPECT_EQ(Str("Sec", "K"), "<absent>");
  EXPECT_EQ(Str("Old", "O"), "<absent>");
  EXPECT_EQ(Str("Old]; was [New", "O"), "3");
  EXPECT_EQ(Str("Pad", "P"), "<absent>");
  EXPECT_EQ(Str(" Pad ", "P"), "2");
}

TEST_F(IniReaderTest, NamesAreCaseSensitive) {
  ASSERT_TRUE(LoadText("[Units]\nLinear=m\nlinear=ft\n[UNITS]\nLinear=km\n"));
  EXPECT_EQ(Str("Units", "Linear"), "m");
  EXPECT_EQ(Str("Units", "linear"), "ft");
  EXPECT_EQ(Str("UNITS", "Linear"), "km");
  EXPECT_EQ(Str("units", "Linear"), "<absent>");
  EXPECT_EQ(Str("Units", "LINEAR"), "<absent>");
}

TEST_F(IniReaderTest, PrefixIncludesTheEqualsSign) {
  ASSERT_TRUE(LoadText("[S]\nName10=ten\nName1=one\nName=bare\nNameless\n"));
  EXPECT_EQ(Str("S", "Name1"), "one");
  EXPECT_EQ(Str("S", "Name"), "bare");
  EXPECT_EQ(Str("S", "Nameless"), "<absent>");  // a line without '=' never matches
}

TEST_F(IniReaderTest, RepeatedHeaderAppendsToTheFirstSection) {
  ASSERT_TRUE(LoadText("[A]\nx=first\n[B]\ny=b\n[A]\nz=later\nx=second\n"));
  EXPECT_EQ(reader_.SectionCount(), 2u);
  EXPECT_EQ(Str("A", "z"), "later");
  CIniReader fresh;
  ASSERT_TRUE(fresh.Load(dir_ / "data.ini"));
  std::string v;
  ASSERT_TRUE(fresh.GetString("A", "x", v));
  EXPECT_EQ(v, "first");
}

// --- how the file is read

TEST_F(IniReaderTest, CarriageReturnBeforeLineFeedIsDropped) {
  ASSERT_TRUE(LoadText("[S]\r\nA=1\r\nB=x\ry\r\nC=end\r"));
  EXPECT_EQ(Str("S", "A"), "1");
  EXPECT_EQ(Str("S", "B"), "x\ry");
  EXPECT_EQ(Str("S", "C"), "end\r");  // a final CR without LF is text
}

TEST_F(IniReaderTest, FinalLineEndGivesOneEmptyLine) {
  ASSERT_TRUE(LoadText("[S]\nA=1\n"));
  const CIniReader::Lines* with = reader_.FindSection("S");
  ASSERT_NE(with, nullptr);
  ASSERT_EQ(with->size(), 2u);
  EXPECT_EQ((*with)[1], "");

  ASSERT_TRUE(LoadText("[S]\nA=1"));
  const CIniReader::Lines* without = reader_.FindSection("S");
  ASSERT_NE(without, nullptr);
  EXPECT_EQ(without->size(), 1u);
  EXPECT_EQ(Str("S", "A"), "1");
}

TEST_F(IniReaderTest, HeaderWithoutLineEndMakesAnEmptySection) {
  ASSERT_TRUE(LoadText("[A]\nk=1\n[B]"));
  ASSERT_NE(reader_.FindSection("B"), nullptr);
  EXPECT_TRUE(reader_.FindSection("B")->empty());
}

TEST_F(IniReaderTest, LongLineIsReadInPiecesAndTheRestIsTheNextLine) {
  const std::string exact = "a=" + std::string(CIniReader::kMaxLinePiece - 2, 'x');
  ASSERT_TRUE(LoadText("[S]\n" + exact + "\nb=2\n"));
  EXPECT_EQ(Str("S", "a"), exact.substr(2));
  EXPECT_EQ(reader_.FindSection("S")->size(), 3u);  // a, b, final empty: no extra split

  ASSERT_TRUE(LoadText("[S]\r\n" + exact + "\r\nb=2\r\n"));
  EXPECT_EQ(reader_.FindSection("S")->size(), 3u);

  // One byte more: the rest starts a line of its own and is classified by its first byte.
  ASSERT_TRUE(LoadText("[S]\n" + exact + "c=3\n" + exact + "[T]\nt=4\n" + exact + ";x=5\n"));
  EXPECT_EQ(Str("S", "a"), exact.substr(2));
  EXPECT_EQ(Str("S", "c"), "3");
  EXPECT_EQ(Str("T", "t"), "4");
  EXPECT_EQ(Str("T", ";x"), "<absent>");
  for (const std::string& line : *reader_.FindSection("T")) {
    EXPECT_LE(line.size(), CIniReader::kMaxLinePiece);
  }
}

TEST_F(IniReaderTest, LongLineAtTheEndOfTheFile) {
  const std::string exact = "a=" + std::string(CIniReader::kMaxLinePiece - 2, 'x');
  ASSERT_TRUE(LoadText("[S]\n" + exact));
  EXPECT_EQ(reader_.FindSection("S")->size(), 1u);
  ASSERT_TRUE(LoadText("[S]\n" + exact + "yz"));
  EXPECT_EQ(reader_.FindSection("S")->size(), 2u);
  EXPECT_EQ(reader_.FindSection("S")->back(), "yz");
}

TEST_F(IniReaderTest, CarriageReturnLineFeedCountsAsOneByte) {
  // The CR is the 1022nd byte: with its LF it is the line end, not a piece of its own.
  const std::string line = "a=" + std::string(CIniReader::kMaxLinePiece - 3, 'x');
  ASSERT_TRUE(LoadText("[S]\r\n" + line + "\r\nb=2\r\n"));
  EXPECT_EQ(Str("S", "a"), line.substr(2));
  EXPECT_EQ(reader_.FindSection("S")->size(), 3u);

  // A CR LF split across the reader's 64 KiB chunks (CR at offset 65535).
  const std::string big = "a=" + std::string(65535 - 5 - 2, 'y');
  ASSERT_TRUE(LoadText("[S]\r\n" + big + "\r\nb=2\r\n"));
  EXPECT_EQ(Str("S", "b"), "2");
  std::size_t total = 0;
  for (const std::string& piece : *reader_.FindSection("S")) {
    EXPECT_EQ(piece.find('\r'), std::string::npos);
    total += piece.size();
  }
  EXPECT_EQ(total, big.size() + 3);
}

TEST_F(IniReaderTest, NulEndsTheTextOfItsLine) {
  ASSERT_TRUE(LoadText(std::string("[S]\nA=ab\0cd\nB=2\n", 17)));
  EXPECT_EQ(Str("S", "A"), "ab");
  EXPECT_EQ(Str("S", "B"), "2");
}

TEST_F(IniReaderTest, BinaryJunkLoadsWithoutHarm) {
  std::mt19937 rng(1234);
  for (int round = 0; round < 20; ++round) {
    std::string junk = "[J]\n";
    const int size = 1 + static_cast<int>(rng() % 5000);
    for (int i = 0; i < size; ++i) junk.push_back(static_cast<char>(rng() & 0xFF));
    LoadText(junk);
    ASSERT_NE(reader_.FindSection("J"), nullptr);
    for (const std::string& line : *reader_.FindSection("J")) {
      EXPECT_LE(line.size(), CIniReader::kMaxLinePiece);
      EXPECT_EQ(line.find('\n'), std::string::npos);
      EXPECT_EQ(line.find('\0'), std::string::npos);
    }
    std::string v;
    reader_.GetString("J", "", v);
  }
}

// --- Load's answer

TEST_F(IniReaderTest, MissingFileLoadsAsEmpty) {
  ASSERT_TRUE(LoadText("[S]\nA=1\n"));
  EXPECT_TRUE(reader_.Load(dir_ / "no-such.ini"));
  EXPECT_EQ(reader_.SectionCount(), 0u);
  EXPECT_EQ(Str("S", "A"), "<absent>");
}

TEST_F(IniReaderTest, EntryBeforeTheFirstHeaderFailsTheLoad) {
  ASSERT_TRUE(LoadText("[Old]\nA=1\n"));
  EXPECT_FALSE(LoadText("A=1\n[S]\nB=2\n"));
  EXPECT_EQ(reader_.SectionCount(), 0u);  // emptied first, stopped before [S]
  EXPECT_FALSE(LoadText(""));
  EXPECT_FALSE(LoadText("\n[S]\nB=2\n"));
  EXPECT_EQ(Str("S", "B"), "<absent>");
  // Comments before the first header are fine.
  EXPECT_TRUE(LoadText("; heading\n  indented\n[S]\nB=2\n"));
  EXPECT_EQ(Str("S", "B"), "2");
}

// --- where the search starts

TEST_F(IniReaderTest, SearchStartsAtTheLastHitAndWrapsRound) {
  ASSERT_TRUE(LoadText("[S]\na=0\nk=first\nm=mid\nk=second\nz=end\n[T]\nk=t\n"));
  EXPECT_EQ(Str("S", "k"), "first");
  EXPECT_EQ(Str("S", "m"), "mid");
  EXPECT_EQ(Str("S", "k"), "second");  // first match after the last hit
  EXPECT_EQ(Str("S", "a"), "0");       // found by wrapping to the top
  EXPECT_EQ(Str("S", "k"), "first");
  EXPECT_EQ(Str("S", "z"), "end");
  EXPECT_EQ(Str("T", "k"), "t");  // another section starts at its top
  EXPECT_EQ(Str("S", "k"), "first");
  EXPECT_EQ(Str("S", "missing"), "<absent>");
  EXPECT_EQ(Str("S", "k"), "first");  // a miss moves nothing
}

TEST_F(IniReaderTest, LastPositionOutlivesAReload) {
  ASSERT_TRUE(LoadText("[S]\nk=1\nx=2\nk=3\n"));
  EXPECT_EQ(Str("S", "x"), "2");
  // The same section in the next file: the search goes on from the remembered line.
  ASSERT_TRUE(LoadText("[S]\nk=a\nx=b\nk=c\n"));
  EXPECT_EQ(Str("S", "k"), "c");
  // A remembered line beyond a shorter list starts from the top.
  ASSERT_TRUE(LoadText("[S]\nk=only\n"));
  EXPECT_EQ(Str("S", "k"), "only");
}

TEST_F(IniReaderTest, FindSectionSeesTheNewFileAfterALoad) {
  ASSERT_TRUE(LoadText("[S]\nk=1\n", "one.ini"));
  const CIniReader::Lines* first = reader_.FindSection("S");
  ASSERT_NE(first, nullptr);
  ASSERT_TRUE(LoadText("[T]\nk=2\n", "two.ini"));
  EXPECT_EQ(reader_.FindSection("S"), nullptr);
  ASSERT_TRUE(LoadText("[S]\nk=3\n", "three.ini"));
  EXPECT_EQ(Str("S", "k"), "3");
  reader_.Clear();
  EXPECT_EQ(reader_.FindSection("S"), nullptr);
  EXPECT_EQ(Str("S", "k"), "<absent>");
}

// --- typed values

TEST_F(IniReaderTest, BoolIsTrueWhenTheValueHoldsTrue) {
  ASSERT_TRUE(LoadText("[B]\na=true\nb=untrue!\nc=TRUE\nd=1\ne=\n"));
  bool v = false;
  EXPECT_TRUE(reader_.GetBool("B", "a", v));
  EXPECT_TRUE(v);
  v = false;
  EXPECT_TRUE(reader_.GetBool("B", "b", v));
  EXPECT_TRUE(v);
  for (const char* key : {"c", "d", "e"}) {
    v = true;
    EXPECT_TRUE(reader_.GetBool("B", key, v)) << key;
    EXPECT_FALSE(v) << key;
  }
}

TEST_F(IniReaderTest, NumbersTakeTheLeadingNumericPart) {
  ASSERT_TRUE(
      LoadText("[N]\nd=1.5e3abc\nws= \t-2.25\nnone=abc\nhuge=1e300\nl=-12abc\nplus=+7\n"
               "big=99999999999999999999999\nfrac=-3.9\nhex=0x1A\n"));
  double d = 0;
  EXPECT_TRUE(reader_.GetDouble("N", "d", d));
  EXPECT_DOUBLE_EQ(d, 1500.0);
  EXPECT_TRUE(reader_.GetDouble("N", "ws", d));
  EXPECT_DOUBLE_EQ(d, -2.25);
  d = 42;
  EXPECT_TRUE(reader_.GetDouble("N", "none", d));
  EXPECT_EQ(d, 0.0);

  float f = 0;
  EXPECT_TRUE(reader_.GetFloat("N", "d", f));
  EXPECT_FLOAT_EQ(f, 1500.0f);
  EXPECT_TRUE(reader_.GetFloat("N", "huge", f));
  EXPECT_TRUE(std::isinf(f));

  long l = 0;
  EXPECT_TRUE(reader_.GetLong("N", "l", l));
  EXPECT_EQ(l, -12);
  EXPECT_TRUE(reader_.GetLong("N", "plus", l));
  EXPECT_EQ(l, 7);
  EXPECT_TRUE(reader_.GetLong("N", "big", l));
  EXPECT_EQ(l, LONG_MAX);
  EXPECT_TRUE(reader_.GetLong("N", "hex", l));
  EXPECT_EQ(l, 0);  // decimal only
  EXPECT_TRUE(reader_.GetLong("N", "none", l));
  EXPECT_EQ(l, 0);

  int i = 0;
  EXPECT_TRUE(reader_.GetInt("N", "frac", i));
  EXPECT_EQ(i, -3);
  EXPECT_TRUE(reader_.GetInt("N", "big", i));
  EXPECT_EQ(i, INT_MAX);
}

TEST_F(IniReaderTest, MissingKeyLeavesTheOutputAlone) {
  ASSERT_TRUE(LoadText("[S]\nk=1\n"));
  std::string s = "keep";
  bool b = true;
  double d = 7.5;
  float f = 2.5f;
  long l = 9;
  int i = 3;
  EXPECT_FALSE(reader_.GetString("S", "x", s));
  EXPECT_FALSE(reader_.GetBool("S", "x", b));
  EXPECT_FALSE(reader_.GetDouble("X", "k", d));
  EXPECT_FALSE(reader_.GetFloat("S", "x", f));
  EXPECT_FALSE(reader_.GetLong("S", "K", l));
  EXPECT_FALSE(reader_.GetInt("S", "x", i));
  EXPECT_EQ(s, "keep");
  EXPECT_TRUE(b);
  EXPECT_EQ(d, 7.5);
  EXPECT_EQ(f, 2.5f);
  EXPECT_EQ(l, 9);
  EXPECT_EQ(i, 3);
}

// Switches LC_NUMERIC to a locale with a decimal comma for the test's lifetime; builds one with
// localedef in a scratch folder when none is installed.
class CommaLocale {
 public:
  CommaLocale() {
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8"}) {
      if (std::setlocale(LC_NUMERIC, name) != nullptr) return;
    }
    const std::string cmd =
        "localedef -i de_DE -f UTF-8 '" + (dir_ / "de_DE.UTF-8") + "' >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) return;
    ::setenv("LOCPATH", dir_.path().c_str(), 1);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) ::unsetenv("LOCPATH");
  }
  ~CommaLocale() {
    std::setlocale(LC_NUMERIC, "C");
    ::unsetenv("LOCPATH");
  }
  bool active() const { return std::strtod("2.5", nullptr) == 2.0; }

 private:
  TempDir dir_;
};

TEST_F(IniReaderTest, DecimalPointWhateverTheLocale) {
  ASSERT_TRUE(LoadText("[N]\nd=2.5\nf=-0.125\n"));
  CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma available";
  double d = 0;
  EXPECT_TRUE(reader_.GetDouble("N", "d", d));
  EXPECT_DOUBLE_EQ(d, 2.5);
  float f = 0;
  EXPECT_TRUE(reader_.GetFloat("N", "f", f));
  EXPECT_FLOAT_EQ(f, -0.125f);
}

}  // namespace
