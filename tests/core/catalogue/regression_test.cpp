// Hostile sectioned files: the reader refuses a file over its size or line cap and keeps nothing
// of it, so neither a 100 MB line nor millions of lines take the memory of the machine.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "catalogue/ini_reader.h"
#include "temp_files.h"

namespace {

// Appends `count` copies of `chunk` to the file; its path.
std::string Append(const std::string& path, const std::string& chunk, std::size_t count = 1) {
  std::FILE* f = std::fopen(path.c_str(), "ab");
  EXPECT_NE(f, nullptr);
  for (std::size_t i = 0; i < count; ++i) std::fwrite(chunk.data(), 1, chunk.size(), f);
  std::fclose(f);
  return path;
}

TEST(IniReaderCaps, OversizedFilesAreRefusedWhole) {
  testfiles::TempDir dir;
  CIniReader reader;
  std::string v;
  // A hundred-megabyte line.
  const std::string line = Append(dir / "line.ini", "[FileHeader]\nComment=");
  EXPECT_FALSE(reader.Load(Append(line, std::string(1u << 20, 'x'), 100)));
  EXPECT_EQ(reader.SectionCount(), 0u);
  EXPECT_FALSE(reader.GetString("FileHeader", "Comment", v));
  // Exactly at the byte cap it loads; one byte more does not. Lines of 1,000 bytes keep the
  // line count far below its cap.
  const std::string head = "[S]\nk=";
  const std::size_t rest = CIniReader::kMaxFileBytes - head.size();
  const std::string chunk = std::string(999, 'v') + "\n";
  const std::string bytes = Append(dir / "bytes.ini", head);
  Append(bytes, chunk, rest / chunk.size());
  EXPECT_TRUE(reader.Load(Append(bytes, std::string(rest % chunk.size(), 'v'))));
  EXPECT_TRUE(reader.GetString("S", "k", v));
  EXPECT_FALSE(reader.Load(Append(bytes, "v")));
  EXPECT_EQ(reader.SectionCount(), 0u);
  // The header and the entries, each with its line end: exactly kMaxLines lines. The empty read
  // behind the last line end is kept in the section but is no line of the file.
  const std::string lines =
      Append(Append(dir / "lines.ini", "[S]\n"), "k=v\n", CIniReader::kMaxLines - 1);
  ASSERT_TRUE(reader.Load(lines));
  EXPECT_EQ(reader.FindSection("S")->size(), CIniReader::kMaxLines);
  EXPECT_FALSE(reader.Load(Append(lines, "k=v\n")));
  EXPECT_EQ(reader.SectionCount(), 0u);
  EXPECT_FALSE(
      reader.Load(Append(Append(dir / "empty.ini", "[S]\n"), "\n", 3 * CIniReader::kMaxLines)));
}

}  // namespace
