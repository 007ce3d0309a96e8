// Writes a format to a .frt file, current or older variant. Lines always end in CR LF so that
// the files stay interchangeable with the instruments' own tools.
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <iterator>
#include <string>
#include <string_view>
#include <utility>

#include "frt_file.h"
#include "frt_older_letters.h"

namespace {

constexpr std::string_view kEol = "\r\n";

// Appends n in decimal, left-padded with '0' to width; longer numbers are written whole.
void AppendNumber(std::string& out, unsigned n, int width) {
  char buf[16];
  auto r = std::to_chars(buf, buf + sizeof buf, n);
  for (int pad = width - static_cast<int>(r.ptr - buf); pad > 0; --pad) out += '0';
  out.append(buf, r.ptr);
}

// A quoted text: LF, '"' and CR become 0x12, 0x13 and 0x14 so that the text fits one line.
void AppendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    switch (c) {
      case '\n':
        out += '\x12';
        break;
      case '"':
        out += '\x13';
        break;
      case '\r':
        out += '\x14';
        break;
      default:
        out += c;
    }
  }
  out += '"';
}

// The comment line has its own escapes: CR becomes 0x12, LF 0x15.
void AppendComment(std::string& out, std::string_view text) {
  for (char c : text) {
    if (c == '\r')
      out += '\x12';
    else if (c == '\n')
      out += '\x15';
    else
      out += c;
  }
}

// Fixed point with 12 decimals, independent of the locale (a decimal point, never a comma).
void AppendScale(std::string& out, double value) {
  char buf[512];
  auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, 12);
  if (r.ec == std::errc{}) out.append(buf, r.ptr);
}

std::string QuotedOrEmpty(const CFrtString* s) {
  std::string out;
  AppendQuoted(out, s ? s->TextView() : std::string_view{});
  return out;
}

// Collects one line and hands it to the stream with its line end.
frt::Result Emit(frt::OutStream& stream, std::string& line) {
  line.append(kEol);
  frt::Result r = stream.Write(line) ? frt::kOk : frt::kCannotSave;
  line.clear();
  return r;
}

// The strings the older variant writes, found as its reader will find them again.
struct OlderPlan {
  static constexpr std::size_t kBlocks = std::size(frt::older::kBlocks);
  CFrtString* blocks[kBlocks] = {};
  CFrtString* aux[kBlocks] = {};
  CFrtString* applications[frt::older::kWrittenApplications] = {};
  CFrtString* header = nullptr;
  CFrtString* footer = nullptr;

  bool Holds(const CFrtString* s) const {
    const auto in = [s](const auto& list) {
      return std::find(std::begin(list), std::end(list), s) != std::end(list);
    };
    return in(blocks) || in(aux) || in(applications) || s == header || s == footer;
  }
};

using Refusal = CFrtOlderReport::Refusal;

// The first thing of the format the older variant has no place for, so that no file is written
// that its reader refuses: units without an older letter, block strings of block types and
// application strings of applications without a letter, and block strings too long for the line.
std::pair<Refusal, int> FindRefusal(const CFrtFile& f, const OlderPlan& plan) {
  using frt::older::LetterOf;
  const char linear = f.UnitCodeOf(2), angular = f.UnitCodeOf(1);
  if (!frt::older::IsOneOf(frt::older::kLinearUnits, linear))
    return {Refusal::kLinearUnit, static_cast<unsigned char>(linear)};
  if (!frt::older::IsOneOf(frt::older::kAngularUnits, angular))
    return {Refusal::kAngularUnit, static_cast<unsigned char>(angular)};
  for (int i = 0; i < f.StringCount(); ++i) {
    const CFrtString* s = f.StringAt(i);
    if (!s->IsPresent() || s->key.direction != CFrtKey::kExport) continue;
    switch (s->key.section) {
      case CFrtKey::kBlockString:
      case CFrtKey::kBlockAux:
      case CFrtKey::kBlockFallback:
        if (!LetterOf(frt::older::kBlocks, s->key.block)) return {Refusal::kBlock, s->key.block};
        break;
      case CFrtKey::kApplicationString:
        for (std::uint16_t a : s->Applications())
          if (!LetterOf(frt::older::kApplications, a)) return {Refusal::kApplication, a};
        break;
      default:
        break;
    }
  }
  for (const CFrtString* s : plan.blocks) {
    // The text, its closing quote and three digits per variable.
    if (s && s->TextView().size() + 1 + 3 * s->Variables().size() > frt::older::kBlockLineRest)
      return {Refusal::kLongBlockString, s->key.block};
  }
  return {Refusal::kNone, 0};
}

