#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "library/frt_file.h"
#include "temp_files.h"

namespace {

using Lines = std::vector<std::string>;

// A complete current-variant file, written by hand so that these tests do not lean on the writer.
// Its body lines are file lines 9 to 20.
Lines CurrentFile() {
  return {"@t:FRT",  "@i:TS30", "@v:1.0", "@a:Author", "@c:Company", "@d:Date", "@o:Note",
          "@l:Kite", "%NName",  "#WR",    "#LM",       "#TC",        "#PT",     "&W1.0",
          "&L0.5",   "&T1",     "&P2",    "@Ddint",    "@Dfflt",     "@Dsstr"};
}

Lines OlderFile() {
  return {"@frt_orig", "%NOld", "#LM", "#WR", "&L1.0", "&W1.0"};
}

Lines With(Lines lines, std::initializer_list<std::string> more) {
  lines.insert(lines.end(), more);
  return lines;
}

std::string Join(const Lines& lines, const char* eol = "\r\n") {
  std::string out;
  for (const auto& l : lines) out += l + eol;
  return out;
}

// A file in a scratch folder of its own.
class TempFile {
 public:
  explicit TempFile(const std::string& content) : path_(dir_ / "f.frt") {
    EXPECT_TRUE(testfiles::WriteBytes(path_, content));
  }
  const char* path() const { return path_.c_str(); }

 private:
  testfiles::TempDir dir_;
  std::string path_;
};

struct Outcome {
  frt::Result code;
  int line;
};

Outcome LoadText(CFrtFile& f, const std::string& content) {
  TempFile file(content);
  frt::Result r = f.Load(file.path(), 0, 0);
  return {r, f.LineNumber()};
}

Outcome LoadText(const std::string& content) {
  CFrtFile f;
  return LoadText(f, content);
}

struct Case {
  const char* what;
  std::string content;
  frt::Result code;
  int line;
};

void RunCases(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    Outcome o = LoadText(c.content);
    EXPECT_EQ(o.code, c.code) << c.what;
    EXPECT_EQ(o.line, c.line) << c.what;
  }
}

Lines Replace(Lines lines, std::size_t i, std::string line) {
  lines[i] = std::move(line);
  return lines;
}

Lines Erase(Lines lines, std::size_t i) {
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
  return lines;
}

// A current-variant file with one extra body line; that line is file line 21, numbered 20.
std::string Body(const std::string& line) {
  return Join(With(CurrentFile(), {line}));
}
constexpr int kExtraLine = 20;
constexpr int kLastLine = 19;  // the number of the last line of CurrentFile()

TEST(FrtReaderTypeLine, Cases) {
  RunCases({
      {"current", Join(CurrentFile()), frt::kOk, kLastLine},
      {"only six bytes compared", Join(Replace(CurrentFile(), 0, "@t:FRTX")), frt::kOk, kLastLine},
      {"older with a suffix", Join(Replace(OlderFile(), 0, "@frt_origin")), frt::kOk, 6},
      {"no @", Join(Replace(CurrentFile(), 0, "t:FRT")), frt::kBadFormatFile, 0},
      {"unknown type", Join(Replace(CurrentFile(), 0, "@t:FRU")), frt::kBadFormatFile, 0},
      {"short older type", Join(Replace(OlderFile(), 0, "@frt_ori")), frt::kBadFormatFile, 0},
      {"leading blank", Join(Replace(CurrentFile(), 0, " @t:FRT")), frt::kBadFormatFile, 0},
  });
}

TEST(FrtReaderHeader, EachWrongHeaderLineGives19) {
  const char* letters = "ivacdol";
  for (std::size_t i = 1; i <= 7; ++i) {
    // A failing @i line has not been counted yet; later lines fail after it was.
    const int line = i == 1 ? 6 : 7;
    Lines wrongLetter = Replace(CurrentFile(), i, "@x:value");
    Lines noAt = Replace(CurrentFile(), i, std::string(" ") + letters[i - 1] + ":value");
    RunCases({{"wrong letter", Join(wrongLetter), frt::kBadFormatFile, line},
              {"no @", Join(noAt), frt::kBadFormatFile, line}});
  }
}

