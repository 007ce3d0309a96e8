// The variable conversion object: references, defaults, conversion texts parsed and rebuilt.
#include "settings/qv_edit_var.h"

#include <gtest/gtest.h>

#include "../profile/profile_test_file.h"

namespace proftest {
namespace {

using Dir = CQVEditVar::Direction;

const CQVPoolTable kPool({
    {1, 4, 0, "Pt"},
    {5, 1, 0, "Count"},
    {8, 8, 1, "Hz"},
    {9, 9, 2, "Dist"},
    {10, 10, 3, "Temp"},
    {11, 11, 0, "Name"},
    {12, 12, 0, "Ch"},
    {609, 9, 2, "Height"},
    {21, 6, 1, "Angle21"},
    {100, 7, 2, "Plain"},
    {6, -9999, 0, "NoType"},  // Type or UnitType missing in the template file
    {7, 4, -9999, "NoUnitType"},
});

std::string Ref(const CQVEditVar& v) {  // "-" when the reference cannot be built
  std::string reference;
  return v.BuildReference(reference) ? reference : "-";
}

class EditVarTest : public ProfileTest {
 protected:
  void SetUp() override {
    profile_ = Make(kIni);
    ASSERT_EQ(profile_->Read(), 1);
  }
  std::unique_ptr<CQVProfile> profile_;
};

TEST_F(EditVarTest, NewVariableTakesFlagsUnitRuleAndDefaults) {
  CQVEditVar height(*profile_, kPool, 609, Dir::kOutput);
  EXPECT_EQ(height.UnitCode(), 12);
  EXPECT_EQ(Ref(height), "112209609");  // flag "scale" is on by default
  EXPECT_EQ(height.BuildConversionText(), "%-10.3lf");
  CQVEditVar plain(*profile_, kPool, 100, Dir::kInput);
  EXPECT_EQ(plain.UnitCode(), 0);
  EXPECT_EQ(Ref(plain), "100207100");
  EXPECT_EQ(plain.BuildConversionText(), "%ld");
  CQVEditVar unknown(*profile_, kPool, 777, Dir::kOutput);
  EXPECT_EQ(unknown.PoolVariable(), nullptr);
  EXPECT_EQ(unknown.Kind(), CQVValueKind::kNone);
}

TEST(EditVarRules, FindConversionSkipsPercentPairs) {
  std::size_t start = 0, length = 0;
  ASSERT_TRUE(CQVEditVar::FindConversion("ab%%c%-10.3lf;", start, length));
  EXPECT_EQ(start, 5u);
  EXPECT_EQ(length, 8u);
  ASSERT_TRUE(CQVEditVar::FindConversion("%%%5d", start, length));
  EXPECT_EQ(start, 2u);
  EXPECT_EQ(length, 3u);
  EXPECT_FALSE(CQVEditVar::FindConversion("100%% sure", start, length));
  EXPECT_FALSE(CQVEditVar::FindConversion("%10.3", start, length));
  EXPECT_FALSE(CQVEditVar::FindConversion("", start, length));
}

TEST_F(EditVarTest, ConversionsTheBuilderCannotGiveAreRefused) {
  struct Case {
    int code;
    Dir dir;
    const char* conversion;
  };
  const Case refused[] = {
      {5, Dir::kOutput, "%6.2f"},   {9, Dir::kOutput, "%10.3f"},  {8, Dir::kOutput, "%10.3lf"},
      {11, Dir::kOutput, "%+5.1s"}, {12, Dir::kOutput, "%05.1s"}, {11, Dir::kOutput, "%10s"},
      {8, Dir::kOutput, "%"},       {8, Dir::kOutput, "%00.3f"},  {1, Dir::kInput, "%hd"},
      {1, Dir::kInput, "%0d"},      {8, Dir::kInput, "%5.2f"},    {12, Dir::kInput, "%s"},
  };
  for (const Case& c : refused) {
    CQVEditVar v(*profile_, kPool, c.code, c.dir);
    const bool ok = c.dir == Dir::kOutput ? v.ParseOutputConversion(c.conversion)
                                          : v.ParseInputConversion(c.conversion);
    EXPECT_FALSE(ok) << c.code << " " << c.conversion;
  }
  CQVEditVar v(*profile_, kPool, 1, Dir::kInput);
  EXPECT_TRUE(v.ParseInputConversion("%d"));
}

}  // namespace
}  // namespace proftest
