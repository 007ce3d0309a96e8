// A .frt file opened as the editor opens it: header peek, template lookup in the shipped
// catalogue, load, string IDs and the strict checks; a file that opens is saved and reopened.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "catalogue/format_template_manager.h"
#include "catalogue/ini_reader.h"
#include "document/format_document.h"
#include "fuzz_common.h"
#include "library/frt_engine.h"
#include "preview/sample_value_source.h"
#include "profile/qv_profile.h"

namespace {

struct Env {
  CIniReader reader;
  CQVProfile* profile = nullptr;
  CFormatTemplateManager* catalogue = nullptr;
  CSampleValueSource source;
  CFrtEngine engine{&source};
  CDocContext context;
};

Env* gEnv = nullptr;

std::string ReadAll(const char* path) {
  std::string bytes;
  std::FILE* f = std::fopen(path, "rb");
  if (f == nullptr) std::abort();
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.append(buf, n);
  std::fclose(f);
  return bytes;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz::SilenceMessages();
  // The settings and the catalogue as start-up loads them; the profile works on a copy because
  // it changes the file's write bit.
  const std::string ini = ReadAll(QUARVEL_DATA_DIR "/Global/QV.ini");
  const std::string iniCopy = fuzz::ScratchPath("QV.ini");
  fuzz::WriteFile(iniCopy, reinterpret_cast<const std::uint8_t*>(ini.data()), ini.size());
  const std::string tpl = QUARVEL_DATA_DIR "/Templates/Quarvel/QV.tpl";
  gEnv = new Env;
  gEnv->profile = new CQVProfile(gEnv->reader, iniCopy, tpl, fuzz::ScratchDir());
  if (gEnv->profile->Read() == 0) std::abort();
  gEnv->catalogue = new CFormatTemplateManager(gEnv->reader, tpl);
  if (gEnv->catalogue->Read() != 1) std::abort();
  gEnv->source.SetCatalogue(gEnv->catalogue);
  gEnv->context.catalogue = gEnv->catalogue;
  gEnv->context.profile = gEnv->profile;
  gEnv->context.engine = &gEnv->engine;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string path = fuzz::ScratchPath("open.frt");
  const std::string saved = fuzz::ScratchPath("saved.frt");
  fuzz::WriteFile(path, data, size);
  CFormatDocument document(gEnv->context);
  if (!document.Open(path)) return 0;
  unlink(saved.c_str());
  if (document.Save(saved) != CFormatDocument::SaveResult::kSaved) return 0;
  // What the editor saved it must open again.
  CFormatDocument again(gEnv->context);
  if (!again.Open(saved)) std::abort();
  return 0;
}
