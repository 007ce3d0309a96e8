// The document's operations on its format: new formats, settings keys, string IDs, the digit
// strings of variables and applications, and sample lines.
#include <string>

#include "catalogue/format_template.h"
#include "document/doc_format.h"
#include "document/doc_test_env.h"
#include "library/string_table.h"
#include "library/text_encoding.h"

namespace {

using doctest::Frt;

class DocFormatTest : public doctest::DocEnv {
 protected:
  DocFormatTest() : doc_(context_) { doc_.SetTemplate(KiteBasic()); }
  std::string Get(const char* key) {
    std::string v;
    EXPECT_EQ(doc_.GetFileHeader(key, v), 1) << key;
    return v;
  }
  CDocFormat doc_;
};

TEST_F(DocFormatTest, NewFormatTakesTemplateAndProfile) {
  ASSERT_EQ(doc_.InitNew(), 1);
  const CFrtHeader& h = doc_.Format().Header();
  EXPECT_EQ(h.type.view(), "FRT");
  EXPECT_EQ(h.instrument.view(), "TS-Q6");
  EXPECT_EQ(h.version.view(), "1.00");
  EXPECT_EQ(h.author.view(), "Quarvel");
  EXPECT_EQ(h.company.view(), frt::Utf8ToGbk("Orvanti测量系统"));
  EXPECT_EQ(h.comment.view(), frt::Utf8ToGbk(frt::LoadText(frt::kIdDescriptionText)));
  EXPECT_EQ(h.templateName.view(), "Kite_Basic");
  EXPECT_NE(h.date.view().find(", "), std::string_view::npos);
  EXPECT_EQ(doc_.Format().ListCapacity(), KiteBasic()->CountStrings());
  const char* types[] = {"Angular", "Linear", "Temperature", "Pressure"};
  const char* units[] = {"#W", "#L", "#T", "#P"};
  const char* scales[] = {"&W", "&L", "&T", "&P"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(Get(units[i]), profile_->GetSelectedUnitValue(types[i]));
    EXPECT_DOUBLE_EQ(std::stod(Get(scales[i])), std::stod(profile_->Default().ScaleText(types[i])));
  }
  EXPECT_EQ(Get("@Dd"), profile_->Default().FloatValue());
  EXPECT_EQ(Get("@Df"), profile_->Default().IntegerValue());
  EXPECT_EQ(Get("@Ds"), profile_->Default().StringValue());
}

TEST_F(DocFormatTest, SettingsKeys) {
  EXPECT_EQ(Get("&W"), "1.00000000");
  doc_.SetFileHeader("&L", "2.5x");
  EXPECT_EQ(Get("&L"), "2.50000000");
  doc_.SetFileHeader("&T", "none");
  EXPECT_EQ(Get("&T"), "0.00000000");
  // "@Dd" is the floating-point group, "@Df" the integer group.
  doc_.SetFileHeader("@Dd", "F");
  doc_.SetFileHeader("@Df", "I");
  doc_.SetFileHeader("@Ds", "S");
  EXPECT_STREQ(doc_.Format().DefaultString(8), "F");
  EXPECT_STREQ(doc_.Format().DefaultString(1), "I");
  EXPECT_STREQ(doc_.Format().DefaultString(12), "S");
  doc_.SetFileHeader("#P", "Txyz");
  EXPECT_EQ(Get("#P"), "T");
  EXPECT_EQ(doc_.GetUnit(4), "T");
  doc_.SetFileHeader("%N", "abc");
  EXPECT_EQ(Get("%N"), "abc");
  EXPECT_TRUE(sink_.Empty());

  std::string v = "kept";
  EXPECT_EQ(doc_.SetFileHeader("#X", "1"), 0);
  EXPECT_EQ(doc_.GetFileHeader("%n", v), 0);
  ASSERT_EQ(sink_.Count(), 2u);
  for (const CMessage& m : sink_.Messages())
    EXPECT_EQ(m.text, "programming error in CDocFormat::SetFileHeader");
}

TEST_F(DocFormatTest, LoadNumbersStrings) {
  const std::string path = WriteFile(
      "T.frt",
      Frt("$1105000\"a\"\n$1300000\"h\";007\n$1105000\"b\"\n$1205000\"x\"\n$1105000\"c\""));
  EXPECT_EQ(doc_.Load(path), 0);  // block 5 is not in the template; the IDs are set before
  const int expected[] = {11005001, 13000007, 11005002, 12005000, 11005003};
  for (int i = 0; i < 5; ++i) {
    const auto* s = static_cast<const CFrtStringEx*>(doc_.Format().StringAt(i));
    EXPECT_EQ(s->identity, expected[i]);
    EXPECT_EQ(doc_.FindString(expected[i]), s);
  }
  int application = 0;
  EXPECT_TRUE(CDocFormat::IsApplicationHeaderId(13000007, application));
  EXPECT_EQ(application, 7);
  EXPECT_FALSE(CDocFormat::IsApplicationHeaderId(11005001, application));
}

TEST_F(DocFormatTest, ReaderFailureShowsCodeAndLine) {
  EXPECT_EQ(doc_.Load(WriteFile("T.frt", Frt("$1112000\"a\"x"))), 0);
  ASSERT_EQ(sink_.Ids(), std::vector<int>{1114});
  EXPECT_EQ(sink_.Last().text,
            CErrorMessage::LoadErrorText(frt::kBadFormatFile, doc_.Format().LineNumber()));
  // Strings beyond the template's capacity do not fit the format.
  std::string many;
  for (long i = 0; i <= KiteBasic()->CountStrings(); ++i) many += "$1112000\"a\"\n";
  sink_.Clear();
  CDocFormat doc(context_);
  doc.SetTemplate(KiteBasic());
  EXPECT_EQ(doc.Load(WriteFile("T.frt", Frt(many))), 0);
  EXPECT_EQ(sink_.Last().text,
            CErrorMessage::LoadErrorText(frt::kOutOfMemory, doc.Format().LineNumber()));
}

// A format of no known template has no assignment rule to break.
TEST_F(DocFormatTest, WithoutTemplateNothingIsUnassigned) {
  CDocFormat doc(context_);
  CUnassignedString out;
  EXPECT_TRUE(doc.FindUnassignedString(out));
}

TEST_F(DocFormatTest, SetFormatStringCreatesReplacesAndEmpties) {
  doc_.InitNew();
  // Type and unit type of each variable come from the pool whatever the group says.
  ASSERT_EQ(doc_.SetFormatString(11012001, "%s %f", "900999001021000051", "101102101"), 1);
  std::string text, vars, apps;
  ASSERT_EQ(doc_.GetFormatStringInfo(11012001, text, vars, apps), 1);
  EXPECT_EQ(text, "%s %f");
  EXPECT_EQ(vars, "900011001021209051");
  EXPECT_EQ(apps, "101102");
  const CFrtStringEx* s = doc_.FindString(11012001);
  ASSERT_NE(s, nullptr);
  EXPECT_EQ(s->key, (CFrtKey{1, 1, 12, 0}));

  // Replacing keeps the one string.
  ASSERT_EQ(doc_.SetFormatString(11012001, "x", "", "103"), 1);
  doc_.GetFormatStringInfo(11012001, text, vars, apps);
  EXPECT_EQ(text + "|" + vars + "|" + apps, "x||103");
  EXPECT_EQ(doc_.Format().StringCount(), 1);

  // Empty text leaves an empty string without variables and applications.
  ASSERT_EQ(doc_.SetFormatString(11012001, "", "011001001", "101"), 1);
  EXPECT_EQ(doc_.Format().StringCount(), 1);
  EXPECT_EQ(doc_.FindString(11012001), s);
  EXPECT_FALSE(s->IsPresent());
  EXPECT_EQ(s->VariableCount() + s->ApplicationCount(), 0);

  // An application header string carries its application, which is not handed out.
  ASSERT_EQ(doc_.SetFormatString(13000101, "head", "", ""), 1);
  const CFrtStringEx* h = doc_.FindString(13000101);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(h->key, (CFrtKey{1, 3, 0, 0}));
  EXPECT_TRUE(h->HasApplication(101));
  doc_.GetFormatStringInfo(13000101, text, vars, apps);
  EXPECT_EQ(apps, "");

  // A code the pool lacks is left out; the rest is taken.
  EXPECT_EQ(doc_.SetFormatString(11010001, "a", "100011999100011001", ""), 0);
  EXPECT_EQ(doc_.FindString(11010001)->VariableCount(), 1);
  EXPECT_EQ(doc_.GetFormatStringInfo(11099001, text, vars, apps), 0);
  EXPECT_TRUE(sink_.Empty());
}

TEST_F(DocFormatTest, GivenStringTakesKeyAndId) {
  doc_.InitNew();
  doc_.SetFormatString(11012001, "a", "", "101");
  auto* s = doc_.FindString(11012001);
  ASSERT_EQ(doc_.SetFormatString(21012002, "b", "", "", s), 1);
  EXPECT_EQ(doc_.FindString(11012001), nullptr);
  EXPECT_EQ(doc_.FindString(21012002), s);
  EXPECT_EQ(s->key, (CFrtKey{2, 1, 12, 0}));
  EXPECT_EQ(s->ApplicationCount(), 0);
}

TEST_F(DocFormatTest, FullFormatRefusesNewString) {
  doc_.InitNew();
  doc_.Format().SetListCapacity(1);
  EXPECT_EQ(doc_.SetFormatString(11012001, "a", "", ""), 1);
  EXPECT_EQ(doc_.SetFormatString(11012002, "b", "", ""), 0);
  EXPECT_EQ(sink_.Ids(), std::vector<int>{1116});
  EXPECT_EQ(doc_.FindString(11012002), nullptr);
}

TEST_F(DocFormatTest, RenderSample) {
  doc_.InitNew();
  doc_.SetFileHeader("&L", "2");
  struct {
    const char* text;
    const char* vars;
    std::string expected;
  } cases[] = {
      {"[%-8.0s]", "100011001", "[P1001   ]"},
      {"%.3f", "121209051", "1024691.356"},  // 512345.678 scaled by 2
      {"%.3f", "021209051", "512345.678"},
      {"%6.0f", "100006014", "  1024"},
      // A failure reads as its message, in the bytes of every other sample (GBK).
      {"%s %s", "100011001", frt::Utf8ToGbk(frt::ResultText(frt::kNotFound))},
      {"a", "12", frt::Utf8ToGbk(frt::ResultText(frt::kBadData))},
  };
  for (const auto& c : cases) EXPECT_EQ(doc_.RenderSample(c.text, c.vars), c.expected) << c.text;
  const std::string longText(CFrtString::kTextCapacity - 1, 'x');
  EXPECT_EQ(doc_.RenderSample(longText, ""), longText);
}

}  // namespace