TEST(FrtReaderHeader, ValuesAreStoredAndCutAtTheirCapacity) {
  CFrtFile f;
  Lines lines = CurrentFile();
  lines[1] = "@i:123456789ABC";
  lines[2] = "@v-12345678";  // the third character is not examined
  lines[3] = "@a:" + std::string(300, 'a');
  lines[6] = "@o:x\x12y\x15z\x13";
  lines[7] = "@l";
  ASSERT_EQ(LoadText(f, Join(lines)).code, frt::kOk);
  const CFrtHeader& h = f.Header();
  EXPECT_EQ(h.instrument.view(), "12345678");
  EXPECT_EQ(h.version.view(), "1234567");
  EXPECT_EQ(h.author.view(), std::string(199, 'a'));
  EXPECT_EQ(h.company.view(), "Company");
  EXPECT_EQ(h.comment.view(), "x\ry\nz\x13");
  EXPECT_EQ(h.templateName.view(), "");
}

TEST(FrtReaderHeader, CommentEscapesOnlyInTheFirst200BytesOfTheLine) {
  CFrtFile f;
  std::string comment = std::string(195, 'c') + "\x12\x12\x12\x15";  // line bytes 198 to 201
  ASSERT_EQ(LoadText(f, Join(Replace(CurrentFile(), 6, "@o:" + comment))).code, frt::kOk);
  EXPECT_EQ(f.Header().comment.view(), std::string(195, 'c') + "\r\r\x12\x15");
}

TEST(FrtReaderHeader, MissingHeaderLinesGive15) {
  Lines lines = CurrentFile();
  RunCases({
      {"type line only", Join({lines[0]}), frt::kBadHeader, 6},
      {"four header lines", Join(Lines(lines.begin(), lines.begin() + 4)), frt::kBadHeader, 7},
      {"no line end", "@t:FRT", frt::kBadHeader, 6},
  });
}

TEST(FrtReaderBody, DuplicateLinesGive19) {
  for (const char* line :
       {"%Nagain", "#WR", "#LM", "#TC", "#PT", "&W1", "&L1", "&T1", "&P1", "@Dd", "@Df", "@Ds"})
    RunCases({{line, Body(line), frt::kBadFormatFile, kExtraLine}});
}

TEST(FrtReaderBody, LineShapes) {
  RunCases({
      {"empty line", Body(""), frt::kOk, kExtraLine},
      {"blank line", Body(" \t "), frt::kOk, kExtraLine},
      {"comment", Body("// anything"), frt::kOk, kExtraLine},
      {"single slash", Body("/ x"), frt::kBadFormatFile, kExtraLine},
      {"unit letter", Body("#X R"), frt::kBadFormatFile, kExtraLine},
      {"scale letter", Body("&Q1.0"), frt::kBadFormatFile, kExtraLine},
      {"percent", Body("%Mname"), frt::kBadFormatFile, kExtraLine},
      {"default letter", Body("@Dx0"), frt::kBadFormatFile, kExtraLine},
      {"header line in body", Body("@i:TS30"), frt::kBadFormatFile, kExtraLine},
      {"other", Body("!"), frt::kBadFormatFile, kExtraLine},
  });
}

TEST(FrtReaderBody, ScaleLines) {
  const Lines base = CurrentFile();
  RunCases({
      {"no number", Join(Replace(base, 13, "&Wabc")), frt::kBadFormatFile, 13},
      {"nothing", Join(Replace(base, 13, "&W ")), frt::kBadFormatFile, 13},
      {"two signs", Join(Replace(base, 13, "&W--1")), frt::kBadFormatFile, 13},
      {"out of range", Join(Replace(base, 13, "&W1e999")), frt::kBadFormatFile, 13},
  });
  CFrtFile f;
  Lines lines = Replace(Replace(base, 13, "&W 1.0x"), 14, "&L\t-2.5e-3 trailing");
  lines[15] = "&T+4";
  ASSERT_EQ(LoadText(f, Join(lines)).code, frt::kOk);
  EXPECT_EQ(f.Scale(1), 1.0);
  EXPECT_EQ(f.Scale(2), -0.0025);
  EXPECT_EQ(f.Scale(3), 4.0);
  EXPECT_EQ(f.Scale(4), 2.0);
}

