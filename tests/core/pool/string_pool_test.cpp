#include "pool/string_pool.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "pool/pool_test_util.h"

namespace {

using pooltest::Entry;
using pooltest::Key;
using pooltest::Names;
using pooltest::Var;

// Names of every match of a search, in the order FindFirst/FindNext give them.
std::vector<std::string> Search(CStringPool& pool, const CFrtKey& key, std::string_view templ) {
  std::vector<std::string> found;
  CFrtStringEx* e = nullptr;
  if (pool.FindFirst(key, templ, e) != frt::kOk) return found;
  for (; e != nullptr; e = pool.FindNext()) found.push_back(e->extra[kPoolName].str());
  return found;
}

TEST(StringPoolEntries, AddStoresUnderTheNameAndReplacesASameNamedEntry) {
  CStringPool pool("");
  EXPECT_EQ(pool.Add(nullptr), frt::kNullPointer);
  EXPECT_EQ(pool.IsModified(), 0);

  ASSERT_EQ(pool.Add(Entry("b", Key(1, 1, 3), "T", "old")), frt::kOk);
  ASSERT_EQ(pool.Add(Entry("a", Key(1, 1, 3))), frt::kOk);
  EXPECT_EQ(pool.IsModified(), 1);
  ASSERT_EQ(pool.Add(Entry("b", Key(2, 4, 0), "T", "new")), frt::kOk);
  EXPECT_EQ(pool.EntryCount(), 2);

  CFrtStringEx* e = nullptr;
  ASSERT_EQ(pool.FindByName("b", e), frt::kOk);
  EXPECT_EQ(e->TextView(), "new");
  EXPECT_EQ(e->key, Key(2, 4, 0));
  EXPECT_EQ(Names(pool), (std::vector<std::string>{"a", "b"}));
}

TEST(StringPoolEntries, NamesCompareBytewiseAndCaseSensitively) {
  CStringPool pool("");
  for (const char* n : {"b", "\xB0\xE6", "B", "a", "ab", ""}) pool.Add(Entry(n, Key(1, 1, 0)));
  // High bytes (GBK) sort after ASCII; upper case before lower case; "" first.
  EXPECT_EQ(Names(pool), (std::vector<std::string>{"", "B", "a", "ab", "b", "\xB0\xE6"}));
  CFrtStringEx* e = nullptr;
  EXPECT_EQ(pool.FindByName("A", e), frt::kNotFound);
}

TEST(StringPoolEntries, RemoveDestroysOnlyAnExistingEntry) {
  CStringPool pool("");
  pool.Add(Entry("x", Key(1, 1, 0)));
  pool.Save();  // empty path: nothing written, still modified
  EXPECT_EQ(pool.IsModified(), 1);

  CStringPool clean("");
  EXPECT_EQ(clean.Remove("x"), frt::kNotFound);
  EXPECT_EQ(clean.IsModified(), 0);

  EXPECT_EQ(pool.Remove("y"), frt::kNotFound);
  EXPECT_EQ(pool.Remove("x"), frt::kOk);
  EXPECT_EQ(pool.EntryCount(), 0);
  EXPECT_EQ(pool.Remove("x"), frt::kNotFound);
}

TEST(StringPoolEntries, FindByNameKeepsTheOutEntryButGetClearsIt) {
  CStringPool pool("");
  pool.Add(Entry("n", Key(1, 1, 0)));
  CFrtStringEx other;
  CFrtStringEx* e = &other;
  EXPECT_EQ(pool.FindByName("missing", e), frt::kNotFound);
  EXPECT_EQ(e, &other);
  EXPECT_EQ(pool.Get("missing", e), frt::kNotFound);
  EXPECT_EQ(e, nullptr);
  EXPECT_EQ(pool.Get("n", e), frt::kOk);
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->extra[kPoolName].view(), "n");
  EXPECT_EQ(pool.IsModified(), 1);  // from the Add only
}

