// frtool: checks, shows and tries format files from the command line.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli_command.h"
#include "library/error_message.h"

namespace {

const char kUsage[] =
    "Usage: frtool [--app-dir DIR] [--shared-dir DIR] COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  check [--json] FILE...              open each file as the editor does and report\n"
    "  preview [--utf8] FILE               the sample export of a valid format\n"
    "  render TEMPLATE TEXT [VARCODES]     one format string rendered as a sample line\n"
    "  new [--template NAME] OUT           a new format as the new-file command makes it\n"
    "  convert --to older|current IN OUT   rewrite a valid format in a file variant\n"
    "  dump [--json] FILE                  the whole content of a format file\n"
    "  templates [--json]                  instruments, templates, applications, definitions\n"
    "  pool list|show NAME|remove NAME     the entries of the string pool\n"
    "\n"
    "Options:\n"
    "  --app-dir DIR        the per-user application folder (QV.ini, pool.dat, Format)\n"
    "  --shared-dir DIR     the shared data folder (Templates/Quarvel/QV.tpl)\n"
    "  --help               show this text\n"
    "  --version            show the version\n"
    "\n"
    "Exit status: 0 success, 1 the command found a fault, 2 usage error or data files that\n"
    "do not load.\n";

struct Command {
  const char* name;
  int (*run)(cli::Context&, const std::vector<std::string>&);
};

const Command kCommands[] = {
    {"check", cli::CheckCommand},         {"preview", cli::PreviewCommand},
    {"render", cli::RenderCommand},       {"new", cli::NewCommand},
    {"convert", cli::ConvertCommand},     {"dump", cli::DumpCommand},
    {"templates", cli::TemplatesCommand}, {"pool", cli::PoolCommand},
};

}  // namespace

int main(int argc, char** argv) {
  cli::GlobalOptions options;
  int i = 1;
  for (; i < argc && argv[i][0] == '-' && argv[i][1] == '-'; ++i) {
    std::string opt = argv[i];
    if (opt == "--help") {
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
    std::fprintf(stderr, "frtool: unknown option '%s'\n\n%s", argv[i], kUsage);
    return cli::kExitUsage;
  }
  if (i >= argc) {
    std::fputs(kUsage, stderr);
    return cli::kExitUsage;
  }
  const std::string command = argv[i++];
  const std::vector<std::string> args(argv + i, argv + argc);
  for (const Command& c : kCommands) {
    if (command != c.name) continue;
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
