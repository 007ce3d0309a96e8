#include "catalogue/format_template_manager.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <set>
#include <string>

#include "catalogue/format_template.h"
#include "catalogue/ft_appl.h"
#include "catalogue/ft_format.h"
#include "catalogue/ft_variable.h"
#include "catalogue/ini_reader.h"
#include "temp_files.h"
#include "catalogue/tpl_builder.h"
#include "library/error_message.h"
#include "library/string_table.h"

namespace {

using testfiles::TplBuilder;
using Strings = std::vector<std::string>;
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

TEST_F(CatalogueTest, MinimalFileLoads) {
  ASSERT_EQ(Load(), 1);
  EXPECT_EQ(StartFailed(), 0u);
  EXPECT_EQ(manager_->Company(), "Test company");
  const CFormatTemplate& t = Basic();
  EXPECT_EQ(t.Instrument(), "INST");
  EXPECT_EQ(t.ApplicationList()[0]->Section(), "Kite_Basic_Application_Survey");
  EXPECT_TRUE(t.ImportFormatList().empty());
  const CFTFormat* f = t.FindFormat(1, true);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->Section(), kExp);
  ASSERT_EQ(f->AllowedVariables().size(), 1u);
  EXPECT_EQ(f->AllowedVariables()[0]->Section(), kExp + "_Variables");
  EXPECT_EQ(t.CountStrings(), 1);
  // Reading again starts from scratch.
  ASSERT_EQ(manager_->Read(), 1);
  EXPECT_EQ(manager_->TemplateList().size(), 1u);
  EXPECT_EQ(manager_->PoolVariables().size(), 1u);
}

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

