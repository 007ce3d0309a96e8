// Hostile .frt input, and what the fuzz targets and the sanitizer build caught.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "library/fixed_text.h"
#include "library/frt_file.h"

namespace {

// A list that is full ends the load at once: the rest of a huge file is not read.
TEST(FrtHugeFile, StringLinesStopAtTheFullListWithoutReadingOn) {
  std::string bytes =
      "@t:FRT\n@i:TS\n@v:1\n@a:a\n@c:c\n@d:d\n@o:o\n@l:Kite_Basic\n"
      "#WG\n#LM\n#TC\n#PB\n&W1\n&L1\n&T1\n&P1\n@Dd-9\n@Df-9.9\n@Ds--\n";
  while (bytes.size() < (8u << 20)) bytes += "$1110000\"%d\"204000001\n";
  std::FILE* in = fmemopen(bytes.data(), bytes.size(), "rb");
  ASSERT_NE(in, nullptr);
  CFrtFile f;
  EXPECT_EQ(f.LoadStream(in, 0, 0), frt::kOutOfMemory);
  EXPECT_LT(std::ftell(in), 1L << 20);
  std::fclose(in);
  EXPECT_EQ(f.StringCount(), CFrtFile::kDefaultCapacity);
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
