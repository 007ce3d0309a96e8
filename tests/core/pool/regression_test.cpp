// Hostile pool files: a file far larger than any pool is refused (28) before it is read whole,
// and the file stays as it was.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "library/safe_file.h"
#include "pool/pool_test_util.h"
#include "pool/string_pool.h"
#include "temp_files.h"

namespace {

using testfiles::TempDir;

// One good entry, then a hole up to the size: a real pool never gets near the cap. Read whole,
// both files would load (bytes no entry count asks for are ignored).
TEST(PoolFileCaps, FilesOverTheReadCapAreALoadErrorAndAreKept) {
  const struct {
    std::uintmax_t size;
    frt::Result load;
    int entries;
  } cases[] = {
      {frt::FileSystem::kMaxReadAll, frt::kOk, 1},
      {frt::FileSystem::kMaxReadAll + 1, frt::kLoadError, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    TempDir dir;
    const std::string path = dir / "pool.dat";
    ASSERT_TRUE(testfiles::WriteBytes(path, pooltest::Image({pooltest::Raw("a", "x")})));
    ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(c.size)), 0);
    {
      CStringPool pool(path);
      EXPECT_EQ(pool.Load(), c.load);
      EXPECT_EQ(pool.EntryCount(), c.entries);
      EXPECT_EQ(pool.IsModified(), 0);
    }
    EXPECT_EQ(std::filesystem::file_size(path), c.size);
  }
}

}  // namespace
