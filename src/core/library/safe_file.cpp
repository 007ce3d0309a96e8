#include "library/safe_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "library/out_of_memory.h"

namespace frt {
namespace {

std::string DirectoryOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

class PosixFileSystem : public FileSystem {
 public:
  Result ReadAll(const std::string& path, std::string& out) override {
    OpenFailure failure;
    const int fd = OpenRegularFile(path, failure);
    if (fd < 0) return failure.Missing() ? kFileNotFound : kBadData;
    out.clear();
    char chunk[64 * 1024];
    Result result = kOk;
    for (;;) {
      const ssize_t got = ::read(fd, chunk, sizeof chunk);
      if (got < 0 && errno == EINTR) continue;
      if (got < 0) {
        result = kBadData;
        break;
      }
      if (got == 0) break;
      if (out.size() + static_cast<std::size_t>(got) > kMaxReadAll) {
        result = kBadData;
        break;
      }
      GuardAllocation([&] { out.append(chunk, static_cast<std::size_t>(got)); });
    }
    ::close(fd);
    return result;
  }

  Handle CreateTemp(const std::string& target, std::string& tempPath) override {
    static std::atomic<unsigned> counter{0};
    const unsigned long seed = static_cast<unsigned long>(::getpid()) * 2654435761UL ^
                               static_cast<unsigned long>(std::time(nullptr));
    for (int attempt = 0; attempt < 100; ++attempt) {
      char suffix[32];
      std::snprintf(suffix, sizeof suffix, ".tmp-%06lx",
                    (seed + counter.fetch_add(1) * 7919UL) & 0xFFFFFFUL);
      tempPath = target + suffix;
      // 0666 lets the umask decide, as for any new file of the user.
      const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
      if (fd >= 0) return fd;
      if (errno != EEXIST) break;
    }
    tempPath.clear();
    return kNoHandle;
  }

  bool Write(Handle h, const char* data, std::size_t size) override {
    while (size > 0) {
      const ssize_t n = ::write(h, data, size);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) return false;
      data += n;
      size -= static_cast<std::size_t>(n);
    }
    return true;
  }

  bool Flush(Handle h) override { return ::fsync(h) == 0; }

  bool Close(Handle h) override { return ::close(h) == 0; }

  bool Rename(const std::string& from, const std::string& to) override {
    if (::rename(from.c_str(), to.c_str()) != 0) return false;
    // Make the new directory entry durable too; the data is already safe, so a failure here
    // does not undo the save.
    const int dir = ::open(DirectoryOf(to).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
      ::fsync(dir);
      ::close(dir);
    }
    return true;
  }

  bool Remove(const std::string& path) override { return ::unlink(path.c_str()) == 0; }

  bool GetMode(const std::string& path, unsigned& mode) override {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) return false;
    mode = static_cast<unsigned>(st.st_mode & 07777);
    return true;
  }

  bool SetMode(const std::string& path, unsigned mode) override {
    return ::chmod(path.c_str(), static_cast<mode_t>(mode & 07777)) == 0;
  }
};

// A link is followed so that the save replaces the file, not the link.
std::string ResolveTarget(const std::string& path) {
  char resolved[PATH_MAX];
  if (::realpath(path.c_str(), resolved) != nullptr) return resolved;
  return path;
}

}  // namespace

bool OpenFailure::Missing() const {
  return error == ENOENT || error == ENOTDIR;
}

std::string OpenFailure::Reason() const {
  if (error != 0) return std::strerror(error);
  switch (fileType) {
    case 0:
      return {};
    case S_IFDIR:
      return std::strerror(EISDIR);
    case S_IFIFO:
      return "not a regular file (a named pipe)";
    case S_IFSOCK:
      return "not a regular file (a socket)";
    case S_IFCHR:
    case S_IFBLK:
      return "not a regular file (a device)";
    default:
      return "not a regular file";
  }
}

int OpenRegularFile(const std::string& path, OpenFailure& failure) {
  failure = OpenFailure{};
  struct stat st;
  // Looked at before the open, which may have effects of its own on a device.
  if (::stat(path.c_str(), &st) != 0) {
    failure.error = errno;
    return -1;
  }
  if (!S_ISREG(st.st_mode)) {
    failure.fileType = static_cast<unsigned>(st.st_mode & S_IFMT);
    return -1;
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) {
    failure.error = errno;
    return -1;
  }
  if (::fstat(fd, &st) != 0)
    failure.error = errno;
  else if (!S_ISREG(st.st_mode))
    failure.fileType = static_cast<unsigned>(st.st_mode & S_IFMT);
  if (failure.Failed()) {
    ::close(fd);
    return -1;
  }
  // Reads of a regular file never wait anyway; the flag only served the open.
  ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  return fd;
}

