// frtool scan and export: a format's import strings over a data file, its export strings over
// records.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "catalogue/format_template.h"
#include "cli_command.h"
#include "document/format_document.h"
#include "json_writer.h"
#include "shell/qv_workspace.h"
#include "workbench/data_scanner.h"
#include "workbench/record_exporter.h"
#include "workbench/records_csv.h"

namespace cli {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

int Usage(const char* text) {
  std::fputs(text, stderr);
  return kExitUsage;
}

struct FileCloser {
  void operator()(std::FILE* f) const {
    if (f && f != stdin && f != stdout) std::fclose(f);
  }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

// `-` is stdin. Null after reporting the fault.
File OpenInput(const std::string& path) {
  if (path == "-") return File(stdin);
  File f(std::fopen(path.c_str(), "rb"));
  if (!f) PrintFault(path, std::strerror(errno));
  return f;
}

// Hands the file to `feed` in chunks; false after reporting a read error.
template <class Feed>
bool ReadChunks(std::FILE* f, const std::string& path, Feed&& feed) {
  std::vector<char> buffer(kChunk);
  for (;;) {
    const std::size_t n = std::fread(buffer.data(), 1, buffer.size(), f);
    if (n > 0) feed(std::string_view(buffer.data(), n));
    if (n < buffer.size()) break;
  }
  if (std::ferror(f)) {
    PrintFault(path, std::strerror(errno));
    return false;
  }
  return true;
}

bool ParseNumber(const std::string& text, int& value) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  value = std::stoi(text);
  return true;
}

// Opens the format as the editor does; false after its messages were printed.
bool OpenFormat(Context& context, CFormatDocument& document, const std::string& path) {
  context.messages.SetSubject(path);
  const bool opened = document.Open(path);
  WarnIfUtf8(path, document.Format());
  context.messages.PrintAll();
  return opened && document.Template() != nullptr;
}

std::string ValueName(const workbench::ScanValue& v) {
  return v.name.empty() ? std::to_string(v.code) : ToTerminal(v.name);
}

std::string ValueJson(const workbench::ScanValue& v) {
  return v.isText ? JsonString(ToTerminal(v.text)) : JsonNumber(v.number);
}

void PrintPlain(int line, const workbench::ScanLineResult& r) {
  if (r.blank) {
    std::printf("%d: blank\n", line);
  } else if (!r.matched) {
    std::printf("%d: no string matches (column %zu: %s)\n", line, r.stopColumn,
                ToTerminal(r.reason).c_str());
  } else {
    std::string text = std::to_string(line) + ": block " + std::to_string(r.block) + " [" +
                       std::to_string(r.stringId) + "]";
    for (const auto& v : r.values) text += " " + ValueName(v) + "=" + ToTerminal(v.text);
    std::printf("%s\n", text.c_str());
  }
}

void PrintJson(int line, std::string_view text, const workbench::ScanLineResult& r) {
  std::string out = "{\"line\": " + std::to_string(line) +
                    ", \"text\": " + JsonString(ToTerminal(std::string(text))) +
                    ", \"matched\": " + (r.matched ? "true" : "false");
  if (r.matched) {
    out += ", \"string_id\": " + std::to_string(r.stringId) +
           ", \"block\": " + std::to_string(r.block) + ", \"values\": [";
    for (std::size_t i = 0; i < r.values.size(); ++i) {
      const auto& v = r.values[i];
      out += std::string(i ? ", " : "") + "{\"code\": " + std::to_string(v.code) +
             ", \"name\": " + JsonString(ToTerminal(v.name)) +
             ", \"text\": " + JsonString(ToTerminal(v.text)) + ", \"value\": " + ValueJson(v) + "}";
    }
    out += "], \"error\": null}";
  } else {
    const std::string error =
        r.blank ? std::string("blank line")
                : "column " + std::to_string(r.stopColumn) + ": " + ToTerminal(r.reason);
    out +=
        ", \"string_id\": null, \"block\": null, \"values\": [], \"error\": " + JsonString(error) +
        "}";
  }
  std::printf("%s\n", out.c_str());
}

}  // namespace

