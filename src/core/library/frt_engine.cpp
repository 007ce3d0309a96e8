#include "frt_engine.h"

#include <array>
#include <cstring>

#include "frt_file.h"
#include "frt_string.h"

namespace {

// Width and precision stop growing here; no buffer comes near it.
constexpr std::size_t kMaxField = 1u << 24;

enum Flag : unsigned {
  kLeft = 1u << 0,
  kSigned = 1u << 1,
  kSpace = 1u << 2,
  kAlternate = 1u << 3,
  kLong = 1u << 4,
  kShort = 1u << 5,
  kCapitals = 1u << 6,
  kOctalZero = 1u << 7,
  kNegative = 1u << 8,
  kZeroPad = 1u << 9,
  kPlus = 1u << 10,
};

constexpr std::array<unsigned, 256> MakeFlagBits() {
  std::array<unsigned, 256> t{};
  t[' '] = kSpace;
  t['#'] = kAlternate;
  t['+'] = kPlus;
  t['-'] = kLeft;
  t['0'] = kZeroPad;
  return t;
}
constexpr std::array<unsigned, 256> kFlagBits = MakeFlagBits();

constexpr std::array<bool, 256> MakeTypes() {
  std::array<bool, 256> t{};
  for (char c : {'e', 'E', 'f', 'g', 'x', 'd', 'i', 'c', 's', 'o'})
    t[static_cast<unsigned char>(c)] = true;
  return t;
}
constexpr std::array<bool, 256> kTypes = MakeTypes();

inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
inline bool IsType(char c) {
  return kTypes[static_cast<unsigned char>(c)];
}

constexpr char kHexDigits[] = "0123456789abcdef";
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// Writes the digits of v (none for 0) backwards ending at `end`; returns where they start.
char* Digits(std::uint32_t v, unsigned base, char* end) {
  char* d = end;
  if (base == 10) {
    while (v >= 100) {
      const std::uint32_t q = v / 100;
      d -= 2;
      std::memcpy(d, kDigitPairs + 2 * (v - q * 100), 2);
      v = q;
    }
    if (v >= 10) {
      d -= 2;
      std::memcpy(d, kDigitPairs + 2 * v, 2);
    } else if (v > 0) {
      *--d = static_cast<char>('0' + v);
    }
  } else if (base == 16) {
    for (; v != 0; v >>= 4) *--d = kHexDigits[v & 15];
  } else {
    for (; v != 0; v >>= 3) *--d = static_cast<char>('0' + (v & 7));
  }
  return d;
}

template <class T>
T Load(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);  // the source's storage need not be aligned for T
  return v;
}

}  // namespace

// Where rendered characters go: the caller's buffer (room for the NUL kept back), or a string that
// grows up to kStringLimit. Past the end the characters that fit are written and every later write
// fails.
class CFrtEngine::Sink {
 public:
  Sink(char* buffer, std::size_t capacity) : pos_(buffer), end_(buffer + capacity - 1) {}
  explicit Sink(std::string& out) : grow_(&out) {
    out.resize(out.capacity() > 64 ? out.capacity() : 64);
    pos_ = out.data();
    end_ = pos_ + out.size();
  }

  bool Put(const char* s, std::size_t n) {
    if (n > static_cast<std::size_t>(end_ - pos_)) return Slow(s, 0, n);
    // Most pieces are a few characters: two overlapping fixed-size moves beat a library call.
    if (n >= 8 && n <= 16) {
      std::memcpy(pos_, s, 8);
      std::memcpy(pos_ + n - 8, s + n - 8, 8);
    } else if (n >= 4 && n < 8) {
      std::memcpy(pos_, s, 4);
      std::memcpy(pos_ + n - 4, s + n - 4, 4);
    } else if (n < 4) {
      for (std::size_t i = 0; i < n; ++i) pos_[i] = s[i];
    } else {
      std::memcpy(pos_, s, n);
    }
    pos_ += n;
    return true;
  }
  bool Fill(char c, std::size_t n) {
    if (n > static_cast<std::size_t>(end_ - pos_)) return Slow(nullptr, c, n);
    if (n <= 16) {
      for (std::size_t i = 0; i < n; ++i) pos_[i] = c;
    } else {
      std::memset(pos_, c, n);
    }
    pos_ += n;
    return true;
  }
  bool PutChar(char c) {
    if (pos_ < end_) {
      *pos_++ = c;
      return true;
    }
    return Slow(&c, 0, 1);
  }
  void Finish() {
    if (grow_)
      grow_->resize(static_cast<std::size_t>(pos_ - grow_->data()));
    else
      *pos_ = '\0';
  }

