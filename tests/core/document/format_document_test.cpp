// New, save and reopen of a whole document with the shipped data.
#include <string>

#include "catalogue/format_template.h"
#include "document/doc_test_env.h"
#include "document/format_document.h"

namespace {

using FormatDocumentTest = doctest::DocEnv;

TEST_F(FormatDocumentTest, NewSaveOpenRoundTrip) {
  CFormatDocument doc(context_);
  EXPECT_FALSE(doc.New("NoSuch"));
  CDocContext noCatalogue = context_;
  noCatalogue.catalogue = nullptr;
  EXPECT_FALSE(CFormatDocument(noCatalogue).New());
  ASSERT_TRUE(doc.New());
  EXPECT_EQ(doc.Template(), KiteBasic());
  EXPECT_TRUE(doc.IsModified());
  CDocFormat& f = doc.Format();
  f.SetFormatString(11012001, "%-16.0s|%12.3lf", "100011001100209051", "101");
  f.SetFormatString(13000101, "head", "", "");
  f.SetFormatString(14000000, "file header", "", "");

  mkdir((dir_ / "b.c").c_str(), 0700);
  const std::string path = dir_ / "b.c/name.frt";
  ASSERT_EQ(doc.Save(path), CFormatDocument::SaveResult::kSaved);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.Path(), path);
  std::string name;
  f.GetFileHeader("%N", name);
  EXPECT_EQ(name, "name");

  CFormatDocument again(context_);
  ASSERT_TRUE(again.Open(path)) << (sink_.Empty() ? "" : sink_.Last().text);
  std::string text, vars, apps;
  again.Format().GetFormatStringInfo(11012001, text, vars, apps);
  EXPECT_EQ(text + "|" + vars + "|" + apps, "%-16.0s|%12.3lf|100011001100209051|101");
  EXPECT_NE(again.Format().FindString(13000101), nullptr);
  EXPECT_TRUE(sink_.Empty());
}

TEST_F(FormatDocumentTest, SaveRefusesUnassignedExportString) {
  CFormatDocument doc(context_);
  ASSERT_TRUE(doc.New());
  doc.Format().SetFormatString(11010001, "a", "", "101");
  doc.Format().SetFormatString(11012001, "a", "", "101");
  doc.Format().SetFormatString(11012002, "b", "", "");
  CUnassignedString where;
  const std::string path = dir_ / "u.frt";
  EXPECT_EQ(doc.Save(path, &where), CFormatDocument::SaveResult::kUnassigned);
  EXPECT_EQ(where.block, 12);
  EXPECT_EQ(where.id, 11012002);
  EXPECT_FALSE(testfiles::Exists(path));
  EXPECT_TRUE(doc.IsModified());
  EXPECT_TRUE(sink_.Empty());
}

}  // namespace
