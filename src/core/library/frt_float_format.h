#pragma once
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace frt {

// "00" to "99": two decimal digits at a time for the number writers.
inline constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The text of one conversion, kept as a few runs instead of one array: a precision of several
// thousand digits or a long source text must not need a buffer of that size. A run is either
// characters that live elsewhere (the source's text, a literal), characters copied into the small
// store inside the object (digits, an exponent), or one character repeated.
class FieldText {
 public:
  static constexpr int kMaxRuns = 8;
  static constexpr std::size_t kStoreSize = 48;

  FieldText() = default;
  // Runs may point into the object itself, so it is never copied.
  FieldText(const FieldText&) = delete;
  FieldText& operator=(const FieldText&) = delete;

  void Clear() {
    count_ = 0;
    size_ = 0;
    used_ = 0;
  }
  // The characters must stay valid while the text is in use.
  void Append(const char* chars, std::size_t n) {
    if (n == 0) return;
    runs_[count_++] = Run{chars, n, 0};
    size_ += n;
  }
  // Copies into the store; the caller never exceeds kStoreSize in one text.
  void AppendCopy(const char* chars, std::size_t n) {
    if (n == 0) return;
    if (n > kStoreSize - used_) n = kStoreSize - used_;  // never past the store
    std::memcpy(store_ + used_, chars, n);
    Append(store_ + used_, n);
    used_ += n;
  }
  void AppendFill(char c, std::size_t n) {
    if (n == 0) return;
    runs_[count_++] = Run{nullptr, n, c};
    size_ += n;
  }

  std::size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  char Back() const;
  // Removes trailing characters equal to c.
  void TrimTrailing(char c);
  void PopBack();
  // True when the text is exactly the one character c.
  bool IsSingle(char c) const { return size_ == 1 && Back() == c; }

  // Calls put(chars, n) and fill(c, n) for the text from character `skip` on; stops when either
  // returns false.
  template <class Put, class Fill>
  bool Emit(std::size_t skip, Put&& put, Fill&& fill) const {
    for (int i = 0; i < count_; ++i) {
      const Run& r = runs_[i];
      if (skip >= r.length) {
        skip -= r.length;
        continue;
      }
      std::size_t n = r.length - skip;
      bool ok = r.chars ? put(r.chars + skip, n) : fill(r.fill, n);
      if (!ok) return false;
      skip = 0;
    }
    return true;
  }
  std::string str() const;

 private:
  struct Run {
    const char* chars;  // null for a repeated character
    std::size_t length;
    char fill;
  };
  Run runs_[kMaxRuns];
  int count_ = 0;
  std::size_t size_ = 0;
  char store_[kStoreSize];
  std::size_t used_ = 0;
};

// How one floating-point value is written.
struct FloatLayout {
  char conversion = 'f';    // 'e', 'f' or 'g'
  int precision = 6;        // after the point for e and f, significant digits for g (0 means 1)
  bool capitals = false;    // exponent letter E
  bool alternate = false;   // keep a trailing decimal point
  bool stripZeros = false;  // drop trailing zeros of the fraction (g without alternate)
  bool cutDigits = false;   // cut the digits instead of rounding (variable option bit 2)
};

// Writes the magnitude |value| (the sign is the caller's) into text. At most 17 significant digits
// are produced, later digits are 0; ties round up. Infinity prints "inf", NaN "nan" (upper case
// with capitals), whatever the conversion. Denormals are written like any other value.
void FormatFloat(double value, const FloatLayout& layout, FieldText& text);
std::string FormatFloat(double value, const FloatLayout& layout);

}  // namespace frt
