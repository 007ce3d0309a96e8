// frtool: checks, shows and tries format files from the command line.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cli_command.h"

namespace {

const char kUsage[] =
    "Usage: frtool [--app-dir DIR] [--shared-dir DIR] COMMAND [ARGS]\n"
    "\n"
    "Commands:\n"
    "  dump [--json] FILE   print the whole content of a format file\n"
    "\n"
    "Options:\n"
    "  --app-dir DIR        the per-user application folder (QV.ini, pool.dat, Format)\n"
    "  --shared-dir DIR     the shared data folder (Templates/Quarvel/QV.tpl)\n"
    "  --help               show this text\n"
    "  --version            show the version\n";

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
  std::string command = argv[i++];
  std::vector<std::string> args(argv + i, argv + argc);
  if (command == "dump") return cli::DumpCommand(options, args);
  std::fprintf(stderr, "frtool: unknown command '%s'\n\n%s", command.c_str(), kUsage);
  return cli::kExitUsage;
}
