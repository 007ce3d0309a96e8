// The document's operations on its format: settings keys, string IDs and a full format.
#include <string>

#include "catalogue/format_template.h"
#include "document/doc_format.h"
#include "document/doc_test_env.h"
#include "library/string_table.h"
#include "library/text_encoding.h"

namespace {

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

}  // namespace
