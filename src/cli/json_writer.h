#pragma once
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>

namespace cli {

// The length of the well-formed UTF-8 sequence that starts at s[i], or 0 when the bytes there are
// not one (a stray continuation byte, an overlong form, a surrogate, a code point above U+10FFFF
// or a cut sequence).
inline std::size_t Utf8SequenceLength(std::string_view s, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
  const unsigned char c = byte(i);
  if (c < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
  if (c >= 0xC2 && c <= 0xDF) {
    length = 2;
  } else if (c >= 0xE0 && c <= 0xEF) {
    length = 3;
    if (c == 0xE0) low = 0xA0;
    if (c == 0xED) high = 0x9F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    length = 4;
    if (c == 0xF0) low = 0x90;
    if (c == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > s.size() || byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k)
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  return length;
}

// A JSON string literal (quotes included) of a text meant to be UTF-8. Whatever the bytes, the
// result is valid JSON: each byte that is not part of a well-formed UTF-8 sequence (a file name
// that is not UTF-8, say) becomes U+FFFD.
inline std::string JsonString(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 2);
  out += '"';
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else if (const std::size_t length = Utf8SequenceLength(s, i); length > 0) {
          out.append(s.substr(i, length));
          i += length;
          continue;
        } else {
          out += "\xEF\xBF\xBD";
        }
    }
    ++i;
  }
  out += '"';
  return out;
}

// A JSON value for a number: the number with 12 significant digits, or, since JSON has no
// number for them, the string "inf", "-inf" or "nan".
inline std::string JsonNumber(double v) {
  if (std::isnan(v)) return "\"nan\"";
  if (std::isinf(v)) return v > 0 ? "\"inf\"" : "\"-inf\"";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.12g", v);
  return buf;
}

}  // namespace cli
