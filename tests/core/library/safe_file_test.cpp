#include "library/safe_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <string>

#include "library/faulty_file_system.h"
#include "temp_files.h"

namespace {

using testfiles::FaultyFileSystem;
using testfiles::TempDir;
using Step = FaultyFileSystem::Step;

class SafeFileFault : public ::testing::TestWithParam<Step> {};

TEST_P(SafeFileFault, AnyFailedStepKeepsTheOldFile) {
  TempDir dir;
  const std::string target = dir / "pool.dat";
  const std::string old = "line 1\r\nline 2\r\n";
  ASSERT_TRUE(testfiles::WriteBytes(target, old));
  FaultyFileSystem fs;
  fs.FailAt(GetParam(), 2);
  frt::SafeFileWriter w(&fs, 8);
  const frt::Result opened = w.Open(target);
  if (GetParam() == Step::kCreate) {
    EXPECT_EQ(opened, frt::kCannotSave);
  } else {
    ASSERT_EQ(opened, frt::kOk);
    w.Write(std::string(100, 'n'));
    EXPECT_EQ(w.Commit(), frt::kCannotSave);
    ASSERT_EQ(fs.created.size(), 1u);
    EXPECT_EQ(fs.removed, fs.created);
  }
  EXPECT_EQ(testfiles::ReadBytes(target), old);
  EXPECT_EQ(testfiles::List(dir.path()), std::vector<std::string>{"pool.dat"});
}

INSTANTIATE_TEST_SUITE_P(Steps, SafeFileFault,
                         ::testing::Values(Step::kCreate, Step::kWrite, Step::kFlush, Step::kClose,
                                           Step::kSetMode, Step::kRename));

// Every reader opens through this one check; the pool reads through ReadAll.
TEST(OpenRegularFile, RefusesAnythingButARegularFileWithoutWaiting) {
  TempDir dir;
  ASSERT_TRUE(testfiles::WriteBytes(dir / "file", "data"));
  ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
  struct {
    std::string path;
    int error;
    unsigned fileType;
    frt::Result readAll;
  } cases[] = {
      {dir / "file", 0, 0, frt::kOk},
      {dir / "missing", ENOENT, 0, frt::kFileNotFound},
      {dir / "file/below", ENOTDIR, 0, frt::kFileNotFound},
      {dir.path(), 0, S_IFDIR, frt::kBadData},
      {dir / "pipe", 0, S_IFIFO, frt::kBadData},  // no writer: an open would wait for one
      {"/dev/null", 0, S_IFCHR, frt::kBadData},
  };
  ::alarm(20);  // a reader that waits ends the test instead of hanging it
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    frt::OpenFailure failure;
    const int fd = frt::OpenRegularFile(c.path, failure);
    EXPECT_EQ(fd >= 0, c.error == 0 && c.fileType == 0);
    if (fd >= 0) ::close(fd);
    EXPECT_EQ(failure.error, c.error);
    EXPECT_EQ(failure.fileType, c.fileType);
    EXPECT_EQ(failure.Reason().empty(), !failure.Failed());
    std::string bytes;
    EXPECT_EQ(frt::FileSystem::Posix().ReadAll(c.path, bytes), c.readAll);
  }
  ::alarm(0);
}

}  // namespace
