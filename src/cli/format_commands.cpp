// frtool check, preview, render, new and convert: format files handled as the editor handles them.
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/format_template.h"
#include "catalogue/format_template_manager.h"
#include "cli_command.h"
#include "document/format_document.h"
#include "json_writer.h"
#include "library/error_message.h"
#include "library/frt_file.h"
#include "library/safe_file.h"
#include "library/string_table.h"
#include "preview/sample_export.h"
#include "shell/qv_workspace.h"

namespace cli {
namespace {

int Usage(const char* text) {
  std::fputs(text, stderr);
  return kExitUsage;
}

// The part after the last separator, without its extension: the name a saved format gets.
std::string NameFromPath(const std::string& path) {
  std::string name = path.substr(path.find_last_of("/\\") + 1);
  const std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

// What the older variant cannot hold, as the user can find it in the format.
std::string RefusalText(const CFrtOlderReport& report) {
  using Refusal = CFrtOlderReport::Refusal;
  const std::string number = std::to_string(report.refused);
  switch (report.refusal) {
    case Refusal::kLinearUnit:
    case Refusal::kAngularUnit: {
      const char letter = static_cast<char>(report.refused);
      return std::string(report.refusal == Refusal::kLinearUnit ? "linear" : "angular") +
             " unit letter " + JsonString(ToTerminal(std::string(1, letter))) + " (#" +
             (report.refusal == Refusal::kLinearUnit ? "L" : "W") + ")";
    }
    case Refusal::kBlock:
      return "strings of block type " + number;
    case Refusal::kApplication:
      return "a string of application " + number;
    case Refusal::kLongBlockString:
      return "the block string of block type " + number + ", too long for its line";
    case Refusal::kNone:
      break;
  }
  return {};
}

// The strings the older variant left out, by kind: "3 strings left out ...: 1 import string, ...".
std::string OmissionText(const CFrtOlderReport& report) {
  const struct {
    int count;
    const char* kind;
  } kinds[] = {
      {report.imports, "import"},
      {report.applications, "application header"},
      {report.numbered, "numbered"},
      {report.further, "further"},
  };
  const auto strings = [](int n) { return std::to_string(n) + (n == 1 ? " string" : " strings"); };
  std::string text = strings(report.Omitted()) + " left out, which the older variant cannot hold:";
  const char* separator = " ";
  for (const auto& k : kinds) {
    if (k.count == 0) continue;
    text += separator + std::to_string(k.count) + " " + k.kind;
    separator = ", ";
  }
  if (report.further > 0) text += " (a block, application, header or footer keeps one string)";
  return text;
}

// `line`: the line of the file where the fault is, 0 for none.
void PrintCheckLine(const std::string& path, bool ok, const CCliMessageSink& messages, int line,
                    bool json) {
  const CMessage* first = messages.Empty() ? nullptr : &messages.Messages().front();
  if (json) {
    std::printf("{\"file\": %s, \"ok\": %s", JsonString(path).c_str(), ok ? "true" : "false");
    if (!ok && first != nullptr)
      std::printf(", \"message_id\": %d, \"text\": %s, \"extra\": %s", first->id,
                  JsonString(MessageEntryText(*first)).c_str(), JsonString(first->extra).c_str());
    if (!ok) std::printf(", \"line\": %s", line > 0 ? std::to_string(line).c_str() : "null");
    std::printf("}\n");
  } else if (ok) {
    std::printf("%s: OK\n", path.c_str());
  } else {
    std::printf("%s: %s\n", path.c_str(), first != nullptr ? MessageLine(*first).c_str() : "");
  }
}

}  // namespace

int CheckCommand(Context& context, const std::vector<std::string>& args) {
  const char kUsage[] = "Usage: frtool check [--json] FILE...\n";
  bool json = false;
  std::vector<std::string> files;
  for (const std::string& a : args) {
    if (a == "--json")
      json = true;
    else if (IsOption(a))
      return Usage(kUsage);
    else
      files.push_back(a);
  }
  if (files.empty()) return Usage(kUsage);
  CQVWorkspace workspace;
  if (!StartWorkspace(context, workspace)) return kExitUsage;
  bool allValid = true;
  for (const std::string& path : files) {
    context.messages.Clear();
    CFormatDocument document(workspace.DocContext());
    const bool ok = document.Open(path);
    allValid = allValid && ok;
    PrintCheckLine(path, ok, context.messages, document.Format().FaultLine(), json);
    context.messages.Clear();  // reported in the line
    WarnIfUtf8(path, document.Format());
  }
  return allValid ? kExitOk : kExitFailed;
}

int PreviewCommand(Context& context, const std::vector<std::string>& args) {
  const char kUsage[] = "Usage: frtool preview [--utf8] FILE\n";
  bool utf8 = false;
  std::string path;
  for (const std::string& a : args) {
    if (a == "--utf8")
      utf8 = true;
    else if (IsOption(a) || !path.empty())
      return Usage(kUsage);
    else
      path = a;
  }
  if (path.empty()) return Usage(kUsage);
  CQVWorkspace workspace;
  if (!StartWorkspace(context, workspace)) return kExitUsage;
  CFormatDocument document(workspace.DocContext());
  context.messages.SetSubject(path);
  const bool opened = document.Open(path);
  WarnIfUtf8(path, document.Format());
  if (!opened) return kExitFailed;  // main prints the messages
  std::string text = SampleExport(document.Format(), *document.Template());
  if (utf8) text = ToTerminal(text);
  std::fwrite(text.data(), 1, text.size(), stdout);
  return kExitOk;
}

int RenderCommand(Context& context, const std::vector<std::string>& args) {
  if (args.size() < 2 || args.size() > 3) {
    return Usage(
        "Usage: frtool render TEMPLATE TEXT [VARCODES]\n"
        "  VARCODES: one 9-digit group per variable: options 1, unit code 2, unit type 1,\n"
        "  data type 2, code 3 (unit type and data type are taken from the variable pool)\n");
  }
  CQVWorkspace workspace;
  if (!StartWorkspace(context, workspace)) return kExitUsage;
  const CFormatTemplate* tpl = workspace.Catalogue()->FindTemplate(FromTerminal(args[0]));
  if (tpl == nullptr) {
    PrintFault("render", "no template named '" + args[0] + "'");
    return kExitUsage;
  }
  CFormatDocument document(workspace.DocContext());
  if (!document.New(tpl)) return kExitFailed;
  frt::Result result = frt::kOk;
  const std::string sample = document.Format().RenderSample(
      FromTerminal(args[1]), args.size() > 2 ? args[2] : std::string(), &result);
  if (result != frt::kOk) {
    PrintFault("render", OneLine(frt::ResultText(result)));
    return kExitFailed;
  }
  std::printf("%s\n", ToTerminal(sample).c_str());
  return kExitOk;
}

int NewCommand(Context& context, const std::vector<std::string>& args) {
  const char kUsage[] = "Usage: frtool new [--force] [--template NAME] OUT\n";
  std::string templateName;
  std::string out;
  bool force = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--template" && i + 1 < args.size())
      templateName = args[++i];
    else if (args[i] == "--force")
      force = true;
    else if (IsOption(args[i]) || !out.empty())
      return Usage(kUsage);
    else
      out = args[i];
  }
  if (out.empty()) return Usage(kUsage);
  // Anything already there, even a dangling link, is the user's; only --force replaces it.
  struct stat st {};
  if (!force && lstat(out.c_str(), &st) == 0) {
    PrintFault(out, "file exists (--force replaces it)");
    return kExitFailed;
  }
  CQVWorkspace workspace;
  if (!StartWorkspace(context, workspace)) return kExitUsage;
  const CFormatTemplate* tpl = nullptr;
  if (templateName.empty()) {
    tpl = workspace.ChooseNewFileTemplate();
  } else {
    tpl = workspace.Catalogue()->FindTemplate(FromTerminal(templateName));
    if (tpl != nullptr) workspace.SetNewFileTemplate(tpl);
  }
  if (tpl == nullptr) {
    PrintFault("new", std::string("no template named '") +
                          (templateName.empty() ? CQVWorkspace::kNewFileTemplate : templateName) +
                          "'");
    return kExitFailed;
  }
  CFormatDocument document(workspace.DocContext());
  context.messages.SetSubject(out);
  if (!document.New(tpl)) return kExitFailed;
  if (document.Save(out) != CFormatDocument::SaveResult::kSaved) return kExitFailed;
  std::printf("%s: new format of template %s\n", out.c_str(), ToTerminal(tpl->Name()).c_str());
  return kExitOk;
}

int ConvertCommand(Context& context, const std::vector<std::string>& args) {
  const char kUsage[] = "Usage: frtool convert --to older|current IN OUT\n";
  std::string variant;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--to" && i + 1 < args.size())
      variant = args[++i];
    else if (IsOption(args[i]))
      return Usage(kUsage);
    else
      files.push_back(args[i]);
  }
  if ((variant != "older" && variant != "current") || files.size() != 2) return Usage(kUsage);
  CQVWorkspace workspace;
  if (!StartWorkspace(context, workspace)) return kExitUsage;
  CFormatDocument document(workspace.DocContext());
  context.messages.SetSubject(files[0]);
  const bool opened = document.Open(files[0]);
  WarnIfUtf8(files[0], document.Format());
  if (!opened) return kExitFailed;
  context.messages.SetSubject(files[1]);
  if (variant == "current")
    return document.Save(files[1]) == CFormatDocument::SaveResult::kSaved ? kExitOk : kExitFailed;

  // The older variant is written as the document's save writes the current one: named after
  // the file, and the previous file stays whole when the format does not fit (23).
  CDocFormat& format = document.Format();
  format.SetFileHeader("%N", NameFromPath(files[1]).c_str());
  frt::SafeFileWriter writer(workspace.DocContext().fileSystem);
  CFrtOlderReport report;
  frt::Result r = writer.Open(files[1]);
  if (r == frt::kOk) {
    r = format.Format().WriteFrtOrig(&writer, &report);
    if (r == frt::kOk)
      r = writer.Commit();
    else
      writer.Abort();
  }
  if (r != frt::kOk) {
    std::string text = CErrorMessage::SaveErrorText(r, format.Format().LineNumber());
    if (report.refusal != CFrtOlderReport::Refusal::kNone)
      text += "\ncannot hold: " + RefusalText(report);
    CErrorMessage::ShowText(frt::kIdSaveFormatFailed, true, text);
    return kExitFailed;
  }
  if (report.Omitted() > 0)
    std::fprintf(stderr, "frtool: %s: warning: %s\n", files[1].c_str(),
                 OmissionText(report).c_str());
  return kExitOk;
}

}  // namespace cli
