// Records CSV from the input, fed in pieces whose sizes come from the input, then rendered with
// the shipped report format: the reader's bounds and the exporter's errors on hostile records.
#include <cstdint>
#include <cstdlib>

#include "workbench/record_exporter.h"
#include "workbench/records_csv.h"
#include "workbench_env.h"

namespace {
fuzz::WorkbenchEnv* gEnv = nullptr;
std::unique_ptr<CFormatDocument> gReport;
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gEnv = new fuzz::WorkbenchEnv;
  gReport = gEnv->Open("TotalStationReport.frt");
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Bytes in(data, size);
  const std::size_t piece = 1 + in.U8() % 64;
  const std::string_view csv = in.Rest();
  workbench::RecordExporter exporter(gReport->Format(), *gReport->Template());
  exporter.Begin(in.U8() % 2 ? 102 : 0);
  int lastRow = 0;
  workbench::RecordsReader reader(
      gReport->Template(),
      [&](workbench::Record& record) {
        // Rows only grow, and a record never holds an empty value.
        if (record.row <= lastRow) std::abort();
        lastRow = record.row;
        for (const auto& v : record.values)
          if (v.text.empty() || v.text.size() > workbench::CsvReader::kMaxField * 2) std::abort();
        exporter.Record(record);
      },
      [](int row, const std::string&) {
        if (row < 1) std::abort();
      });
  for (std::size_t i = 0; i < csv.size(); i += piece) reader.Feed(csv.substr(i, piece));
  reader.Finish();
  exporter.End();
  return 0;
}