// Counts the present strings the plan does not write, by why the variant has no place for them.
void CountOmitted(const CFrtFile& f, const OlderPlan& plan, CFrtOlderReport& report) {
  for (int i = 0; i < f.StringCount(); ++i) {
    const CFrtString* s = f.StringAt(i);
    if (!s->IsPresent() || plan.Holds(s)) continue;
    if (s->key.direction != CFrtKey::kExport)
      ++report.imports;
    else if (s->key.number > 0)
      ++report.numbered;
    else if (s->key.section == CFrtKey::kApplicationString)
      ++report.applications;
    else
      ++report.further;
  }
}

}  // namespace

frt::Result CFrtFile::Save(const char* path, int variant) {
  if (!path) return frt::kNullPointer;
  std::FILE* f = std::fopen(path, "wb");
  if (!f) return frt::kCannotSave;
  frt::Result r = frt::kUnknownType;
  frt::FileOutStream stream(f);
  if (variant == kCurrentVariant)
    r = WriteFrt(&stream);
  else if (variant == kOlderVariant)
    r = WriteFrtOrig(&stream);
  // Closing flushes the buffer: a failure there is a failed write too.
  if (std::fclose(f) != 0 && r == frt::kOk) r = frt::kCannotSave;
  return r;
}

frt::Result CFrtFile::WriteStringLine(frt::OutStream* stream, CFrtString* string) {
  if (!stream || !string) return frt::kNullPointer;
  const CFrtKey& k = string->key;
  if (k.direction != CFrtKey::kExport && k.direction != CFrtKey::kImport)
    return frt::kBadFormatFile;
  std::string line = "$";
  line += static_cast<char>('0' + k.direction);
  AppendNumber(line, k.section, 0);
  AppendNumber(line, k.block, 2);
  AppendNumber(line, k.number, 3);
  AppendQuoted(line, string->TextView());
  for (const CFrtVariable& v : string->Variables()) {
    AppendNumber(line, v.unitType, 0);
    AppendNumber(line, v.dataType, 2);
    AppendNumber(line, v.unitCode, 2);
    AppendNumber(line, v.options, 0);
    AppendNumber(line, v.code, 3);
  }
  // A section-2 line ends with its variables: the reader refuses a ';' there, and a file the
  // editor wrote must open again.
  if (k.section == CFrtKey::kBlockAux) return Emit(*stream, line);
  // The reader wants the ';' of a section-3 line even when no application follows.
  if (string->VariableCount() > 0 || string->ApplicationCount() > 0 ||
      k.section == CFrtKey::kApplicationString)
    line += ';';
  if (k.direction == CFrtKey::kExport)
    for (std::uint16_t a : string->Applications()) AppendNumber(line, a, 3);
  return Emit(*stream, line);
}

frt::Result CFrtFile::WriteFrt(frt::OutStream* stream) {
  if (!stream) return frt::kNullPointer;
  std::string head;
  const auto field = [&](std::string_view tag, std::string_view value) {
    head.append(tag).append(value).append(kEol);
  };
  field("@t:FRT", "");
  field("@i:", header_.instrument.view());
  field("@v:", header_.version.view());
  field("@a:", header_.author.view());
  field("@c:", header_.company.view());
  field("@d:", header_.date.view());
  head.append("@o:");
  AppendComment(head, header_.comment.view());
  head.append(kEol);
  field("@l:", header_.templateName.view());
  field("%N", name_.view());
  static constexpr struct {
    const char* tag;
    int unitType;
  } kUnitLines[] = {{"W", 1}, {"L", 2}, {"T", 3}, {"P", 4}};
  for (const auto& u : kUnitLines) {
    head.append("#").append(u.tag);
    head += UnitCodeOf(u.unitType);
    head.append(kEol);
  }
  for (const auto& u : kUnitLines) {
    head.append("&").append(u.tag);
    AppendScale(head, Scale(u.unitType));
    head.append(kEol);
  }
  field("@Dd", integerDefault_.view());
  field("@Df", floatDefault_.view());
  field("@Ds", stringDefault_.view());
  if (!stream->Write(head)) return frt::kCannotSave;

  for (const auto& s : strings_) {
    if (!s->IsPresent()) continue;
    frt::Result r = WriteStringLine(stream, s.get());
    if (r != frt::kOk) return r;
  }
  return frt::kOk;
}