TEST(FrtReaderBody, UnitNameAndDefaultLines) {
  CFrtFile f;
  Lines lines = CurrentFile();
  lines[8] = "%N   spaced name ";
  lines[9] = "#W  G";
  lines[17] = "@Dd  keeps blanks";
  lines[18] = "  @Df" + std::string(250, 'f');
  ASSERT_EQ(LoadText(f, Join(lines)).code, frt::kOk);
  EXPECT_STREQ(f.Name(), "spaced name ");
  EXPECT_EQ(f.UnitCodeOf(1), 'G');
  EXPECT_EQ(f.UnitCodeOf(2), 'M');
  EXPECT_STREQ(f.DefaultString(1), "  keeps blanks");
  EXPECT_EQ(std::string(f.DefaultString(8)), std::string(199, 'f'));
  EXPECT_STREQ(f.DefaultString(11), "str");
}

TEST(FrtReaderStringLine, MalformedLines) {
  RunCases({
      {"text then quote", Body("$1111002\"a\"\""), frt::kBadFormatFile, kExtraLine},
      {"unit code outside its type", Body("$1111002\"a\"308251023"), frt::kBadFormatFile,
       kExtraLine},
      {"unit code 01 is fine", Body("$1111002\"a\"308011023"), frt::kOk, kExtraLine},
      {"section 3 without ;", Body("$1300000\"text\"101"), frt::kBadFormatFile, kExtraLine},
      {"section 3 with ;", Body("$1300000\"text\";101"), frt::kOk, kExtraLine},
      {"section 4 trailing", Body("$1400000\"h\";"), frt::kBadFormatFile, kExtraLine},
      {"section 5 trailing", Body("$1500000\"f\" "), frt::kBadFormatFile, kExtraLine},
      {"section 2 with ;", Body("$1211000\"aux\";"), frt::kBadFormatFile, kExtraLine},
      {"section 2 variables then ;", Body("$1211000\"aux\"208211023;"), frt::kBadFormatFile,
       kExtraLine},
      {"section 2 variables", Body("$1211000\"aux\"208211023"), frt::kOk, kExtraLine},
      {"letter in key", Body("$11x1002\"a\""), frt::kBadFormatFile, kExtraLine},
      {"short key", Body("$111100\"a\""), frt::kBadFormatFile, kExtraLine},
      {"no opening quote", Body("$1111002 a\""), frt::kBadFormatFile, kExtraLine},
      {"no closing quote", Body("$1111002\"abc"), frt::kBadFormatFile, kExtraLine},
      {"letter in variable", Body("$1111002\"a\"2082110x3"), frt::kBadFormatFile, kExtraLine},
      {"short variable", Body("$1111002\"a\"2082"), frt::kBadFormatFile, kExtraLine},
      {"letter in application", Body("$1111002\"a\";10x"), frt::kBadFormatFile, kExtraLine},
      {"short application", Body("$1111002\"a\";1010"), frt::kBadFormatFile, kExtraLine},
      {"application twice", Body("$1111002\"a\";101102101"), frt::kDuplicate, kExtraLine},
      {"blanks before the quote", Body("$1111002  \"a\";"), frt::kOk, kExtraLine},
  });
}

