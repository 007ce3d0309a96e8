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
  // A stored variable: `success` and the rewritten text.
  std::pair<bool, std::string> FromText(std::string text, Dir dir,
                                        std::unique_ptr<CQVEditVar>* out = nullptr) {
    bool success = false;
    auto var = std::make_unique<CQVEditVar>(*profile_, kPool, text, dir, success);
    if (out != nullptr) *out = std::move(var);
    return {success, text};
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

TEST(EditVarRules, FixedUnitCodes) {
  for (int code : {21, 22, 24, 609, 631, 632, 633, 634, 655, 658, 901, 953}) {
    EXPECT_EQ(CQVEditVar::UnitCodeFor(code, 0), 12) << code;
    EXPECT_EQ(CQVEditVar::UnitCodeFor(code, 21), 21) << code;
  }
  for (int code : {0, 20, 23, 25, 608, 630, 635, 656, 900, 952, 954})
    EXPECT_EQ(CQVEditVar::UnitCodeFor(code, 0), 0) << code;
  EXPECT_EQ(CQVEditVar::DirectionOfFormat(1), Dir::kOutput);
  EXPECT_EQ(CQVEditVar::DirectionOfFormat(2), Dir::kInput);
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

TEST_F(EditVarTest, StoredTextIsParsedAndShownAsField) {
  std::unique_ptr<CQVEditVar> v;
  auto [ok, shown] = FromText("012209609X=%-10.3lf m", Dir::kOutput, &v);
  EXPECT_TRUE(ok);
  EXPECT_EQ(shown, "X=\x01Height\x02 m");
  EXPECT_EQ(v->Code(), 609);
  EXPECT_EQ(v->UnitCode(), 12);  // 00 of a fixed-unit code
  EXPECT_EQ(v->StoredConversion(), "%-10.3lf");
  EXPECT_EQ(v->Align(), 1);
  EXPECT_EQ(v->Length(), 10);
  EXPECT_EQ(v->Precision(), 3);
  EXPECT_EQ(v->FillCharacter(), 1);
  EXPECT_EQ(v->Flags()[0].value, 0);  // digit 0 turns the default-on flag off
  EXPECT_EQ(Ref(*v), "012209609");
  EXPECT_EQ(FromText("021209609%%%+08.2lf", Dir::kOutput).second, "%%\x01Height\x02");
  EXPECT_EQ(FromText("000000100%*5ld", Dir::kInput),
            std::make_pair(true, std::string("\x01Plain\x02")));
}

TEST_F(EditVarTest, StoredTextFailures) {
  // Code not in the pool, no conversion, or an unparsable one.
  EXPECT_EQ(FromText("000000777%5.1f", Dir::kOutput),
            std::make_pair(false, std::string("000000777%5.1f")));
  EXPECT_EQ(FromText("000000009 no conversion", Dir::kOutput).first, false);
  EXPECT_EQ(FromText("000000009 100%%", Dir::kOutput).second, "000000009 100%%");
  EXPECT_EQ(FromText("000000011%16s", Dir::kOutput),
            std::make_pair(false, std::string("\x01Name\x02")));
  EXPECT_EQ(FromText("000000011%21s", Dir::kInput).first, false);
  EXPECT_EQ(FromText("000000011%20s", Dir::kInput).first, true);
  EXPECT_EQ(FromText("0000", Dir::kOutput).first, false);
  EXPECT_EQ(FromText("000000006%.1s", Dir::kOutput),  // pool variable unusable
            std::make_pair(false, std::string("000000006%.1s")));
}

TEST_F(EditVarTest, FlagDigitSetsEveryFlagAndIsRebuilt) {
  std::unique_ptr<CQVEditVar> v;
  ASSERT_TRUE(FromText("200012012%.1s", Dir::kOutput, &v).first);
  EXPECT_EQ(v->Flags()[0].value, 0);
  EXPECT_EQ(v->Flags()[1].value, 1);
  EXPECT_EQ(Ref(*v), "200012012");
  v->Flags()[0].value = 1;
  EXPECT_EQ(profile_->Flags().Items()[1].value, 0);  // the profile's own list is untouched
}

// A reference is made only when it reads back as the same variable: the flag digit holds masks
// up to 9 (a list too long for it always gives 0), and the pool variable must be usable.
TEST_F(EditVarTest, ReferenceOnlyWhenItReadsBack) {
  std::string flags;
  for (int n = 1; n <= 9; ++n) {
    const std::string i = std::to_string(n);
    flags += "Flag" + i + "=f" + i + "\nValue" + i + "=1\nValid" + i + "=1\n";
  }
  profile_.reset();
  profile_ = Make(Edit(kIni, "FLAGS",
                       "Flag1=scale\nValue1=1\nValid1=0\nFlag2=cut\nValue2=0\nValid2=1\n", flags));
  ASSERT_EQ(profile_->Read(), 1);
  struct Case {
    int code;
    std::size_t flagCount;
    int mask;  // -1: as the profile has them (all on)
    const char* reference;
  };
  const Case cases[] = {
      {9, 9, -1, "000209009"}, {9, 4, 9, "900209009"}, {9, 4, 10, "-"}, {9, 4, 15, "-"},
      {9, 8, 1 << 7, "-"},     {6, 1, 0, "-"},         {7, 1, 0, "-"},  {777, 1, 0, "-"},
  };
  for (const Case& c : cases) {
    CQVEditVar v(*profile_, kPool, c.code, Dir::kOutput);
    v.Flags().resize(c.flagCount);
    for (std::size_t i = 0; c.mask >= 0 && i < c.flagCount; ++i)
      v.Flags()[i].value = c.mask >> i & 1;
    EXPECT_EQ(Ref(v), c.reference) << c.code << " mask " << c.mask;
  }
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

// Every combination of settings the pages can give: build, parse, same settings, same text.
TEST_F(EditVarTest, OutputSettingsRoundTrip) {
  int checked = 0;
  for (int code : {5, 8, 9, 10, 11, 12}) {
    for (int align = 0; align <= 1; ++align)
      for (int sign = 0; sign <= 1; ++sign)
        for (int fill = 0; fill <= 1; ++fill)
          for (int alt = 0; alt <= 1; ++alt)
            for (int rep = 0; rep <= 2; ++rep)
              for (int length : {-1, 1, 8, 20})
                for (int precision : {-1, 0, 3, 20}) {
                  CQVEditVar a(*profile_, kPool, code, Dir::kOutput);
                  a.SetAlign(align);
                  a.SetSign(sign);
                  a.SetFillCharacter(fill);
                  a.SetAlternateFormat(alt);
                  a.SetRepresentation(rep);
                  a.SetLength(length);
                  a.SetPrecision(precision);
                  const std::string text = a.BuildConversionText();
                  std::string stored = Ref(a) + "<" + text + ">";
                  bool ok = false;
                  CQVEditVar b(*profile_, kPool, stored, Dir::kOutput, ok);
                  const CQVValueKind kind = a.Kind();
                  const bool withPrecision = kind == CQVValueKind::kInteger ||
                                             kind == CQVValueKind::kCharacter || precision >= 0;
                  ASSERT_EQ(ok, withPrecision) << code << " " << text;
                  if (!ok) continue;
                  ++checked;
                  EXPECT_EQ(b.BuildConversionText(), text);
                  EXPECT_EQ(Ref(b), Ref(a));
                  EXPECT_EQ(b.Align(), align);
                  EXPECT_EQ(b.Length(), length);
                  if (kind != CQVValueKind::kCharacter) {
                    EXPECT_EQ(b.FillCharacter(), fill);
                  }
                  if (kind == CQVValueKind::kInteger || kind == CQVValueKind::kReal) {
                    EXPECT_EQ(b.Sign(), sign);
                  }
                  if (kind == CQVValueKind::kReal) {
                    EXPECT_EQ(b.AlternateFormat(), alt);
                    EXPECT_EQ(b.Representation(), code == 9 ? 0 : rep);
                  }
                  if (kind == CQVValueKind::kReal || kind == CQVValueKind::kString) {
                    EXPECT_EQ(b.Precision(), precision);
                  }
                }
  }
  EXPECT_GT(checked, 1000);
}

TEST_F(EditVarTest, InputSettingsRoundTrip) {
  for (int code : {1, 5, 8, 9, 10, 11, 12, 21, 100})
    for (int suppress = 0; suppress <= 1; ++suppress)
      for (int rep = 0; rep <= 2; ++rep)
        for (int length : {-1, 1, 9, 20}) {
          CQVEditVar a(*profile_, kPool, code, Dir::kInput);
          a.SetSubpressAssignment(suppress);
          a.SetRepresentation(rep);
          a.SetLength(length);
          const std::string text = a.BuildConversionText();
          std::string stored = Ref(a) + text;
          bool ok = false;
          CQVEditVar b(*profile_, kPool, stored, Dir::kInput, ok);
          ASSERT_TRUE(ok) << code << " " << text;
          EXPECT_EQ(b.BuildConversionText(), text);
          EXPECT_EQ(b.SubpressAssignment(), suppress);
          EXPECT_EQ(b.Length(), length);
          if (code == 8 || code == 10) {
            EXPECT_EQ(b.Representation(), rep);
          }
        }
}

}  // namespace
}  // namespace proftest
