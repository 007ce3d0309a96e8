// frtool pool: the entries of the string pool file of the application folder.
#include <cstdio>
#include <string>
#include <vector>

#include "catalogue/format_template_manager.h"
#include "cli_command.h"
#include "json_writer.h"
#include "library/string_table.h"
#include "pool/string_pool.h"
#include "shell/qv_workspace.h"

namespace cli {
namespace {

const char kUsage[] = "Usage: frtool pool list | pool show NAME | pool remove NAME\n";

const char* DirectionName(unsigned direction) {
  return direction == 1 ? "export" : direction == 2 ? "import" : "unknown";
}

std::string Extra(const CFrtStringEx& e, PoolText which) {
  return ToTerminal(e.extra[which].str());
}

std::string Text(const CFrtStringEx& e) {
  return JsonString(ToTerminal(std::string(e.TextView())));
}

void List(const CStringPool& pool) {
  for (const auto& [name, e] : pool.Entries())
    std::printf("%s\t%s\t%u\t%u\t%s\t%s\n", ToTerminal(name).c_str(),
                DirectionName(e->key.direction), e->key.section, e->key.block,
                Extra(*e, kPoolTemplate).c_str(), Text(*e).c_str());
}

void Show(const CFrtStringEx& e, const CFormatTemplateManager& catalogue) {
  std::printf("Name:        %s\n", Extra(e, kPoolName).c_str());
  std::printf("Description: %s\n", Extra(e, kPoolDescription).c_str());
  std::printf("Author:      %s\n", Extra(e, kPoolAuthor).c_str());
  std::printf("Date:        %s\n", Extra(e, kPoolDate).c_str());
  std::printf("Template:    %s\n", Extra(e, kPoolTemplate).c_str());
  std::printf("Direction:   %s (%u)\n", DirectionName(e.key.direction), e.key.direction);
  std::printf("Section:     %u\n", e.key.section);
  std::printf("Block:       %u\n", e.key.block);
  std::printf("Number:      %u\n", e.key.number);
  std::printf("Text:        %s\n", Text(e).c_str());
  std::printf("Variables:   %d\n", e.VariableCount());
  for (const CFrtVariable& v : e.Variables())
    std::printf("  code %03u unit type %u data type %02u unit code %02u options %u  %s\n", v.code,
                v.unitType, v.dataType, v.unitCode, v.options,
                ToTerminal(catalogue.PoolVariableName(v.code)).c_str());
}

}  // namespace

int PoolCommand(Context& context, const std::vector<std::string>& args) {
  const bool list = args.size() == 1 && args[0] == "list";
  const bool show = args.size() == 2 && args[0] == "show";
  const bool remove = args.size() == 2 && args[0] == "remove";
  if (!list && !show && !remove) {
    std::fputs(kUsage, stderr);
    return kExitUsage;
  }
  CQVWorkspace workspace;
  if (!StartWorkspace(context, workspace, true)) return kExitUsage;
  CStringPool* pool = workspace.Pool();
  if (pool == nullptr) {
    context.messages.PrintAll();  // 1111 or 1251
    return kExitUsage;
  }
  if (list) {
    List(*pool);
    return kExitOk;
  }
  const std::string name = FromTerminal(args[1]);
  CFrtStringEx* entry = nullptr;
  if (pool->Get(name, entry) != frt::kOk) {
    std::fprintf(stderr, "frtool pool: no entry named '%s'\n", args[1].c_str());
    return kExitFailed;
  }
  if (show) {
    Show(*entry, *workspace.Catalogue());
    return kExitOk;
  }
  pool->Remove(name);
  const frt::Result saved = pool->Save();
  if (saved != frt::kOk) {
    std::fprintf(stderr, "frtool pool: %s: %s\n", pool->Path().c_str(),
                 OneLine(frt::ResultText(saved)).c_str());
    return kExitFailed;
  }
  std::printf("removed %s\n", args[1].c_str());
  return kExitOk;
}

}  // namespace cli
