// Hostile sectioned files: the reader refuses a file over its size or line cap and keeps nothing
// of it, so neither a 100 MB line nor millions of lines take the memory of the machine.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "catalogue/ini_reader.h"
#include "catalogue/temp_files.h"

namespace {

using testfiles::TempDir;

// A file of `head` followed by `count` copies of `chunk`, written piece by piece.
std::string WriteRepeated(const TempDir& dir, const std::string& head, const std::string& chunk,
                          std::size_t count) {
  const std::string path = dir / "big.ini";
  std::FILE* f = std::fopen(path.c_str(), "wb");
  EXPECT_NE(f, nullptr);
  std::fwrite(head.data(), 1, head.size(), f);
  for (std::size_t i = 0; i < count; ++i) std::fwrite(chunk.data(), 1, chunk.size(), f);
  std::fclose(f);
  return path;
}

TEST(IniReaderCaps, HundredMegabyteLineIsRefused) {
  TempDir dir;
  const std::string mb(1u << 20, 'x');
  CIniReader reader;
  EXPECT_FALSE(reader.Load(WriteRepeated(dir, "[FileHeader]\nComment=", mb, 100)));
  EXPECT_EQ(reader.SectionCount(), 0u);
  std::string v;
  EXPECT_FALSE(reader.GetString("FileHeader", "Comment", v));
}

TEST(IniReaderCaps, FileAtTheByteCapStillLoads) {
  TempDir dir;
  const std::string head = "[S]\nk=";
  const std::size_t rest = CIniReader::kMaxFileBytes - head.size();
  // Lines of 1,000 bytes keep the line count far below its cap.
  std::string chunk(999, 'v');
  chunk += '\n';
  CIniReader reader;
  std::string path = WriteRepeated(dir, head, chunk, rest / chunk.size());
  {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    const std::string tail(rest % chunk.size(), 'v');
    std::fwrite(tail.data(), 1, tail.size(), f);
    std::fclose(f);
  }
  EXPECT_TRUE(reader.Load(path));
  std::string v;
  EXPECT_TRUE(reader.GetString("S", "k", v));
  {
    std::FILE* f = std::fopen(path.c_str(), "ab");
    std::fputc('v', f);
    std::fclose(f);
  }
  EXPECT_FALSE(reader.Load(path));
  EXPECT_EQ(reader.SectionCount(), 0u);
}

TEST(IniReaderCaps, MillionsOfLinesAreRefusedAtTheLineCap) {
  TempDir dir;
  CIniReader reader;
  // The header, the entries and the empty read at the end: exactly kMaxLines lines.
  const std::string path = WriteRepeated(dir, "[S]\n", "k=v\n", CIniReader::kMaxLines - 2);
  EXPECT_TRUE(reader.Load(path));
  EXPECT_EQ(reader.FindSection("S")->size(), CIniReader::kMaxLines - 1);
  EXPECT_FALSE(reader.Load(WriteRepeated(dir, "[S]\n", "k=v\n", CIniReader::kMaxLines - 1)));
  EXPECT_EQ(reader.SectionCount(), 0u);
  EXPECT_FALSE(reader.Load(WriteRepeated(dir, "[S]\n", "\n", 3 * CIniReader::kMaxLines)));
}

}  // namespace
