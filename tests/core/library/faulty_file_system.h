#pragma once
// A file system that does the real thing until told to fail one step.
#include <string>
#include <vector>

#include "library/safe_file.h"

namespace testfiles {

class FaultyFileSystem : public frt::FileSystem {
 public:
  enum class Step { kNone, kRead, kCreate, kWrite, kFlush, kClose, kSetMode, kRename };

  // Fails `step`; for kWrite the `nth` write (1-based) and every one after it.
  void FailAt(Step step, int nth = 1) {
    step_ = step;
    nth_ = nth;
  }

  int writes = 0;
  std::vector<std::string> created;
  std::vector<std::string> removed;

  frt::Result ReadAll(const std::string& path, std::string& out) override {
    if (step_ == Step::kRead) return frt::kBadData;
    return real().ReadAll(path, out);
  }
  Handle CreateTemp(const std::string& target, std::string& tempPath) override {
    if (step_ == Step::kCreate) return kNoHandle;
    const Handle h = real().CreateTemp(target, tempPath);
    if (h != kNoHandle) created.push_back(tempPath);
    return h;
  }
  bool Write(Handle h, const char* data, std::size_t size) override {
    ++writes;
    if (step_ == Step::kWrite && writes >= nth_) {
      // Half of the bytes reach the disk, as with a full disk.
      real().Write(h, data, size / 2);
      return false;
    }
    return real().Write(h, data, size);
  }
  bool Flush(Handle h) override { return step_ != Step::kFlush && real().Flush(h); }
  bool Close(Handle h) override {
    const bool ok = real().Close(h);  // the handle is gone either way
    return step_ != Step::kClose && ok;
  }
  bool Rename(const std::string& from, const std::string& to) override {
    return step_ != Step::kRename && real().Rename(from, to);
  }
  bool Remove(const std::string& path) override {
    removed.push_back(path);
    return real().Remove(path);
  }
  bool GetMode(const std::string& path, unsigned& mode) override {
    return real().GetMode(path, mode);
  }
  bool SetMode(const std::string& path, unsigned mode) override {
    return step_ != Step::kSetMode && real().SetMode(path, mode);
  }

 private:
  static frt::FileSystem& real() { return frt::FileSystem::Posix(); }
  Step step_ = Step::kNone;
  int nth_ = 1;
};

}  // namespace testfiles
