// frtool: checks, shows and tries format files from the command line.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli_command.h"
#include "library/error_message.h"
#include "library/string_table.h"

namespace {

const char kUsage[] =
    "Usage: frtool [--app-dir DIR] [--shared-dir DIR] [--lang en|zh] COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  check [--json] FILE...              open each file as the editor does and report\n"
    "  preview [--utf8] FILE               the sample export of a valid format\n"
    "  render TEMPLATE TEXT [VARCODES]     one format string rendered as a sample line\n"
    "  new [--force] [--template NAME] OUT a new format as the new-file command makes it\n"
    "  convert --to older|current IN OUT   rewrite a valid format in a file variant\n"
    "  dump [--json] FILE                  the whole content of a format file\n"
    "  templates [--json]                  instruments, templates, applications, definitions\n"
    "  pool list|show NAME|remove NAME     the entries of the string pool\n"
    "  scan [--json|--records] FMT DATA    a format's import strings over a data file\n"
    "  export [-o OUT] FMT RECORDS         a format's export strings over a records CSV\n"
    "\n"
    "Options:\n"
    "  --app-dir DIR        the per-user application folder (QV.ini, pool.dat, Format)\n"
    "  --shared-dir DIR     the shared data folder (Templates/Quarvel/QV.tpl)\n"
    "  --lang en|zh         the language of the messages; without it the environment decides\n"
    "                       (LANGUAGE, LC_ALL, LC_MESSAGES, LANG: the first set; English when\n"
    "                       it starts with 'en', Chinese otherwise)\n"
    "  -h, --help           show this text; 'frtool COMMAND --help' shows the command's\n"
    "  --version            show the version\n"
    "\n"
    "Faults and warnings go to stderr as 'frtool: FILE: message' and 'frtool: FILE: warning:\n"
    "message' (the command's name stands for FILE where no file is concerned). A file whose\n"
    "text is not GBK but UTF-8 gets a warning; the exit status stays as it is.\n"
    "\n"
    "Exit status: 0 success, 1 the command found a fault, 2 usage error or data files that\n"
    "do not load.\n";

struct Command {
  const char* name;
  int (*run)(cli::Context&, const std::vector<std::string>&);
  const char* help;
};

const Command kCommands[] = {
    {"check", cli::CheckCommand,
     "Usage: frtool check [--json] FILE...\n"
     "Opens each file as the editor opens it and prints one line per file: 'FILE: OK' or\n"
     "'FILE: ' and the first message. Exit status 1 when any file is not valid.\n"
     "  --json   one JSON object per line: file, ok; for a fault also message_id, text,\n"
     "           extra and line (the line of the file from 1, as an editor counts; null\n"
     "           when the fault is not at one line)\n"},
    {"preview", cli::PreviewCommand,
     "Usage: frtool preview [--utf8] FILE\n"
     "The sample export of a valid format, as rendered (GBK, LF line ends).\n"
     "  --utf8   convert the output to UTF-8\n"},
    {"render", cli::RenderCommand,
     "Usage: frtool render TEMPLATE TEXT [VARCODES]\n"
     "One format string rendered as a sample line with the template's variable pool.\n"
     "  VARCODES: one 9-digit group per variable: options 1, unit code 2, unit type 1,\n"
     "  data type 2, code 3 (unit type and data type are taken from the variable pool)\n"},
    {"new", cli::NewCommand,
     "Usage: frtool new [--force] [--template NAME] OUT\n"
     "A new format as the new-file command makes it, saved as OUT. An existing OUT is\n"
     "refused (exit status 1, the file untouched).\n"
     "  --template NAME   the template of the format (default: the new-file template)\n"
     "  --force           replace OUT when it exists\n"},
    {"convert", cli::ConvertCommand,
     "Usage: frtool convert --to older|current IN OUT\n"
     "Opens IN as the editor does and writes it to OUT in the given file variant.\n"},
    {"dump", cli::DumpCommand,
     "Usage: frtool dump [--json] FILE\n"
     "The whole content of a format file with its string IDs, read without the checks.\n"
     "  --json   one JSON document\n"},
    {"templates", cli::TemplatesCommand,
     "Usage: frtool templates [--json]\n"
     "Instruments, templates, applications, format definitions and variables.\n"
     "  --json   one JSON document\n"},
    {"pool", cli::PoolCommand,
     "Usage: frtool pool list|show NAME|remove NAME\n"
     "The entries of the string pool: list them, show one, remove one.\n"},
    {"scan", cli::ScanCommand,
     "Usage: frtool scan [--json | --records] [--block ID] FORMAT DATA\n"
     "Reads each line of DATA ('-': stdin) with FORMAT's import strings, as the instrument\n"
     "reads a file, and prints per line the string that matched and the values read, or the\n"
     "column where the furthest attempt stopped and why. Tried per line: each import block in\n"
     "the template's order, its header string, then its data strings; the first that reads\n"
     "the line wins. Exit status 1 when a line that is not blank matched no string.\n"
     "  --json      one JSON object per line: line, text, matched, string_id, block,\n"
     "              values (code, name, text, value), error\n"
     "  --records   the matched lines as a records CSV, nothing else on stdout\n"
     "  --block ID  only the import strings of this block type\n"},
    {"export", cli::ExportCommand,
     "Usage: frtool export [--utf8] [--application ID] [-o OUT [--force]] FORMAT RECORDS\n"
     "Renders FORMAT's export strings over the records CSV RECORDS ('-': stdin) as the\n"
     "instrument writes its file: file header, application header, per record its block's\n"
     "header when the block changes and its line, then the file footer. A record that fails\n"
     "is reported on stderr with its row; the output goes on (exit status 1).\n"
     "  --application ID  the application (default: the template's first)\n"
     "  -o OUT            write to OUT; an existing OUT is refused unless --force\n"
     "  --utf8            convert the output to UTF-8 (it is GBK as rendered)\n"},
};

bool IsHelp(const std::string& arg) {
  return arg == "-h" || arg == "--help";
}

}  // namespace

