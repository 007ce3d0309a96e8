// Hostile pool files: a file far larger than any pool is refused (28) before it is read whole,
// and the file stays as it was.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <string>

#include "catalogue/temp_files.h"
#include "library/safe_file.h"
#include "pool/pool_test_util.h"
#include "pool/string_pool.h"

namespace {

using testfiles::TempDir;

TEST(PoolFileCaps, FileOverTheReadCapIsALoadErrorAndIsKept) {
  TempDir dir;
  const std::string path = dir / "pool.dat";
  // One good entry, then a hole past the cap: a real pool never gets near it. Read whole, the
  // file would load (bytes no entry count asks for are ignored).
  ASSERT_TRUE(testfiles::WriteBytes(path, pooltest::Image({pooltest::Raw("a", "x")})));
  ASSERT_EQ(::truncate(path.c_str(), frt::FileSystem::kMaxReadAll + 1), 0);
  {
    CStringPool pool(path);
    EXPECT_EQ(pool.Load(), frt::kLoadError);
    EXPECT_EQ(pool.IsModified(), 0);
  }
  std::FILE* f = std::fopen(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::fseek(f, 0, SEEK_END);
  EXPECT_EQ(static_cast<std::size_t>(std::ftell(f)), frt::FileSystem::kMaxReadAll + 1);
  std::fclose(f);
}

TEST(PoolFileCaps, FileAtTheReadCapIsRead) {
  TempDir dir;
  const std::string path = dir / "pool.dat";
  ASSERT_TRUE(testfiles::WriteBytes(path, pooltest::Image({pooltest::Raw("a", "x")})));
  ASSERT_EQ(::truncate(path.c_str(), frt::FileSystem::kMaxReadAll), 0);
  CStringPool pool(path);
  EXPECT_EQ(pool.Load(), frt::kOk);
  EXPECT_EQ(pool.EntryCount(), 1);
}

}  // namespace
