#include "workbench/records_csv.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <unordered_map>

#include "catalogue/format_template.h"
#include "library/text_encoding.h"

namespace workbench {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr int kMaxBlock = 999;

// The bytes that end a run of plain text in an unquoted and in a quoted field.
constexpr std::uint8_t kStopsField = 1, kStopsQuoted = 2;
constexpr std::array<std::uint8_t, 256> MakeStops() {
  std::array<std::uint8_t, 256> t{};
  t[','] = t['\r'] = kStopsField;
  t['"'] = t['\n'] = kStopsField | kStopsQuoted;
  return t;
}
constexpr std::array<std::uint8_t, 256> kStops = MakeStops();

bool AllEmpty(const std::vector<std::string>& fields) {
  for (const std::string& f : fields)
    if (!f.empty()) return false;
  return true;
}

bool IsAscii(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

bool ParseInt(std::string_view text, int& value) {
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && p == end;
}

// The pool variables the template's definitions allow, by their names as UTF-8.
std::unordered_map<std::string, int> NamesOf(const CFormatTemplate* tpl) {
  std::unordered_map<std::string, int> names;
  if (!tpl) return names;
  for (const CFTFormat* definition : tpl->FormatList())
    for (const auto& v : definition->AllowedVariables())
      if (const CFTPoolVariable* pool = tpl->FindPoolVariable(v->Code()))
        names.emplace(frt::GbkToUtf8(pool->Name()), static_cast<int>(v->Code()));
  return names;
}

int CodeOf(const CFormatTemplate* tpl, const std::unordered_map<std::string, int>& names,
           std::string_view heading) {
  int code = 0;
  if (ParseInt(heading, code)) return tpl && tpl->HasPoolVariable(code) ? code : -1;
  const auto it = names.find(std::string(heading));
  return it == names.end() ? -1 : it->second;
}

}  // namespace

const std::string* Record::Find(int code) const {
  for (const RecordValue& v : values)
    if (v.code == code) return &v.text;
  return nullptr;
}

void CsvReader::Feed(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size()) {
    const char c = bytes[i];
    if (atStart_) {
      ++i;
      if (c == kBom[bomMatched_]) {
        if (++bomMatched_ == 3) atStart_ = false;
        continue;
      }
      atStart_ = false;
      for (std::size_t k = 0; k < bomMatched_; ++k) Byte(kBom[k]);  // not a mark: data
      Byte(c);
      continue;
    }
    // Most bytes are plain field text: take a run of them at once.
    if (!pendingCr_ && (state_ == State::kField || state_ == State::kQuoted)) {
      const std::uint8_t stop = state_ == State::kField ? kStopsField : kStopsQuoted;
      std::size_t end = i;
      while (end < bytes.size() && !(kStops[static_cast<unsigned char>(bytes[end])] & stop)) ++end;
      std::size_t run = end - i;
      if (run > 0) {
        run = std::min({run, kMaxRow + 1 - rowBytes_, kMaxField + 1 - field_.size()});
        field_.append(bytes.data() + i, run);
        rowBytes_ += run;
        i += run;
        if (rowBytes_ > kMaxRow)
          Fail("row longer than " + std::to_string(kMaxRow) + " bytes");
        else if (field_.size() > kMaxField)
          Fail("field longer than " + std::to_string(kMaxField) + " bytes");
        continue;
      }
    }
    Byte(c);
    ++i;
  }
}

void CsvReader::Byte(char c) {
  if (pendingCr_) {
    pendingCr_ = false;
    if (c != '\n') {  // a CR not followed by LF is data
      if (state_ == State::kQuoteInQuoted) {
        Fail("a character after a closing quote");
      } else {
        state_ = State::kField;
        field_ += '\r';
      }
    }
  }
  if (state_ != State::kSkip && ++rowBytes_ > kMaxRow)
    Fail("row longer than " + std::to_string(kMaxRow) + " bytes");
  switch (state_) {
    case State::kStart:
    case State::kField:
    case State::kQuoteInQuoted:
      if (c == ',') {
        EndField();
      } else if (c == '\n') {
        EndField();
        EndRow();
      } else if (c == '\r') {
        pendingCr_ = true;
      } else if (state_ == State::kQuoteInQuoted) {
        if (c == '"') {
          field_ += c;
          state_ = State::kQuoted;
        } else {
          Fail("a character after a closing quote");
        }
      } else if (c == '"' && state_ == State::kStart) {
        state_ = State::kQuoted;
      } else {
        state_ = State::kField;
        field_ += c;
      }
      break;
    case State::kQuoted:
      if (c == '"') {
        state_ = State::kQuoteInQuoted;
        break;
      }
      if (c == '\n') ++line_;
      field_ += c;
      break;
    case State::kSkip:
      if (c == '\n') EndRow();
      return;
  }
  if (field_.size() > kMaxField) Fail("field longer than " + std::to_string(kMaxField) + " bytes");
}

void CsvReader::EndField() {
  if (state_ == State::kSkip) return;
  // The strings of the previous row are kept for their storage.
  if (used_ < fields_.size())
    fields_[used_].swap(field_);
  else
    fields_.push_back(std::move(field_));
  ++used_;
  field_.clear();
  state_ = State::kStart;
  if (used_ > kMaxFields) Fail("more than " + std::to_string(kMaxFields) + " fields");
}