 private:
  bool Slow(const char* s, char c, std::size_t n) {
    if (grow_) {
      std::size_t used = static_cast<std::size_t>(pos_ - grow_->data());
      std::size_t want = used + n;
      std::size_t size = grow_->size() * 2 > want ? grow_->size() * 2 : want;
      if (size > kStringLimit) size = kStringLimit;
      grow_->resize(size);
      pos_ = grow_->data() + used;
      end_ = grow_->data() + size;
      if (want <= size) return s ? Put(s, n) : Fill(c, n);
    }
    std::size_t room = static_cast<std::size_t>(end_ - pos_);
    if (s)
      std::memcpy(pos_, s, room);
    else
      std::memset(pos_, c, room);
    pos_ = end_;
    return false;
  }

  char* pos_ = nullptr;
  char* end_ = nullptr;
  std::string* grow_ = nullptr;
};

CFrtEngine::CFrtEngine(CFrtValueSource* source) : source_(source) {}

CFrtEngine::~CFrtEngine() = default;

frt::Result CFrtEngine::AttachFormat(CFrtFile* format) {
  if (!format) return frt::kNullPointer;
  format_ = format;
  if (source_) source_->AttachFormat(format);
  return frt::kOk;
}

frt::Result CFrtEngine::Render(CFrtString* string, char* buffer, std::size_t capacity) {
  if (!string || !buffer) return frt::kNullPointer;
  if (capacity == 0) return frt::kBufferOverflow;
  Sink sink(buffer, capacity);
  frt::Result r = RenderTo(string, sink);
  sink.Finish();
  return r;
}

frt::Result CFrtEngine::Render(CFrtString* string, std::string& out) {
  if (!string) return frt::kNullPointer;
  Sink sink(out);
  frt::Result r = RenderTo(string, sink);
  sink.Finish();
  return r;
}

