#include "catalogue/format_template_manager.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>

#include "catalogue/format_template.h"
#include "catalogue/ft_appl.h"
#include "catalogue/ft_format.h"
#include "catalogue/ft_variable.h"
#include "catalogue/ini_reader.h"
#include "catalogue/temp_files.h"
#include "catalogue/tpl_builder.h"
#include "library/error_message.h"
#include "library/string_table.h"

namespace {

using testfiles::TempDir;
using testfiles::TplBuilder;

constexpr const char* kExp = "Kite_Basic_Export_Measure";

class CatalogueTest : public ::testing::Test {
 protected:
  // Writes the file, builds the catalogue over it and reads it; Read's answer.
  int Load(const TplBuilder& b) { return LoadText(b.Text()); }
  int LoadText(const std::string& text) {
    EXPECT_TRUE(testfiles::WriteBytes(dir_ / "QV.tpl", text));
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

  TempDir dir_;
  CIniReader reader_;
  std::unique_ptr<CFormatTemplateManager> manager_;
  CRecordingMessageSink sink_;
  CScopedMessageSink scoped_{sink_};
};

// --- the minimal catalogue

TEST_F(CatalogueTest, MinimalFileLoads) {
  ASSERT_EQ(Load(TplBuilder::Minimal()), 1);
  EXPECT_EQ(StartFailed(), 0u);
  EXPECT_EQ(manager_->Type(), "FRT_TPL");
  EXPECT_EQ(manager_->Version(), "1.00");
  EXPECT_EQ(manager_->Company(), "Test company");
  ASSERT_EQ(manager_->TemplateList().size(), 1u);
  const CFormatTemplate& t = Basic();
  EXPECT_EQ(t.Instrument(), "INST");
  EXPECT_EQ(t.Manager(), manager_.get());
  ASSERT_EQ(t.ApplicationList().size(), 1u);
  EXPECT_EQ(t.ApplicationList()[0]->Item(), "Survey");
  EXPECT_EQ(t.ApplicationList()[0]->Section(), "Kite_Basic_Application_Survey");
  ASSERT_EQ(t.ExportFormatList().size(), 1u);
  EXPECT_TRUE(t.ImportFormatList().empty());
  const CFTFormat* f = t.FindFormat(1, true);
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->Item(), "Measure");
  EXPECT_EQ(f->Section(), kExp);
  EXPECT_EQ(f->Direction(), 1);
  ASSERT_EQ(f->AllowedVariables().size(), 1u);
  EXPECT_EQ(f->AllowedVariables()[0]->Code(), 1);
  EXPECT_EQ(f->AllowedVariables()[0]->Section(), std::string(kExp) + "_Variables");
  EXPECT_EQ(t.CountStrings(), 1);
}

TEST_F(CatalogueTest, CountStringsAddsHeaderAndDefaultString) {
  auto withHeader = TplBuilder::Minimal();
  withHeader.Set(kExp, "Header", "50");
  ASSERT_EQ(Load(withHeader), 1);
  EXPECT_EQ(Basic().CountStrings(), 2);

  auto withDefault = TplBuilder::Minimal();
  withDefault.Set("Kite_Basic_Generalities", "PrintFDefaultStrings", "1");
  ASSERT_EQ(Load(withDefault), 1);
  EXPECT_EQ(Basic().CountStrings(), 2);

  withHeader.Set("Kite_Basic_Generalities", "PrintFDefaultStrings", "1");
  ASSERT_EQ(Load(withHeader), 1);
  EXPECT_EQ(Basic().CountStrings(), 3);
  EXPECT_EQ(StartFailed(), 0u);
}

TEST_F(CatalogueTest, CountStringsCountsEveryKindOfString) {
  auto b = TplBuilder::Minimal();
  b.Generalities("Kite_Basic", 1, 1, 0)
      .Set("Kite_Basic_Applications", "List", "Survey,Stakeout,Area")
      .Set("Kite_Basic_Application_Stakeout", "Id", "102")
      .Set("Kite_Basic_Application_Stakeout", "Header", "60")
      .Set("Kite_Basic_Application_Area", "Id", "103")
      .Set("Kite_Basic_Application_Area", "Header", "-5")
      .Set("Kite_Basic_Formatstring_List", "Import", "Coords,Codes")
      .Definition("Kite_Basic_Import_Coords", 12, 2, 1, {1})
      .Set("Kite_Basic_Import_Coords", "Restriction", "1")
      .Definition("Kite_Basic_Import_Codes", 14, 3, 0, {})
      .Set("Kite_Basic_Import_Codes", "Restriction", "0");
  b.Set(kExp, "StrCount", "4");
  // Area's header is out of range: the template fails but is still counted as read.
  ASSERT_EQ(Load(b), 0);
  EXPECT_EQ(StartFailed(), 1u);
  const CFormatTemplate& t = Basic();
  // file header 1 + footer 1 + Stakeout's header 1 + export 4 + import 2+1+1 + import 3.
  EXPECT_EQ(t.CountStrings(), 14);
  ASSERT_EQ(t.ImportFormatList().size(), 2u);
  EXPECT_EQ(t.ImportFormatList()[0]->Restriction(), 1);
  EXPECT_EQ(t.ImportFormatList()[0]->StringCount(), 4);
  EXPECT_EQ(t.ImportFormatList()[1]->StringCount(), 3);
  EXPECT_EQ(t.ImportFormatList()[0]->Direction(), 0);
}

TEST_F(CatalogueTest, ElementsAreNumberedAlsoWhenDiscarded) {
  auto b = TplBuilder::Minimal();
  b.Set(kExp + std::string("_Variables"), "Code2", "1")
      .Set("Kite_Basic_Formatstring_List", "Import", "In")
      .Definition("Kite_Basic_Import_In", 1, 1, 0, {});
  ASSERT_EQ(Load(b), 1);
  const CFormatTemplate& t = Basic();
  EXPECT_EQ(t.Serial(), 0);
  EXPECT_EQ(t.ApplicationList()[0]->Serial(), 1);
  const CFTFormat* exp = t.FindFormat(1, true);
  EXPECT_EQ(exp->Serial(), 2);
  ASSERT_EQ(exp->AllowedVariables().size(), 2u);
  EXPECT_EQ(exp->AllowedVariables()[0]->Serial(), 3);
  EXPECT_EQ(exp->AllowedVariables()[1]->Serial(), 4);
  EXPECT_EQ(exp->AllowedVariables()[1]->Index(), 2);
  // Serial 5 went to the variable that ended the export's list.
  EXPECT_EQ(t.FindFormat(1, false)->Serial(), 6);
  EXPECT_EQ(manager_->PoolVariables()[0]->Serial(), 0);
  EXPECT_EQ(manager_->Serial(), 0);
}

// --- structural failures, each with its exact number of messages

TEST_F(CatalogueTest, MissingFileFailsOnce) {
  manager_ = std::make_unique<CFormatTemplateManager>(reader_, dir_ / "absent.tpl");
  EXPECT_EQ(manager_->Read(), 0);
  EXPECT_EQ(StartFailed(), 1u);
  EXPECT_EQ(manager_->TemplatePath(), dir_ / "absent.tpl");
}

TEST_F(CatalogueTest, ReadingAgainStartsFromScratch) {
  ASSERT_EQ(Load(TplBuilder::Minimal()), 1);
  ASSERT_EQ(manager_->Read(), 1);
  EXPECT_EQ(manager_->TemplateList().size(), 1u);
  EXPECT_EQ(manager_->PoolVariables().size(), 1u);
  EXPECT_EQ(manager_->InstrumentNames().size(), 1u);
  EXPECT_EQ(StartFailed(), 0u);
}

TEST_F(CatalogueTest, ConstructionReplacesWhatTheReaderHeld) {
  ASSERT_TRUE(testfiles::WriteBytes(dir_ / "QV.ini", "[Units]\nLinear=m\n"));
  ASSERT_TRUE(reader_.Load(dir_ / "QV.ini"));
  CFormatTemplateManager m(reader_, dir_ / "absent.tpl", dir_ / "QV.ini");
  EXPECT_EQ(reader_.SectionCount(), 0u);
  EXPECT_EQ(m.SettingsPath(), dir_ / "QV.ini");
  EXPECT_EQ(&m.Reader(), &reader_);
  EXPECT_TRUE(sink_.Empty());  // nothing is parsed before Read
}

TEST_F(CatalogueTest, FileHeaderTypeAndVersion) {
  auto spaced = TplBuilder::Minimal();
  spaced.Set("FileHeader", "Type", "FRT_TPL ");
  EXPECT_EQ(Load(spaced), 0);
  EXPECT_EQ(StartFailed(), 1u);
  EXPECT_TRUE(manager_->TemplateList().empty());  // nothing after the header is read

  sink_.Clear();
  auto lower = TplBuilder::Minimal();
  lower.Set("FileHeader", "Type", "frt_tpl");
  EXPECT_EQ(Load(lower), 0);
  EXPECT_EQ(StartFailed(), 1u);

  sink_.Clear();
  auto noVersion = TplBuilder::Minimal();
  noVersion.Set("FileHeader", "Version", "");
  EXPECT_EQ(Load(noVersion), 0);
  EXPECT_EQ(StartFailed(), 1u);

  sink_.Clear();
  auto noCompany = TplBuilder::Minimal();
  noCompany.Remove("FileHeader", "Company");
  EXPECT_EQ(Load(noCompany), 1);
  EXPECT_EQ(StartFailed(), 0u);
  EXPECT_EQ(manager_->Company(), "");
}

TEST_F(CatalogueTest, PoolValueOutOfRangeStopsThePool) {
  for (const char* key : {"Code2", "Type2", "UnitType2"}) {
    SCOPED_TRACE(key);
    sink_.Clear();
    auto b = TplBuilder::Minimal();
    b.Variable(2, "Bad", 2, 11, 0, "").Variable(3, "After", 3, 11, 0, "");
    b.Set("Variables", key, std::string(key) == "Code2" ? "1000" : "13");
    EXPECT_EQ(Load(b), 0);
    EXPECT_EQ(StartFailed(), 1u);
    EXPECT_EQ(manager_->PoolVariables().size(), 1u);
    EXPECT_TRUE(manager_->TemplateList().empty());
  }
  sink_.Clear();
  auto unitType = TplBuilder::Minimal();
  unitType.Variable(2, "Bad", 2, 11, 5, "");
  EXPECT_EQ(Load(unitType), 0);
  EXPECT_EQ(StartFailed(), 1u);
}

TEST_F(CatalogueTest, PoolBadKeysShowOneMessagePerVariable) {
  auto b = TplBuilder::Minimal();
  b.Variable(2, "Bad", 1000, 0, 9, "");
  EXPECT_EQ(Load(b), 0);
  EXPECT_EQ(StartFailed(), 1u);
}

TEST_F(CatalogueTest, PoolDuplicatesFail) {
  auto sameCode = TplBuilder::Minimal();
  sameCode.Variable(2, "Other", 1, 11, 0, "");
  EXPECT_EQ(Load(sameCode), 0);
  EXPECT_EQ(StartFailed(), 1u);
  EXPECT_EQ(manager_->PoolVariables().size(), 1u);

  sink_.Clear();
  auto sameName = TplBuilder::Minimal();
  sameName.Variable(2, "Point", 2, 11, 0, "");
  EXPECT_EQ(Load(sameName), 0);
  EXPECT_EQ(StartFailed(), 1u);

  sink_.Clear();
  // Two variables without codes share the code of a missing number.
  auto noCodes = TplBuilder::Minimal();
  noCodes.Variable(2, "A", 2, 11, 0, "").Variable(3, "B", 3, 11, 0, "");
  noCodes.Remove("Variables", "Code2").Remove("Variables", "Code3");
  EXPECT_EQ(Load(noCodes), 0);
  EXPECT_EQ(StartFailed(), 1u);
  ASSERT_EQ(manager_->PoolVariables().size(), 2u);
  EXPECT_EQ(manager_->PoolVariables()[1]->Code(), CFTBase::kMissing);
}

TEST_F(CatalogueTest, NoTemplateFails) {
  auto emptyList = TplBuilder::Minimal();
  emptyList.Set("Instruments", "InstrumentList", "");
  EXPECT_EQ(Load(emptyList), 0);
  EXPECT_EQ(StartFailed(), 1u);
  EXPECT_TRUE(manager_->InstrumentNames().empty());

  sink_.Clear();
  auto noTemplates = TplBuilder::Minimal();
  noTemplates.Remove("TemplateList", "Template_INST");
  EXPECT_EQ(Load(noTemplates), 0);
  EXPECT_EQ(StartFailed(), 1u);
  EXPECT_EQ(manager_->InstrumentNames(), std::vector<std::string>{"INST"});
}

TEST_F(CatalogueTest, GeneralitiesOutOfRangeStopsTheTemplate) {
  for (const char* key : {"StrLength", "FileHeader", "FileHeaderLength", "FileFooter",
                          "FileFooterLength", "PrintFDefaultStrings"}) {
    SCOPED_TRACE(key);
    sink_.Clear();
    auto b = TplBuilder::Minimal();
    b.Set("Kite_Basic_Generalities", key, "10001");
    EXPECT_EQ(Load(b), 0);
    EXPECT_EQ(StartFailed(), 1u);
    ASSERT_EQ(manager_->TemplateList().size(), 1u);
    EXPECT_TRUE(Basic().ApplicationList().empty());
    EXPECT_TRUE(Basic().FormatList().empty());
  }
}

TEST_F(CatalogueTest, ApplicationOutOfRangeFailsTheTemplate) {
  auto id = TplBuilder::Minimal();
  id.Set("Kite_Basic_Application_Survey", "Id", "1000");
  EXPECT_EQ(Load(id), 0);
  EXPECT_EQ(StartFailed(), 1u);
  EXPECT_EQ(Basic().ExportFormatList().size(), 1u);  // the rest is still read

  sink_.Clear();
  auto both = TplBuilder::Minimal();
  both.Set("Kite_Basic_Application_Survey", "Id", "-1")
      .Set("Kite_Basic_Application_Survey", "Header", "10001");
  EXPECT_EQ(Load(both), 0);
  EXPECT_EQ(StartFailed(), 1u);
}

TEST_F(CatalogueTest, DefinitionOutOfRangeReadsNoVariables) {
  for (const char* key : {"ID", "Length", "StrCount", "VarCount", "Header"}) {
    SCOPED_TRACE(key);
    sink_.Clear();
    auto b = TplBuilder::Minimal();
    b.Set(kExp, key, std::string(key) == "ID" ? "100" : "10001");
    EXPECT_EQ(Load(b), 0);
    EXPECT_EQ(StartFailed(), 1u);
    ASSERT_EQ(Basic().ExportFormatList().size(), 1u);
    EXPECT_TRUE(Basic().ExportFormatList()[0]->AllowedVariables().empty());
  }
}

TEST_F(CatalogueTest, ImportRestrictionOutOfRangeFails) {
  auto b = TplBuilder::Minimal();
  b.Set("Kite_Basic_Formatstring_List", "Import", "In")
      .Definition("Kite_Basic_Import_In", 2, 1, 0, {1})
      .Set("Kite_Basic_Import_In", "Restriction", "2");
  EXPECT_EQ(Load(b), 0);
  EXPECT_EQ(StartFailed(), 1u);
  EXPECT_EQ(Basic().ImportFormatList()[0]->Restriction(), 2);
  EXPECT_TRUE(Basic().ImportFormatList()[0]->AllowedVariables().empty());

  sink_.Clear();
  // An import that already failed its common keys does not read the restriction.
  b.Set("Kite_Basic_Import_In", "ID", "-3");
  EXPECT_EQ(Load(b), 0);
  EXPECT_EQ(StartFailed(), 1u);
  EXPECT_EQ(Basic().ImportFormatList()[0]->Restriction(), 0);
}

TEST_F(CatalogueTest, AllowedCodeNotInPoolEndsTheList) {
  auto b = TplBuilder::Minimal();
  b.Definition(kExp, 1, 1, 0, {1, 7, 1});
  EXPECT_EQ(Load(b), 0);
  EXPECT_EQ(StartFailed(), 1u);
  EXPECT_EQ(Basic().FindFormat(1, true)->AllowedVariables().size(), 1u);

  sink_.Clear();
  auto tooBig = TplBuilder::Minimal();
  tooBig.Definition(kExp, 1, 1, 0, {1000});
  EXPECT_EQ(Load(tooBig), 0);
  EXPECT_EQ(StartFailed(), 1u);
  EXPECT_TRUE(Basic().FindFormat(1, true)->AllowedVariables().empty());
}

TEST_F(CatalogueTest, DefinitionWithoutStringsFails) {
  auto b = TplBuilder::Minimal();
  b.Set(kExp, "StrCount", "0");
  EXPECT_EQ(Load(b), 0);
  EXPECT_EQ(StartFailed(), 1u);

  sink_.Clear();
  b.Remove(kExp, "StrCount").Remove(kExp, "Header");
  EXPECT_EQ(Load(b), 0);
  EXPECT_EQ(StartFailed(), 1u);
  EXPECT_EQ(Basic().FindFormat(1, true)->StrCount(), CFTBase::kMissing);

  sink_.Clear();
  b.Set(kExp, "Header", "1");
  EXPECT_EQ(Load(b), 1);
  EXPECT_EQ(StartFailed(), 0u);
}

TEST_F(CatalogueTest, DuplicateBlockTypeInOneDirection) {
  auto b = TplBuilder::Minimal();
  b.Set("Kite_Basic_Formatstring_List", "Export", "Measure,Again")
      .Definition("Kite_Basic_Export_Again", 1, 2, 0, {1});
  EXPECT_EQ(Load(b), 0);
  EXPECT_EQ(StartFailed(), 1u);
  const CFormatTemplate& t = Basic();
  EXPECT_EQ(t.ExportFormatList().size(), 2u);
  EXPECT_EQ(t.FormatList().size(), 2u);
  EXPECT_EQ(t.FormatName(1, true), "Measure");

  sink_.Clear();
  auto mixed = TplBuilder::Minimal();
  mixed.Set("Kite_Basic_Formatstring_List", "Import", "Measure")
      .Definition("Kite_Basic_Import_Measure", 1, 1, 0, {1});
  EXPECT_EQ(Load(mixed), 1);
  EXPECT_EQ(StartFailed(), 0u);
  EXPECT_EQ(Basic().FindFormat(1, false)->Section(), "Kite_Basic_Import_Measure");
  EXPECT_EQ(Basic().FindFormat(1, true)->Section(), kExp);
}

TEST_F(CatalogueTest, StringsWithoutApplicationsFailOncePerDefinition) {
  auto b = TplBuilder::Minimal();
  b.Remove("Kite_Basic_Applications", "List")
      .Set("Kite_Basic_Formatstring_List", "Export", "Measure,Zero,Other")
      .Definition("Kite_Basic_Export_Zero", 2, 0, 5, {1})
      .Definition("Kite_Basic_Export_Other", 3, 2, 0, {1});
  EXPECT_EQ(Load(b), 0);
  EXPECT_EQ(StartFailed(), 2u);
  EXPECT_EQ(Basic().ExportFormatList().size(), 3u);

  sink_.Clear();
  auto zero = TplBuilder::Minimal();
  zero.Remove("Kite_Basic_Applications", "List")
      .Set(kExp, "StrCount", "0")
      .Set(kExp, "Header", "9");
  EXPECT_EQ(Load(zero), 1);
  EXPECT_EQ(StartFailed(), 0u);

  // A missing count reads as -9999, which is not 0.
  zero.Remove(kExp, "StrCount");
  EXPECT_EQ(Load(zero), 0);
  EXPECT_EQ(StartFailed(), 1u);
}

TEST_F(CatalogueTest, TemplateWithoutDefinitionsFails) {
  auto b = TplBuilder::Minimal();
  b.Remove("Kite_Basic_Formatstring_List", "Export");
  EXPECT_EQ(Load(b), 0);
  EXPECT_EQ(StartFailed(), 1u);
}

TEST_F(CatalogueTest, EveryTemplateIsReadAndKeptAfterAFailure) {
  auto b = TplBuilder::Minimal();
  b.Set("Instruments", "InstrumentList", "INST,SECOND")
      .Set("TemplateList", "Template_INST", "Broken,Kite_Basic")
      .Set("TemplateList", "Template_SECOND", "AlsoBroken")
      .Generalities("Broken")
      .Set("Broken_Generalities", "FileFooter", "3")
      .Generalities("AlsoBroken");  // no definitions
  EXPECT_EQ(Load(b), 0);
  EXPECT_EQ(StartFailed(), 2u);
  ASSERT_EQ(manager_->TemplateList().size(), 3u);
  EXPECT_EQ(manager_->TemplateList()[0]->Name(), "Broken");
  EXPECT_EQ(manager_->TemplateList()[2]->Instrument(), "SECOND");
  EXPECT_EQ(Basic().ExportFormatList().size(), 1u);
  EXPECT_EQ(manager_->InstrumentNames(), (std::vector<std::string>{"INST", "SECOND"}));
}

TEST_F(CatalogueTest, OneDefinitionCanFailSeveralChecks) {
  auto b = TplBuilder::Minimal();
  b.Remove("Kite_Basic_Applications", "List")
      .Set("Kite_Basic_Formatstring_List", "Export", "Measure,Again")
      .Definition("Kite_Basic_Export_Again", 1, 2, 0, {1})
      .Set("Kite_Basic_Export_Again", "Length", "-1");
  // Measure: strings without applications. Again: bad Length, duplicate block, no applications.
  EXPECT_EQ(Load(b), 0);
  EXPECT_EQ(StartFailed(), 4u);
}

// --- edge cases of the file format

TEST_F(CatalogueTest, ListEndsAtTheFirstEmptyItem) {
  auto b = TplBuilder::Minimal();
  b.Set("Instruments", "InstrumentList", "INST,,LOST").Set("TemplateList", "Template_LOST", "X");
  ASSERT_EQ(Load(b), 1);
  EXPECT_EQ(manager_->InstrumentNames(), std::vector<std::string>{"INST"});
  EXPECT_EQ(manager_->TemplateList().size(), 1u);

  auto trailing = TplBuilder::Minimal();
  trailing.Set("Instruments", "InstrumentList", "INST,INST,");
  ASSERT_EQ(Load(trailing), 1);
  // Duplicate names are kept, and so is the template read twice.
  EXPECT_EQ(manager_->InstrumentNames(), (std::vector<std::string>{"INST", "INST"}));
  EXPECT_EQ(manager_->TemplateList().size(), 2u);
  EXPECT_EQ(StartFailed(), 0u);
}

TEST_F(CatalogueTest, PoolEndsAtTheFirstMissingName) {
  auto b = TplBuilder::Minimal();
  b.Variable(2, "Second", 2, 8, 2, "1.5").Variable(4, "Fourth", 4, 11, 0, "");
  ASSERT_EQ(Load(b), 1);
  ASSERT_EQ(manager_->PoolVariables().size(), 2u);
  const CFTPoolVariable* v = manager_->FindPoolVariable(2);
  ASSERT_NE(v, nullptr);
  EXPECT_EQ(v->Name(), "Second");
  EXPECT_EQ(v->Type(), 8);
  EXPECT_EQ(v->UnitType(), 2);
  EXPECT_EQ(v->Default(), "1.5");
  EXPECT_EQ(v->Index(), 2);
  EXPECT_EQ(manager_->FindPoolVariable(4), nullptr);

  // An empty name ends the pool too, even when a bad key follows it.
  auto empty = TplBuilder::Minimal();
  empty.Variable(2, "", 2000, 99, 0, "");
  ASSERT_EQ(Load(empty), 1);
  EXPECT_EQ(manager_->PoolVariables().size(), 1u);
  EXPECT_EQ(StartFailed(), 0u);
}

TEST_F(CatalogueTest, AllowedCodeZeroEndsTheListSilently) {
  auto b = TplBuilder::Minimal();
  b.Variable(2, "Second", 2, 11, 0, "").Definition(kExp, 1, 1, 0, {1, 2, 0, 2});
  ASSERT_EQ(Load(b), 1);
  EXPECT_EQ(StartFailed(), 0u);
  const CFTFormat* f = Basic().FindFormat(1, true);
  ASSERT_EQ(f->AllowedVariables().size(), 2u);
  EXPECT_EQ(f->FindVariable(2), f->AllowedVariables()[1].get());
  EXPECT_EQ(f->FindVariable(3), nullptr);

  auto negative = TplBuilder::Minimal();
  negative.Definition(kExp, 1, 1, 0, {1, -4, 1});
  ASSERT_EQ(Load(negative), 1);
  EXPECT_EQ(Basic().FindFormat(1, true)->AllowedVariables().size(), 1u);
  EXPECT_EQ(StartFailed(), 0u);
}

TEST_F(CatalogueTest, GeneralitiesMissingKeyAndFlagTwo) {
  auto b = TplBuilder::Minimal();
  b.Remove("Kite_Basic_Generalities", "FileHeader");
  ASSERT_EQ(Load(b), 1);
  EXPECT_EQ(Basic().FileHeaderFlag(), CFTBase::kMissing);
  EXPECT_EQ(Basic().CountStrings(), 1);

  auto two = TplBuilder::Minimal();
  two.Set("Kite_Basic_Generalities", "FileHeader", "2");
  EXPECT_EQ(Load(two), 0);
  EXPECT_EQ(StartFailed(), 1u);
}

TEST_F(CatalogueTest, DefaultStringsLetAnEmptyDefinitionPass) {
  auto b = TplBuilder::Minimal();
  b.Set("Kite_Basic_Generalities", "PrintFDefaultStrings", "1").Set(kExp, "StrCount", "0");
  ASSERT_EQ(Load(b), 1);
  EXPECT_EQ(StartFailed(), 0u);
  EXPECT_EQ(Basic().CountStrings(), 1);
}

TEST_F(CatalogueTest, ItemWithASpaceNamesItsSection) {
  auto b = TplBuilder::Minimal();
  b.Set("Kite_Basic_Formatstring_List", "Export", "Meas data")
      .Definition("Kite_Basic_Export_Meas data", 4, 1, 0, {1});
  ASSERT_EQ(Load(b), 1);
  EXPECT_EQ(Basic().FormatName(4, true), "Meas data");
  EXPECT_EQ(Basic().FindFormat(4, true)->Section(), "Kite_Basic_Export_Meas data");
}

// --- lookups and iteration

TEST_F(CatalogueTest, PoolLookups) {
  auto b = TplBuilder::Minimal();
  b.Variable(2, "Angle", 21, 8, 1, "12.5");
  ASSERT_EQ(Load(b), 1);
  EXPECT_TRUE(manager_->HasPoolVariable(21, ""));
  EXPECT_TRUE(manager_->HasPoolVariable(999, "Angle"));
  EXPECT_FALSE(manager_->HasPoolVariable(999, "angle"));
  EXPECT_FALSE(manager_->HasPoolVariable(2, ""));
  EXPECT_EQ(manager_->PoolVariableName(21), "Angle");
  EXPECT_EQ(manager_->PoolVariableName(2), "");
  const CFormatTemplate& t = Basic();
  EXPECT_TRUE(t.HasPoolVariable(1));
  EXPECT_FALSE(t.HasPoolVariable(2));
  EXPECT_EQ(t.FindPoolVariable(21), manager_->PoolVariables()[1].get());
  EXPECT_EQ(t.PoolVariableName(1), "Point");
}

TEST_F(CatalogueTest, FindLookups) {
  auto b = TplBuilder::Minimal();
  b.Set("Instruments", "InstrumentList", "INST,OTHER")
      .Set("TemplateList", "Template_OTHER", "Kite_Basic")
      .Set("Kite_Basic_Applications", "List", "Survey,Stakeout,Same")
      .Set("Kite_Basic_Application_Stakeout", "Id", "102")
      .Set("Kite_Basic_Application_Same", "Id", "101")
      .Set("Kite_Basic_Formatstring_List", "Import", "In")
      .Definition("Kite_Basic_Import_In", 7, 1, 0, {1});
  ASSERT_EQ(Load(b), 1);
  // The first template of a name wins.
  EXPECT_EQ(manager_->FindTemplate("Kite_Basic"), manager_->TemplateList()[0].get());
  EXPECT_EQ(manager_->FindTemplate("kite_basic"), nullptr);
  const CFormatTemplate& t = Basic();
  EXPECT_EQ(t.FindApplication(101)->Item(), "Survey");
  EXPECT_EQ(t.FindApplication(102)->Item(), "Stakeout");
  EXPECT_EQ(t.FindApplication(103), nullptr);
  EXPECT_EQ(t.FindFormat(7, true), nullptr);
  EXPECT_EQ(t.FormatName(7, false), "In");
  EXPECT_EQ(t.FormatName(1, false), "");
}

TEST_F(CatalogueTest, FirstNextIterationFollowsReadingOrder) {
  auto b = TplBuilder::Minimal();
  b.Set("Instruments", "InstrumentList", "INST,OTHER")
      .Set("TemplateList", "Template_OTHER", "Second")
      .Generalities("Second")
      .Set("Second_Applications", "List", "A")
      .Set("Second_Application_A", "Id", "1")
      .Set("Second_Formatstring_List", "Import", "I")
      .Definition("Second_Import_I", 1, 1, 0, {})
      .Set("Kite_Basic_Applications", "List", "Survey,Two")
      .Set("Kite_Basic_Application_Two", "Id", "2")
      .Set("Kite_Basic_Formatstring_List", "Export", "Measure,E2")
      .Set("Kite_Basic_Formatstring_List", "Import", "I1")
      .Definition("Kite_Basic_Export_E2", 2, 1, 0, {})
      .Definition("Kite_Basic_Import_I1", 1, 1, 0, {});
  ASSERT_EQ(Load(b), 1);

  std::vector<std::string> names;
  for (auto* t = manager_->FirstTemplate(); t != nullptr; t = manager_->NextTemplate())
    names.push_back(t->Name());
  EXPECT_EQ(names, (std::vector<std::string>{"Kite_Basic", "Second"}));
  EXPECT_EQ(manager_->NextTemplate(), nullptr);

  const CFormatTemplate& t = Basic();
  std::vector<std::string> items;
  for (auto* a = t.FirstApplication(); a != nullptr; a = t.NextApplication())
    items.push_back(a->Item());
  for (auto* e = t.FirstExportFormat(); e != nullptr; e = t.NextExportFormat())
    items.push_back(e->Item());
  for (auto* i = t.FirstImportFormat(); i != nullptr; i = t.NextImportFormat())
    items.push_back(i->Item());
  for (auto* f = t.FirstFormat(); f != nullptr; f = t.NextFormat()) items.push_back(f->Section());
  EXPECT_EQ(items, (std::vector<std::string>{"Survey", "Two", "Measure", "E2", "I1",
                                             "Kite_Basic_Export_Measure", "Kite_Basic_Export_E2",
                                             "Kite_Basic_Import_I1"}));
  // A new First starts over.
  EXPECT_EQ(t.FirstApplication()->Item(), "Survey");

  const CFTFormat* f = t.FindFormat(1, true);
  EXPECT_EQ(f->FirstVariable()->Code(), 1);
  EXPECT_EQ(f->NextVariable(), nullptr);
}

// --- the shipped catalogue

TEST(ShippedCatalogue, LoadsWithoutMessage) {
  CRecordingMessageSink sink;
  CScopedMessageSink scoped(sink);
  CIniReader reader;
  CFormatTemplateManager m(reader, QUARVEL_SOURCE_DATA_DIR "/Templates/Quarvel/QV.tpl");
  ASSERT_EQ(m.Read(), 1);
  EXPECT_TRUE(sink.Empty()) << sink.Last().text;
  EXPECT_EQ(m.Type(), "FRT_TPL");
  EXPECT_FALSE(m.Version().empty());
  EXPECT_GE(m.InstrumentNames().size(), 1u);
  EXPECT_GE(m.PoolVariables().size(), 10u);
  const CFormatTemplate* basic = m.FindTemplate("Kite_Basic");
  ASSERT_NE(basic, nullptr);
  EXPECT_GE(basic->ApplicationList().size(), 1u);
  EXPECT_GE(basic->ExportFormatList().size(), 1u);
  EXPECT_GT(basic->CountStrings(), static_cast<long>(basic->ExportFormatList().size()));

  // What the invariants of a good load promise, checked on real data.
  std::set<std::string> poolNames;
  for (const auto& v : m.PoolVariables()) {
    EXPECT_TRUE(poolNames.insert(v->Name()).second) << v->Name();
    EXPECT_EQ(m.FindPoolVariable(v->Code()), v.get());
  }
  for (const auto& t : m.TemplateList()) {
    SCOPED_TRACE(t->Name());
    EXPECT_FALSE(t->FormatList().empty());
    for (const CFTFormat* f : t->FormatList()) {
      EXPECT_EQ(t->FindFormat(f->BlockType(), f->IsExport()), f);
      EXPECT_TRUE(f->StrCount() > 0 || f->Header() > 0 || t->DefaultStringsFlag() > 0);
      for (const auto& v : f->AllowedVariables()) EXPECT_TRUE(m.HasPoolVariable(v->Code()));
    }
  }
}

}  // namespace
