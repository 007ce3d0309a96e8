// Hostile .frt input: files far larger than any real format are read in bounded memory and end
// with the result a small file of the same start gives. And what the fuzz targets caught.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "library/fixed_text.h"
#include "library/frt_file.h"
#include "library/frt_stream.h"

namespace {

// A read-only C stream that produces `head` and then `line` over and over until `total` bytes
// were produced, without ever holding more than one line.
class GeneratedStream {
 public:
  GeneratedStream(std::string head, std::string line, std::size_t total)
      : head_(std::move(head)), line_(std::move(line)), total_(total) {
    cookie_io_functions_t io{};
    io.read = [](void* c, char* buf, std::size_t size) -> ssize_t {
      return static_cast<ssize_t>(static_cast<GeneratedStream*>(c)->Produce(buf, size));
    };
    file_ = fopencookie(this, "r", io);
    std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
  }
  ~GeneratedStream() { std::fclose(file_); }
  std::FILE* get() const { return file_; }
  std::size_t produced() const { return produced_; }

 private:
  std::size_t Produce(char* buf, std::size_t size) {
    std::size_t n = 0;
    while (n < size && produced_ < total_) {
      const std::string& src = produced_ < head_.size() ? head_ : line_;
      const std::size_t at =
          produced_ < head_.size() ? produced_ : (produced_ - head_.size()) % line_.size();
      std::size_t k = src.size() - at;
      if (k > size - n) k = size - n;
      if (k > total_ - produced_) k = total_ - produced_;
      std::memcpy(buf + n, src.data() + at, k);
      n += k;
      produced_ += k;
    }
    return n;
  }

  std::string head_;
  std::string line_;
  std::size_t total_;
  std::size_t produced_ = 0;
  std::FILE* file_ = nullptr;
};

constexpr std::size_t k200MB = 200u << 20;

const std::string kHead =
    "@t:FRT\n@i:TS\n@v:1\n@a:a\n@c:c\n@d:d\n@o:o\n@l:Kite_Basic\n"
    "#WG\n#LM\n#TC\n#PB\n&W1\n&L1\n&T1\n&P1\n@Dd-9\n@Df-9.9\n@Ds--\n";

struct Outcome {
  frt::Result result;
  int line;
  int strings;
};

Outcome LoadGenerated(const std::string& line, std::size_t total, std::size_t* produced = nullptr) {
  GeneratedStream stream(kHead, line, total);
  CFrtFile f;
  const frt::Result r = f.LoadStream(stream.get(), 0, 0);
  if (produced) *produced = stream.produced();
  return {r, f.LineNumber(), f.StringCount()};
}

TEST(FrtHugeFile, StringLinesStopAtTheFullListWithoutReadingOn) {
  const std::string line = "$1110000\"%d\"204000001\n";
  std::size_t produced = 0;
  const Outcome huge = LoadGenerated(line, k200MB, &produced);
  EXPECT_EQ(huge.result, frt::kOutOfMemory);
  EXPECT_EQ(huge.strings, CFrtFile::kDefaultCapacity);
  EXPECT_LT(produced, 1u << 20);
  // The same as a file that holds only the first lines.
  const Outcome small = LoadGenerated(line, kHead.size() + 40 * line.size());
  EXPECT_EQ(huge.result, small.result);
  EXPECT_EQ(huge.line, small.line);
}

TEST(FrtHugeFile, CommentLinesAreReadToTheEndInConstantMemory) {
  const Outcome huge = LoadGenerated("// " + std::string(77, 'c') + "\r\n", k200MB);
  EXPECT_EQ(huge.result, frt::kOk);
  EXPECT_EQ(huge.strings, 0);
}

TEST(FrtHugeFile, OneHugeLineIsRefusedAtItsSecondPiece) {
  // A comment line without line end: the second 2,047-byte piece is read as a line of its own,
  // and 'c' begins no body line.
  const std::string comment = "//" + std::string(4094, 'c');
  const Outcome huge = LoadGenerated(comment, k200MB);
  EXPECT_EQ(huge.result, frt::kBadFormatFile);
  const Outcome small = LoadGenerated(comment, kHead.size() + 5000);
  EXPECT_EQ(huge.line, small.line);
  EXPECT_EQ(huge.line, LoadGenerated("// c\n", kHead.size()).line + 2);
}

// Caught by the document and .frt targets: the writer left out a ';' the reader requires (a
// section-3 string without applications) and wrote one it refuses (a section-2 string with
// variables), so a saved format did not open again.
TEST(FrtFuzzFindings, SavedStringsOfEverySectionOpenAgain) {
  CFrtFile f;
  CFrtString* aux = nullptr;
  CFrtString* application = nullptr;
  ASSERT_EQ(f.AddString(CFrtKey{1, 2, 12, 0}, aux), frt::kOk);
  aux->SetText("%-10s%8.3f");
  aux->AddVariable(CFrtVariable{1, 0, 11, 0, 1});
  aux->AddVariable(CFrtVariable{51, 2, 9, 21, 1});
  ASSERT_EQ(f.AddString(CFrtKey{1, 3, 0, 0}, application), frt::kOk);
  application->SetText("== app ==");
  frt::StringOutStream out;
  ASSERT_EQ(f.WriteFrt(&out), frt::kOk);
  EXPECT_NE(out.str().find("\"%-10s%8.3f\"011001001209211051\r\n"), std::string::npos);
  EXPECT_NE(out.str().find("\"== app ==\";\r\n"), std::string::npos);

  std::string bytes = out.str();
  std::FILE* s = fmemopen(bytes.data(), bytes.size(), "rb");
  CFrtFile back;
  EXPECT_EQ(back.LoadStream(s, 0, 0), frt::kOk);
  std::fclose(s);
  ASSERT_EQ(back.StringCount(), 2);
  EXPECT_EQ(back.StringAt(0)->Variables(), aux->Variables());
  EXPECT_EQ(back.StringAt(1)->TextView(), "== app ==");
}

// Caught by the sanitizer build: an empty text without data (a default string_view, as the
// document passes for an emptied string) reached memchr as a null pointer.
TEST(FrtFuzzFindings, TextWithoutDataAssignsEmpty) {
  frt::FixedText<8> text("abc");
  text.assign(std::string_view{});
  EXPECT_TRUE(text.empty());
  CFrtString s;
  s.SetText("x");
  s.SetText(std::string_view{});
  EXPECT_FALSE(s.IsPresent());
}

}  // namespace
