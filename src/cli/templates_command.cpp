// frtool templates: what the catalogue holds, as the editor reads it.
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/format_template.h"
#include "catalogue/format_template_manager.h"
#include "cli_command.h"
#include "json_writer.h"
#include "shell/qv_workspace.h"

namespace cli {
namespace {

const char* const kUnitTypeNames[5] = {"none", "angular", "linear", "temperature", "pressure"};

const char* UnitTypeName(long t) {
  return t >= 0 && t <= 4 ? kUnitTypeNames[t] : "?";
}

std::string Codes(const CFTFormat& d) {
  std::string out;
  for (const auto& v : d.AllowedVariables()) {
    if (!out.empty()) out += ',';
    out += std::to_string(v->Code());
  }
  return out;
}

void PrintText(const CFormatTemplateManager& catalogue) {
  std::printf("Instruments:");
  for (const std::string& name : catalogue.InstrumentNames())
    std::printf(" %s", ToTerminal(name).c_str());
  std::printf("\n");
  for (const auto& t : catalogue.TemplateList()) {
    std::printf("\nTemplate %s (instrument %s)\n", ToTerminal(t->Name()).c_str(),
                ToTerminal(t->Instrument()).c_str());
    std::printf(
        "  string length %ld, file header %ld (length %ld), file footer %ld (length %ld), "
        "default strings %ld, at most %ld strings\n",
        t->StringLength(), t->FileHeaderFlag(), t->FileHeaderLength(), t->FileFooterFlag(),
        t->FileFooterLength(), t->DefaultStringsFlag(), t->CountStrings());
    for (const auto& a : t->ApplicationList())
      std::printf("  application %03ld %s, header length %ld\n", a->Number(),
                  ToTerminal(a->Item()).c_str(), a->HeaderLength());
    for (const CFTFormat* d : t->FormatList()) {
      std::printf("  %s block %02ld %s: length %ld, strings %ld, variables %ld, header %ld",
                  d->IsExport() ? "export" : "import", d->BlockType(),
                  ToTerminal(d->Item()).c_str(), d->MaxLength(), d->StrCount(), d->VarCount(),
                  d->Header());
      if (!d->IsExport())
        std::printf(", restriction %ld", static_cast<const CFTImportFormat*>(d)->Restriction());
      std::printf("\n    codes %s\n", Codes(*d).c_str());
    }
  }
  std::printf("\nVariables:\n");
  for (const auto& v : catalogue.PoolVariables())
    std::printf("  %03ld %-20s type %2ld %-11s default %s\n", v->Code(),
                ToTerminal(v->Name()).c_str(), v->Type(), UnitTypeName(v->UnitType()),
                JsonString(ToTerminal(v->Default())).c_str());
}

std::string J(const std::string& gbk) {
  return JsonString(ToTerminal(gbk));
}

void PrintJson(const CFormatTemplateManager& catalogue) {
  std::printf("{\n  \"instruments\": [");
  bool first = true;
  for (const std::string& name : catalogue.InstrumentNames()) {
    std::printf("%s%s", first ? "" : ", ", J(name).c_str());
    first = false;
  }
  std::printf("],\n  \"templates\": [");
  first = true;
  for (const auto& t : catalogue.TemplateList()) {
    std::printf("%s\n    {\"name\": %s, \"instrument\": %s, \"string_length\": %ld, ",
                first ? "" : ",", J(t->Name()).c_str(), J(t->Instrument()).c_str(),
                t->StringLength());
    first = false;
    std::printf(
        "\"file_header\": %ld, \"file_header_length\": %ld, \"file_footer\": %ld, "
        "\"file_footer_length\": %ld, \"default_strings\": %ld, \"max_strings\": %ld,\n",
        t->FileHeaderFlag(), t->FileHeaderLength(), t->FileFooterFlag(), t->FileFooterLength(),
        t->DefaultStringsFlag(), t->CountStrings());
    std::printf("     \"applications\": [");
    bool firstApp = true;
    for (const auto& a : t->ApplicationList()) {
      std::printf("%s{\"number\": %ld, \"name\": %s, \"header_length\": %ld}", firstApp ? "" : ", ",
                  a->Number(), J(a->Item()).c_str(), a->HeaderLength());
      firstApp = false;
    }
    std::printf("],\n     \"definitions\": [");
    bool firstDef = true;
    for (const CFTFormat* d : t->FormatList()) {
      std::printf(
          "%s\n       {\"direction\": \"%s\", \"block\": %ld, \"name\": %s, \"length\": %ld, "
          "\"strings\": %ld, \"variables\": %ld, \"header\": %ld, ",
          firstDef ? "" : ",", d->IsExport() ? "export" : "import", d->BlockType(),
          J(d->Item()).c_str(), d->MaxLength(), d->StrCount(), d->VarCount(), d->Header());
      firstDef = false;
      if (!d->IsExport())
        std::printf("\"restriction\": %ld, ",
                    static_cast<const CFTImportFormat*>(d)->Restriction());
      std::printf("\"codes\": [%s]}", Codes(*d).c_str());
    }
    std::printf("]}");
  }
  std::printf("\n  ],\n  \"variables\": [");
  first = true;
  for (const auto& v : catalogue.PoolVariables()) {
    std::printf(
        "%s\n    {\"code\": %ld, \"name\": %s, \"type\": %ld, \"unit_type\": %ld, "
        "\"default\": %s}",
        first ? "" : ",", v->Code(), J(v->Name()).c_str(), v->Type(), v->UnitType(),
        J(v->Default()).c_str());
    first = false;
  }
  std::printf("\n  ]\n}\n");
}

}  // namespace

int TemplatesCommand(Context& context, const std::vector<std::string>& args) {
  bool json = false;
  for (const std::string& a : args) {
    if (a != "--json") {
      std::fprintf(stderr, "frtool templates: unexpected argument '%s'\n", a.c_str());
      std::fputs("Usage: frtool templates [--json]\n", stderr);
      return kExitUsage;
    }
    json = true;
  }
  CQVWorkspace workspace;
  if (!StartWorkspace(context, workspace)) return kExitUsage;
  json ? PrintJson(*workspace.Catalogue()) : PrintText(*workspace.Catalogue());
  return kExitOk;
}

}  // namespace cli
