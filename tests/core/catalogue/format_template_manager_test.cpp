#include "catalogue/format_template_manager.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "catalogue/format_template.h"
#include "catalogue/ft_appl.h"
#include "catalogue/ft_format.h"
#include "catalogue/ft_variable.h"
#include "catalogue/ini_reader.h"
#include "catalogue/tpl_builder.h"
#include "library/error_message.h"
#include "library/string_table.h"
#include "temp_files.h"

namespace {

using testfiles::TplBuilder;
using Bend = std::function<void(TplBuilder&)>;

const std::string kExp = "Kite_Basic_Export_Measure";
const std::string kGen = "Kite_Basic_Generalities";
const std::string kList = "Kite_Basic_Formatstring_List";

class CatalogueTest : public ::testing::Test {
 protected:
  // Bends the minimal catalogue, writes and reads it; Read's answer. Clears earlier messages.
  int Load(const Bend& bend = {}) {
    TplBuilder b = TplBuilder::Minimal();
    if (bend) bend(b);
    sink_.Clear();
    EXPECT_TRUE(testfiles::WriteBytes(dir_ / "QV.tpl", b.Text()));
    manager_ = std::make_unique<CFormatTemplateManager>(reader_, dir_ / "QV.tpl");
    return manager_->Read();
  }
  // The number of 1010 messages, asserting that no other message was shown.
  std::size_t StartFailed() const {
    for (const CMessage& m : sink_.Messages()) {
      EXPECT_EQ(m.id, frt::kIdStartFailed);
      EXPECT_TRUE(m.isError);
      EXPECT_EQ(m.extra, "");
    }
    return sink_.Count();
  }
  const CFormatTemplate& Basic() const {
    const CFormatTemplate* t = manager_->FindTemplate("Kite_Basic");
    EXPECT_NE(t, nullptr);
    return *t;
  }

