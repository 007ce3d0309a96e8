#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "frt_result.h"
#include "frt_stream.h"

namespace frt {

// Why a file was not opened for reading: the system's error, or the kind of a file that is not a
// regular file.
struct OpenFailure {
  int error = 0;          // errno of the call that failed, 0 when none did
  unsigned fileType = 0;  // S_IFMT bits of a file that is not a regular file, else 0

  bool Failed() const { return error != 0 || fileType != 0; }
  bool Missing() const;  // no such file (or a path through something that is no folder)
  bool NotRegular() const { return fileType != 0; }
  // The system's text for the error, or what kind of file it is.
  std::string Reason() const;
};

// Opens an existing regular file for reading: every reader of data and format files starts here.
// A folder, named pipe, socket or device is refused before it is opened and again after (the
// open itself does not block, should a pipe have taken the file's place in between), so nothing
// ever waits for a writer. A descriptor, or -1 with `failure` telling why.
int OpenRegularFile(const std::string& path, OpenFailure& failure);
// The same as a C stream in binary mode, or nullptr.
std::FILE* OpenRegularStream(const std::string& path, OpenFailure& failure);

// The few file operations a safe save needs. Saves go through this seam so that tests can make
// any single step fail; FileSystem::Posix() is the real thing.
class FileSystem {
 public:
  using Handle = int;
  static constexpr Handle kNoHandle = -1;

  virtual ~FileSystem() = default;

  // Whole file into `out`: kOk, kFileNotFound when it does not exist, kBadData on a read error,
  // for anything but a regular file, or when the file holds more than kMaxReadAll bytes (no data
  // file comes near it).
  static constexpr std::size_t kMaxReadAll = 64u << 20;
  virtual Result ReadAll(const std::string& path, std::string& out) = 0;
  // Creates a new file next to `target` that no one else uses and opens it for writing.
  virtual Handle CreateTemp(const std::string& target, std::string& tempPath) = 0;
  // All of the bytes, or false.
  virtual bool Write(Handle h, const char* data, std::size_t size) = 0;
  // Down to the disk (fsync).
  virtual bool Flush(Handle h) = 0;
  virtual bool Close(Handle h) = 0;
  // Replaces `to` by `from` in one step.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Permission bits of an existing file; false when it does not exist or cannot be queried.
  virtual bool GetMode(const std::string& path, unsigned& mode) = 0;
  virtual bool SetMode(const std::string& path, unsigned mode) = 0;

  static FileSystem& Posix();
};

// Writes a file so that the old one stays whole until the new one is complete: the bytes go to
// a temporary file in the same folder, which is flushed, synced, closed and renamed over the
// target only by Commit. Anything short of a successful Commit removes the temporary file and
// leaves the target as it was.
//
// A target without the owner's write permission (the read-only attribute) is not replaced.
// A replaced file keeps its permission bits; a symbolic link is followed, so the file it
// points to is replaced, not the link.
class SafeFileWriter : public OutStream {
 public:
  explicit SafeFileWriter(FileSystem* fs = nullptr, std::size_t bufferSize = 64 * 1024);
  ~SafeFileWriter() override;
  SafeFileWriter(const SafeFileWriter&) = delete;
  SafeFileWriter& operator=(const SafeFileWriter&) = delete;

  // kOk, or kCannotSave when the target is read-only or no temporary file can be made.
  Result Open(const std::string& path);
  // Buffers the bytes; false once anything failed (the save is then lost, Commit says so).
  bool Write(std::string_view bytes) override;
  // kOk when the target now holds exactly the bytes written; kCannotSave otherwise.
  Result Commit();
  // Drops the temporary file; the target stays as it was.
  void Abort();

  bool IsOpen() const { return handle_ != FileSystem::kNoHandle; }
  const std::string& TempPath() const { return tempPath_; }

 private:
  bool Drain();

  FileSystem* fs_;
  std::size_t bufferSize_;
  std::string buffer_;
  std::string target_;
  std::string tempPath_;
  FileSystem::Handle handle_ = FileSystem::kNoHandle;
  unsigned targetMode_ = 0;
  bool targetExists_ = false;
  bool failed_ = false;
};

// The whole file in one safe save.
Result WriteFileSafely(const std::string& path, std::string_view contents,
                       FileSystem* fs = nullptr);

// The replacement for the read-only attribute: the owner's write permission bit.
// kOk, kFileNotFound when the file does not exist, kCannotSave when the bit cannot be changed.
Result SetOwnerWritable(const std::string& path, bool writable, FileSystem* fs = nullptr);
// False also when the file does not exist.
bool IsOwnerWritable(const std::string& path, FileSystem* fs = nullptr);

}  // namespace frt
