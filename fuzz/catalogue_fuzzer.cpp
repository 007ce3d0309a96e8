// Sectioned-file reader and template catalogue: the input is QV.tpl.
#include <cstdint>
#include <string>

#include "catalogue/format_template_manager.h"
#include "catalogue/ini_reader.h"
#include "fuzz_common.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceMessages();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::ScratchPath("QV.tpl");
  fuzz::WriteFile(path, data, size);
  CIniReader reader;
  CFormatTemplateManager manager(reader, path);
  manager.Read();
  // A few lookups of the kind the editor makes after start-up.
  manager.FindTemplate("Kite_Basic");
  for (long code : {0L, 1L, 11L, 609L, 999L, -1L}) {
    manager.HasPoolVariable(code, "Pt");
    manager.PoolVariableName(code);
  }
  std::string s;
  long l = 0;
  double d = 0;
  bool b = false;
  reader.GetString("FileHeader", "Type", s);
  reader.GetLong("FileHeader", "Version", l);
  reader.GetDouble("FileHeader", "Version", d);
  reader.GetBool("FileHeader", "Type", b);
  return 0;
}