  testfiles::TempDir dir_;
  CIniReader reader_;
  std::unique_ptr<CFormatTemplateManager> manager_;
  CRecordingMessageSink sink_;
  CScopedMessageSink scoped_{sink_};
};

// Small bends of the minimal catalogue, combined by All.
Bend S(std::string sec, std::string key, std::string v) {
  return [=](TplBuilder& b) { b.Set(sec, key, v); };
}
Bend R(std::string sec, std::string key) {
  return [=](TplBuilder& b) { b.Remove(sec, key); };
}
Bend V(int i, std::string name, int code, int type = 11, int unit = 0) {
  return [=](TplBuilder& b) { b.Variable(i, name, code, type, unit, ""); };
}
Bend D(std::string sec, int block, int strs, int header, std::vector<int> codes) {
  return [=](TplBuilder& b) { b.Definition(sec, block, strs, header, codes); };
}
Bend G(std::string name) {
  return [=](TplBuilder& b) { b.Generalities(name); };
}
Bend All(std::vector<Bend> bends) {
  return [=](TplBuilder& b) {
    for (const Bend& f : bends) f(b);
  };
}

const std::string kApp = "Kite_Basic_Application_Survey";
const Bend kNoApps = R("Kite_Basic_Applications", "List");
const Bend kRestriction2 = All({S(kList, "Import", "In"), D("Kite_Basic_Import_In", 2, 1, 0, {1}),
                                S("Kite_Basic_Import_In", "Restriction", "2")});
const Bend kAgain =
    All({S(kList, "Export", "Measure,Again"), D("Kite_Basic_Export_Again", 1, 2, 0, {1})});
const Bend kBrokenTemplates = All({S("Instruments", "InstrumentList", "INST,SECOND"),
                                   S("TemplateList", "Template_INST", "Broken,Kite_Basic"),
                                   S("TemplateList", "Template_SECOND", "AlsoBroken"), G("Broken"),
                                   S("Broken_Generalities", "FileFooter", "3"),
                                   G("AlsoBroken")});  // AlsoBroken: no definitions

// Every structural failure, with its exact number of 1010 messages.
TEST_F(CatalogueTest, StructuralFailuresShowTheirMessages) {
  struct Case {
    const char* name;
    Bend bend;
    int read;
    std::size_t messages;
  };
  const Bend pool3 = All({V(2, "Bad", 2), V(3, "After", 3)});
  const Case cases[] = {
      {"type with space", S("FileHeader", "Type", "FRT_TPL "), 0, 1},
      {"type lower case", S("FileHeader", "Type", "frt_tpl"), 0, 1},
      {"no version", S("FileHeader", "Version", ""), 0, 1},
      {"no company is fine", R("FileHeader", "Company"), 1, 0},
      {"pool code", All({pool3, S("Variables", "Code2", "1000")}), 0, 1},
      {"pool type", All({pool3, S("Variables", "Type2", "13")}), 0, 1},
      {"pool unit type", All({pool3, S("Variables", "UnitType2", "13")}), 0, 1},
      {"pool unit type 5", V(2, "Bad", 2, 11, 5), 0, 1},
      {"pool all bad, one message", V(2, "Bad", 1000, 0, 9), 0, 1},
      {"pool same code", V(2, "Other", 1), 0, 1},
      {"pool same name", V(2, "Point", 2), 0, 1},
      {"pool without codes", All({pool3, R("Variables", "Code2"), R("Variables", "Code3")}), 0, 1},
      {"pool empty name ends it", V(2, "", 2000, 99), 1, 0},
      {"no instruments", S("Instruments", "InstrumentList", ""), 0, 1},
      {"no templates", R("TemplateList", "Template_INST"), 0, 1},
      {"application id", S(kApp, "Id", "1000"), 0, 1},
      {"application id and header", All({S(kApp, "Id", "-1"), S(kApp, "Header", "10001")}), 0, 1},
      {"restriction", kRestriction2, 0, 1},
      {"restriction after a failed ID", All({kRestriction2, S("Kite_Basic_Import_In", "ID", "-3")}),
       0, 1},
      {"allowed code not in pool", D(kExp, 1, 1, 0, {1, 7, 1}), 0, 1},
      {"allowed code too big", D(kExp, 1, 1, 0, {1000}), 0, 1},
      {"allowed code 0 ends silently", All({V(2, "S", 2), D(kExp, 1, 1, 0, {1, 2, 0, 2})}), 1, 0},
      {"negative allowed code ends silently", D(kExp, 1, 1, 0, {1, -4, 1}), 1, 0},
      {"no strings", S(kExp, "StrCount", "0"), 0, 1},
      {"no count, no header", All({R(kExp, "StrCount"), R(kExp, "Header")}), 0, 1},
      {"no count but a header", All({R(kExp, "StrCount"), S(kExp, "Header", "1")}), 1, 0},
      {"default strings", All({S(kGen, "PrintFDefaultStrings", "1"), S(kExp, "StrCount", "0")}), 1,
       0},
      {"file header flag 2", S(kGen, "FileHeader", "2"), 0, 1},
      {"duplicate block type", kAgain, 0, 1},
      {"same block type, both directions",
       All({S(kList, "Import", "Measure"), D("Kite_Basic_Import_Measure", 1, 1, 0, {1})}), 1, 0},
      {"strings without applications, once per definition",
       All({kNoApps, S(kList, "Export", "Measure,Zero,Other"),
            D("Kite_Basic_Export_Zero", 2, 0, 5, {1}), D("Kite_Basic_Export_Other", 3, 2, 0, {1})}),
       0, 2},
      {"no applications, header only",
       All({kNoApps, S(kExp, "StrCount", "0"), S(kExp, "Header", "9")}), 1, 0},
      {"no applications, missing count is not 0",
       All({kNoApps, R(kExp, "StrCount"), S(kExp, "Header", "9")}), 0, 1},
      {"no definitions", R(kList, "Export"), 0, 1},
      {"one definition fails several checks",
       All({kNoApps, kAgain, S("Kite_Basic_Export_Again", "Length", "-1")}), 0, 4},
      {"every template is read after a failure", kBrokenTemplates, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Load(c.bend), c.read);
    EXPECT_EQ(StartFailed(), c.messages);
  }
  for (const char* key : {"StrLength", "FileHeader", "FileHeaderLength", "FileFooter",
                          "FileFooterLength", "PrintFDefaultStrings"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(Load(S(kGen, key, "10001")), 0);
    EXPECT_EQ(StartFailed(), 1u);
    EXPECT_TRUE(Basic().ApplicationList().empty());  // the template stops there
  }
  for (const char* key : {"ID", "Length", "StrCount", "VarCount", "Header"}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(Load(S(kExp, key, key[0] == 'I' ? "100" : "10001")), 0);
    EXPECT_EQ(StartFailed(), 1u);
    EXPECT_TRUE(Basic().ExportFormatList()[0]->AllowedVariables().empty());
  }
  manager_ = std::make_unique<CFormatTemplateManager>(reader_, dir_ / "absent.tpl");
  sink_.Clear();
  EXPECT_EQ(manager_->Read(), 0);
  EXPECT_EQ(StartFailed(), 1u);
}

TEST_F(CatalogueTest, CountStrings) {
  const std::pair<Bend, long> cases[] = {
      {S(kExp, "Header", "50"), 2},
      {S(kGen, "PrintFDefaultStrings", "1"), 2},
      {All({S(kExp, "Header", "50"), S(kGen, "PrintFDefaultStrings", "1")}), 3},
      {R(kGen, "FileHeader"), 1},
      // header 1 + footer 1 + Stakeout 1 + export 4 + import 2+1+1 + import 3; Area's bad
      // header fails the template but the rest still counts.
      {All({[](TplBuilder& b) { b.Generalities("Kite_Basic", 1, 1, 0); },
            S("Kite_Basic_Applications", "List", "Survey,Stakeout,Area"),
            S("Kite_Basic_Application_Stakeout", "Id", "102"),
            S("Kite_Basic_Application_Stakeout", "Header", "60"),
            S("Kite_Basic_Application_Area", "Id", "103"),
            S("Kite_Basic_Application_Area", "Header", "-5"), S(kList, "Import", "Coords,Codes"),
            D("Kite_Basic_Import_Coords", 12, 2, 1, {1}),
            S("Kite_Basic_Import_Coords", "Restriction", "1"),
            D("Kite_Basic_Import_Codes", 14, 3, 0, {}),
            S("Kite_Basic_Import_Codes", "Restriction", "0"), S(kExp, "StrCount", "4")}),
       14},
  };
  for (const auto& [bend, count] : cases) {
    Load(bend);
    EXPECT_EQ(Basic().CountStrings(), count);
  }
}

}  // namespace
