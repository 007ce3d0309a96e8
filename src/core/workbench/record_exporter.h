#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "library/frt_value_source.h"
#include "preview/sample_value_source.h"
#include "workbench/records_csv.h"

class CDocFormat;
class CFormatTemplate;
class CFrtEngine;
class CFrtString;

namespace workbench {

// Hands a record's values to the renderer. The values are texts in the format's own units: a
// numeric pool variable's text must be a number (else Value answers 9, bad data), and is scaled
// as the sample values are (option bit 1); a missing value answers 3, so the renderer prints the
// format's default output string.
class CRecordValueSource : public CFrtValueSource {
 public:
  explicit CRecordValueSource(const CFormatTemplate& formatTemplate) : template_(formatTemplate) {}

  // nullptr: no values (headers and footers that no record fills).
  void SetRecord(const Record* record) { record_ = record; }
  // The code of the last value that did not parse as a number, -1 when none did.
  int BadCode() const { return badCode_; }
  void ClearBadCode() { badCode_ = -1; }

  frt::Result ValueByCode(int code, const void*& value) override;
  frt::Result Value(CFrtVariable& variable, const void*& value,
                    frt::DataType requestedType) override;
  frt::Result Accept(const CFrtVariable& variable, const CFrtInputValue& value) override;

 private:
  const CFormatTemplate& template_;
  const Record* record_ = nullptr;
  int badCode_ = -1;
  CValueShaper shaper_;
};

// What rendering one record gave: its text (each rendered piece ends with LF) or, when it failed,
// an error to report with the record's row. A block header written before a failed record stays
// in `text`.
struct ExportPiece {
  std::string text;
  std::string error;
  bool Ok() const { return error.empty(); }
};

// Renders a format's export strings over records as the instrument writes its output file:
// Begin gives the file header and the application header of the chosen application; Record gives,
// when the record's block differs from the previous record's, the block header (if the format has
// one), then the record rendered with the string of its block for the application, or the block's
// default string when the application has none there (the sample export's rules); End gives the
// file footer. Texts are the format's bytes (GBK). Uses its own renderer: the application's one
// and its value source are left alone.
class RecordExporter {
 public:
  RecordExporter(CDocFormat& format, const CFormatTemplate& formatTemplate);
  ~RecordExporter();

  // The applications of the template in its order (what Begin accepts).
  std::vector<int> Applications() const;
  // application 0: the template's first application. An error when the template has no such
  // application; the texts rendered are in `text` either way.
  ExportPiece Begin(int application = 0);
  ExportPiece Record(const workbench::Record& record);
  ExportPiece End();
  int Application() const { return application_; }

 private:
  // Renders the string of `id` with `record`'s values (nullptr: none); false and `error` set on
  // failure. A missing or empty string renders nothing and is no failure.
  bool RenderId(std::int32_t id, const workbench::Record* record, std::string& out,
                std::string& error);
  bool RenderString(CFrtString* string, const workbench::Record* record, std::string& out,
                    std::string& error);
  // The export string for block and application by the search rules, or nullptr.
  CFrtString* Choose(int block) const;

  CDocFormat& format_;
  const CFormatTemplate& template_;
  CRecordValueSource source_;
  std::unique_ptr<CFrtEngine> engine_;
  int application_ = 0;
  int previousBlock_ = -1;
  std::string rendered_;
};

}  // namespace workbench
