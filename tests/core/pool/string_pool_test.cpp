#include "pool/string_pool.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "pool/pool_test_util.h"

namespace {

using pooltest::Entry;
using pooltest::Key;

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
