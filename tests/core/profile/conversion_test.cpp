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
  std::unique_ptr<CQVProfile> profile_;
};

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
