#pragma once
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace frt {

// A NUL-terminated text of fixed capacity (NUL included). Longer input is cut at the capacity;
// input is also cut at its first NUL, as a C string would be.
template <std::size_t N>
class FixedText {
 public:
  static_assert(N >= 1);
  static constexpr std::size_t kCapacity = N;

  FixedText() { buf_[0] = '\0'; }
  explicit FixedText(std::string_view s) { assign(s); }

  void assign(std::string_view s) {
    std::size_t n = s.size() < N - 1 ? s.size() : N - 1;
    const void* nul = std::memchr(s.data(), '\0', n);
    if (nul) n = static_cast<std::size_t>(static_cast<const char*>(nul) - s.data());
    std::memcpy(buf_, s.data(), n);
    buf_[n] = '\0';
    len_ = n;
  }
  FixedText& operator=(std::string_view s) {
    assign(s);
    return *this;
  }

  const char* c_str() const { return buf_; }
  std::string_view view() const { return {buf_, len_}; }
  std::string str() const { return std::string(buf_, len_); }
  std::size_t size() const { return len_; }
  bool empty() const { return len_ == 0; }

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.view() == b.view(); }

 private:
  char buf_[N];
  std::size_t len_ = 0;
};

}  // namespace frt