TEST(FrtReaderStringLine, FieldsAreStored) {
  CFrtFile f;
  ASSERT_EQ(LoadText(f, Body("$2705123\"a\x12"
                             "b\x13"
                             "c\x14"
                             "d\x15\"208211023011001005;101104"))
                .code,
            frt::kOk);
  ASSERT_EQ(f.StringCount(), 1);
  CFrtString* s = f.StringAt(0);
  EXPECT_EQ(s->key, (CFrtKey{2, 7, 5, 123}));
  EXPECT_EQ(s->TextView(), "a\nb\"c\rd\n");
  ASSERT_EQ(s->VariableCount(), 2);
  EXPECT_EQ(s->Variables()[0], (CFrtVariable{23, 2, 8, 21, 1}));
  EXPECT_EQ(s->Variables()[1], (CFrtVariable{5, 0, 11, 0, 1}));
  EXPECT_EQ(s->Applications(), (std::vector<std::uint16_t>{101, 104}));
}

TEST(FrtReaderStringLine, FullListGives2AndFailuresKeepWhatWasRead) {
  Lines lines = CurrentFile();
  for (int i = 0; i < 28; ++i) lines.push_back("$1110" + std::to_string(100 + i) + "\"s\"");
  CFrtFile f;
  Outcome o = LoadText(f, Join(lines));
  EXPECT_EQ(o.code, frt::kOutOfMemory);
  EXPECT_EQ(o.line, kLastLine + 28);
  EXPECT_EQ(f.StringCount(), 27);
  EXPECT_EQ(f.Scale(2), 0.5);
}

TEST(FrtReaderStringLine, OverlongTextIsCut) {
  CFrtFile f;
  ASSERT_EQ(LoadText(f, Body("$1110000\"" + std::string(2030, 't') + "\"")).code, frt::kOk);
  EXPECT_EQ(f.StringAt(0)->TextView(), std::string(1927, 't'));
}

TEST(FrtReaderCompleteness, EachMissingGroupGives28) {
  for (std::size_t i = 9; i < 20; ++i)
    RunCases({{CurrentFile()[i].c_str(), Join(Erase(CurrentFile(), i)), frt::kLoadError,
               kLastLine - 1}});
  RunCases({{"name is optional", Join(Erase(CurrentFile(), 8)), frt::kOk, kLastLine - 1}});
}

TEST(FrtReaderFiles, EmptyMissingAndNull) {
  CFrtFile f;
  TempFile empty("");
  EXPECT_EQ(f.Load(empty.path(), 0, 0), frt::kFatal);
  EXPECT_EQ(f.ReadHeader(empty.path(), 0, 0), frt::kFatal);
  testfiles::TempDir dir;
  EXPECT_EQ(f.Load(dir.path().c_str(), 0, 0), frt::kFatal);  // a directory
  const std::string pipe = dir / "pipe";
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  ::alarm(20);  // a reader that waits for a writer ends the test instead of hanging it
  EXPECT_EQ(f.ReadHeader(pipe.c_str(), 0, 0), frt::kFatal);
  EXPECT_EQ(f.Load(pipe.c_str(), 0, 0), frt::kFatal);
  ::alarm(0);
  EXPECT_EQ(f.Load("/nonexistent/file.frt", 0, 0), frt::kFileNotFound);
  EXPECT_EQ(f.ReadHeader("/nonexistent/file.frt", 0, 0), frt::kFileNotFound);
  EXPECT_EQ(f.Load(nullptr, 0, 0), frt::kNullPointer);
  EXPECT_EQ(f.ReadHeader(nullptr, 0, 0), frt::kNullPointer);
  EXPECT_EQ(f.LoadStream(nullptr, 0, 0), frt::kNullPointer);
  EXPECT_EQ(f.LineNumber(), 0);
}

TEST(FrtReaderFiles, LineEnds) {
  const std::string body = "$1110000\"s\"";
  for (const char* eol : {"\r\n", "\n"}) {
    CFrtFile f;
    ASSERT_EQ(LoadText(f, Join(With(CurrentFile(), {body}), eol)).code, frt::kOk) << eol;
    EXPECT_EQ(f.Header().instrument.view(), "TS30");
    EXPECT_EQ(f.UnitCodeOf(1), 'R');
    EXPECT_STREQ(f.DefaultString(11), "str");
    EXPECT_EQ(f.StringAt(0)->TextView(), "s");
  }
  // The last line needs no line end.
  std::string noEnd = Join(CurrentFile()) + body;
  EXPECT_EQ(LoadText(noEnd).code, frt::kOk);
}

