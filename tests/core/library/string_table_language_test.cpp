// The two languages of the string table: chosen from the environment, interchangeable for the
// code that splits and fills their texts, and never used for the bytes of a file.
#include <gtest/gtest.h>

#include <regex>
#include <string>

#include "document/doc_format.h"
#include "document/doc_test_env.h"
#include "library/string_table.h"
#include "library/text_encoding.h"
#include "pool/string_pool.h"

namespace {

using frt::Language;

// The printf conversions of a text in order.
std::string Conversions(const std::string& text) {
  static const std::regex conversion("%[-+ #0-9.]*[a-zA-Z]");
  std::string out;
  for (std::sregex_iterator it(text.begin(), text.end(), conversion), end; it != end; ++it)
    out += it->str() + " ";
  return out;
}

// Code splits, fills and looks up the texts of either table in the same way.
TEST(LanguageTables, SameIdsListPartsAndConversions) {
  const struct {
    const char* name;
    std::span<const frt::StringTableEntry> zh, en;
  } tables[] = {
      {"strings", frt::StringTable(Language::kChinese), frt::StringTable(Language::kEnglish)},
      {"menus", frt::MenuTable(Language::kChinese), frt::MenuTable(Language::kEnglish)},
  };
  for (const auto& t : tables) {
    ASSERT_EQ(t.zh.size(), t.en.size()) << t.name;
    for (std::size_t i = 0; i < t.zh.size(); ++i) {
      const auto& zh = t.zh[i];
      const auto& en = t.en[i];
      ASSERT_EQ(zh.id, en.id) << t.name;
      EXPECT_NE(std::string(en.text), "") << en.id;
      EXPECT_EQ(Conversions(zh.text), Conversions(en.text)) << en.id;
    }
  }
  for (int id = frt::kIdListAlign; id <= frt::kIdListSign; ++id) {
    EXPECT_EQ(frt::SplitList(frt::LoadText(id, Language::kChinese)).size(),
              frt::SplitList(frt::LoadText(id, Language::kEnglish)).size())
        << id;
  }
}

class EnglishUi : public doctest::DocEnv {
 protected:
  EnglishUi() { frt::SetLanguage(Language::kEnglish); }
  ~EnglishUi() override { frt::SetLanguage(Language::kChinese); }
};

// Texts of the table that a format or the pool stores are data: the file format wants the
// product's own text in GBK, whatever the windows speak.
TEST_F(EnglishUi, StoredTextsStayChinese) {
  ASSERT_STREQ(frt::LoadText(frt::kIdCaptionError), "Error");
  const std::string description =
      frt::Utf8ToGbk(frt::LoadText(frt::kIdDescriptionText, Language::kChinese));

  CDocFormat doc(context_);
  doc.SetTemplate(KiteBasic());
  ASSERT_EQ(doc.InitNew(), 1);
  EXPECT_EQ(doc.Format().Header().comment.view(), description);

  CFrtString source;
  source.SetText("%s");
  const auto entry = MakePoolEntry(source, "Name", "Kite_Basic", "Monday, January 05, 2015");
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->extra[kPoolDescription].view(), description);
}

}  // namespace
