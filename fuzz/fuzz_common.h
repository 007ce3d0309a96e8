#pragma once
// What every fuzz target shares: a message sink that drops everything, a scratch folder of this
// process in memory, and a byte reader that takes values from the front of the input.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "library/error_message.h"

namespace fuzz {

// Messages are part of normal behaviour on bad input; printing them would drown the fuzzer.
class NullSink : public CMessageSink {
 public:
  void Show(const CMessage&) override {}
  bool Ask(const CMessage&) override { return false; }
};

inline void SilenceMessages() {
  static NullSink sink;
  SetMessageSink(&sink);
}

// A folder for this process, in /dev/shm when there is one; removed at exit.
inline const std::string& ScratchDir() {
  static const std::string dir = [] {
    std::string pattern = access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
    pattern += "/quarvel-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    static std::string keep = pattern;
    std::atexit([] {
      const std::string cmd = "rm -rf '" + keep + "'";
      if (std::system(cmd.c_str()) != 0) {
      }
    });
    return pattern;
  }();
  return dir;
}

inline std::string ScratchPath(const char* name) {
  return ScratchDir() + "/" + name;
}

inline void WriteFile(const std::string& path, const std::uint8_t* data, std::size_t size) {
  unlink(path.c_str());  // the profile may have left it read-only
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (f == nullptr) std::abort();
  if (size > 0 && std::fwrite(data, 1, size, f) != size) std::abort();
  std::fclose(f);
}

// Takes values off the front of the input; past the end every value is 0.
class Bytes {
 public:
  Bytes(const std::uint8_t* data, std::size_t size) : p_(data), n_(size) {}
  std::uint8_t U8() {
    if (n_ == 0) return 0;
    --n_;
    return *p_++;
  }
  std::uint16_t U16() { return static_cast<std::uint16_t>(U8() | U8() << 8); }
  std::uint64_t U64() {
    std::uint64_t v = 0;
    for (int i = 0; i < 8; ++i) v |= static_cast<std::uint64_t>(U8()) << (8 * i);
    return v;
  }
  // Up to the next NUL or `max` bytes.
  std::string_view Text(std::size_t max) {
    std::size_t k = 0;
    while (k < n_ && k < max && p_[k] != 0) ++k;
    std::string_view s(reinterpret_cast<const char*>(p_), k);
    const std::size_t used = k < n_ ? k + 1 : k;
    p_ += used;
    n_ -= used;
    return s;
  }
  std::string_view Rest() {
    std::string_view s(reinterpret_cast<const char*>(p_), n_);
    p_ += n_;
    n_ = 0;
    return s;
  }
  std::size_t Size() const { return n_; }

 private:
  const std::uint8_t* p_;
  std::size_t n_;
};

}  // namespace fuzz
