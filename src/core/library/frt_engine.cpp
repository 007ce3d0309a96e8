#include "frt_engine.h"

#include <array>
#include <cstring>

#include "frt_file.h"
#include "frt_float_format.h"
#include "frt_string.h"

namespace {

using namespace std::string_view_literals;

// Width and precision stop growing here; no buffer comes near it.
constexpr int kMaxField = 1 << 24;

// Flags and size of a conversion as the text gives them.
enum Flag : unsigned {
  kLeft = 1u << 0,
  kSpace = 1u << 1,
  kAlternate = 1u << 2,
  kZeroPad = 1u << 3,
  kPlus = 1u << 4,
};
enum Size : std::uint8_t { kNoSize, kShortSize, kLongSize };  // none, h, l or L

// What a type letter converts; 0 for any other character.
enum LetterKind : std::uint8_t { kTypeLetter = 1, kFloatLetter = 2, kSignedLetter = 4 };

// Per character: its flag bit in the low byte, its LetterKind in the next.
constexpr std::array<std::uint16_t, 256> MakeClasses() {
  std::array<std::uint16_t, 256> t{};
  t[' '] = kSpace;
  t['#'] = kAlternate;
  t['+'] = kPlus;
  t['-'] = kLeft;
  t['0'] = kZeroPad;
  for (char c : {'x', 'c', 's', 'o'}) t[static_cast<unsigned char>(c)] = kTypeLetter << 8;
  for (char c : {'e', 'E', 'f', 'g'})
    t[static_cast<unsigned char>(c)] = (kTypeLetter | kFloatLetter) << 8;
  for (char c : {'d', 'i'}) t[static_cast<unsigned char>(c)] = (kTypeLetter | kSignedLetter) << 8;
  return t;
}
constexpr std::array<std::uint16_t, 256> kClasses = MakeClasses();

inline unsigned ClassOf(char c) {
  return kClasses[static_cast<unsigned char>(c)];
}
inline bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

constexpr char kHexDigits[] = "0123456789abcdef";

// Writes the digits of v (none for 0) backwards ending at `end`; returns where they start.
char* Digits(std::uint32_t v, unsigned base, char* end) {
  char* d = end;
  if (base == 10) {
    while (v >= 100) {
      const std::uint32_t q = v / 100;
      d -= 2;
      std::memcpy(d, frt::kDigitPairs + 2 * (v - q * 100), 2);
      v = q;
    }
    if (v >= 10) {
      d -= 2;
      std::memcpy(d, frt::kDigitPairs + 2 * v, 2);
    } else if (v > 0) {
      *--d = static_cast<char>('0' + v);
    }
  } else {
    const unsigned shift = base == 16 ? 4 : 3;
    for (; v != 0; v >>= shift) *--d = kHexDigits[v & (base - 1)];
  }
  return d;
}

template <class T>
T Load(const void* p) {
  T v;
  std::memcpy(&v, p, sizeof v);  // the source's storage need not be aligned for T
  return v;
}

// Where rendered characters go: the caller's buffer (room for the NUL kept back), or a string that
// grows up to kStringLimit. Past the end the characters that fit are written and every later write
// fails.
class Sink {
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
  // The output ends here: a string is cut to what was written, a buffer gets its NUL.
  ~Sink() {
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
      if (size > CFrtEngine::kStringLimit) size = CFrtEngine::kStringLimit;
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

// One conversion as its text states it.
struct ConversionSpec {
  unsigned flags = 0;
  int width = 0;
  int precision = -1;  // -1: none given
  std::uint8_t size = kNoSize;
  char type = 0;          // the conversion letter
  std::uint8_t kind = 0;  // its LetterKind

  bool IsFloat() const { return kind & kFloatLetter; }
  bool IsSignedInteger() const { return kind & kSignedLetter; }
};

// The data type each conversion asks the value source for, by letter and Size.
using Requests = std::array<std::array<frt::DataType, 3>, 256>;
constexpr Requests MakeRequests() {
  using namespace frt;
  Requests t{};
  const auto set = [&t](char c, DataType plain, DataType h, DataType l) {
    t[static_cast<unsigned char>(c)] = {plain, h, l};
  };
  set('c', kTypeChar, kTypeChar, kTypeChar);
  set('s', kTypeText, kTypeText, kTypeText);
  for (char c : {'d', 'i'}) set(c, kTypeInt, kTypeShort, kTypeLong);
  for (char c : {'o', 'x'}) set(c, kTypeUInt, kTypeUShort, kTypeLong);
  for (char c : {'e', 'E', 'f', 'g'}) set(c, kTypeFloat, kTypeFloat, kTypeDouble);
  return t;
}
constexpr Requests kRequests = MakeRequests();

frt::DataType RequestedType(const ConversionSpec& spec) {
  return kRequests[static_cast<unsigned char>(spec.type)][spec.size];
}

// What reading a conversion ended with: a complete conversion (the text goes on after its type
// letter),
// "%%" (one % is printed), a character that broke the conversion (printed as text), or the end of
// the text inside the conversion.
enum class Parsed { kConversion, kPercent, kBroken, kEnd };

// Reads the digits at p (the first one is known) into n, which stops at kMaxField.
const char* ReadNumber(const char* p, const char* end, int& n) {
  do {
    n = n * 10 + (*p - '0');
    if (n > kMaxField) n = kMaxField;
  } while (++p < end && IsDigit(*p));
  return p;
}

// Reads a conversion from just after its %: flags, width, dot and precision, size, type. A % on
// the way starts a fresh conversion. The branches follow the state machine of output strings so
// that ordinary conversions cost no table dispatch per character.
Parsed ParseConversion(const char*& p, const char* end, ConversionSpec& spec) {
  for (;; spec = ConversionSpec{}) {
    const char* const start = p;
    for (unsigned f; p < end && (f = ClassOf(*p) & 0xff) != 0; ++p) spec.flags |= f;
    if (p == end) return Parsed::kEnd;
    if (*p == '%') {
      if (p++ == start) return Parsed::kPercent;
      continue;  // % after flags starts over
    }
    if (*p >= '1' && *p <= '9' && (p = ReadNumber(p, end, spec.width)) == end) return Parsed::kEnd;
    if (*p == '.') {
      spec.precision = 0;
      if (++p == end) return Parsed::kEnd;
      if (*p == '%') {
        ++p;
        continue;
      }
      if (!IsDigit(*p)) return Parsed::kBroken;  // a dot must be followed by a digit
      if ((p = ReadNumber(p, end, spec.precision)) == end) return Parsed::kEnd;
    }
    if (*p == 'h' || *p == 'l' || *p == 'L') {
      spec.size = *p == 'h' ? kShortSize : kLongSize;
      if (++p == end) return Parsed::kEnd;
    }
    if ((spec.kind = static_cast<std::uint8_t>(ClassOf(*p) >> 8)) != 0) {
      spec.type = *p++;
      return Parsed::kConversion;
    }
    if (*p != '%') return Parsed::kBroken;
    ++p;
  }
}

// The value source's answer for one conversion.
struct Value {
  CFrtVariable* variable = nullptr;
  frt::DataType requested = frt::kTypeNone;
  frt::Result answer = frt::kOk;  // kOk, or kNotFound when the default output string stands in
  const void* pointer = nullptr;
};

// A conversion's text and its sign or prefix, before padding.
struct Field {
  frt::FieldText text;
  std::string_view prefix;  // the sign, or "0x"
  bool negative = false;
};

void FormatReal(const ConversionSpec& spec, const CFrtVariable& variable, const void* value,
                Field& field) {
  const double v = Load<double>(value);
  const bool alternate = spec.flags & kAlternate;
  frt::FormatFloat(v,  // E is e with capitals
                   {.conversion = spec.type,
                    .precision = spec.precision < 0 ? 6 : spec.precision,
                    .alternate = alternate,
                    .stripZeros = spec.type == 'g' && !alternate,
                    .cutDigits = (variable.options & CFrtVariable::kOptCutDigits) != 0},
                   field.text);
  field.negative =
      (variable.options & CFrtVariable::kOptNegative) || (v < 0 && !field.text.IsSingle('0'));
}

// A precision given to an integer conversion clears the conversion's zero padding.
void FormatInteger(ConversionSpec& spec, frt::DataType type, const void* value, Field& field) {
  std::uint32_t magnitude = 0;
  if (spec.IsSignedInteger()) {
    const std::int32_t v =
        type == frt::kTypeShort ? Load<std::int16_t>(value) : Load<std::int32_t>(value);
    field.negative = v < 0;
    magnitude = v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
  } else {
    magnitude = type == frt::kTypeUShort ? Load<std::uint16_t>(value) : Load<std::uint32_t>(value);
  }
  if (spec.precision >= 0) spec.flags &= ~kZeroPad;
  const std::size_t precision = spec.precision < 0 ? 1 : static_cast<std::size_t>(spec.precision);
  const unsigned base = spec.type == 'o' ? 8 : (spec.type == 'x' ? 16 : 10);
  const bool alternate = spec.flags & kAlternate;
  char digits[12];
  const char* d = Digits(magnitude, base, digits + sizeof digits);
  const std::size_t count = static_cast<std::size_t>(digits + sizeof digits - d);
  std::size_t zeros = precision > count ? precision - count : 0;
  // The digits themselves never start with 0, so only leading zeros can supply it.
  if (spec.type == 'o' && alternate && zeros == 0) zeros = 1;
  field.text.AppendFill('0', zeros);
  field.text.AppendCopy(d, count);
  if (spec.type == 'x' && alternate && magnitude != 0) field.prefix = "0x"sv;
}

// Writes the field into the conversion's width: blanks in front, zeros between prefix and text, or
// blanks behind. With `cut` a text as long as the width keeps only its last characters.
bool WritePadded(Sink& sink, const ConversionSpec& spec, const Field& field, bool cut) {
  const std::size_t width = static_cast<std::size_t>(spec.width);
  const std::size_t length = field.text.size();
  std::size_t skip = 0;
  if (cut && width >= 1 && length >= width)
    skip = length - (width - ((field.negative || (spec.flags & kPlus)) ? 1 : 0));
  const std::size_t used = length - skip + field.prefix.size();
  const std::size_t pad = width > used ? width - used : 0;
  const bool left = spec.flags & kLeft;
  const bool zeroPad = (spec.flags & kZeroPad) && !left;
  if (pad && !left && !zeroPad && !sink.Fill(' ', pad)) return false;
  if (!field.prefix.empty() && !sink.Put(field.prefix.data(), field.prefix.size())) return false;
  if (pad && zeroPad && !sink.Fill('0', pad)) return false;
  const bool ok = field.text.Emit(
      skip, [&](const char* s, std::size_t n) { return sink.Put(s, n); },
      [&](char c, std::size_t n) { return sink.Fill(c, n); });
  return ok && (!pad || !left || sink.Fill(' ', pad));
}

// One rendering of one string: its text walk, the running variable index and the last answer.
class Renderer {
 public:
  Renderer(CFrtValueSource* source, const CFrtFile* format, CFrtString& string, Sink& sink)
      : source_(source), format_(format), string_(string), sink_(sink) {}

  frt::Result Run();

 private:
  // Performs one conversion; false ends the rendering with `result`.
  bool Convert(ConversionSpec& spec, frt::Result& result);
  // Takes the next variable, writes the requested data type into it and asks the source.
  frt::Result RequestValue(const ConversionSpec& spec, Value& value);
  void Format(ConversionSpec& spec, const Value& value, Field& field) const;

  CFrtValueSource* source_;
  const CFrtFile* format_;
  CFrtString& string_;
  Sink& sink_;
  int index_ = 0;
};

frt::Result Renderer::Run() {
  const std::string_view text = string_.TextView();
  const char* p = text.data();
  const char* const end = p + text.size();
  frt::Result last = frt::kOk;
  for (;;) {
    // Everything but % is copied; a doubled backslash is copied once.
    const char* q = p;
    while (q < end && *q != '%' && *q != '\\') ++q;
    if (q != p && !sink_.Put(p, static_cast<std::size_t>(q - p))) return frt::kBufferOverflow;
    p = q;
    if (p == end) return last;
    if (*p == '\\') {
      if (!sink_.Put("\\", 1)) return frt::kBufferOverflow;
      p += (p + 1 < end && p[1] == '\\') ? 2 : 1;
      continue;
    }
    ConversionSpec spec;
    switch (ParseConversion(++p, end, spec)) {
      case Parsed::kEnd:
        return last;
      case Parsed::kBroken:
        break;  // the text path prints the character that broke it
      case Parsed::kPercent:
        if (!sink_.Put("%", 1)) return frt::kBufferOverflow;
        break;
      case Parsed::kConversion:
        if (!Convert(spec, last)) return last;
        break;
    }
  }
}

bool Renderer::Convert(ConversionSpec& spec, frt::Result& result) {
  Value value;
  result = RequestValue(spec, value);
  if (result != frt::kOk) return false;
  Field field;
  Format(spec, value, field);
  if (!WritePadded(sink_, spec, field, value.variable->options & CFrtVariable::kOptCutWidth)) {
    result = frt::kBufferOverflow;
    return false;
  }
  result = value.answer;
  return true;
}

frt::Result Renderer::RequestValue(const ConversionSpec& spec, Value& value) {
  const frt::Result fetched = string_.VariableAt(index_++, value.variable);
  if (fetched != frt::kOk) return fetched;
  value.requested = RequestedType(spec);
  value.variable->dataType = value.requested;
  if (!source_) return frt::kNullPointer;
  value.answer = source_->Value(*value.variable, value.pointer, value.requested);
  if (value.answer == frt::kNotFound && !format_) return frt::kNoDefaultString;
  if (value.answer != frt::kOk && value.answer != frt::kNotFound) return value.answer;
  const int answered = value.variable->dataType;
  if (answered != frt::kTypeNone && answered != value.requested &&
      !(spec.IsFloat() && answered == frt::kTypeFloat2))
    return frt::kWrongType;
  return frt::kOk;
}

// The conversion's text and its sign or prefix; the default output string stands in for a missing
// value.
void Renderer::Format(ConversionSpec& spec, const Value& value, Field& field) const {
  if (value.answer == frt::kNotFound) {
    const int answered = value.variable->dataType;
    const char* fallback = format_->DefaultString(answered ? answered : value.requested);
    field.text.Append(fallback, std::strlen(fallback));
  } else if (!value.pointer) {
    field.text.Append("(null)", 6);
  } else if (spec.type == 'c') {
    const char ch = Load<char>(value.pointer);
    if (ch != '\0') field.text.AppendCopy(&ch, 1);  // the output is a C string
  } else if (spec.type == 's') {
    const char* s = static_cast<const char*>(value.pointer);
    const std::size_t limit = static_cast<std::size_t>(spec.precision);
    field.text.Append(s, spec.precision > 0 ? strnlen(s, limit) : std::strlen(s));
  } else if (spec.IsFloat()) {
    FormatReal(spec, *value.variable, value.pointer, field);
  } else {
    FormatInteger(spec, value.requested, value.pointer, field);
  }
  if (spec.kind & (kSignedLetter | kFloatLetter))
    field.prefix = field.negative          ? "-"sv
                   : (spec.flags & kPlus)  ? "+"sv
                   : (spec.flags & kSpace) ? " "sv
                                           : ""sv;
}

}  // namespace

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
  return Renderer(source_, format_, *string, sink).Run();
}

frt::Result CFrtEngine::Render(CFrtString* string, std::string& out) {
  if (!string) return frt::kNullPointer;
  Sink sink(out);
  return Renderer(source_, format_, *string, sink).Run();
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