void CsvReader::EndRow() {
  fields_.resize(used_);
  handler_(fields_, rowLine_, error_);
  used_ = 0;
  field_.clear();
  error_.clear();
  rowBytes_ = 0;
  state_ = State::kStart;
  rowLine_ = ++line_;
}

void CsvReader::Fail(std::string error) {
  if (state_ == State::kSkip) return;
  error_ = std::move(error);
  field_.clear();
  state_ = State::kSkip;
}

void CsvReader::Finish() {
  if (atStart_) {
    atStart_ = false;
    for (std::size_t i = 0; i < bomMatched_; ++i) Byte(kBom[i]);
  }
  pendingCr_ = false;  // a CR at the very end ends the row
  if (rowBytes_ == 0 && state_ != State::kSkip) return;
  if (state_ == State::kQuoted) Fail("a quote not closed at the end of the input");
  EndField();
  EndRow();
}

RecordsReader::RecordsReader(const CFormatTemplate* formatTemplate, RecordHandler onRecord,
                             ErrorHandler onError)
    : template_(formatTemplate),
      onRecord_(std::move(onRecord)),
      onError_(std::move(onError)),
      csv_([this](const std::vector<std::string>& fields, int row, const std::string& error) {
        Row(fields, row, error);
      }) {}

void RecordsReader::Feed(std::string_view bytes) {
  if (headerOk_) csv_.Feed(bytes);
}

void RecordsReader::Finish() {
  if (headerOk_) csv_.Finish();
  if (!seenHeader_ && headerOk_) {
    headerOk_ = false;
    onError_(1, "no header row");
  }
}

bool RecordsReader::Header(const std::vector<std::string>& fields, int row) {
  if (fields.empty() || fields[0] != "block") {
    onError_(row, "the first column must be headed 'block'");
    return false;
  }
  const auto names = NamesOf(template_);
  for (std::size_t i = 1; i < fields.size(); ++i) {
    const int code = CodeOf(template_, names, fields[i]);
    if (code < 0) {
      onError_(row, "column " + std::to_string(i + 1) + " '" + fields[i] +
                        "' names no variable of the template");
      return false;
    }
    for (const int seen : codes_)
      if (seen == code) {
        onError_(row, "column " + std::to_string(i + 1) + " '" + fields[i] +
                          "' names a variable a column before names");
        return false;
      }
    codes_.push_back(code);
  }
  return true;
}

void RecordsReader::Row(const std::vector<std::string>& fields, int row, const std::string& error) {
  if (!headerOk_) return;
  if (!error.empty()) {
    onError_(row, error);
    if (!seenHeader_) seenHeader_ = true, headerOk_ = false;
    return;
  }
  if (AllEmpty(fields)) return;
  if (!seenHeader_) {
    seenHeader_ = true;
    headerOk_ = Header(fields, row);
    return;
  }
  if (fields.size() > codes_.size() + 1) {
    onError_(row, std::to_string(fields.size()) + " cells, but the header has " +
                      std::to_string(codes_.size() + 1) + " columns");
    return;
  }
  record_.row = row;
  if (!ParseInt(fields[0], record_.block) || record_.block < 0 || record_.block > kMaxBlock) {
    onError_(row, "block '" + fields[0] + "' is not a block number (0 to 999)");
    return;
  }
  // Cells are UTF-8, records hold the format's bytes (GBK), both ways lossless so that bytes
  // that are not GBK survive a round trip. The strings of the previous record are reused.
  std::size_t used = 0;
  for (std::size_t i = 1; i < fields.size(); ++i) {
    if (fields[i].empty()) continue;
    if (used == record_.values.size()) record_.values.emplace_back();
    RecordValue& value = record_.values[used++];
    value.code = codes_[i - 1];
    if (IsAscii(fields[i]))
      value.text.assign(fields[i]);
    else
      value.text = frt::Utf8ToGbkLossless(fields[i]);
  }
  record_.values.resize(used);
  onRecord_(record_);
}

int CodeOfHeading(const CFormatTemplate* formatTemplate, std::string_view heading) {
  return CodeOf(formatTemplate, NamesOf(formatTemplate), heading);
}

void AppendCsvField(std::string& out, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out.append(text);
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

std::string RecordsHeader(const CFormatTemplate* formatTemplate, const std::vector<int>& codes) {
  std::string out = "block";
  for (const int code : codes) {
    out += ',';
    const CFTPoolVariable* pool = formatTemplate ? formatTemplate->FindPoolVariable(code) : nullptr;
    AppendCsvField(
        out, pool && !pool->Name().empty() ? frt::GbkToUtf8(pool->Name()) : std::to_string(code));
  }
  return out + "\r\n";
}

std::string RecordRow(const Record& record, const std::vector<int>& codes) {
  std::string out = std::to_string(record.block);
  for (const int code : codes) {
    out += ',';
    if (const std::string* text = record.Find(code))
      AppendCsvField(out, IsAscii(*text) ? *text : frt::GbkToUtf8Lossless(*text));
  }
  return out + "\r\n";
}

}  // namespace workbench
