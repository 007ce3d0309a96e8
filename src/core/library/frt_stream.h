#pragma once
#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace frt {

// Where the writer puts its bytes. Write returns false when the bytes could not all be written.
class OutStream {
 public:
  virtual ~OutStream() = default;
  virtual bool Write(std::string_view bytes) = 0;
};

// Writes to an open C stream (binary mode: line ends are written as given).
class FileOutStream : public OutStream {
 public:
  explicit FileOutStream(std::FILE* f) : f_(f) {}
  bool Write(std::string_view bytes) override {
    return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f_) == bytes.size();
  }

 private:
  std::FILE* f_;
};

// Collects the bytes in memory.
class StringOutStream : public OutStream {
 public:
  bool Write(std::string_view bytes) override {
    out_.append(bytes);
    return true;
  }
  const std::string& str() const { return out_; }

 private:
  std::string out_;
};

}  // namespace frt
