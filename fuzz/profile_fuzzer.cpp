// Sectioned-file reader and settings profile: the input is QV.ini. The profile clears and sets
// the file's write bit, so each run writes a fresh file.
#include <cstdint>
#include <string>

#include "catalogue/ini_reader.h"
#include "fuzz_common.h"
#include "profile/qv_profile.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceMessages();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::ScratchPath("QV.ini");
  fuzz::WriteFile(path, data, size);
  CIniReader reader;
  CQVProfile profile(reader, path, fuzz::ScratchPath("QV.tpl"), fuzz::ScratchDir());
  if (profile.Read() != 0) {
    for (const char* type : {"Linear", "Angular", "Temperature", "Pressure", "Other"}) {
      const std::string selected = profile.GetSelectedUnitValue(type);
      profile.GetUnitValueAt(type, 0);
      profile.GetUnitValueAt(type, 1000);
      profile.IndexOfUnitValue(type, selected);
    }
    std::string instrument, templateName;
    profile.GetLastActive(instrument, templateName);
    profile.Flags().Find("Scale");
  }
  return 0;
}