class StringPoolSearch : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int section : {1, 2, 3, 4, 5, 7}) {
      pool.Add(Entry("s" + std::to_string(section), Key(1, section, 10)));
    }
    pool.Add(Entry("import1", Key(2, 1, 10)));
    pool.Add(Entry("block11", Key(1, 1, 11)));
    pool.Add(Entry("otherTemplate", Key(1, 1, 10), "Kite_Pro"));
    pool.Add(Entry("caseTemplate", Key(1, 1, 10), "kite_basic"));
  }
  CStringPool pool{""};
};

// Sections 1 and 7 (block strings) find each other; every other section, also one no entry has,
// finds the rest of them. Direction, block and template must be equal, the template by case.
TEST_F(StringPoolSearch, MatchRule) {
  using Found = std::vector<std::string>;
  const Found others{"s2", "s3", "s4", "s5"};
  const struct {
    CFrtKey key;
    const char* templ;
    Found found;
  } cases[] = {
      {Key(1, 1, 10), "Kite_Basic", {"s1", "s7"}},
      {Key(1, 7, 10), "Kite_Basic", {"s1", "s7"}},
      {Key(1, 4, 10), "Kite_Basic", others},
      {Key(1, 2, 10), "Kite_Basic", others},
      {Key(1, 6, 10), "Kite_Basic", others},
      {Key(2, 1, 10), "Kite_Basic", {"import1"}},
      {Key(1, 1, 11), "Kite_Basic", {"block11"}},
      {Key(1, 1, 10), "Kite_Pro", {"otherTemplate"}},
      {Key(1, 1, 10), "kite_basic", {"caseTemplate"}},
      {Key(1, 1, 12), "Kite_Basic", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(Search(pool, c.key, c.templ), c.found) << c.templ;
}

TEST_F(StringPoolSearch, NoMatchGivesNotFoundAndFindNextStaysAtTheEnd) {
  CFrtStringEx* e = pool.Entries().begin()->second.get();
  EXPECT_EQ(pool.FindFirst(Key(1, 1, 99), "Kite_Basic", e), frt::kNotFound);
  EXPECT_EQ(e, nullptr);
  EXPECT_EQ(pool.FindNext(), nullptr);

  ASSERT_EQ(pool.FindFirst(Key(1, 1, 11), "Kite_Basic", e), frt::kOk);
  EXPECT_EQ(pool.FindNext(), nullptr);
  EXPECT_EQ(pool.FindNext(), nullptr);
}

TEST_F(StringPoolSearch, FindNextGoesOnAfterTheCurrentEntryIsRemoved) {
  CFrtStringEx* e = nullptr;
  ASSERT_EQ(pool.FindFirst(Key(1, 4, 10), "Kite_Basic", e), frt::kOk);
  ASSERT_EQ(pool.FindNext()->extra[kPoolName].view(), "s3");
  ASSERT_EQ(pool.Remove("s3"), frt::kOk);
  CFrtStringEx* next = pool.FindNext();
  ASSERT_NE(next, nullptr);
  EXPECT_EQ(next->extra[kPoolName].view(), "s4");
}

TEST(StringPoolCount, CountsByDirectionAndBlockIgnoringSectionAndTemplate) {
  CStringPool pool("");
  pool.Add(Entry("a", Key(1, 1, 5)));
  pool.Add(Entry("b", Key(1, 4, 0), "Other"));
  pool.Add(Entry("c", Key(1, 7, 5)));
  pool.Add(Entry("d", Key(2, 1, 5)));
  pool.Add(Entry("e", Key(1, 2, 99)));
  EXPECT_EQ(pool.Count(1, -1), 4);
  EXPECT_EQ(pool.Count(2, -1), 1);
  EXPECT_EQ(pool.Count(1, 5), 2);
  EXPECT_EQ(pool.Count(1, 0), 1);
  EXPECT_EQ(pool.Count(2, 0), 0);
  EXPECT_EQ(pool.Count(3, -1), 0);
}

TEST(StringPoolCyclic, VisitsEveryEntryInNameOrderAndWraps) {
  CStringPool pool("");
  for (const char* n : {"c", "a", "b"}) pool.Add(Entry(n, Key(1, 1, 0)));
  std::string seen;
  for (int i = 0; i < 7; ++i) seen += pool.NextCyclic()->extra[kPoolName].str();
  EXPECT_EQ(seen, "abcabca");
  // Wherever the cursor stands, as many steps as entries visit each entry once.
  std::string round;
  for (int i = 0; i < pool.EntryCount(); ++i) round += pool.NextCyclic()->extra[kPoolName].str();
  EXPECT_EQ(round, "bca");
}

TEST(StringPoolCyclic, SurvivesRemovalAndAdditionAroundTheCursor) {
  CStringPool pool("");
  for (const char* n : {"a", "b", "c"}) pool.Add(Entry(n, Key(1, 1, 0)));
  ASSERT_EQ(pool.NextCyclic()->extra[kPoolName].view(), "a");
  ASSERT_EQ(pool.NextCyclic()->extra[kPoolName].view(), "b");
  pool.Remove("b");
  pool.Add(Entry("bb", Key(1, 1, 0)));
  EXPECT_EQ(pool.NextCyclic()->extra[kPoolName].view(), "bb");
  EXPECT_EQ(pool.NextCyclic()->extra[kPoolName].view(), "c");
  pool.Remove("a");
  pool.Remove("bb");
  pool.Remove("c");
  EXPECT_EQ(pool.NextCyclic(), nullptr);
  pool.Add(Entry("z", Key(1, 1, 0)));
  EXPECT_EQ(pool.NextCyclic()->extra[kPoolName].view(), "z");
  EXPECT_EQ(pool.NextCyclic()->extra[kPoolName].view(), "z");
}

TEST(PoolEntryBuilder, CopiesKeyTextAndVariablesButNotApplicationsAndCutsTexts) {
  CFrtString source;
  source.key = Key(1, 7, 42, 3);
  source.SetText("%s,%10.3f");
  source.AddVariable(Var(11, 0, 11, 0, 0));
  source.AddVariable(Var(301, 2, 9, 21, 5));
  source.AddApplication(12);

  const auto e = MakePoolEntry(source, "Name", "Kite_Basic", "Monday, January 05, 2015");
  ASSERT_NE(e, nullptr);
  EXPECT_EQ(e->key, source.key);
  EXPECT_EQ(e->TextView(), "%s,%10.3f");
  EXPECT_EQ(e->Variables(), source.Variables());
  EXPECT_EQ(e->ApplicationCount(), 0);
  EXPECT_EQ(e->extra[kPoolName].view(), "Name");
  // "Quarvel中文版 1.0" in GBK.
  EXPECT_EQ(e->extra[kPoolDescription].view(), "Quarvel\xD6\xD0\xCE\xC4\xB0\xE6 1.0");
  EXPECT_EQ(e->extra[kPoolAuthor].view(), "Quarvel");
  EXPECT_EQ(e->extra[kPoolDate].view(), "Monday, January 05, 2015");
  EXPECT_EQ(e->extra[kPoolTemplate].view(), "Kite_Basic");
  // Texts are cut at 127 bytes.
  const auto cut = MakePoolEntry(source, std::string(300, 'n'), std::string(200, 't'), "");
  EXPECT_EQ(cut->extra[kPoolName].view(), std::string(127, 'n'));
  EXPECT_EQ(cut->extra[kPoolTemplate].size(), 127u);
  EXPECT_TRUE(cut->extra[kPoolDate].empty());
}

TEST(PoolEntryBuilder, DateTextUsesWeekdayMonthDayYear) {
  std::tm t{};
  t.tm_year = 2015 - 1900;
  t.tm_mon = 0;
  t.tm_mday = 5;
  t.tm_wday = 1;
  EXPECT_EQ(FormatPoolDate(t), "Monday, January 05, 2015");
  t.tm_mon = 11;
  t.tm_mday = 31;
  t.tm_wday = 4;
  t.tm_year = 2026 - 1900;
  EXPECT_EQ(FormatPoolDate(t), "Thursday, December 31, 2026");
  // The tests run in the C locale: English names.
  EXPECT_TRUE(
      std::regex_match(PoolDateToday(), std::regex("[A-Z][a-z]+, [A-Z][a-z]+ \\d\\d, \\d{4}")))
      << PoolDateToday();
}

}  // namespace