frt::Result CFrtFile::WriteFrtOrig(frt::OutStream* stream, CFrtOlderReport* report) {
  CFrtOlderReport ignored;
  CFrtOlderReport& out = report ? *report : ignored;
  out = CFrtOlderReport{};
  if (!stream) return frt::kNullPointer;
  olderVariant_ = 0;

  OlderPlan plan;
  for (std::size_t i = 0; i < OlderPlan::kBlocks; ++i) {
    const int block = frt::older::kBlocks[i].number;
    // The section-1 search may answer with the block's fallback string, which is what we want.
    Find(plan.blocks[i],
         CFrtKey{CFrtKey::kExport, CFrtKey::kBlockString, static_cast<std::uint8_t>(block), 0},
         kNoFilter);
    FindBlockAuxString(plan.aux[i], block);
  }
  for (int i = 0; i < frt::older::kWrittenApplications; ++i)
    FindApplicationString(plan.applications[i], frt::older::kApplications[i].number);
  FindHeaderString(plan.header);
  FindFooterString(plan.footer);
  const auto [refusal, refused] = FindRefusal(*this, plan);
  if (refusal != Refusal::kNone) {
    out.refusal = refusal;
    out.refused = refused;
    return frt::kOlderVariant;
  }
  CountOmitted(*this, plan, out);

  std::string line;
  frt::Result r = frt::kOk;
  const auto emit = [&]() { return Emit(*stream, line); };
  const auto scaleLine = [&](const char* tag, int unitType) {
    line = tag;
    AppendScale(line, Scale(unitType));
    return emit();
  };
  line = "@frt_orig";
  if ((r = emit()) != frt::kOk) return r;
  line.append("%N").append(name_.view());
  if ((r = emit()) != frt::kOk) return r;
  line = "#L";
  line += UnitCodeOf(2);
  if ((r = emit()) != frt::kOk) return r;
  line = "#W";
  line += UnitCodeOf(1);
  if ((r = emit()) != frt::kOk) return r;
  if ((r = scaleLine("&L", 2)) != frt::kOk) return r;
  if ((r = scaleLine("&W", 1)) != frt::kOk) return r;

  for (std::size_t i = 0; i < OlderPlan::kBlocks; ++i) {
    const CFrtString* s = plan.blocks[i];
    line = "$";
    line += frt::older::kBlocks[i].letter;
    line += QuotedOrEmpty(s);
    if (s)
      for (const CFrtVariable& v : s->Variables()) AppendNumber(line, v.code, 3);
    if ((r = emit()) != frt::kOk) return r;
  }
  for (std::size_t i = 0; i < OlderPlan::kBlocks; ++i) {
    line = "@_";
    line += frt::older::kBlocks[i].letter;
    line += QuotedOrEmpty(plan.aux[i]);
    if ((r = emit()) != frt::kOk) return r;
  }
  for (int i = 0; i < frt::older::kWrittenApplications; ++i) {
    line = "@A";
    line += frt::older::kApplications[i].letter;
    line += QuotedOrEmpty(plan.applications[i]);
    if ((r = emit()) != frt::kOk) return r;
  }
  line = "@BA" + QuotedOrEmpty(plan.header);
  if ((r = emit()) != frt::kOk) return r;
  line = "@BE" + QuotedOrEmpty(plan.footer);
  return emit();
}
