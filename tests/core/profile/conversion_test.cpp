// Default conversion settings per value kind and direction, and the conversion texts they give.
#include <gtest/gtest.h>

#include "profile/qv_conversion.h"
#include "profile_test_file.h"

namespace proftest {
namespace {

class ConversionTest : public ProfileTest {
 protected:
  void SetUp() override {
    profile_ = Make(kIni);
    ASSERT_EQ(profile_->Read(), 1);
  }
  std::string Defaults(int dataType, bool output) {
    CQVConversionSettings s;
    s.ApplyDefaults(profile_->Default(), dataType, output);
    return s.BuildText(dataType, output);
  }
  std::unique_ptr<CQVProfile> profile_;
};

TEST_F(ConversionTest, DefaultsOfEachKindAndDirection) {
  EXPECT_EQ(Defaults(4, true), "%+06.0f");
  EXPECT_EQ(Defaults(8, true), "%-10.3E");
  EXPECT_EQ(Defaults(9, true), "%-10.3lf");
  EXPECT_EQ(Defaults(11, true), "%-16.0s");
  EXPECT_EQ(Defaults(12, true), "%-4.1s");
  EXPECT_EQ(Defaults(2, false), "%hd");
  EXPECT_EQ(Defaults(10, false), "%12e");
  EXPECT_EQ(Defaults(9, false), "%12lf");
  EXPECT_EQ(Defaults(11, false), "%*8s");
  EXPECT_EQ(Defaults(12, false), "%c");
}

TEST_F(ConversionTest, ApplyDefaultsCopiesOnlyWhatTheKindUses) {
  CQVConversionSettings s;
  s.ApplyDefaults(profile_->Default(), 12, true);
  EXPECT_EQ(s.kind, CQVValueKind::kCharacter);
  EXPECT_EQ(s.align, 1);
  EXPECT_EQ(s.length, 4);
  EXPECT_EQ(s.precision, 0);
  EXPECT_EQ(s.sign, -1);
  EXPECT_EQ(s.fillCharacter, -1);
  s.ApplyDefaults(profile_->Default(), 3, false);
  EXPECT_EQ(s.kind, CQVValueKind::kInteger);
  EXPECT_EQ(s.length, -1);
  EXPECT_EQ(s.subpressAssignment, 0);
  EXPECT_EQ(s.align, -1);
  s.ApplyDefaults(profile_->Default(), 13, true);
  EXPECT_EQ(s, CQVConversionSettings{});
}

CQVConversionSettings Settings(CQVValueKind kind) {
  CQVConversionSettings s;
  s.kind = kind;
  s.align = 0;
  s.fillCharacter = 1;
  s.sign = 0;
  s.alternateFormat = 0;
  s.representation = 0;
  s.subpressAssignment = 0;
  return s;
}

TEST(ConversionText, BuilderRules) {
  CQVConversionSettings r = Settings(CQVValueKind::kReal);
  r.align = 1;
  r.length = 10;
  r.precision = 3;
  EXPECT_EQ(r.BuildText(9, true), "%-10.3lf");
  r.representation = 2;
  EXPECT_EQ(r.BuildText(8, true), "%-10.3E");
  EXPECT_EQ(r.BuildText(9, true), "%-10.3lf");
  r.alternateFormat = r.sign = 1;
  r.fillCharacter = 0;
  r.length = 0;
  r.precision = -1;
  EXPECT_EQ(r.BuildText(10, true), "%#+-0E");

  CQVConversionSettings i = Settings(CQVValueKind::kInteger);
  i.sign = 1;
  i.fillCharacter = 0;
  i.length = 6;
  i.precision = 4;  // integers are always written without decimals
  EXPECT_EQ(i.BuildText(1, true), "%+06.0f");

  CQVConversionSettings t = Settings(CQVValueKind::kString);
  EXPECT_EQ(t.BuildText(11, true), "%.0s");
  t.precision = -1;
  EXPECT_EQ(t.BuildText(11, true), "%s");
  t.length = -1;
  t.subpressAssignment = 1;
  EXPECT_EQ(t.BuildText(11, false), "%*s");
  t.length = 8;
  EXPECT_EQ(t.BuildText(11, false), "%*8s");

  CQVConversionSettings c = Settings(CQVValueKind::kCharacter);
  c.precision = 7;
  EXPECT_EQ(c.BuildText(12, true), "%.1s");
  EXPECT_EQ(c.BuildText(12, false), "%c");

  const char* const inputs[] = {"%hu", "%hd", "%u", "%d", "%lu", "%ld", "%ld"};
  i.length = -1;
  for (int type = 1; type <= 7; ++type) EXPECT_EQ(i.BuildText(type, false), inputs[type - 1]);
  EXPECT_EQ(QVValueKindOf(0), CQVValueKind::kNone);
  EXPECT_EQ(CQVConversionSettings{}.BuildText(0, true), "%");
}

}  // namespace
}  // namespace proftest
