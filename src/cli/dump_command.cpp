// frtool dump: the whole content of a format file, read with the library alone.
#include <cstdio>
#include <string>
#include <vector>

#include "cli_command.h"
#include "document/doc_format.h"
#include "json_writer.h"
#include "library/frt_file.h"
#include "shell/qv_workspace.h"

namespace cli {
namespace {

// Enough for any format the instruments take; the templates stay far below it.
constexpr int kDumpCapacity = 100000;

const char* const kUnitNames[5] = {"", "angular", "linear", "temperature", "pressure"};
const char kUnitLetters[5] = {' ', 'W', 'L', 'T', 'P'};

std::string Scale(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.12g", v);
  return buf;
}

std::string VariableText(const CFrtVariable& v) {
  char buf[128];
  std::snprintf(buf, sizeof buf, "code %03u unit type %u data type %02u unit code %02u options %u",
                v.code, v.unitType, v.dataType, v.unitCode, v.options);
  return buf;
}

void PrintText(const CFrtFile& f) {
  const CFrtHeader& h = f.Header();
  std::printf("Variant:     %s\n",
              f.ParseState().fileKind == CFrtParseState::kOlder ? "older" : "current");
  std::printf("Type:        %s\n", ToTerminal(h.type.str()).c_str());
  std::printf("Instrument:  %s\n", ToTerminal(h.instrument.str()).c_str());
  std::printf("Version:     %s\n", ToTerminal(h.version.str()).c_str());
  std::printf("Author:      %s\n", ToTerminal(h.author.str()).c_str());
  std::printf("Company:     %s\n", ToTerminal(h.company.str()).c_str());
  std::printf("Date:        %s\n", ToTerminal(h.date.str()).c_str());
  std::printf("Comment:     %s\n", JsonString(ToTerminal(h.comment.str())).c_str());
  std::printf("Template:    %s\n", ToTerminal(h.templateName.str()).c_str());
  std::printf("Name:        %s\n", ToTerminal(f.Name()).c_str());
  for (int u = 1; u <= 4; ++u)
    std::printf("Unit %-12s #%c %c  &%c %s\n", kUnitNames[u], kUnitLetters[u], f.UnitCodeOf(u),
                kUnitLetters[u], Scale(f.Scale(u)).c_str());
  std::printf("Default integer: %s\n", JsonString(ToTerminal(f.DefaultString(1))).c_str());
  std::printf("Default float:   %s\n", JsonString(ToTerminal(f.DefaultString(8))).c_str());
  std::printf("Default string:  %s\n", JsonString(ToTerminal(f.DefaultString(11))).c_str());
  std::printf("Strings:     %d\n", f.StringCount());
  for (int i = 0; i < f.StringCount(); ++i) {
    const CFrtString* s = f.StringAt(i);
    const CFrtKey& k = s->key;
    std::printf("[%d] id %08d direction %u section %u block %02u number %03u\n", i + 1,
                static_cast<const CFrtStringEx*>(s)->identity, k.direction, k.section, k.block,
                k.number);
    std::printf("    text: %s\n", JsonString(ToTerminal(std::string(s->TextView()))).c_str());
    for (const CFrtVariable& v : s->Variables())
      std::printf("    variable: %s\n", VariableText(v).c_str());
    if (s->ApplicationCount() > 0) {
      std::printf("    applications:");
      for (auto a : s->Applications()) std::printf(" %03u", a);
      std::printf("\n");
    }
  }
}

void PrintJson(const CFrtFile& f) {
  const CFrtHeader& h = f.Header();
  auto field = [](const char* name, const std::string& value, bool last = false) {
    std::printf("  \"%s\": %s%s\n", name, JsonString(ToTerminal(value)).c_str(), last ? "" : ",");
  };
  std::printf("{\n");
  std::printf("  \"variant\": \"%s\",\n",
              f.ParseState().fileKind == CFrtParseState::kOlder ? "older" : "current");
  field("type", h.type.str());
  field("instrument", h.instrument.str());
  field("version", h.version.str());
  field("author", h.author.str());
  field("company", h.company.str());
  field("date", h.date.str());
  field("comment", h.comment.str());
  field("template", h.templateName.str());
  field("name", f.Name());
  std::printf("  \"units\": {");
  for (int u = 1; u <= 4; ++u)
    std::printf("%s\"%s\": {\"code\": %s, \"scale\": %s}", u > 1 ? ", " : "", kUnitNames[u],
                JsonString(std::string(1, f.UnitCodeOf(u))).c_str(),
                JsonNumber(f.Scale(u)).c_str());
  std::printf("},\n");
  field("default_integer", f.DefaultString(1));
  field("default_float", f.DefaultString(8));
  field("default_string", f.DefaultString(11));
  std::printf("  \"strings\": [");
  for (int i = 0; i < f.StringCount(); ++i) {
    const CFrtString* s = f.StringAt(i);
    const CFrtKey& k = s->key;
    std::printf(
        "%s\n    {\"id\": %d, \"direction\": %u, \"section\": %u, \"block\": %u, "
        "\"number\": %u, ",
        i ? "," : "", static_cast<const CFrtStringEx*>(s)->identity, k.direction, k.section,
        k.block, k.number);
    std::printf("\"text\": %s, \"variables\": [",
                JsonString(ToTerminal(std::string(s->TextView()))).c_str());
    bool first = true;
    for (const CFrtVariable& v : s->Variables()) {
      std::printf(
          "%s{\"code\": %u, \"unit_type\": %u, \"data_type\": %u, \"unit_code\": %u, "
          "\"options\": %u}",
          first ? "" : ", ", v.code, v.unitType, v.dataType, v.unitCode, v.options);
      first = false;
    }
    std::printf("], \"applications\": [");
    for (int a = 0; a < s->ApplicationCount(); ++a)
      std::printf("%s%u", a ? ", " : "", s->ApplicationAt(a));
    std::printf("]}");
  }
  std::printf("%s]\n}\n", f.StringCount() ? "\n  " : "");
}

}  // namespace

int DumpCommand(Context& context, const std::vector<std::string>& args) {
  bool json = false;
  std::string path;
  for (const std::string& a : args) {
    if (a == "--json") {
      json = true;
    } else if (path.empty() && !(a.size() > 1 && a[0] == '-')) {
      path = a;
    } else {
      std::fprintf(stderr, "frtool dump: unexpected argument '%s'\n", a.c_str());
      return kExitUsage;
    }
  }
  if (path.empty()) {
    std::fputs("Usage: frtool dump [--json] FILE\n", stderr);
    return kExitUsage;
  }
  CQVWorkspace workspace;
  if (!StartWorkspace(context, workspace)) return kExitUsage;
  // The library reads the file without the document's checks, so that a format the editor would
  // refuse can still be looked at; the document only numbers its strings.
  CDocFormat document(workspace.DocContext());
  CFrtFile& format = document.Format();
  format.SetListCapacity(kDumpCapacity);
  frt::Result r = format.Load(path.c_str(), 0, 0);
  WarnIfUtf8(path, document);
  if (r != frt::kOk) {
    PrintFault(path, LoadFailureText(r, format.LineNumber()));
    return kExitFailed;
  }
  document.NormaliseIds();
  json ? PrintJson(format) : PrintText(format);
  return kExitOk;
}

}  // namespace cli
