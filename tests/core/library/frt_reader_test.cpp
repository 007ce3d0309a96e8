#include <gtest/gtest.h>

#include <sys/stat.h>
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

}  // namespace