TEST(FrtReaderFiles, LongLinesAreReadInPieces) {
  RunCases({
      // 2,047 bytes, then the line end alone: a second, empty piece.
      {"exact piece", Body("//" + std::string(2045, 'x')), frt::kOk, kExtraLine + 1},
      // The CR LF after 2,046 bytes is one line end, as an LF there would be.
      {"CR LF at the end of a piece", Body("//" + std::string(2044, 'x')), frt::kOk, kExtraLine},
      // A CR that no LF follows is text, and the byte behind it stays in the line.
      {"CR inside a line", Body("$1110000\"a\r\""), frt::kOk, kExtraLine},
      // The rest of the comment is not a comment any more.
      {"comment too long", Body("//" + std::string(2046, 'x')), frt::kBadFormatFile,
       kExtraLine + 1},
      {"string too long", Body("$1110000\"" + std::string(2100, 's') + "\""), frt::kBadFormatFile,
       kExtraLine},
      {"in the header", Join(Replace(CurrentFile(), 3, "@a:" + std::string(2100, 'a'))),
       frt::kBadFormatFile, 7},
  });
}

TEST(FrtReaderOlder, Lines) {
  auto older = [](const std::string& line) { return Join(With(OlderFile(), {line})); };
  RunCases({
      {"base", Join(OlderFile()), frt::kOk, 6},
      {"linear letter", Join(Replace(OlderFile(), 2, "#L Q")), frt::kBadFormatFile, 3},
      {"angular letter", Join(Replace(OlderFile(), 3, "#WM")), frt::kBadFormatFile, 4},
      {"no letter", Join(Replace(OlderFile(), 3, "#W")), frt::kBadFormatFile, 4},
      {"scale with a character", Join(Replace(OlderFile(), 5, "&W1.0x")), frt::kBadFormatFile, 6},
      {"second scale", older("&L2"), frt::kBadFormatFile, 7},
      {"temperature scale ignored", older("&C5"), frt::kOk, 7},
      {"pressure scale ignored", older("&P 7 x"), frt::kOk, 7},
      {"no temperature unit", older("#TC"), frt::kBadFormatFile, 7},
      {"no comments", older("// c"), frt::kBadFormatFile, 7},
      {"no defaults", older("@Dd0"), frt::kBadFormatFile, 7},
      {"block letter", older("$Q\"x\""), frt::kBadFormatFile, 7},
      {"short code", older("$M\"x\"00"), frt::kBadFormatFile, 7},
      {"aux block letter", older("@_Q\"x\""), frt::kBadFormatFile, 7},
      {"aux trailing", older("@_M\"x\"005"), frt::kBadFormatFile, 7},
      {"application letter", older("@AZ\"x\""), frt::kBadFormatFile, 7},
      {"header trailing", older("@BA\"x\";"), frt::kBadFormatFile, 7},
      {"other B", older("@BX\"x\""), frt::kBadFormatFile, 7},
      {"1,929 bytes after the quote", older("$M\"" + std::string(1928, 'm') + "\""), frt::kOk, 7},
      {"1,930 bytes after the quote", older("$M\"" + std::string(1926, 'm') + "\"123"),
       frt::kBadFormatFile, 7},
      {"missing scale", Join(Erase(OlderFile(), 5)), frt::kLoadError, 5},
      {"missing unit", Join(Erase(OlderFile(), 2)), frt::kLoadError, 5},
  });
}

