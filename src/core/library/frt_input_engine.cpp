#include "frt_input_engine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>

#include "frt_file.h"
#include "frt_string.h"

namespace frt {
namespace {

// Without a width, one conversion reads at most this many characters.
constexpr std::size_t kMaxRead = 1928;
constexpr std::size_t kMaxWidth = 1u << 20;

enum InputClass : std::uint8_t { kOther, kPercent, kSuppress, kSize, kType, kDigit };

constexpr std::array<std::uint8_t, 256> MakeClasses() {
  std::array<std::uint8_t, 256> t{};
  t['%'] = kPercent;
  t['*'] = kSuppress;
  t['l'] = t['h'] = kSize;
  for (char c : {'e', 'E', 'f', 'g', 'x', 'd', 'i', 'c', 's', 'o'})
    t[static_cast<unsigned char>(c)] = kType;
  for (char c = '0'; c <= '9'; ++c) t[static_cast<unsigned char>(c)] = kDigit;
  return t;
}
constexpr std::array<std::uint8_t, 256> kClasses = MakeClasses();

// Next state by class and current state (states 0 normal, 1 percent, 2 suppress, 3 width,
// 5 size, 6 type; column 4 is never used).
constexpr std::uint8_t kNext[6][7] = {
    /* other    */ {0, 0, 0, 0, 0, 0, 0},
    /* percent  */ {1, 0, 1, 1, 0, 1, 1},
    /* suppress */ {0, 2, 2, 0, 0, 0, 0},
    /* size     */ {0, 5, 5, 5, 0, 0, 0},
    /* type     */ {0, 6, 6, 6, 0, 6, 0},
    /* digit    */ {0, 3, 3, 3, 0, 0, 0},
};

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return 99;
}

// An optional sign, for base 16 an optional 0x, and digits. Returns the characters used, 0 when
// there is no digit. Values beyond the range of long long are held at its limits.
std::size_t ReadInteger(std::string_view in, int base, long long& value) {
  std::size_t i = 0;
  bool negative = false;
  if (i < in.size() && (in[i] == '+' || in[i] == '-')) negative = in[i++] == '-';
  if (base == 16 && i + 2 < in.size() && in[i] == '0' && (in[i + 1] == 'x' || in[i + 1] == 'X') &&
      DigitValue(in[i + 2]) < 16)
    i += 2;
  const unsigned long long limit =
      negative ? 1ULL + LLONG_MAX : static_cast<unsigned long long>(LLONG_MAX);
  unsigned long long magnitude = 0;
  std::size_t start = i;
  for (; i < in.size(); ++i) {
    int d = DigitValue(in[i]);
    if (d >= base) break;
    if (magnitude > (limit - static_cast<unsigned>(d)) / static_cast<unsigned>(base))
      magnitude = limit;
    else
      magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(d);
  }
  if (i == start) return 0;
  if (negative)
    value = magnitude == 1ULL + LLONG_MAX ? LLONG_MIN : -static_cast<long long>(magnitude);
  else
    value = static_cast<long long>(magnitude);
  return i;
}

std::size_t SkipDigits(std::string_view in, std::size_t i) {
  while (i < in.size() && in[i] >= '0' && in[i] <= '9') ++i;
  return i;
}

// An optional sign, digits, optionally a point and digits, optionally e or E, a sign and digits.
// Converted without the locale: files always use a decimal point.
std::size_t ReadFloat(std::string_view in, double& value) {
  std::size_t i = 0;
  if (i < in.size() && (in[i] == '+' || in[i] == '-')) ++i;
  std::size_t mantissa = i;
  i = SkipDigits(in, i);
  std::size_t digits = i - mantissa;
  if (i < in.size() && in[i] == '.') {
    std::size_t fraction = SkipDigits(in, i + 1);
    digits += fraction - i - 1;
    if (digits > 0) i = fraction;
  }
  if (digits == 0) return 0;
  bool smallExponent = false;
  if (i < in.size() && (in[i] == 'e' || in[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < in.size() && (in[j] == '+' || in[j] == '-')) smallExponent = in[j++] == '-';
    std::size_t end = SkipDigits(in, j);
    if (end > j)
      i = end;  // an e without digits is not part of the number
    else
      smallExponent = false;
  }
  const char* first = in.data() + (in[0] == '+' ? 1 : 0);
  double v = 0.0;
  if (std::from_chars(first, in.data() + i, v).ec == std::errc::result_out_of_range) {
    v = smallExponent ? 0.0 : HUGE_VAL;
    if (in[0] == '-') v = -v;
  }
  value = v;
  return i;
}

}  // namespace

ScanRun ScanImport(std::string_view importText, std::size_t variableCount, std::string_view input,
                   std::vector<ScanValue>& values) {
  ScanRun run;
  std::size_t pos = 0;
  std::size_t variable = 0;
  int state = 0;
  bool suppress = false;
  bool widthGiven = false;
  std::size_t width = 0;
  std::size_t piece = 0;  // the literal or the '%' of the conversion being read

  auto finish = [&](ScanOutcome outcome) {
    run.outcome = outcome;
    run.position = pos;
    run.textPosition = outcome == ScanOutcome::kComplete ? importText.size() : piece;
    if (outcome == ScanOutcome::kMismatch) run.matched = false;
    return run;
  };

  for (std::size_t i = 0; i < importText.size(); ++i) {
    const char c = importText[i];
    const int next = kNext[kClasses[static_cast<unsigned char>(c)]][state];
    if (next == 0 || (next == 1 && state != 1)) piece = i;
    switch (next) {
      case 0:
        if (pos >= input.size()) return finish(ScanOutcome::kShort);
        if (input[pos] != c) return finish(ScanOutcome::kMismatch);
        ++pos;
        break;
      case 1:
        suppress = false;
        widthGiven = false;
        width = 0;
        break;
      case 2:
        suppress = true;
        break;
      case 3:
        widthGiven = true;
        width = width * 10 + static_cast<std::size_t>(c - '0');
        if (width > kMaxWidth) width = kMaxWidth;
        break;
      case 5:
        break;  // h and l are accepted; the value handed over is wide enough for both
      case 6: {
        const char conversion = c == 'E' ? 'e' : c;
        int target = -1;
        if (!suppress) {
          if (variable >= variableCount) return finish(ScanOutcome::kNoVariable);
          target = static_cast<int>(variable++);
        }
        if (conversion == 'i') break;  // takes its variable, reads nothing
        if (conversion != 'c')
          while (pos < input.size() && IsSpace(input[pos])) ++pos;
        if (pos >= input.size()) return finish(ScanOutcome::kShort);
        std::size_t limit = widthGiven ? width : (conversion == 'c' ? 1 : kMaxRead);
        std::string_view field = input.substr(pos, limit);
        CFrtInputValue value;
        value.conversion = conversion;
        std::size_t n = 0;
        switch (conversion) {
          case 's':
          case 'c': {
            // A literal right behind the conversion ends the text ("%s," stops at a comma).
            const bool hasStop = i + 1 < importText.size() && importText[i + 1] != '%';
            const char stop = hasStop ? importText[i + 1] : '\0';
            while (n < field.size() && field[n] != '\0' && !IsSpace(field[n]) &&
                   !(hasStop && field[n] == stop))
              ++n;
            if (n == 0) return finish(ScanOutcome::kStopped);
            break;
          }
          case 'd':
            n = ReadInteger(field, 10, value.integer);
            break;
          case 'o':
            n = ReadInteger(field, 8, value.integer);
            break;
          case 'x':
            n = ReadInteger(field, 16, value.integer);
            break;
          default:  // e, f, g
            n = ReadFloat(field, value.number);
            break;
        }
        if (n == 0) return finish(ScanOutcome::kMismatch);
        value.text = input.substr(pos, n);
        pos += n;
        run.matched = true;
        if (target >= 0) values.push_back(ScanValue{target, value});
        break;
      }
      default:
        break;
    }
    state = next;
  }
  return finish(ScanOutcome::kComplete);
}

Result ScanLine(const CFrtString& importString, std::string_view line, CFrtValueSource& sink) {
  std::vector<ScanValue> values;
  ScanRun run = ScanImport(importString.TextView(), importString.Variables().size(), line, values);
  Result result = kOk;
  switch (run.outcome) {
    case ScanOutcome::kShort:
      return kIncompleteInput;
    case ScanOutcome::kMismatch:
      return kInputMismatch;
    case ScanOutcome::kStopped:
      if (!run.matched) return kInputMismatch;
      break;
    case ScanOutcome::kNoVariable:
      result = kEnded;
      break;
    case ScanOutcome::kComplete:
      break;
  }
  for (const ScanValue& v : values) {
    Result r = sink.Accept(importString.Variables()[static_cast<std::size_t>(v.variable)], v.value);
    if (r != kOk) return r;
  }
  return result;
}

}  // namespace frt

