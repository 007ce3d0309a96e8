#include "library/frt_file.h"

#include <gtest/gtest.h>

#include <string>

namespace {

CFrtString* Add(CFrtFile& f, CFrtKey key, const char* text) {
  CFrtString* s = nullptr;
  EXPECT_EQ(f.AddString(key, s), frt::kOk);
  s->SetText(text);
  return s;
}

constexpr CFrtKey Block(int block, int section = 1, int number = 0, int direction = 1) {
  return CFrtKey{static_cast<std::uint8_t>(direction), static_cast<std::uint8_t>(section),
                 static_cast<std::uint8_t>(block), static_cast<std::uint16_t>(number)};
}

TEST(FrtFileSearch, EmptyTextIsNeverFound) {
  CFrtFile f;
  Add(f, Block(10), "");
  CFrtString* s = nullptr;
  EXPECT_EQ(f.Find(s, Block(10), CFrtFile::kNoFilter), frt::kNotFound);
  EXPECT_EQ(f.CountMatching(Block(10), CFrtFile::kAnyApplication), 0);
}

TEST(FrtFileSearch, SectionSevenIsTheFallbackOfSectionOneOnly) {
  CFrtFile f;
  Add(f, Block(11, 7), "first fallback");
  CFrtString* last = Add(f, Block(11, 7), "last fallback");
  Add(f, Block(12, 7), "other block");
  CFrtString* s = nullptr;
  EXPECT_EQ(f.Find(s, Block(11), CFrtFile::kNoFilter), frt::kOk);
  EXPECT_EQ(s, last);
  EXPECT_EQ(f.Find(s, Block(11, 2), CFrtFile::kNoFilter), frt::kNotFound);
  Add(f, Block(11, 7), "");  // an empty fallback does not replace a real one
  EXPECT_EQ(f.Find(s, Block(11), CFrtFile::kNoFilter), frt::kOk);
  EXPECT_EQ(s, last);
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

TEST(FrtString, ApplicationsAndVariables) {
  CFrtString s;
  EXPECT_TRUE(s.HasApplication(0));
  EXPECT_EQ(s.AddApplication(101), frt::kOk);
  EXPECT_EQ(s.AddApplication(101), frt::kDuplicate);
  EXPECT_FALSE(s.HasApplication(0));
  EXPECT_EQ(s.ApplicationAt(0), 101);
  EXPECT_EQ(s.ApplicationAt(1), 65535);

  CFrtVariable v;
  v.code = 23;
  s.AddVariable(v);
  v.code = 24;
  s.AddVariable(v);
  CFrtVariable* out = nullptr;
  EXPECT_EQ(s.VariableAt(1, out), frt::kOk);
  EXPECT_EQ(out->code, 24);
  EXPECT_EQ(s.VariableAt(2, out), frt::kNotFound);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(s.CurrentVariable(), 0);
  s.ClearLists();
  EXPECT_EQ(s.VariableCount(), 0);
  EXPECT_TRUE(s.HasApplication(0));
}

TEST(FrtString, TextIsCutAtItsCapacity) {
  CFrtString s;
  s.SetText(std::string(5000, 'x'));
  EXPECT_EQ(s.TextView().size(), 1927u);
  s.SetText(static_cast<const char*>(nullptr));  // a null text changes nothing
  EXPECT_EQ(s.TextView().size(), 1927u);
}

TEST(FrtFileValues, UnitTypesMapOntoStorageOrder) {
  CFrtUnitRecord rec;
  rec.codes[0] = 'F';  // linear
  rec.codes[1] = 'G';  // angular
  rec.scales[0] = 0.5;
  CFrtFile f(rec);
  EXPECT_EQ(f.UnitCodeOf(2), 'F');
  EXPECT_EQ(f.UnitCodeOf(1), 'G');
  EXPECT_EQ(f.UnitCodeOf(3), 'C');
  EXPECT_EQ(f.Scale(2), 0.5);
  EXPECT_EQ(f.SetScale(5, 2.0), frt::kUnknownType);
  EXPECT_EQ(f.SetScale(4, 2.0), frt::kOk);
  EXPECT_EQ(f.SetUnitCode({0, 'Z'}), frt::kOk);  // ignored
  EXPECT_EQ(f.UnitCodeOf(0), 0);
}

TEST(FrtFileValues, DefaultStringsByDataTypeGroup) {
  CFrtFile f;
  EXPECT_EQ(f.SetDefaultString(3, "int"), frt::kOk);
  EXPECT_EQ(f.SetDefaultString(9, "flt"), frt::kOk);
  EXPECT_EQ(f.SetDefaultString(12, "str"), frt::kOk);
  EXPECT_EQ(f.SetDefaultString(13, "bad"), frt::kUnknownType);
  EXPECT_EQ(f.SetDefaultString(0, "bad"), frt::kUnknownType);
  EXPECT_STREQ(f.DefaultString(1), "int");
  EXPECT_STREQ(f.DefaultString(7), "int");
  EXPECT_STREQ(f.DefaultString(8), "flt");
  EXPECT_STREQ(f.DefaultString(11), "str");
  EXPECT_STREQ(f.DefaultString(0), "str");
  EXPECT_EQ(f.SetName(nullptr), frt::kNullPointer);
}

}  // namespace