TEST(FrtReaderOlder, StringsAndValuesAreStored) {
  CFrtFile f;
  Lines lines = Replace(Replace(OlderFile(), 2, "#L F"), 4, "&L 0.3048");
  lines.insert(lines.end(),
               {"$O\"o\x13\"005123", "@_J\"aux\"", "@AR\"app\"", "@BE\"foot\"", "@BA\"head\""});
  ASSERT_EQ(LoadText(f, Join(lines)).code, frt::kOk);
  EXPECT_STREQ(f.Name(), "Old");
  EXPECT_EQ(f.UnitCodeOf(2), 'F');
  EXPECT_EQ(f.Scale(2), 0.3048);
  ASSERT_EQ(f.StringCount(), 5);
  CFrtString* s = f.StringAt(0);
  EXPECT_EQ(s->key, (CFrtKey{1, 1, 19, 0}));
  EXPECT_EQ(s->TextView(), "o\"");
  CFrtVariable v5;
  v5.code = 5;
  CFrtVariable v123;
  v123.code = 123;
  EXPECT_EQ(s->Variables(), (std::vector<CFrtVariable>{v5, v123}));
  EXPECT_EQ(f.StringAt(1)->key, (CFrtKey{1, 2, 13, 0}));
  EXPECT_EQ(f.StringAt(2)->key, (CFrtKey{1, 3, 0, 0}));
  EXPECT_EQ(f.StringAt(2)->Applications(), (std::vector<std::uint16_t>{106}));
  EXPECT_EQ(f.StringAt(3)->key, (CFrtKey{1, 5, 0, 0}));
  EXPECT_EQ(f.StringAt(4)->key, (CFrtKey{1, 4, 0, 0}));
}

TEST(FrtReaderHeaderThenLoad, LoadSkipsTheHeaderLines) {
  TempFile file(Join(With(CurrentFile(), {"$1110000\"s\""})));
  CFrtFile f;
  ASSERT_EQ(f.ReadHeader(file.path(), 0, 1), frt::kOk);
  EXPECT_EQ(f.HeaderRead(), 1);
  EXPECT_EQ(f.LineNumber(), 7);
  EXPECT_EQ(f.Header().templateName.view(), "Kite");
  EXPECT_EQ(f.StringCount(), 0);
  f.SetInstrument("changed");  // Load must not read the header again
  ASSERT_EQ(f.Load(file.path(), 0, 0), frt::kOk);
  EXPECT_EQ(f.Header().instrument.view(), "changed");
  EXPECT_EQ(f.StringCount(), 1);
  EXPECT_EQ(f.LineNumber(), kExtraLine);
}

TEST(FrtReaderHeaderThenLoad, CheckOnlyAndRequireCurrent) {
  TempFile current(Join(CurrentFile()));
  TempFile older(Join(OlderFile()));
  CFrtFile checked;
  ASSERT_EQ(checked.ReadHeader(current.path(), 1, 1), frt::kOk);
  EXPECT_EQ(checked.Header(), CFrtHeader{});
  CFrtFile refused;
  EXPECT_EQ(refused.ReadHeader(older.path(), 0, 1), frt::kBadFormatFile);
  EXPECT_EQ(refused.HeaderRead(), 0);
  EXPECT_EQ(refused.LineNumber(), 1);
  CFrtFile accepted;
  ASSERT_EQ(accepted.ReadHeader(older.path(), 0, 0), frt::kOk);
  ASSERT_EQ(accepted.Load(older.path(), 0, 0), frt::kOk);
  EXPECT_STREQ(accepted.Name(), "Old");
  CFrtFile loadRefused;
  EXPECT_EQ(loadRefused.Load(older.path(), 0, 1), frt::kBadFormatFile);
}

TEST(FrtReaderHeaderThenLoad, SkippedLinesMustBeHeaderLines) {
  TempFile good(Join(CurrentFile()));
  const Lines all = CurrentFile();
  TempFile shortFile(Join(Lines(all.begin(), all.begin() + 5)));
  TempFile noAt(Join(Replace(CurrentFile(), 4, "c:Company")));
  const std::pair<const TempFile*, frt::Result> cases[] = {{&shortFile, frt::kBadHeader},
                                                           {&noAt, frt::kBadFormatFile}};
  for (const auto& [file, code] : cases) {
    CFrtFile f;
    ASSERT_EQ(f.ReadHeader(good.path(), 0, 1), frt::kOk);
    EXPECT_EQ(f.Load(file->path(), 0, 0), code);
  }
}

}  // namespace
