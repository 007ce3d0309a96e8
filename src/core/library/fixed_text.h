#pragma once
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace frt {

// A NUL-terminated text of fixed capacity (NUL included). Longer input is cut at the capacity;
// input is also cut at its first NUL, as a C string would be. The bytes live in a string sized
// to the text, not to the capacity, so a format of many short strings stays small.
template <std::size_t N>
class FixedText {
 public:
  static_assert(N >= 1);
  static constexpr std::size_t kCapacity = N;

  FixedText() = default;
  explicit FixedText(std::string_view s) { assign(s); }

  void assign(std::string_view s) {
    std::size_t n = s.size() < N - 1 ? s.size() : N - 1;
    // An empty view may have no data at all, and memchr must not see a null pointer.
    const void* nul = n > 0 ? std::memchr(s.data(), '\0', n) : nullptr;
    if (nul) n = static_cast<std::size_t>(static_cast<const char*>(nul) - s.data());
    text_.assign(s.data(), n);
  }
  FixedText& operator=(std::string_view s) {
    assign(s);
    return *this;
  }

  const char* c_str() const { return text_.c_str(); }
  std::string_view view() const { return text_; }
  const std::string& str() const { return text_; }
  std::size_t size() const { return text_.size(); }
  bool empty() const { return text_.empty(); }

  friend bool operator==(const FixedText& a, const FixedText& b) { return a.text_ == b.text_; }

 private:
  std::string text_;
};

}  // namespace frt
