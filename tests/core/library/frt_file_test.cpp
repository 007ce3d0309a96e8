#include "library/frt_file.h"
#include "library/frt_test_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using frt_test::Add;

constexpr CFrtKey Block(int block, int section = 1, int number = 0, int direction = 1) {
  return CFrtKey{static_cast<std::uint8_t>(direction), static_cast<std::uint8_t>(section),
                 static_cast<std::uint8_t>(block), static_cast<std::uint16_t>(number)};
}

TEST(FrtFileSearch, ApplicationFilterSkipsOtherApplications) {
  CFrtFile f;
  CFrtString* a = Add(f, Block(10), "a");
  a->AddApplication(101);
  CFrtString* b = Add(f, Block(10), "b");
  b->AddApplication(102);
  CFrtString* c = Add(f, Block(10), "c");
  CFrtString* s = nullptr;
  EXPECT_EQ(f.Find(s, Block(10), 102), frt::kOk);
  EXPECT_EQ(s, b);
  EXPECT_EQ(f.FindNext(s), frt::kNotFound);      // a filtered hit leaves nothing to continue
  EXPECT_EQ(f.Find(s, Block(10), 0), frt::kOk);  // 0: a string without applications
  EXPECT_EQ(s, c);
  EXPECT_EQ(f.Find(s, Block(10), 103), frt::kNotFound);
  EXPECT_EQ(f.CountMatching(Block(10), 101), 1);
  EXPECT_EQ(f.CountMatching(Block(10), CFrtFile::kAnyApplication), 3);
}

TEST(FrtFileSearch, FindNextWalksTheRemainingMatches) {
  CFrtFile f;
  CFrtString* s = reinterpret_cast<CFrtString*>(&f);
  EXPECT_EQ(f.Find(s, Block(13), CFrtFile::kNoFilter), frt::kNotFound);  // empty format
  EXPECT_EQ(s, nullptr);
  EXPECT_EQ(f.FindHeaderString(s), frt::kNotFound);
  CFrtString* a = Add(f, Block(13), "a");
  Add(f, Block(14), "x");
  Add(f, Block(13), "");
  CFrtString* c = Add(f, Block(13), "c");
  EXPECT_EQ(f.FindNext(s), frt::kNotFound);
  ASSERT_EQ(f.Find(s, Block(13), CFrtFile::kNoFilter), frt::kOk);
  EXPECT_EQ(s, a);
  EXPECT_EQ(f.FindNext(s), frt::kOk);
  EXPECT_EQ(s, c);
  EXPECT_EQ(f.FindNext(s), frt::kNotFound);
  EXPECT_EQ(f.FindNext(s), frt::kNotFound);
}

TEST(FrtFileSearch, FindByIdentityNeedsExStrings) {
  CFrtFileEx f;
  CFrtString* s = nullptr;
  EXPECT_EQ(f.FindByIdentity(s, 0), frt::kNotFound);
  auto* a = static_cast<CFrtStringEx*>(Add(f, Block(10), ""));
  auto* b = static_cast<CFrtStringEx*>(Add(f, Block(10), ""));
  a->identity = 1010001;
  b->identity = 1010002;
  EXPECT_EQ(f.FindByIdentity(s, 1010002), frt::kOk);
  EXPECT_EQ(s, b);
  EXPECT_EQ(f.FindByIdentity(s, 7), frt::kNotFound);
  EXPECT_EQ(s, nullptr);
}

}  // namespace
