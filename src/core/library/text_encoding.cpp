#include "text_encoding.h"

#include <iconv.h>
#include <cerrno>
#include <cstdint>

namespace frt {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// One pair of converters per thread, opened on first use: a descriptor carries shift state and
// must not be shared. When the C library has no GBK converter, non-ASCII text counts as invalid.
class Converters {
 public:
  Converters() : decoder_(iconv_open("UTF-8", "GBK")), encoder_(iconv_open("GBK", "UTF-8")) {}
  ~Converters() {
    if (decoder_ != kNoConverter) iconv_close(decoder_);
    if (encoder_ != kNoConverter) iconv_close(encoder_);
  }
  Converters(const Converters&) = delete;
  Converters& operator=(const Converters&) = delete;

  iconv_t decoder() const { return decoder_; }
  iconv_t encoder() const { return encoder_; }

 private:
  iconv_t decoder_;
  iconv_t encoder_;
};

Converters& ThreadConverters() {
  thread_local Converters converters;
  return converters;
}

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// Converts the longest convertible prefix of `in`, appends it to `out` and removes it from `in`.
// Returns false when it stopped in front of a sequence it cannot convert (then `in` starts with
// it), true when everything was converted.
bool ConvertPrefix(iconv_t cd, std::string_view& in, std::string& out) {
  if (cd == kNoConverter) {
    std::size_t n = 0;
    while (n < in.size() && static_cast<unsigned char>(in[n]) < 0x80) ++n;
    out.append(in.substr(0, n));
    in.remove_prefix(n);
    return in.empty();
  }
  char buffer[4096];
  while (!in.empty()) {
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    int error = errno;
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    in.remove_prefix(static_cast<std::size_t>(src - in.data()));
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (error == E2BIG) continue;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    return false;
  }
  return true;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

std::string Decode(std::string_view gbk, bool lossless) {
  if (IsAscii(gbk)) return std::string(gbk);
  iconv_t cd = ThreadConverters().decoder();
  std::string out;
  out.reserve(gbk.size() + gbk.size() / 2 + 16);
  while (!ConvertPrefix(cd, gbk, out)) {
    // gbk starts with a byte that begins no valid character: carry it, go on behind it.
    auto byte = static_cast<unsigned char>(gbk.front());
    AppendUtf8(out, lossless ? kGbkEscapeBase + byte : char32_t{0xFFFD});
    gbk.remove_prefix(1);
  }
  return out;
}

// Length of the well-formed UTF-8 sequence at the start of s, or 0 when there is none.
std::size_t Utf8SequenceLength(std::string_view s) {
  if (s.empty()) return 0;
  auto b0 = static_cast<unsigned char>(s[0]);
  std::size_t n = 0;
  char32_t min = 0;
  char32_t cp = 0;
  if (b0 < 0x80) return 1;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    n = 2, min = 0x80, cp = b0 & 0x1F;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    n = 3, min = 0x800, cp = b0 & 0x0F;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    n = 4, min = 0x10000, cp = b0 & 0x07;
  } else {
    return 0;
  }
  if (s.size() < n) return 0;
  for (std::size_t i = 1; i < n; ++i) {
    auto b = static_cast<unsigned char>(s[i]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

// The byte an escape code point at the start of s stands for, or -1 when s starts otherwise.
int EscapedByte(std::string_view s) {
  if (s.size() < 3 || static_cast<unsigned char>(s[0]) != 0xEF) return -1;
  auto b1 = static_cast<unsigned char>(s[1]);
  auto b2 = static_cast<unsigned char>(s[2]);
  if ((b1 != 0x9E && b1 != 0x9F) || (b2 & 0xC0) != 0x80) return -1;
  char32_t cp = 0xF000 | char32_t(b1 & 0x3F) << 6 | char32_t(b2 & 0x3F);
  return static_cast<int>(cp - kGbkEscapeBase);  // 0x80..0xFF by the checks above
}

// Encodes a text without escapes.
void EncodePlain(std::string_view utf8, std::string& out, std::size_t& replaced) {
  iconv_t cd = ThreadConverters().encoder();
  while (!ConvertPrefix(cd, utf8, out)) {
    std::size_t n = Utf8SequenceLength(utf8);
    out.push_back('?');
    ++replaced;
    utf8.remove_prefix(n == 0 ? 1 : n);
  }
}

std::string Encode(std::string_view utf8, bool lossless, std::size_t* replacedOut) {
  std::size_t replaced = 0;
  std::string out;
  if (IsAscii(utf8)) {
    out.assign(utf8);
  } else if (!lossless) {
    out.reserve(utf8.size());
    EncodePlain(utf8, out, replaced);
  } else {
    out.reserve(utf8.size());
    std::size_t start = 0;
    for (std::size_t i = 0; i < utf8.size();) {
      int byte = EscapedByte(utf8.substr(i));
      if (byte < 0) {
        ++i;
        continue;
      }
      EncodePlain(utf8.substr(start, i - start), out, replaced);
      out.push_back(static_cast<char>(byte));
      i += 3;
      start = i;
    }
    EncodePlain(utf8.substr(start), out, replaced);
  }
  if (replacedOut) *replacedOut = replaced;
  return out;
}

}  // namespace

std::string GbkToUtf8(std::string_view gbk) {
  return Decode(gbk, false);
}

std::string GbkToUtf8Lossless(std::string_view gbk) {
  return Decode(gbk, true);
}

std::string Utf8ToGbk(std::string_view utf8, std::size_t* replaced) {
  return Encode(utf8, false, replaced);
}

std::string Utf8ToGbkLossless(std::string_view utf8, std::size_t* replaced) {
  return Encode(utf8, true, replaced);
}

bool IsValidGbk(std::string_view gbk) {
  if (IsAscii(gbk)) return true;
  std::string scratch;
  return ConvertPrefix(ThreadConverters().decoder(), gbk, scratch);
}

bool IsValidUtf8(std::string_view text) {
  while (!text.empty()) {
    const std::size_t n = Utf8SequenceLength(text);
    if (n == 0) return false;
    text.remove_prefix(n);
  }
  return true;
}

bool LooksLikeUtf8(std::string_view text) {
  return !IsValidGbk(text) && IsValidUtf8(text);
}

}  // namespace frt
