#include "workbench/data_scanner.h"

#include <algorithm>

#include "catalogue/format_template.h"
#include "document/doc_format.h"
#include "library/frt_input_engine.h"
#include "library/frt_string.h"

namespace workbench {
namespace {

constexpr char kCtrlZ = '\x1a';
constexpr std::size_t kMaxLiteralShown = 24;

// What the import string wanted at `at`: its literal text up to the next conversion, or the
// conversion there.
std::string Expected(std::string_view text, std::size_t at) {
  if (at >= text.size()) return "nothing more";
  if (text[at] != '%' || (at + 1 < text.size() && text[at + 1] == '%')) {
    std::string literal;
    for (std::size_t i = at; i < text.size() && literal.size() < kMaxLiteralShown; ++i) {
      if (text[i] == '%') {
        if (i + 1 < text.size() && text[i + 1] == '%') {
          literal += '%';
          ++i;
          continue;
        }
        break;
      }
      literal += text[i];
    }
    return "expected \"" + literal + "\"";
  }
  std::size_t end = at + 1;
  while (end < text.size() &&
         std::string_view("*0123456789hl").find(text[end]) != std::string_view::npos)
    ++end;
  const char letter = end < text.size() ? text[end] : '\0';
  const std::string conversion(text.substr(at, end + 1 - at));
  const char* what = "a value";
  switch (letter) {
    case 'd':
      what = "an integer";
      break;
    case 'o':
      what = "an octal number";
      break;
    case 'x':
      what = "a hexadecimal number";
      break;
    case 'e':
    case 'E':
    case 'f':
    case 'g':
      what = "a number";
      break;
    case 's':
    case 'c':
      what = "text";
      break;
    default:
      break;
  }
  return std::string("expected ") + what + " (" + conversion + ")";
}

std::string Reason(const frt::ScanRun& run, std::string_view text) {
  switch (run.outcome) {
    case frt::ScanOutcome::kShort:
      return "line ended, " + Expected(text, run.textPosition);
    case frt::ScanOutcome::kNoVariable:
      return "no variable left for the conversion at string column " +
             std::to_string(run.textPosition + 1);
    default:
      return Expected(text, run.textPosition);
  }
}

// The rule of the library's input engine: the whole string, or an s or c conversion that
// stopped it after a value was read.
bool Accepts(const frt::ScanRun& run) {
  return run.outcome == frt::ScanOutcome::kComplete ||
         (run.outcome == frt::ScanOutcome::kStopped && run.matched);
}

}  // namespace

DataScanner::DataScanner(CDocFormat& format, const CFormatTemplate& formatTemplate,
                         int blockFilter) {
  const CFrtFile& file = format.Format();
  std::vector<int> blocks;
  for (const auto& definition : formatTemplate.ImportFormatList()) {
    const int block = static_cast<int>(definition->BlockType());
    if ((blockFilter >= 0 && block != blockFilter) ||
        std::find(blocks.begin(), blocks.end(), block) != blocks.end())
      continue;
    blocks.push_back(block);
    for (const std::uint8_t section : {CFrtKey::kFileHeader, CFrtKey::kBlockString}) {
      for (int i = 0; i < file.StringCount(); ++i) {
        const CFrtString* s = file.StringAt(i);
        if (!s || s->key.direction != CFrtKey::kImport || s->key.section != section ||
            s->key.block != block || !s->IsPresent())
          continue;
        Candidate c;
        c.string = s;
        c.id = static_cast<const CFrtStringEx*>(s)->identity;
        c.block = block;
        for (const CFrtVariable& v : s->Variables()) {
          const CFTPoolVariable* pool = formatTemplate.FindPoolVariable(v.code);
          c.names.push_back(pool ? pool->Name() : std::string());
          if (std::find(codes_.begin(), codes_.end(), v.code) == codes_.end())
            codes_.push_back(v.code);
        }
        candidates_.push_back(std::move(c));
      }
    }
  }
}

ScanLineResult DataScanner::Scan(std::string_view line) const {
  ScanLineResult result;
  line = TrimLineEnd(line);
  if (line.empty()) {
    result.blank = true;
    return result;
  }
  std::vector<frt::ScanValue> values;
  const Candidate* best = nullptr;
  frt::ScanRun bestRun;
  for (const Candidate& c : candidates_) {
    values.clear();
    const frt::ScanRun run =
        frt::ScanImport(c.string->TextView(), c.string->Variables().size(), line, values);
    if (Accepts(run)) {
      result.matched = true;
      result.stringId = c.id;
      result.block = c.block;
      result.values.reserve(values.size());
      for (const frt::ScanValue& v : values) {
        const auto index = static_cast<std::size_t>(v.variable);
        ScanValue out;
        out.code = c.string->Variables()[index].code;
        out.name = c.names[index];
        out.text.assign(v.value.text);
        out.conversion = v.value.conversion;
        out.isText = out.conversion == 's' || out.conversion == 'c';
        if (out.conversion == 'e' || out.conversion == 'f' || out.conversion == 'g')
          out.number = v.value.number;
        else if (!out.isText)
          out.number = static_cast<double>(v.value.integer);
        result.values.push_back(std::move(out));
      }
      return result;
    }
    if (!best || run.position > bestRun.position) {
      best = &c;
      bestRun = run;
    }
  }
  if (!best) {
    result.stopColumn = 1;
    result.reason = "the format has no import string";
    return result;
  }
  result.stopColumn = bestRun.position + 1;
  result.reason = Reason(bestRun, best->string->TextView());
  result.bestStringId = best->id;
  return result;
}

std::string_view TrimLineEnd(std::string_view line) {
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == kCtrlZ))
    line.remove_suffix(1);
  return line;
}

std::vector<std::string_view> SplitLines(std::string_view buffer) {
  std::vector<std::string_view> lines;
  while (!buffer.empty()) {
    const std::size_t nl = buffer.find('\n');
    if (nl == std::string_view::npos) {
      lines.push_back(TrimLineEnd(buffer));
      break;
    }
    lines.push_back(TrimLineEnd(buffer.substr(0, nl)));
    buffer.remove_prefix(nl + 1);
  }
  return lines;
}

}  // namespace workbench
