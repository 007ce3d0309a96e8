#include "library/safe_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include <string>

#include "temp_files.h"
#include "library/faulty_file_system.h"

namespace {

using testfiles::FaultyFileSystem;
using testfiles::TempDir;
using Step = FaultyFileSystem::Step;

unsigned ModeOf(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0u;
}

TEST(SafeFileWriter, WritesInPiecesAndReplacesTheTarget) {
  TempDir dir;
  const std::string target = dir / "out.frt";
  ASSERT_TRUE(testfiles::WriteBytes(target, "old contents that are longer"));
  FaultyFileSystem fs;
  frt::SafeFileWriter w(&fs, 4);
  ASSERT_EQ(w.Open(target), frt::kOk);
  EXPECT_TRUE(w.Write("abc"));
  EXPECT_TRUE(w.Write("defghij"));
  EXPECT_TRUE(w.Write(""));
  EXPECT_EQ(testfiles::ReadBytes(target), "old contents that are longer");  // not yet
  ASSERT_EQ(w.Commit(), frt::kOk);
  EXPECT_EQ(testfiles::ReadBytes(target), "abcdefghij");
  EXPECT_EQ(fs.writes, 3);  // two full buffers and the rest
  EXPECT_EQ(testfiles::List(dir.path()), std::vector<std::string>{"out.frt"});
}

TEST(SafeFileWriter, CreatesAMissingFileAndKeepsPermissions) {
  TempDir dir;
  ASSERT_EQ(frt::WriteFileSafely(dir / "new.txt", "x\n"), frt::kOk);
  EXPECT_EQ(testfiles::ReadBytes(dir / "new.txt"), "x\n");

  ASSERT_TRUE(testfiles::WriteBytes(dir / "kept.txt", "a"));
  ASSERT_EQ(::chmod((dir / "kept.txt").c_str(), 0640), 0);
  ASSERT_EQ(frt::WriteFileSafely(dir / "kept.txt", "b"), frt::kOk);
  EXPECT_EQ(ModeOf(dir / "kept.txt"), 0640u);
}

TEST(SafeFileWriter, FollowsASymbolicLink) {
  TempDir dir;
  ASSERT_TRUE(testfiles::WriteBytes(dir / "real.ini", "old"));
  ASSERT_EQ(::symlink((dir / "real.ini").c_str(), (dir / "link.ini").c_str()), 0);
  ASSERT_EQ(frt::WriteFileSafely(dir / "link.ini", "new"), frt::kOk);
  EXPECT_EQ(testfiles::ReadBytes(dir / "real.ini"), "new");
  struct stat st;
  ASSERT_EQ(::lstat((dir / "link.ini").c_str(), &st), 0);
  EXPECT_TRUE(S_ISLNK(st.st_mode));
}

TEST(SafeFileWriter, ReadOnlyTargetIsNotReplaced) {
  TempDir dir;
  const std::string target = dir / "QV.ini";
  ASSERT_TRUE(testfiles::WriteBytes(target, "keep"));
  ASSERT_EQ(frt::SetOwnerWritable(target, false), frt::kOk);
  EXPECT_EQ(frt::WriteFileSafely(target, "lost"), frt::kCannotSave);
  EXPECT_EQ(testfiles::ReadBytes(target), "keep");
  EXPECT_EQ(testfiles::List(dir.path()), std::vector<std::string>{"QV.ini"});
}

TEST(SafeFileWriter, AbortAndDestructionLeaveNoTrace) {
  TempDir dir;
  const std::string target = dir / "t.dat";
  ASSERT_TRUE(testfiles::WriteBytes(target, "orig"));
  {
    frt::SafeFileWriter w;
    ASSERT_EQ(w.Open(target), frt::kOk);
    EXPECT_TRUE(testfiles::Exists(w.TempPath()));
    EXPECT_TRUE(w.Write("partial"));
  }
  frt::SafeFileWriter w;
  ASSERT_EQ(w.Open(target), frt::kOk);
  EXPECT_TRUE(w.Write("partial"));
  w.Abort();
  EXPECT_FALSE(w.IsOpen());
  EXPECT_EQ(w.Commit(), frt::kCannotSave);
  EXPECT_EQ(testfiles::ReadBytes(target), "orig");
  EXPECT_EQ(testfiles::List(dir.path()), std::vector<std::string>{"t.dat"});
}

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

TEST(OwnerWritable, ClearsAndSetsOnlyTheOwnerWriteBit) {
  TempDir dir;
  const std::string path = dir / "QV.ini";
  ASSERT_TRUE(testfiles::WriteBytes(path, "x"));
  ASSERT_EQ(::chmod(path.c_str(), 0664), 0);
  struct stat before;
  ASSERT_EQ(::stat(path.c_str(), &before), 0);

  EXPECT_EQ(frt::SetOwnerWritable(path, false), frt::kOk);
  EXPECT_EQ(ModeOf(path), 0464u);
  EXPECT_FALSE(frt::IsOwnerWritable(path));
  EXPECT_EQ(frt::SetOwnerWritable(path, false), frt::kOk);
  EXPECT_EQ(frt::SetOwnerWritable(path, true), frt::kOk);
  EXPECT_EQ(ModeOf(path), 0664u);
  EXPECT_TRUE(frt::IsOwnerWritable(path));

  struct stat after;
  ASSERT_EQ(::stat(path.c_str(), &after), 0);
  EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
  EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);

  EXPECT_EQ(frt::SetOwnerWritable(dir / "missing", true), frt::kFileNotFound);
  EXPECT_FALSE(frt::IsOwnerWritable(dir / "missing"));
}

}  // namespace
