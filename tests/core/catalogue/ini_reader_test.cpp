#include "catalogue/ini_reader.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <sys/stat.h>

#include "temp_files.h"

namespace {

using testfiles::TempDir;
const std::string kLong = "a=" + std::string(CIniReader::kMaxLinePiece - 2, 'x');

class IniReaderTest : public ::testing::Test {
 protected:
  bool LoadText(const std::string& bytes) {
    EXPECT_TRUE(testfiles::WriteBytes(dir_ / "data.ini", bytes));
    return reader_.Load(dir_ / "data.ini");
  }
  std::string Str(const char* section, const char* key) {
    std::string v = "<absent>";
    reader_.GetString(section, key, v);
    return v;
  }
  std::size_t Lines(const char* section) {
    const CIniReader::Lines* l = reader_.FindSection(section);
    return l == nullptr ? 999 : l->size();
  }

  TempDir dir_;
  CIniReader reader_;
};

struct Lookup {
  const char* section;
  const char* key;
  std::string expected;
};
struct FileCase {
  std::string text;
  std::vector<Lookup> lookups;  // in order: the search starts at the last hit
  std::size_t linesOfFirst;     // lines kept for the first lookup's section
};

TEST_F(IniReaderTest, WhatALineIs) {
  const FileCase cases[] = {
      // Keys and values are not trimmed.
      {"[S]\nKey = value\nNum=5 \nEmpty=\n",
       {{"S", "Key", "<absent>"}, {"S", "Key ", " value"}, {"S", "Num", "5 "}, {"S", "Empty", ""}},
       4},
      // ';' and ' ' start comments, a tab starts an ordinary line; the final line end reads as
      // one empty line.
      {"[S]\n;A=1\n B=2\n\tC=3\nD=4 ; not a comment\n",
       {{"S", ";A", "<absent>"},
        {"S", " B", "<absent>"},
        {"S", "\tC", "3"},
        {"S", "D", "4 ; not a comment"}},
       3},
      // A header is the whole line as written.
      {"[Old]; was [New]\nO=3\n[ Pad ]\nP=2\n[Sec] ; c\nK=1\n",
       {{"Old", "O", "<absent>"},
        {"Old]; was [New", "O", "3"},
        {"Pad", "P", "<absent>"},
        {" Pad ", "P", "2"},
        {"Sec", "K", "<absent>"}},
       999},
      {"[Units]\nLinear=m\nlinear=ft\n[UNITS]\nLinear=km\n",
       {{"Units", "Linear", "m"},
        {"Units", "linear", "ft"},
        {"UNITS", "Linear", "km"},
        {"units", "Linear", "<absent>"},
        {"Units", "LINEAR", "<absent>"}},
       2},
      // The prefix searched for includes the '='.
      {"[S]\nName10=ten\nName1=one\nName=bare\nNameless\n",
       {{"S", "Name1", "one"}, {"S", "Name", "bare"}, {"S", "Nameless", "<absent>"}},
       5},
      {"[A]\nx=first\n[B]\ny=b\n[A]\nz=later\nx=second\n",
       {{"A", "x", "first"}, {"A", "z", "later"}},
       4},
      // CR before LF is dropped, anywhere else it is text.
      {"[S]\r\nA=1\r\nB=x\ry\r\nC=end\r",
       {{"S", "A", "1"}, {"S", "B", "x\ry"}, {"S", "C", "end\r"}},
       3},
      {"[S]\nA=1", {{"S", "A", "1"}}, 1},
      {"[A]\nk=1\n[B]", {{"B", "k", "<absent>"}}, 0},
      {std::string("[S]\nA=ab\0cd\nB=2\n", 17), {{"S", "A", "ab"}, {"S", "B", "2"}}, 3},
      // A line of exactly one piece is not split; one byte more starts a line of its own,
      // classified by its first byte.
      {"[S]\n" + kLong + "\nb=2\n", {{"S", "a", kLong.substr(2)}}, 3},
      {"[S]\r\n" + kLong + "\r\nb=2\r\n", {{"S", "b", "2"}}, 3},
      {"[S]\n" + kLong + "c=3\n" + kLong + "[T]\nt=4\n" + kLong + ";x=5\n",
       {{"S", "c", "3"}, {"T", "t", "4"}, {"T", ";x", "<absent>"}},
       999},
      {"[S]\n" + kLong, {{"S", "a", kLong.substr(2)}}, 1},
      {"[S]\n" + kLong + "yz", {{"S", "a", kLong.substr(2)}}, 2},
      // CR LF after 1021 bytes is the line end, not a piece of its own.
      {"[S]\r\n" + kLong.substr(0, kLong.size() - 1) + "\r\nb=2\r\n", {{"S", "b", "2"}}, 3},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 40));
    ASSERT_TRUE(LoadText(c.text));
    for (const Lookup& l : c.lookups) EXPECT_EQ(Str(l.section, l.key), l.expected) << l.key;
    if (c.linesOfFirst != 999) {
      EXPECT_EQ(Lines(c.lookups[0].section), c.linesOfFirst);
    }
  }
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

