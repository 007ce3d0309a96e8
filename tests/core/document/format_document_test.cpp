// New, open and save of a whole document, with the shipped data and with saves that fail.
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "catalogue/format_template.h"
#include "document/doc_test_env.h"
#include "document/format_document.h"
#include "library/faulty_file_system.h"

namespace {

using doctest::Frt;
using testfiles::FaultyFileSystem;

using FormatDocumentTest = doctest::DocEnv;

TEST_F(FormatDocumentTest, OpenRefusesFilesWithoutKnownTemplate) {
  struct {
    std::string text;
    int id;
    std::string extra;
  } cases[] = {
      {"@frt_orig\r\n%Nx\r\n", 1203, ""},
      {"", 1203, ""},
      {Frt("", "1.00", "TS-Q6", "SMCB", ""), 1202, ""},
      {Frt("", "1.00", "TS-Q6", "SMCB", "NoSuch"), 1202, "\nNoSuch"},
      {Frt("", "1.0"), 1203, ""},  // template found; the header check fails
  };
  for (const auto& c : cases) {
    sink_.Clear();
    CFormatDocument doc(context_);
    EXPECT_FALSE(doc.Open(WriteFile("a.frt", c.text)));
    ASSERT_EQ(sink_.Count(), 1u);
    EXPECT_EQ(sink_.Last().id, c.id);
    EXPECT_EQ(sink_.Last().extra, c.extra);
    EXPECT_EQ(sink_.Last().detail, "");  // the file was there: no reason from the system
  }
  // A file that cannot be used keeps the message and tells why beside it.
  ASSERT_EQ(::mkfifo((dir_ / "pipe.frt").c_str(), 0600), 0);
  const struct {
    std::string path;
    std::string reason;
  } unusable[] = {
      {dir_ / "missing.frt", std::strerror(ENOENT)},
      {dir_.path(), std::strerror(EISDIR)},
      {dir_ / "pipe.frt", "not a regular file (a named pipe)"},
  };
  for (const auto& c : unusable) {
    sink_.Clear();
    CFormatDocument doc(context_);
    EXPECT_FALSE(doc.Open(c.path));
    ASSERT_EQ(sink_.Count(), 1u);
    EXPECT_EQ(sink_.Last().id, 1203);
    EXPECT_EQ(sink_.Last().extra, "");
    EXPECT_EQ(sink_.Last().detail, c.path + ": " + c.reason);
  }
}

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
