#pragma once
// The shipped settings and catalogue, and the shipped workbench formats opened as the editor
// opens them: what the workbench fuzz targets run on.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "catalogue/format_template_manager.h"
#include "catalogue/ini_reader.h"
#include "document/format_document.h"
#include "fuzz_common.h"
#include "library/frt_engine.h"
#include "preview/sample_value_source.h"
#include "profile/qv_profile.h"

namespace fuzz {

struct WorkbenchEnv {
  CIniReader reader;
  std::unique_ptr<CQVProfile> profile;
  std::unique_ptr<CFormatTemplateManager> catalogue;
  CSampleValueSource source;
  CFrtEngine engine{&source};
  CDocContext context;
  const CFormatTemplate* basic = nullptr;

  WorkbenchEnv() {
    SilenceMessages();
    // The profile changes the file's write bit: it works on a copy.
    const std::string ini = ScratchPath("QV.ini");
    const std::string copy = "cp '" QUARVEL_DATA_DIR "/Global/QV.ini' '" + ini + "'";
    if (std::system(copy.c_str()) != 0) Fail("QV.ini");
    const std::string tpl = QUARVEL_DATA_DIR "/Templates/Quarvel/QV.tpl";
    profile = std::make_unique<CQVProfile>(reader, ini, tpl, ScratchDir());
    if (profile->Read() == 0) Fail(ini);
    catalogue = std::make_unique<CFormatTemplateManager>(reader, tpl);
    if (catalogue->Read() != 1) Fail(tpl);
    source.SetCatalogue(catalogue.get());
    context = CDocContext{catalogue.get(), profile.get(), &engine, nullptr};
    basic = catalogue->FindTemplate("Kite_Basic");
    if (!basic) Fail("Kite_Basic");
  }

  [[noreturn]] static void Fail(const std::string& what) {
    std::fprintf(stderr, "cannot load %s\n", what.c_str());
    std::abort();
  }

  // A shipped workbench format, opened with every check.
  std::unique_ptr<CFormatDocument> Open(const char* name) {
    auto document = std::make_unique<CFormatDocument>(context);
    if (!document->Open(std::string(QUARVEL_DATA_DIR "/Workbench/") + name)) Fail(name);
    return document;
  }
};

}  // namespace fuzz
