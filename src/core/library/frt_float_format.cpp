#include "frt_float_format.h"

#include <cmath>
#include <cstdint>
#include <cstring>

namespace frt {

char FieldText::Back() const {
  if (count_ == 0) return '\0';
  const Run& r = runs_[count_ - 1];
  return r.chars ? r.chars[r.length - 1] : r.fill;
}

void FieldText::PopBack() {
  if (count_ == 0) return;
  Run& r = runs_[count_ - 1];
  --size_;
  if (--r.length == 0) --count_;
}

void FieldText::TrimTrailing(char c) {
  while (count_ > 0) {
    Run& r = runs_[count_ - 1];
    if (!r.chars) {
      if (r.fill != c) return;
      size_ -= r.length;
      --count_;
      continue;
    }
    while (r.length > 0 && r.chars[r.length - 1] == c) {
      --r.length;
      --size_;
    }
    if (r.length > 0) return;
    --count_;
  }
}

std::string FieldText::str() const {
  std::string s;
  s.reserve(size_);
  Emit(
      0,
      [&](const char* p, std::size_t n) {
        s.append(p, n);
        return true;
      },
      [&](char c, std::size_t n) {
        s.append(n, c);
        return true;
      });
  return s;
}

namespace {

constexpr double kPowers[9] = {1e1, 1e2, 1e4, 1e8, 1e16, 1e32, 1e64, 1e128, 1e256};
// Products of the table's powers up to this bound are exact doubles, so they can be merged into
// one factor without losing anything.
constexpr double kExactBound = 1e22;
constexpr int kMaxSignificant = 17;
constexpr int kDigitCount = 18;  // two groups of nine

void WriteNine(char* p, std::uint32_t v) {
  for (int i = 7; i >= 1; i -= 2) {
    std::uint32_t q = v / 100;
    std::memcpy(p + i, kDigitPairs + 2 * (v - q * 100), 2);
    v = q;
  }
  p[0] = static_cast<char>('0' + v);
}

// Brings a finite positive value into [1, 10) and returns its decimal exponent. The estimate
// from the binary exponent is never off by more than one, so one correction step suffices.
int Normalize(double value, double& mantissa) {
  int e2 = 0;
  std::frexp(value, &e2);
  int estimate = ((e2 - 1) * 308) >> 10;  // floor, also for negative exponents
  int n = estimate < 0 ? -estimate : estimate;
  double m = value;
  double factor = 1.0;
  // Largest powers first, so that a denormal is lifted into the normal range before anything
  // small is applied to it.
  for (int k = 8; k >= 0; --k) {
    if (!((n >> k) & 1)) continue;
    if (factor * kPowers[k] > kExactBound) {
      m = estimate < 0 ? m * factor : m / factor;
      factor = 1.0;
    }
    factor *= kPowers[k];
  }
  m = estimate < 0 ? m * factor : m / factor;
  int exponent = estimate;
  if (m >= 10.0) {
    m /= 10.0;
    ++exponent;
  } else if (m < 1.0) {
    m *= 10.0;
    --exponent;
  }
  if (m >= 10.0) {  // 0.99999... times 10 may round up to exactly 10
    m /= 10.0;
    ++exponent;
  }
  mantissa = m;
  return exponent;
}

// The digits of the value: 17 significant ones, then '0'.
int MakeDigits(double value, char (&digits)[kDigitCount]) {
  double m = 0.0;
  int exponent = Normalize(value, m);
  std::uint64_t u = static_cast<std::uint64_t>(m * 1e17);
  if (u >= 1000000000000000000ULL) {  // rounded up to 10.0
    u /= 10;
    ++exponent;
  }
  WriteNine(digits, static_cast<std::uint32_t>(u / 1000000000ULL));
  WriteNine(digits + 9, static_cast<std::uint32_t>(u % 1000000000ULL));
  digits[kMaxSignificant] = '0';
  return exponent;
}

// Rounded significant digits of a value: `kept` digits in `digits`, the value is
// 0.d1d2d3... * 10^(exponent + 1), and every position past `kept` up to the wanted count is 0.
struct Rounded {
  char digits[kDigitCount + 1];
  int kept = 0;
  int exponent = 0;
};

// Keeps `wanted` significant digits (may be 0 or negative for f). Returns true when the rounding
// carried out of the first digit, which adds a digit in front.
bool RoundDigits(const char (&all)[kDigitCount], int exponent, long long wanted, bool cut,
                 Rounded& r) {
  r.exponent = exponent;
  if (wanted <= 0) {
    r.kept = 0;
    if (wanted == 0 && !cut && all[0] >= '5') {
      r.digits[0] = '1';
      r.kept = 1;
      r.exponent = exponent + 1;
      return true;
    }
    return false;
  }
  int kept = wanted < kMaxSignificant ? static_cast<int>(wanted) : kMaxSignificant;
  std::memcpy(r.digits, all, static_cast<std::size_t>(kept));
  r.kept = kept;
  if (cut || wanted >= kDigitCount || all[wanted] < '5') return false;
  for (int i = kept - 1; i >= 0; --i) {
    if (r.digits[i] != '9') {
      ++r.digits[i];
      return false;
    }
    r.digits[i] = '0';
  }
  // 99..9 became 00..0: a 1 in front, one position higher.
  std::memmove(r.digits + 1, r.digits, static_cast<std::size_t>(kept));
  r.digits[0] = '1';
  r.kept = kept + 1;
  r.exponent = exponent + 1;
  return true;
}

void AppendExponent(FieldText& text, char letter, int exponent) {
  char buf[6];
  int n = 0;
  buf[n++] = letter;
  buf[n++] = exponent < 0 ? '-' : '+';
  unsigned e = static_cast<unsigned>(exponent < 0 ? -exponent : exponent);
  if (e > 99) buf[n++] = static_cast<char>('0' + e / 100);
  buf[n++] = static_cast<char>('0' + e / 10 % 10);
  buf[n++] = static_cast<char>('0' + e % 10);
  text.AppendCopy(buf, static_cast<std::size_t>(n));
}

void FinishMantissa(FieldText& text, const FloatLayout& layout) {
  if (layout.stripZeros) text.TrimTrailing('0');  // stops at the point, which is always there
  if (!layout.alternate && text.Back() == '.') text.PopBack();
}

// Fixed notation with `fraction` digits after the point.
void Fixed(const char (&all)[kDigitCount], int exponent, long long fraction,
           const FloatLayout& layout, FieldText& text) {
  Rounded r;
  RoundDigits(all, exponent, exponent + 1 + fraction, layout.cutDigits, r);
  std::size_t kept = static_cast<std::size_t>(r.kept);
  std::size_t frac = static_cast<std::size_t>(fraction);
  if (r.exponent >= 0) {
    std::size_t intLen = static_cast<std::size_t>(r.exponent) + 1;
    std::size_t kInt = kept < intLen ? kept : intLen;
    text.AppendCopy(r.digits, kInt);
    text.AppendFill('0', intLen - kInt);
    text.Append(".", 1);
    text.AppendCopy(r.digits + kInt, kept - kInt);
    text.AppendFill('0', frac - (kept - kInt));
  } else {
    std::size_t zeros = static_cast<std::size_t>(-r.exponent - 1);
    std::size_t lead = zeros < frac ? zeros : frac;
    text.Append("0.", 2);
    text.AppendFill('0', lead);
    text.AppendCopy(r.digits, kept);
    text.AppendFill('0', frac - lead - kept);
  }
  FinishMantissa(text, layout);
}

// Exponent notation with `significant` digits.
void Exponent(const char (&all)[kDigitCount], int exponent, long long significant,
              const FloatLayout& layout, char letter, FieldText& text) {
  Rounded r;
  // A carry makes 99..9 a 1 followed by zeros; the extra digit is dropped, the exponent grew.
  if (RoundDigits(all, exponent, significant, layout.cutDigits, r)) --r.kept;
  std::size_t kept = static_cast<std::size_t>(r.kept);
  text.AppendCopy(r.digits, 1);
  text.Append(".", 1);
  text.AppendCopy(r.digits + 1, kept - 1);
  text.AppendFill('0', static_cast<std::size_t>(significant) - kept);
  FinishMantissa(text, layout);
  AppendExponent(text, letter, r.exponent);
}

}  // namespace

void FormatFloat(double value, const FloatLayout& layout, FieldText& text) {
  text.Clear();
  const bool capitals = layout.capitals || layout.conversion == 'E';
  double v = std::fabs(value);
  if (std::isnan(v)) {
    text.Append(capitals ? "NAN" : "nan", 3);
    return;
  }
  if (std::isinf(v)) {
    text.Append(capitals ? "INF" : "inf", 3);
    return;
  }
  // E is e with capitals, as the renderer passes it; accepted here too.
  const char conversion = layout.conversion == 'E' ? 'e' : layout.conversion;
  const long long precision = layout.precision < 0 ? 6 : layout.precision;
  const char letter = capitals ? 'E' : (conversion == 'g' ? 'g' : 'e');
  const long long gDigits = precision == 0 ? 1 : precision;

  if (v == 0.0) {
    long long zeros = conversion == 'g' ? gDigits - 1 : precision;
    text.Append("0.", 2);
    text.AppendFill('0', static_cast<std::size_t>(zeros));
    FinishMantissa(text, layout);
    if (conversion == 'e') AppendExponent(text, letter, 0);
    return;
  }

  char digits[kDigitCount];
  int exponent = MakeDigits(v, digits);
  if (conversion == 'f') {
    Fixed(digits, exponent, precision, layout, text);
  } else if (conversion == 'g') {
    // The notation follows the exponent before rounding.
    if (exponent >= -4 && exponent < gDigits)
      Fixed(digits, exponent, gDigits - 1 - exponent, layout, text);
    else
      Exponent(digits, exponent, gDigits, layout, letter, text);
  } else {
    Exponent(digits, exponent, precision + 1, layout, letter, text);
  }
}

std::string FormatFloat(double value, const FloatLayout& layout) {
  FieldText text;
  FormatFloat(value, layout, text);
  return text.str();
}

}  // namespace frt
