#pragma once
// The shipped settings and template files loaded as the application loads them, a renderer
// with the sample value source, and format files written into a scratch folder.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "catalogue/format_template_manager.h"
#include "catalogue/ini_reader.h"
#include "temp_files.h"
#include "document/doc_format.h"
#include "library/error_message.h"
#include "library/frt_engine.h"
#include "preview/sample_value_source.h"
#include "profile/qv_profile.h"

namespace doctest {

inline const std::string kShippedTemplate = QUARVEL_SOURCE_DATA_DIR "/Templates/Quarvel/QV.tpl";

// A current-variant file of Kite_Basic with the given strings (lines without their line ends).
inline std::string Frt(const std::string& strings, const std::string& version = "1.00",
                       const std::string& instrument = "TS-Q6", const std::string& units = "SMCB",
                       const std::string& templateName = "Kite_Basic") {
  std::string s = "@t:FRT\r\n@i:" + instrument + "\r\n@v:" + version +
                  "\r\n@a:a\r\n@c:c\r\n@d:d\r\n@o:o\r\n@l:" + templateName + "\r\n%NT\r\n";
  const char keys[] = "WLTP";
  for (int i = 0; i < 4; ++i) {
    s += std::string("#") + keys[i];
    if (units[static_cast<std::size_t>(i)] != '_') s += units[static_cast<std::size_t>(i)];
    s += "\r\n";
  }
  s += "&W1.0\r\n&L1.0\r\n&T1.0\r\n&P1.0\r\n@Dd-9\r\n@Df-9.9\r\n@Ds--\r\n";
  std::size_t start = 0;
  while (start < strings.size()) {
    std::size_t end = strings.find('\n', start);
    if (end == std::string::npos) end = strings.size();
    s += strings.substr(start, end - start) + "\r\n";
    start = end + 1;
  }
  return s;
}

class DocEnv : public ::testing::Test {
 protected:
  DocEnv() {
    testfiles::WriteBytes(dir_ / "QV.ini",
                          testfiles::ReadBytes(QUARVEL_SOURCE_DATA_DIR "/Global/QV.ini"));
    profile_ =
        std::make_unique<CQVProfile>(reader_, dir_ / "QV.ini", kShippedTemplate, dir_.path());
    EXPECT_NE(profile_->Read(), 0);
    catalogue_ = std::make_unique<CFormatTemplateManager>(reader_, kShippedTemplate);
    EXPECT_EQ(catalogue_->Read(), 1);
    source_.SetCatalogue(catalogue_.get());
    context_.catalogue = catalogue_.get();
    context_.profile = profile_.get();
    context_.engine = &engine_;
  }

  std::string WriteFile(const std::string& name, const std::string& bytes) {
    const std::string path = dir_ / name;
    EXPECT_TRUE(testfiles::WriteBytes(path, bytes));
    return path;
  }
  const CFormatTemplate* KiteBasic() const { return catalogue_->FindTemplate("Kite_Basic"); }

  CRecordingMessageSink sink_;
  CScopedMessageSink scoped_{sink_};
  testfiles::TempDir dir_;
  CIniReader reader_;
  std::unique_ptr<CQVProfile> profile_;
  std::unique_ptr<CFormatTemplateManager> catalogue_;
  CSampleValueSource source_;
  CFrtEngine engine_{&source_};
  CDocContext context_;
};

}  // namespace doctest
