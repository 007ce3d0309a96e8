#include "workbench/records_csv.h"

#include <charconv>
#include <unordered_map>

#include "catalogue/format_template.h"
#include "library/text_encoding.h"

namespace workbench {
namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";
constexpr int kMaxBlock = 999;

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

// Cells are UTF-8; records hold the format's bytes (GBK). Lossless both ways, so bytes that are
// not GBK survive a round trip through a records file.
std::string ToFormatBytes(const std::string& utf8) {
  return IsAscii(utf8) ? utf8 : frt::Utf8ToGbkLossless(utf8);
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
  for (const char c : bytes) {
    if (atStart_) {
      if (c == kBom[bomMatched_]) {
        if (++bomMatched_ == 3) atStart_ = false;
        continue;
      }
      atStart_ = false;
      for (std::size_t i = 0; i < bomMatched_; ++i) Byte(kBom[i]);  // not a mark: data
    }
    Byte(c);
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
  fields_.push_back(std::move(field_));
  field_.clear();
  state_ = State::kStart;
  if (fields_.size() > kMaxFields) Fail("more than " + std::to_string(kMaxFields) + " fields");
}

void CsvReader::EndRow() {
  handler_(fields_, rowLine_, error_);
  fields_.clear();
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
  record_.values.clear();
  record_.row = row;
  if (!ParseInt(fields[0], record_.block) || record_.block < 0 || record_.block > kMaxBlock) {
    onError_(row, "block '" + fields[0] + "' is not a block number (0 to 999)");
    return;
  }
  for (std::size_t i = 1; i < fields.size(); ++i)
    if (!fields[i].empty())
      record_.values.push_back(RecordValue{codes_[i - 1], ToFormatBytes(fields[i])});
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