// Long sections are searched through an index; whatever the order of the keys and wherever
// the last hit was, it must find the line a scan from the last hit (wrapping round) finds.
TEST_F(IniReaderTest, AnyOrderFindsTheLineTheScanFinds) {
  const std::string keys[] = {"a", "b", "a=b", "ab", "", "k1", "k10", "a=b=", "none"};
  std::mt19937 rng(42);
  for (int round = 0; round < 40; ++round) {
    const std::string section = "S" + std::to_string(round);  // a new section: cursor at 0
    std::vector<std::string> lines;
    std::string text = "[" + section + "]\n";
    const std::size_t count = 1 + rng() % 150;
    for (std::size_t i = 0; i < count; ++i) {
      const std::string& key = keys[rng() % 7];
      lines.push_back(rng() % 8 == 0 ? key + std::to_string(i) : key + "=" + std::to_string(i));
      text += lines.back() + "\n";
    }
    lines.emplace_back();  // the empty read behind the last line end
    ASSERT_TRUE(LoadText(text));
    std::size_t last = 0;
    for (int q = 0; q < 300; ++q) {
      const std::string& key = keys[rng() % std::size(keys)];
      std::string expected = "<absent>";
      for (std::size_t k = 0, start = last; k < lines.size(); ++k) {
        const std::size_t i = (start + k) % lines.size();
        const std::string& line = lines[i];
        if (line.size() > key.size() && line[key.size()] == '=' && line.rfind(key, 0) == 0) {
          expected = line.substr(key.size() + 1);
          last = i;
          break;
        }
      }
      ASSERT_EQ(Str(section.c_str(), key.c_str()), expected) << section << " " << key;
    }
  }
}

TEST_F(IniReaderTest, TypedValues) {
  ASSERT_TRUE(
      LoadText("[N]\nd=1.5e3abc\nws= \t-2.25\nnone=abc\nhuge=1e300\nl=-12abc\nplus=+7\n"
               "big=99999999999999999999999\nfrac=-3.9\nhex=0x1A\nt=untrue!\nT=TRUE\none=1\n"));
  const auto dbl = [&](const char* k) {
    double d = 42;
    EXPECT_TRUE(reader_.GetDouble("N", k, d));
    return d;
  };
  const auto lng = [&](const char* k) {
    long l = 42;
    EXPECT_TRUE(reader_.GetLong("N", k, l));
    return l;
  };
  const auto bln = [&](const char* k) {
    bool b = false;
    EXPECT_TRUE(reader_.GetBool("N", k, b));
    return b;
  };
  EXPECT_DOUBLE_EQ(dbl("d"), 1500.0);
  EXPECT_DOUBLE_EQ(dbl("ws"), -2.25);
  EXPECT_EQ(dbl("none"), 0.0);
  float f = 0;
  EXPECT_TRUE(reader_.GetFloat("N", "huge", f));
  EXPECT_TRUE(std::isinf(f));
  EXPECT_EQ(lng("l"), -12);
  EXPECT_EQ(lng("plus"), 7);
  EXPECT_EQ(lng("big"), LONG_MAX);
  EXPECT_EQ(lng("hex"), 0);  // decimal only
  int i = 0;
  EXPECT_TRUE(reader_.GetInt("N", "frac", i));
  EXPECT_EQ(i, -3);
  EXPECT_TRUE(reader_.GetInt("N", "big", i));
  EXPECT_EQ(i, INT_MAX);
  // A bool is true when the value holds "true".
  EXPECT_TRUE(bln("t"));
  EXPECT_FALSE(bln("T"));
  EXPECT_FALSE(bln("one"));
  // A missing key leaves the output alone.
  std::string s = "keep";
  bool b = true;
  double d = 7.5;
  long l = 9;
  EXPECT_FALSE(reader_.GetString("N", "x", s));
  EXPECT_FALSE(reader_.GetBool("N", "x", b));
  EXPECT_FALSE(reader_.GetDouble("X", "d", d));
  EXPECT_FALSE(reader_.GetFloat("N", "x", f));
  EXPECT_FALSE(reader_.GetLong("N", "L", l));
  EXPECT_FALSE(reader_.GetInt("N", "x", i));
  EXPECT_TRUE(s == "keep" && b && d == 7.5 && l == 9 && i == INT_MAX);
}

TEST_F(IniReaderTest, DecimalPointWhateverTheLocale) {
  ASSERT_TRUE(LoadText("[N]\nd=2.5\nf=-0.125\n"));
  testfiles::CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma available";
  double d = 0;
  float f = 0;
  EXPECT_TRUE(reader_.GetDouble("N", "d", d));
  EXPECT_TRUE(reader_.GetFloat("N", "f", f));
  EXPECT_DOUBLE_EQ(d, 2.5);
  EXPECT_FLOAT_EQ(f, -0.125f);
}

}  // namespace