CFrtInputEngine::CFrtInputEngine() {
  values_.reserve(32);
}

frt::Result CFrtInputEngine::Begin(CFrtFile* format, int blockType) {
  if (!format) return frt::kNullPointer;
  format_ = format;
  block_ = blockType;
  read_ = write_ = 0;
  status_ = kStarted;
  values_.clear();
  return frt::kOk;
}

frt::Result CFrtInputEngine::Line(std::string_view text, CFrtValueSource* sink) {
  if (!(status_ & kStarted)) return frt::kNotAttached;
  if (status_ & kEnded) return frt::kEnded;
  if (!sink) return frt::kNullPointer;
  if (!text.empty() && text.back() == '\n') text.remove_suffix(1);
  if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
  if (text.size() + 1 > kMaxBuffered - Buffered()) return frt::kOutOfMemory;
  // Two pieces at most: up to the end of the ring, then from its start.
  std::size_t first = std::min(text.size(), kRingSlots - write_);
  std::memcpy(ring_ + write_, text.data(), first);
  std::memcpy(ring_, text.data() + first, text.size() - first);
  write_ = (write_ + text.size()) % kRingSlots;
  ring_[write_] = '\n';
  write_ = (write_ + 1) % kRingSlots;
  return Process(sink);
}

std::size_t CFrtInputEngine::Linearize() {
  std::size_t n = Buffered();
  std::size_t first = std::min(n, kRingSlots - read_);
  std::memcpy(scratch_, ring_ + read_, first);
  std::memcpy(scratch_ + first, ring_, n - first);
  return n;
}