std::FILE* OpenRegularStream(const std::string& path, OpenFailure& failure) {
  const int fd = OpenRegularFile(path, failure);
  if (fd < 0) return nullptr;
  std::FILE* f = ::fdopen(fd, "rb");
  if (f == nullptr) {
    failure.error = errno;
    ::close(fd);
  }
  return f;
}

FileSystem& FileSystem::Posix() {
  static PosixFileSystem fs;
  return fs;
}

SafeFileWriter::SafeFileWriter(FileSystem* fs, std::size_t bufferSize)
    : fs_(fs != nullptr ? fs : &FileSystem::Posix()),
      bufferSize_(bufferSize > 0 ? bufferSize : 1) {}

SafeFileWriter::~SafeFileWriter() {
  Abort();
}

Result SafeFileWriter::Open(const std::string& path) {
  Abort();
  failed_ = false;
  buffer_.clear();
  target_ = ResolveTarget(path);
  targetExists_ = fs_->GetMode(target_, targetMode_);
  if (targetExists_ && (targetMode_ & S_IWUSR) == 0) return kCannotSave;
  handle_ = fs_->CreateTemp(target_, tempPath_);
  if (handle_ == FileSystem::kNoHandle) {
    tempPath_.clear();
    return kCannotSave;
  }
  return kOk;
}

bool SafeFileWriter::Drain() {
  if (buffer_.empty()) return true;
  const bool ok = fs_->Write(handle_, buffer_.data(), buffer_.size());
  buffer_.clear();
  return ok;
}

bool SafeFileWriter::Write(std::string_view bytes) {
  if (!IsOpen() || failed_) return false;
  while (!bytes.empty()) {
    const std::size_t room = bufferSize_ - buffer_.size();
    const std::size_t take = bytes.size() < room ? bytes.size() : room;
    GuardAllocation([&] { buffer_.append(bytes.data(), take); });
    bytes.remove_prefix(take);
    if (buffer_.size() == bufferSize_ && !Drain()) {
      failed_ = true;
      return false;
    }
  }
  return true;
}

Result SafeFileWriter::Commit() {
  if (!IsOpen()) return kCannotSave;
  bool ok = !failed_ && Drain() && fs_->Flush(handle_);
  // Closed in every case; a failed close may mean the bytes never reached the disk.
  ok = fs_->Close(handle_) && ok;
  handle_ = FileSystem::kNoHandle;
  if (ok && targetExists_) ok = fs_->SetMode(tempPath_, targetMode_);
  if (ok) ok = fs_->Rename(tempPath_, target_);
  if (!ok) {
    fs_->Remove(tempPath_);
    tempPath_.clear();
    return kCannotSave;
  }
  tempPath_.clear();
  return kOk;
}

void SafeFileWriter::Abort() {
  if (IsOpen()) {
    fs_->Close(handle_);
    handle_ = FileSystem::kNoHandle;
  }
  if (!tempPath_.empty()) {
    fs_->Remove(tempPath_);
    tempPath_.clear();
  }
  buffer_.clear();
}

Result WriteFileSafely(const std::string& path, std::string_view contents, FileSystem* fs) {
  SafeFileWriter writer(fs);
  const Result opened = writer.Open(path);
  if (opened != kOk) return opened;
  if (!writer.Write(contents)) {
    writer.Abort();
    return kCannotSave;
  }
  return writer.Commit();
}

Result SetOwnerWritable(const std::string& path, bool writable, FileSystem* fs) {
  FileSystem& files = fs != nullptr ? *fs : FileSystem::Posix();
  unsigned mode = 0;
  if (!files.GetMode(path, mode)) return kFileNotFound;
  const unsigned wanted = writable ? (mode | S_IWUSR) : (mode & ~static_cast<unsigned>(S_IWUSR));
  if (wanted == mode) return kOk;
  return files.SetMode(path, wanted) ? kOk : kCannotSave;
}

bool IsOwnerWritable(const std::string& path, FileSystem* fs) {
  FileSystem& files = fs != nullptr ? *fs : FileSystem::Posix();
  unsigned mode = 0;
  return files.GetMode(path, mode) && (mode & S_IWUSR) != 0;
}

}  // namespace frt
