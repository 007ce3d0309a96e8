#include "preview/sample_export.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "catalogue/format_template.h"
#include "document/doc_format.h"

namespace {

struct Piece {
  std::string text;
  std::string variables;
  std::string applications;
};

class Exporter {
 public:
  Exporter(CDocFormat& format, const CFormatTemplate& tpl) : format_(format), tpl_(tpl) {}

  std::string Run() {
    const Piece fileHeader = Get(CDocFormat::MakeId(14, 0, 0));
    if (!fileHeader.text.empty()) out_ = Sample(fileHeader);
    for (const auto& definition : tpl_.ExportFormatList()) Block(*definition);
    const Piece fileFooter = Get(CDocFormat::MakeId(15, 0, 0));
    if (!fileFooter.text.empty()) out_ += Sample(fileFooter);
    return std::move(out_);
  }

 private:
  // A missing string reads as empty.
  Piece Get(std::int32_t id) const {
    Piece p;
    format_.GetFormatStringInfo(id, p.text, p.variables, p.applications);
    return p;
  }

  std::string Sample(const Piece& p) { return format_.RenderSample(p.text, p.variables) + '\n'; }

  static std::vector<int> Applications(const std::string& codes) {
    std::vector<int> numbers;
    int value = 0;
    for (std::size_t i = 0; i < codes.size(); ++i) {
      value = value * 10 + (codes[i] - '0');
      if ((i + 1) % CDocFormat::kApplicationGroup == 0) {
        numbers.push_back(value);
        value = 0;
      }
    }
    return numbers;
  }

  // The application header of `application` with the line, when it has one.
  bool ApplicationHeader(int application, const std::string& line, bool blockHeaderEmpty) {
    const Piece header = Get(CDocFormat::kApplicationHeaderKind + application);
    if (header.text.empty()) return false;
    out_ += Sample(header);
    if (blockHeaderEmpty) out_ += line + line + line;
    return true;
  }

  // The block header with the line, when the block has one.
  bool BlockHeader(const Piece& blockHeader, const std::string& line) {
    if (blockHeader.text.empty()) return false;
    out_ += Sample(blockHeader) + line + line + line;
    return true;
  }

  void Block(const CFTExportFormat& definition) {
    const int block = static_cast<int>(definition.BlockType());
    // Applications that have no string of their own in this block, in template order.
    std::vector<int> withoutString;
    for (const auto& application : tpl_.ApplicationList())
      withoutString.push_back(static_cast<int>(application->Number()));
    const Piece blockHeader = Get(CDocFormat::MakeId(12, block, 0));
    const bool blockHeaderEmpty = blockHeader.text.empty();

    for (long index = 0; index <= definition.StrCount(); ++index) {
      const Piece s = Get(CDocFormat::MakeId(11, block, static_cast<int>(index)));
      if (s.text.empty()) continue;
      const std::string line = Sample(s);
      bool hadHeader = false;
      for (int application : Applications(s.applications)) {
        withoutString.erase(std::remove(withoutString.begin(), withoutString.end(), application),
                            withoutString.end());
        hadHeader = ApplicationHeader(application, line, blockHeaderEmpty) || hadHeader;
      }
      hadHeader = BlockHeader(blockHeader, line) || hadHeader;
      if (!hadHeader) out_ += line + line + line;
    }

    const Piece fallback = Get(CDocFormat::MakeId(17, block, 0));
    if (fallback.text.empty()) return;
    const std::string line = Sample(fallback);
    bool hadHeader = false;
    for (int application : withoutString)
      hadHeader = ApplicationHeader(application, line, blockHeaderEmpty) || hadHeader;
    hadHeader = BlockHeader(blockHeader, line) || hadHeader;
    if (!hadHeader) out_ += line + line + line;
  }

  CDocFormat& format_;
  const CFormatTemplate& tpl_;
  std::string out_;
};

}  // namespace

std::string SampleExport(CDocFormat& format, const CFormatTemplate& formatTemplate) {
  return Exporter(format, formatTemplate).Run();
}