int main(int argc, char** argv) {
  cli::GlobalOptions options;
  frt::Language language = frt::EnvironmentLanguage();
  int i = 1;
  for (; i < argc && cli::IsOption(argv[i]); ++i) {
    const std::string opt = argv[i];
    if (IsHelp(opt)) {
      std::fputs(kUsage, stdout);
      return cli::kExitOk;
    }
    if (opt == "--version") {
      std::printf("frtool %s\n", QUARVEL_VERSION);
      return cli::kExitOk;
    }
    if ((opt == "--app-dir" || opt == "--shared-dir") && i + 1 < argc) {
      (opt == "--app-dir" ? options.appDir : options.sharedDir) = argv[++i];
      continue;
    }
    if (opt == "--lang" && i + 1 < argc) {
      const std::optional<frt::Language> chosen = frt::ParseLanguage(argv[++i]);
      if (!chosen) {
        std::fprintf(stderr, "frtool: unknown language '%s' (en or zh)\n", argv[i]);
        return cli::kExitUsage;
      }
      language = *chosen;
      continue;
    }
    std::fprintf(stderr, "frtool: unknown option '%s'\n\n%s", argv[i], kUsage);
    return cli::kExitUsage;
  }
  if (i >= argc) {
    std::fputs(kUsage, stderr);
    return cli::kExitUsage;
  }
  frt::SetLanguage(language);
  const std::string command = argv[i++];
  const std::vector<std::string> args(argv + i, argv + argc);
  for (const Command& c : kCommands) {
    if (command != c.name) continue;
    // Help wins over everything else on the line, before any data file is loaded.
    for (const std::string& a : args) {
      if (IsHelp(a)) {
        std::fputs(c.help, stdout);
        return cli::kExitOk;
      }
    }
    // Every message of the core goes through this sink while the command runs.
    cli::CCliMessageSink sink;
    CScopedMessageSink scoped(sink);
    cli::Context context{options, sink};
    const int rc = c.run(context, args);
    sink.PrintAll();  // whatever the command did not take as its own result
    return rc;
  }
  std::fprintf(stderr, "frtool: unknown command '%s'\n\n%s", command.c_str(), kUsage);
  return cli::kExitUsage;
}