void CFrtInputEngine::Consume(std::size_t n) {
  read_ = (read_ + n) % kRingSlots;
}

frt::Result CFrtInputEngine::Deliver(const CFrtString& string, CFrtValueSource* sink) {
  for (const frt::ScanValue& v : values_) {
    frt::Result r = sink->Accept(string.Variables()[static_cast<std::size_t>(v.variable)], v.value);
    if (r != frt::kOk) return r;
  }
  return frt::kOk;
}

frt::Result CFrtInputEngine::Process(CFrtValueSource* sink) {
  frt::Result result = frt::kOk;
  auto report = [&](frt::Result r) {
    if (result == frt::kOk) result = r;
  };
  for (;;) {
    const std::size_t n = Linearize();
    if (n == 0) return result;
    const std::string_view input(scratch_, n);
    // The rest of the line a record ends on belongs to that record.
    auto lineEnd = [&](std::size_t from) {
      const void* nl = std::memchr(scratch_ + from, '\n', n - from);
      return nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - scratch_) + 1 : n;
    };
    status_ &= static_cast<std::uint16_t>(~(kMatched | kMoreInput));
    bool anyCandidate = false;
    bool anyShort = false;
    bool accepted = false;
    for (int i = 0; i < format_->StringCount() && !accepted; ++i) {
      CFrtString* s = format_->StringAt(i);
      if (!s || s->key.direction != CFrtKey::kImport || s->key.section != CFrtKey::kBlockString ||
          s->key.block != block_ || !s->IsPresent())
        continue;
      anyCandidate = true;
      values_.clear();
      frt::ScanRun run = frt::ScanImport(s->TextView(), s->Variables().size(), input, values_);
      switch (run.outcome) {
        case frt::ScanOutcome::kShort:
          anyShort = true;
          continue;
        case frt::ScanOutcome::kMismatch:
          continue;
        case frt::ScanOutcome::kStopped:
          if (!run.matched) continue;
          break;
        case frt::ScanOutcome::kNoVariable: {
          // The string has no variable left for a conversion: what was read is kept, and the
          // input ends.
          if (run.matched) status_ |= kMatched;
          frt::Result r = Deliver(*s, sink);
          Consume(lineEnd(run.position));
          status_ |= kEnded;
          report(r == frt::kOk ? frt::kEnded : r);
          return result;
        }
        case frt::ScanOutcome::kComplete:
          break;
      }
      accepted = true;
      if (run.matched) status_ |= kMatched;
      status_ |= kAccepted;
      frt::Result r = Deliver(*s, sink);
      Consume(lineEnd(run.position));
      report(r);
    }
    if (accepted) continue;
    if (!anyCandidate) {
      status_ |= kEnded;
      report(frt::kEnded);
      return result;
    }
    if (anyShort) {
      status_ |= kMoreInput;
      report(frt::kIncompleteInput);
      return result;
    }
    Consume(lineEnd(0));
    report(frt::kInputMismatch);
  }
}
