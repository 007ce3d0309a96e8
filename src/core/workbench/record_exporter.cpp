#include "workbench/record_exporter.h"

#include <charconv>

#include "catalogue/format_template.h"
#include "document/doc_format.h"
#include "library/frt_engine.h"
#include "library/frt_string.h"
#include "library/string_table.h"
#include "library/text_encoding.h"

namespace workbench {
namespace {

bool IsTextType(long t) {
  return t == frt::kTypeText || t == frt::kTypeChar;
}

// The whole text as a number (leading and trailing blanks allowed), as files write them.
bool ParseNumber(std::string_view text, double& value) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  if (text.empty()) return false;
  const char* end = text.data() + text.size();
  auto [p, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && p == end;
}

std::string ResultLine(frt::Result r) {
  std::string text = frt::ResultText(r);
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace

frt::Result CRecordValueSource::ValueByCode(int code, const void*& value) {
  value = nullptr;
  const std::string* text = record_ ? record_->Find(code) : nullptr;
  if (!text) return frt::kNotFound;
  value = text->c_str();
  return frt::kOk;
}

frt::Result CRecordValueSource::Value(CFrtVariable& variable, const void*& value,
                                      frt::DataType requestedType) {
  value = nullptr;
  const std::string* text = record_ ? record_->Find(variable.code) : nullptr;
  const CFTPoolVariable* pool = template_.FindPoolVariable(variable.code);
  if (!text || !pool || !IsDataType(static_cast<int>(pool->Type()))) return frt::kNotFound;
  if (IsTextType(pool->Type())) {
    value = shaper_.Text(*text, requestedType);
    return frt::kOk;
  }
  double number = 0.0;
  if (!ParseNumber(*text, number)) {
    badCode_ = variable.code;
    return frt::kBadData;
  }
  value = shaper_.Number(ScaleByFormat(number, pool->Type(), variable, Format()), requestedType);
  return frt::kOk;
}

frt::Result CRecordValueSource::Accept(const CFrtVariable&, const CFrtInputValue&) {
  return frt::kOk;
}

RecordExporter::RecordExporter(CDocFormat& format, const CFormatTemplate& formatTemplate)
    : format_(format),
      template_(formatTemplate),
      source_(formatTemplate),
      engine_(std::make_unique<CFrtEngine>(&source_)) {}

RecordExporter::~RecordExporter() = default;

std::vector<int> RecordExporter::Applications() const {
  std::vector<int> numbers;
  for (const auto& application : template_.ApplicationList())
    numbers.push_back(static_cast<int>(application->Number()));
  return numbers;
}

bool RecordExporter::RenderString(CFrtString* string, const workbench::Record* record,
                                  std::string& out, std::string& error) {
  if (!string || !string->IsPresent()) return true;
  source_.SetRecord(record);
  source_.ClearBadCode();
  engine_->AttachFormat(&format_.Format());
  std::string& text = rendered_;  // kept for its storage
  text.clear();
  const frt::Result r = engine_->Render(string, text);
  source_.SetRecord(nullptr);
  if (source_.BadCode() >= 0) {
    const std::string* bad = record ? record->Find(source_.BadCode()) : nullptr;
    error = "variable " + std::to_string(source_.BadCode()) + ": '" +
            (bad ? frt::GbkToUtf8(*bad) : "") + "' is not a number";
    return false;
  }
  // 3: a value was missing and the format's default output string stood in: the text is whole.
  if (r != frt::kOk && r != frt::kNotFound) {
    error = ResultLine(r);
    return false;
  }
  out += text;
  out += '\n';
  return true;
}

bool RecordExporter::RenderId(std::int32_t id, const workbench::Record* record, std::string& out,
                              std::string& error) {
  return RenderString(format_.FindString(id), record, out, error);
}

ExportPiece RecordExporter::Begin(int application) {
  ExportPiece piece;
  previousBlock_ = -1;
  const std::vector<int> applications = Applications();
  if (application == 0 && !applications.empty()) application = applications.front();
  application_ = application;
  std::string error;
  if (!RenderId(CDocFormat::MakeId(CDocFormat::kKindFileHeader, 0, 0), nullptr, piece.text, error))
    piece.error = "file header: " + error;
  if (application != 0 && !template_.FindApplication(application)) {
    piece.error = "the template has no application " + std::to_string(application);
    return piece;
  }
  if (!RenderId(CDocFormat::kApplicationHeaderKind + application, nullptr, piece.text, error) &&
      piece.error.empty())
    piece.error = "application header: " + error;
  return piece;
}

CFrtString* RecordExporter::Choose(int block) const {
  const CFTFormat* definition = template_.FindFormat(block, true);
  if (!definition) return nullptr;
  for (long index = 0; index <= definition->StrCount(); ++index) {
    CFrtString* s = format_.FindString(
        CDocFormat::MakeId(CDocFormat::kKindExport, block, static_cast<int>(index)));
    if (s && s->IsPresent() && s->ApplicationCount() > 0 &&
        s->HasApplication(static_cast<std::uint16_t>(application_)))
      return s;
  }
  CFrtString* fallback = format_.FindString(CDocFormat::MakeId(CDocFormat::kKindDefault, block, 0));
  return fallback && fallback->IsPresent() ? fallback : nullptr;
}

ExportPiece RecordExporter::Record(const workbench::Record& record) {
  ExportPiece piece;
  if (!template_.FindFormat(record.block, true)) {
    piece.error = "block " + std::to_string(record.block) + " is no export block of the template";
    return piece;
  }
  std::string error;
  if (record.block != previousBlock_) {
    previousBlock_ = record.block;
    if (!RenderId(CDocFormat::MakeId(CDocFormat::kKindBlockHeader, record.block, 0), &record,
                  piece.text, error)) {
      piece.error = "block header: " + error;
      return piece;
    }
  }
  CFrtString* string = Choose(record.block);
  if (!string) {
    piece.error = "block " + std::to_string(record.block) + " has no string for application " +
                  std::to_string(application_);
    return piece;
  }
  const std::size_t before = piece.text.size();
  if (!RenderString(string, &record, piece.text, error)) {
    piece.text.resize(before);
    piece.error = error;
  }
  return piece;
}

ExportPiece RecordExporter::End() {
  ExportPiece piece;
  std::string error;
  if (!RenderId(CDocFormat::MakeId(CDocFormat::kKindFileFooter, 0, 0), nullptr, piece.text, error))
    piece.error = "file footer: " + error;
  return piece;
}

}  // namespace workbench