frt::Result CFrtEngine::RenderTo(CFrtString* string, Sink& sink) {
  // The walk below is the state machine of output strings with its transitions written out as
  // code (states: 0 text, 1 percent, 2 flags, 3 width, 7 dot, 4 precision, 5 size, 6 type), so
  // that ordinary text and ordinary conversions cost no table dispatch per character. Where a
  // character leads back to state 0 the loop continues without consuming it, and the text path
  // prints it.
  const std::string_view text = string->TextView();
  const char* p = text.data();
  const char* const end = p + text.size();
  int index = 0;
  frt::Result last = frt::kOk;
  for (;;) {
    // State 0: everything but % is copied; a doubled backslash is copied once.
    const char* q = p;
    while (q < end && *q != '%' && *q != '\\') ++q;
    if (q != p && !sink.Put(p, static_cast<std::size_t>(q - p))) return frt::kBufferOverflow;
    p = q;
    if (p == end) return last;
    if (*p == '\\') {
      if (!sink.PutChar('\\')) return frt::kBufferOverflow;
      p += (p + 1 < end && p[1] == '\\') ? 2 : 1;
      continue;
    }
    ++p;
  percent:  // state 1: a fresh conversion
    flags_ = 0;
    width_ = 0;
    precision_ = -1;
    {
      const char* const afterPercent = p;
      for (unsigned f; p < end && (f = kFlagBits[static_cast<unsigned char>(*p)]) != 0; ++p)
        flags_ |= f;  // state 2
      if (p == end) return last;
      if (*p == '%') {
        ++p;
        if (p - 1 != afterPercent) goto percent;              // % after flags starts over
        if (!sink.PutChar('%')) return frt::kBufferOverflow;  // %% prints one
        continue;
      }
    }
    if (*p >= '1' && *p <= '9') {  // state 3
      do {
        width_ = width_ * 10 + static_cast<std::size_t>(*p - '0');
        if (width_ > kMaxField) width_ = kMaxField;
      } while (++p < end && IsDigit(*p));
      if (p == end) return last;
    }
    if (*p == '.') {  // state 7
      precision_ = 0;
      if (++p == end) return last;
      if (!IsDigit(*p)) {
        if (*p != '%') continue;  // a dot must be followed by a digit
        ++p;
        goto percent;
      }
      do {  // state 4
        precision_ = precision_ * 10 + (*p - '0');
        if (precision_ > static_cast<long long>(kMaxField)) precision_ = kMaxField;
      } while (++p < end && IsDigit(*p));
      if (p == end) return last;
    }
    if (*p == 'h' || *p == 'l' || *p == 'L') {  // state 5
      flags_ |= *p == 'h' ? kShort : kLong;
      if (++p == end) return last;
    }
    if (IsType(*p)) {  // state 6
      frt::Result r = frt::kOk;
      if (!Convert(*p, string, index, sink, r)) return r;
      last = r;
      ++p;
      continue;
    }
    if (*p == '%') {
      ++p;
      goto percent;
    }
    // Anything else breaks the conversion and is printed by the text path.
  }
}