TEST_F(CatalogueTest, WhatAFailureKeeps) {
  Load(S("FileHeader", "Type", "x"));
  EXPECT_TRUE(manager_->TemplateList().empty());  // nothing after the header is read
  Load(All({V(2, "Bad", 1000), V(3, "After", 3)}));
  EXPECT_EQ(manager_->PoolVariables().size(), 1u);  // the pool stops at the bad variable
  EXPECT_TRUE(manager_->TemplateList().empty());
  // Two variables without codes share the code of a missing number.
  Load(All({V(2, "A", 2), V(3, "B", 3), R("Variables", "Code2"), R("Variables", "Code3")}));
  ASSERT_EQ(manager_->PoolVariables().size(), 2u);
  EXPECT_EQ(manager_->PoolVariables()[1]->Code(), CFTBase::kMissing);
  EXPECT_FALSE(manager_->PoolVariables()[1]->IsUsable());  // loaded, but makes no reference
  Load(R("TemplateList", "Template_INST"));
  EXPECT_EQ(manager_->InstrumentNames(), Strings{"INST"});
  Load(S(kApp, "Id", "1000"));
  EXPECT_EQ(Basic().ExportFormatList().size(), 1u);  // the rest is still read
  Load(kRestriction2);
  EXPECT_EQ(Basic().ImportFormatList()[0]->Restriction(), 2);
  EXPECT_TRUE(Basic().ImportFormatList()[0]->AllowedVariables().empty());
  // An import that already failed its common keys does not read the restriction.
  Load(All({kRestriction2, S("Kite_Basic_Import_In", "ID", "-3")}));
  EXPECT_EQ(Basic().ImportFormatList()[0]->Restriction(), 0);
  Load(D(kExp, 1, 1, 0, {1, 7, 1}));
  EXPECT_EQ(Basic().FindFormat(1, true)->AllowedVariables().size(), 1u);
  Load(kAgain);
  EXPECT_EQ(Basic().FormatList().size(), 2u);
  EXPECT_EQ(Basic().FindFormat(1, true)->Section(), kExp);  // the first one wins
  Load(kBrokenTemplates);
  ASSERT_EQ(manager_->TemplateList().size(), 3u);
  EXPECT_EQ(manager_->TemplateList()[2]->Instrument(), "SECOND");
  EXPECT_EQ(Basic().ExportFormatList().size(), 1u);
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

TEST_F(CatalogueTest, ElementsAreNumberedAlsoWhenDiscarded) {
  ASSERT_EQ(Load(All({S(kExp + "_Variables", "Code2", "1"), S(kList, "Import", "In"),
                      D("Kite_Basic_Import_In", 1, 1, 0, {})})),
            1);
  const CFTFormat* exp = Basic().FindFormat(1, true);
  EXPECT_EQ(Basic().ApplicationList()[0]->Serial(), 1);
  EXPECT_EQ(exp->Serial(), 2);
  EXPECT_EQ(exp->AllowedVariables()[1]->Serial(), 4);
  // Serial 5 went to the variable that ended the export's list.
  EXPECT_EQ(Basic().FindFormat(1, false)->Serial(), 6);
}

TEST_F(CatalogueTest, ListsEndAtTheFirstEmptyItem) {
  ASSERT_EQ(Load(All({S("Instruments", "InstrumentList", "INST,,LOST"),
                      S("TemplateList", "Template_LOST", "X")})),
            1);
  EXPECT_EQ(manager_->InstrumentNames(), Strings{"INST"});
  ASSERT_EQ(Load(S("Instruments", "InstrumentList", "INST,INST,")), 1);
  // Duplicate names are kept, and so is the template read twice.
  EXPECT_EQ(manager_->TemplateList().size(), 2u);
  ASSERT_EQ(Load([](TplBuilder& b) {
              b.Variable(2, "Second", 2, 8, 2, "1.5").Variable(4, "Fourth", 4, 11, 0, "");
            }),
            1);
  EXPECT_EQ(manager_->PoolVariables().size(), 2u);
  EXPECT_EQ(manager_->FindPoolVariable(2)->Default(), "1.5");
  EXPECT_EQ(manager_->FindPoolVariable(4), nullptr);
}

TEST_F(CatalogueTest, Lookups) {
  ASSERT_EQ(Load([](TplBuilder& b) {
              b.Variable(2, "Angle", 21, 8, 1, "12.5")
                  .Set("Instruments", "InstrumentList", "INST,OTHER")
                  .Set("TemplateList", "Template_OTHER", "Kite_Basic")
                  .Set("Kite_Basic_Applications", "List", "Survey,Stakeout,Same")
                  .Set("Kite_Basic_Application_Stakeout", "Id", "102")
                  .Set("Kite_Basic_Application_Same", "Id", "101")
                  .Set(kList, "Export", "Measure,Meas data")
                  .Definition("Kite_Basic_Export_Meas data", 4, 1, 0, {1})
                  .Set(kList, "Import", "In")
                  .Definition("Kite_Basic_Import_In", 7, 1, 0, {1});
            }),
            1);
  EXPECT_TRUE(manager_->HasPoolVariable(999, "Angle"));
  EXPECT_FALSE(manager_->HasPoolVariable(999, "angle"));
  EXPECT_FALSE(manager_->HasPoolVariable(2, ""));
  EXPECT_EQ(manager_->PoolVariableName(21), "Angle");
  EXPECT_EQ(manager_->TemplateList().size(), 2u);
  // The first template of a name wins; names are case-sensitive.
  EXPECT_EQ(manager_->FindTemplate("Kite_Basic"), manager_->TemplateList()[0].get());
  EXPECT_EQ(manager_->FindTemplate("kite_basic"), nullptr);
  const CFormatTemplate& t = Basic();
  EXPECT_FALSE(t.HasPoolVariable(2));
  EXPECT_EQ(t.FindApplication(101)->Item(), "Survey");
  EXPECT_EQ(t.FindApplication(102)->Item(), "Stakeout");
  EXPECT_EQ(t.FindApplication(103), nullptr);
  EXPECT_EQ(t.FindFormat(7, true), nullptr);
  EXPECT_EQ(t.FormatName(7, false), "In");
  EXPECT_EQ(t.FindFormat(4, true)->Section(), "Kite_Basic_Export_Meas data");
  const CFTFormat* f = t.FindFormat(1, true);
  EXPECT_EQ(f->FindVariable(1), f->AllowedVariables()[0].get());
  EXPECT_EQ(f->FindVariable(3), nullptr);

  Strings items;
  for (const auto& a : t.ApplicationList()) items.push_back(a->Item());
  for (const auto& e : t.ExportFormatList()) items.push_back(e->Item());
  for (const auto& i : t.ImportFormatList()) items.push_back(i->Item());
  for (const CFTFormat* g : t.FormatList()) items.push_back(g->Item());
  EXPECT_EQ(items, (Strings{"Survey", "Stakeout", "Same", "Measure", "Meas data", "In", "Measure",
                            "Meas data", "In"}));
}

}  // namespace
