#include "utility.h"

#include <locale.h>
#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "error_message.h"
#include "string_table.h"

namespace {

constexpr const char* kWriteError = "error writing to file";
constexpr const char* kReadError = "error read from file";

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}
// White space as the C locale's isspace sees it.
bool IsSpace(char c) {
  return c == ' ' || (c >= '\t' && c <= '\r');
}

// Skips leading white space and takes an optional sign off the front.
std::string_view StripSpaceAndSign(std::string_view text, bool& negative) {
  std::size_t i = 0;
  while (i < text.size() && IsSpace(text[i])) ++i;
  negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  return text.substr(i);
}

// Out of range: let the C library decide between overflow and underflow, under the "C" locale so
// that the decimal point is a point.
double StrtodInCLocale(std::string_view number) {
  std::string copy(number);
  locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
  if (c == static_cast<locale_t>(0)) return 0.0;
  locale_t previous = uselocale(c);
  double value = std::strtod(copy.c_str(), nullptr);
  uselocale(previous);
  freelocale(c);
  return value;
}

void ReportWriteError() {
  CErrorMessage::ShowMessage(frt::kIdNone, true, kWriteError);
}

}  // namespace

std::string CUtility::IntToText(long long n, int width) {
  char buf[24];
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, n);
  std::string digits(buf, ec == std::errc() ? end : buf);
  width = std::min(width, kMaxWidth);
  if (width < 1 || static_cast<int>(digits.size()) >= width) return digits;
  std::size_t signLength = n < 0 ? 1 : 0;
  digits.insert(signLength, static_cast<std::size_t>(width) - digits.size(), '0');
  return digits;
}

std::string CUtility::FloatToText(double value, int decimals) {
  decimals = std::clamp(decimals, 0, 100);
  char buf[512];  // 309 integer digits, point, 100 decimals and a sign fit
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
  if (ec != std::errc()) return {};
  return std::string(buf, end);
}

long CUtility::TextToLong(std::string_view text) {
  bool negative = false;
  std::string_view rest = StripSpaceAndSign(text, negative);
  std::size_t n = 0;
  while (n < rest.size() && IsDigit(rest[n])) ++n;
  if (n == 0) return 0;
  unsigned long magnitude = 0;
  auto [ptr, ec] = std::from_chars(rest.data(), rest.data() + n, magnitude);
  (void)ptr;
  const unsigned long limit =
      negative ? static_cast<unsigned long>(LONG_MAX) + 1 : static_cast<unsigned long>(LONG_MAX);
  if (ec == std::errc::result_out_of_range || magnitude > limit)
    return negative ? LONG_MIN : LONG_MAX;
  if (negative) return magnitude == limit ? LONG_MIN : -static_cast<long>(magnitude);
  return static_cast<long>(magnitude);
}

double CUtility::TextToDouble(std::string_view text) {
  bool negative = false;
  std::string_view rest = StripSpaceAndSign(text, negative);
  // A second sign ("+-1") is no number; from_chars would take the '-'.
  if (rest.empty() || rest[0] == '+' || rest[0] == '-') return 0.0;
  double value = 0.0;
  auto [ptr, ec] = std::from_chars(rest.data(), rest.data() + rest.size(), value);
  if (ec == std::errc::invalid_argument) return 0.0;
  if (ec == std::errc::result_out_of_range)
    value = StrtodInCLocale(rest.substr(0, static_cast<std::size_t>(ptr - rest.data())));
  return negative ? -value : value;
}

const char* CUtility::LoadText(int id) {
  return frt::LoadText(id);
}

const char* CUtility::ResultText(frt::Result code) {
  return frt::ResultText(code);
}

std::vector<std::string> CUtility::ComboItems(int id) {
  return frt::ListItems(id);
}

std::string CUtility::SplitFirst(std::string& text, char separator) {
  std::size_t at = text.find(separator);
  std::string first;
  if (at == std::string::npos) {
    first.swap(text);
  } else {
    first.assign(text, 0, at);
    text.erase(0, at + 1);
  }
  return first;
}

int CUtility::MakeItemNumber(int categoryPart, int first, int second) {
  return static_cast<int>(static_cast<long long>(categoryPart) + first * 1000LL + second);
}

CUtility::ItemParts CUtility::SplitItemNumber(int n) {
  ItemParts parts;
  parts.category = (n / 1000000) * 1000000;
  parts.first = (n - parts.category) / 1000;
  parts.second = n % 1000;
  return parts;
}

int CUtility::FirstIndex(int n) {
  return SplitItemNumber(n).first;
}

bool CUtility::IsGroupOneItem(int n) {
  int category = n / 1000000;
  return category >= 10 && category <= 19;
}

std::string CUtility::LeadingDigits(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && IsDigit(text[n])) ++n;
  return std::string(text.substr(0, n));
}

std::string CUtility::TrailingDigits(std::string_view text) {
  std::size_t start = text.size();
  while (start > 0 && IsDigit(text[start - 1])) --start;
  return std::string(text.substr(start));
}

int CUtility::WriteBytes(std::FILE* file, const void* data, std::size_t size) {
  if (!file || (size > 0 && !data)) {
    ReportWriteError();
    return 0;
  }
  if (size > 0 && std::fwrite(data, 1, size, file) != size) {
    ReportWriteError();
    return 0;
  }
  return 1;
}

int CUtility::ReadBytes(std::FILE* file, void* data, std::size_t size) {
  if (!file || (size > 0 && !data)) return 0;
  if (size == 0) return 1;
  if (std::fread(data, 1, size, file) == size) return 1;
  if (std::ferror(file)) CErrorMessage::ShowMessage(frt::kIdNone, true, kReadError);
  return 0;
}

int CUtility::WriteUInt32(std::FILE* file, std::uint32_t value) {
  unsigned char bytes[4];
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>(value >> (8 * i));
  return WriteBytes(file, bytes, sizeof bytes);
}

int CUtility::ReadUInt32(std::FILE* file, std::uint32_t& value) {
  unsigned char bytes[4];
  if (!ReadBytes(file, bytes, sizeof bytes)) return 0;
  value = 0;
  for (int i = 3; i >= 0; --i) value = (value << 8) | bytes[i];
  return 1;
}

int CUtility::WriteText(std::FILE* file, std::string_view text) {
  if (text.size() > UINT32_MAX) {
    ReportWriteError();
    return 0;
  }
  if (!WriteUInt32(file, static_cast<std::uint32_t>(text.size()))) return 0;
  return WriteBytes(file, text.data(), text.size());
}

int CUtility::ReadText(std::FILE* file, std::string& text, std::size_t maxLength) {
  text.clear();
  std::uint32_t length = 0;
  if (!ReadUInt32(file, length)) return 0;
  if (length > maxLength) return 0;
  std::string buffer(length, '\0');
  if (!ReadBytes(file, buffer.data(), buffer.size())) return 0;
  text.swap(buffer);
  return 1;
}