bool CFrtEngine::Convert(char type, CFrtString* string, int& index, Sink& sink,
                         frt::Result& result) {
  CFrtVariable* variable = nullptr;
  result = string->VariableAt(index++, variable);
  if (result != frt::kOk) return false;

  const bool isFloat = type == 'e' || type == 'E' || type == 'f' || type == 'g';
  const bool isSignedInt = type == 'd' || type == 'i';
  int requested = 0;
  if (type == 'c') {
    requested = 12;
  } else if (type == 's') {
    requested = 11;
  } else if (isFloat) {
    requested = (flags_ & kLong) ? 9 : 8;
    flags_ |= kSigned;
    if (type == 'E') flags_ |= kCapitals;
  } else {
    if (flags_ & kLong)
      requested = 6;
    else if (flags_ & kShort)
      requested = isSignedInt ? 2 : 1;
    else
      requested = isSignedInt ? 4 : 3;
    if (isSignedInt) flags_ |= kSigned;
    if (type == 'o' && (flags_ & kAlternate)) flags_ |= kOctalZero;
  }

  variable->dataType = static_cast<std::uint8_t>(requested);
  if (!source_) {
    result = frt::kNullPointer;
    return false;
  }
  const void* value = nullptr;
  const frt::Result answer = source_->Value(*variable, value, requested);
  if (answer == frt::kNotFound && !format_) {
    result = frt::kNoDefaultString;
    return false;
  }
  if (answer != frt::kOk && answer != frt::kNotFound) {
    result = answer;
    return false;
  }
  const int answered = variable->dataType;
  if (answered != 0 && answered != requested && !(isFloat && answered == 10)) {
    result = frt::kWrongType;
    return false;
  }

  text_.Clear();
  const char* prefix = "";
  std::size_t prefixLength = 0;
  if (answer == frt::kNotFound) {
    const char* fallback = format_->DefaultString(answered ? answered : requested);
    text_.Append(fallback, std::strlen(fallback));
  } else if (!value) {
    text_.Append("(null)", 6);
  } else if (type == 'c') {
    const char ch = Load<char>(value);
    if (ch != '\0') text_.AppendCopy(&ch, 1);
  } else if (type == 's') {
    const char* s = static_cast<const char*>(value);
    std::size_t n =
        precision_ > 0 ? strnlen(s, static_cast<std::size_t>(precision_)) : std::strlen(s);
    text_.Append(s, n);
  } else if (isFloat) {
    const double v = Load<double>(value);
    frt::FloatLayout layout;
    layout.conversion = type == 'E' ? 'e' : type;
    layout.precision = precision_ < 0 ? 6 : static_cast<int>(precision_);
    layout.capitals = flags_ & kCapitals;
    layout.alternate = flags_ & kAlternate;
    layout.stripZeros = type == 'g' && !(flags_ & kAlternate);
    layout.cutDigits = variable->options & CFrtVariable::kOptCutDigits;
    frt::FormatFloat(v, layout, text_);
    if ((variable->options & CFrtVariable::kOptNegative) || (v < 0 && !text_.IsSingle('0')))
      flags_ |= kNegative;
  } else {
    std::uint32_t magnitude = 0;
    if (requested == 2 || (requested == 4) || (requested == 6 && isSignedInt)) {
      const std::int32_t v = requested == 2 ? Load<std::int16_t>(value) : Load<std::int32_t>(value);
      if (v < 0) flags_ |= kNegative;
      magnitude = v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
    } else {
      magnitude = requested == 1 ? Load<std::uint16_t>(value) : Load<std::uint32_t>(value);
    }
    if (precision_ >= 0) flags_ &= ~kZeroPad;
    const std::size_t precision = precision_ < 0 ? 1 : static_cast<std::size_t>(precision_);
    const unsigned base = type == 'o' ? 8 : (type == 'x' ? 16 : 10);
    char digits[12];
    const char* d = Digits(magnitude, base, digits + sizeof digits);
    const std::size_t count = static_cast<std::size_t>(digits + sizeof digits - d);
    std::size_t zeros = precision > count ? precision - count : 0;
    // The digits themselves never start with 0, so only leading zeros can supply it.
    if ((flags_ & kOctalZero) && zeros == 0) zeros = 1;
    text_.AppendFill('0', zeros);
    text_.AppendCopy(d, count);
    if (type == 'x' && (flags_ & kAlternate) && magnitude != 0) {
      prefix = "0x";
      prefixLength = 2;
    }
  }

  std::size_t skip = 0;
  std::size_t length = text_.size();
  if ((variable->options & CFrtVariable::kOptCutWidth) && width_ >= 1 && length >= width_) {
    const std::size_t keep = width_ - ((flags_ & (kPlus | kNegative)) ? 1 : 0);
    skip = length - keep;
    length = keep;
  }
  if (flags_ & kSigned) {
    if (flags_ & kNegative)
      prefix = "-";
    else if (flags_ & kPlus)
      prefix = "+";
    else if (flags_ & kSpace)
      prefix = " ";
    prefixLength = *prefix ? 1 : 0;
  }
  const std::size_t used = length + prefixLength;
  const std::size_t pad = width_ > used ? width_ - used : 0;
  const bool left = flags_ & kLeft;
  const bool zeroPad = (flags_ & kZeroPad) && !left;
  bool ok = true;
  if (!left && !zeroPad && pad) ok = sink.Fill(' ', pad);
  if (ok && prefixLength) ok = sink.Put(prefix, prefixLength);
  if (ok && zeroPad && pad) ok = sink.Fill('0', pad);
  if (ok)
    ok = text_.Emit(
        skip, [&](const char* s, std::size_t n) { return sink.Put(s, n); },
        [&](char ch, std::size_t n) { return sink.Fill(ch, n); });
  if (ok && left && pad) ok = sink.Fill(' ', pad);
  if (!ok) {
    result = frt::kBufferOverflow;
    return false;
  }
  result = answer;
  return true;
}

frt::Result CFrtEngine::BeginInput(CFrtFile* format, int blockType) {
  return input_.Begin(format, blockType);
}

frt::Result CFrtEngine::InputLine(std::string_view text) {
  return input_.Line(text, source_);
}

frt::Result CFrtEngine::InputFlag() {
  return input_.Flag();
}
