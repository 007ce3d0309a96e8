// Import strings of the shipped Kite_Basic blocks from the input, then random data lines from
// the input scanned one by one, split both whole and in pieces: no line may stop the scan, and a
// stop column never lies past the line's end.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "document/doc_format.h"
#include "workbench/data_scanner.h"
#include "workbench_env.h"

namespace {
fuzz::WorkbenchEnv* gEnv = nullptr;
// Codes of Kite_Basic import variables as 9-digit groups: text, double, float, text.
const char* const kGroups[] = {"100011001", "100209051", "100108021", "100011002", "100208031"};
const int kBlocks[] = {10, 11, 12, 13, 14, 15};
}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  gEnv = new fuzz::WorkbenchEnv;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Bytes in(data, size);
  CDocFormat format(gEnv->context);
  format.SetTemplate(gEnv->basic);
  if (format.InitNew() != 1) std::abort();
  const int strings = 1 + in.U8() % 4;
  for (int i = 0; i < strings; ++i) {
    const std::uint8_t b = in.U8();
    const int kind = b & 1 ? 24 : 21;
    const int block = kBlocks[(b >> 1) % 6];
    std::string variables;
    for (int k = in.U8() % 5; k > 0; --k) variables += kGroups[in.U8() % 5];
    format.SetFormatString(CDocFormat::MakeId(kind, block, kind == 24 ? 0 : 1 + i % 2),
                           in.Text(300), variables, "");
  }
  const int filter = in.U8() % 8 == 0 ? 10 : -1;
  const workbench::DataScanner scanner(format, *gEnv->basic, filter);
  const std::string_view rest = in.Rest();
  std::vector<std::string_view> lines = workbench::SplitLines(rest);
  std::size_t fed = 0;
  workbench::LineSplitter splitter;
  const auto scan = [&](std::string_view line, bool) {
    ++fed;
    const workbench::ScanLineResult r = scanner.Scan(line);
    if (!r.matched && !r.blank && r.stopColumn > workbench::TrimLineEnd(line).size() + 1)
      std::abort();
    if (r.matched && r.values.size() > 5) std::abort();
  };
  for (std::size_t i = 0; i < rest.size(); i += 7) splitter.Feed(rest.substr(i, 7), scan);
  splitter.Finish(scan);
  if (fed != lines.size()) std::abort();  // both splits see the same lines
  return 0;
}