int ScanCommand(Context& context, const std::vector<std::string>& args) {
  const char kUsage[] = "Usage: frtool scan [--json | --records] [--block ID] FORMAT DATA\n";
  enum class Output { kPlain, kJson, kRecords } output = Output::kPlain;
  int block = -1;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if ((a == "--json" || a == "--records") && output == Output::kPlain)
      output = a == "--json" ? Output::kJson : Output::kRecords;
    else if (a == "--block" && i + 1 < args.size() && ParseNumber(args[i + 1], block))
      ++i;
    else if (IsOption(a))
      return Usage(kUsage);
    else
      files.push_back(a);
  }
  if (files.size() != 2) return Usage(kUsage);
  CQVWorkspace workspace;
  if (!StartWorkspace(context, workspace)) return kExitUsage;
  CFormatDocument document(workspace.DocContext());
  if (!OpenFormat(context, document, files[0])) return kExitUsage;
  const CFormatTemplate& tpl = *document.Template();
  const workbench::DataScanner scanner(document.Format(), tpl, block);
  File data = OpenInput(files[1]);
  if (!data) return kExitUsage;

  if (output == Output::kRecords) {
    const std::string header = workbench::RecordsHeader(&tpl, scanner.Codes());
    std::fwrite(header.data(), 1, header.size(), stdout);
  }
  int line = 0;
  bool allMatched = true;
  workbench::Record record;
  const auto onLine = [&](std::string_view text, bool cut) {
    ++line;
    workbench::ScanLineResult r = scanner.Scan(text);
    if (cut) {
      r = workbench::ScanLineResult{};
      r.stopColumn = workbench::LineSplitter::kMaxLine + 1;
      r.reason = "line longer than " + std::to_string(workbench::LineSplitter::kMaxLine) +
                 " bytes, not read";
    }
    if (!r.matched && !r.blank) allMatched = false;
    switch (output) {
      case Output::kPlain:
        PrintPlain(line, r);
        break;
      case Output::kJson:
        PrintJson(line, workbench::TrimLineEnd(text), r);
        break;
      case Output::kRecords:
        if (r.matched) {
          record.block = r.block;
          record.values.clear();
          for (const auto& v : r.values) record.values.push_back({v.code, v.text});
          const std::string row = workbench::RecordRow(record, scanner.Codes());
          std::fwrite(row.data(), 1, row.size(), stdout);
        } else if (!r.blank) {
          PrintFault(files[1], "line " + std::to_string(line) + ": no string matches (column " +
                                   std::to_string(r.stopColumn) + ": " + ToTerminal(r.reason) +
                                   ")");
        }
        break;
    }
  };
  workbench::LineSplitter splitter;
  if (!ReadChunks(data.get(), files[1],
                  [&](std::string_view bytes) { splitter.Feed(bytes, onLine); }))
    return kExitUsage;
  splitter.Finish(onLine);
  return allMatched ? kExitOk : kExitFailed;
}

int ExportCommand(Context& context, const std::vector<std::string>& args) {
  const char kUsage[] =
      "Usage: frtool export [--utf8] [--application ID] [-o OUT [--force]] FORMAT RECORDS\n";
  bool utf8 = false;
  bool force = false;
  int application = 0;
  std::string out;
  std::vector<std::string> files;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--utf8")
      utf8 = true;
    else if (a == "--force")
      force = true;
    else if (a == "--application" && i + 1 < args.size() && ParseNumber(args[i + 1], application))
      ++i;
    else if (a == "-o" && i + 1 < args.size() && out.empty())
      out = args[++i];
    else if (IsOption(a))
      return Usage(kUsage);
    else
      files.push_back(a);
  }
  if (files.size() != 2) return Usage(kUsage);
  // As with `new`: whatever is at OUT is the user's; only --force replaces it.
  struct stat st {};
  if (!out.empty() && !force && lstat(out.c_str(), &st) == 0) {
    PrintFault(out, "file exists (--force replaces it)");
    return kExitUsage;
  }
  CQVWorkspace workspace;
  if (!StartWorkspace(context, workspace)) return kExitUsage;
  CFormatDocument document(workspace.DocContext());
  if (!OpenFormat(context, document, files[0])) return kExitUsage;
  const CFormatTemplate& tpl = *document.Template();
  if (application != 0 && !tpl.FindApplication(application)) {
    PrintFault(files[0], "the template has no application " + std::to_string(application));
    return kExitUsage;
  }
  File records = OpenInput(files[1]);
  if (!records) return kExitUsage;
  File sink(stdout);
  if (!out.empty()) {
    sink.reset(std::fopen(out.c_str(), "wb"));
    if (!sink) {
      PrintFault(out, std::strerror(errno));
      return kExitUsage;
    }
  }

  bool failed = false;
  const auto write = [&](const workbench::ExportPiece& piece, int row) {
    const std::string text = utf8 ? ToTerminal(piece.text) : piece.text;
    std::fwrite(text.data(), 1, text.size(), sink.get());
    if (piece.Ok()) return;
    failed = true;
    PrintFault(row > 0 ? files[1] : files[0],
               (row > 0 ? "row " + std::to_string(row) + ": " : std::string()) + piece.error);
  };
  workbench::RecordExporter exporter(document.Format(), tpl);
  write(exporter.Begin(application), 0);
  workbench::RecordsReader reader(
      &tpl, [&](workbench::Record& record) { write(exporter.Record(record), record.row); },
      [&](int row, const std::string& error) {
        failed = true;
        PrintFault(files[1], "row " + std::to_string(row) + ": " + error);
      });
  if (!ReadChunks(records.get(), files[1], [&](std::string_view bytes) { reader.Feed(bytes); }))
    return kExitUsage;
  reader.Finish();
  if (!reader.HeaderOk()) return kExitUsage;
  write(exporter.End(), 0);
  if (std::fflush(sink.get()) != 0) {
    PrintFault(out.empty() ? "export" : out, std::strerror(errno));
    return kExitFailed;
  }
  return failed ? kExitFailed : kExitOk;
}

}  // namespace cli
